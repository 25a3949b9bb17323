#include "app/janela/Demonstracao.h"

#include "app/logica/LogicaPrincipal.h"
#include "schema/amostra/GeradorAmostra.h"

#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>

namespace {

const char* const kVariavel = "CONVERSOR_DEMO_PASTA";

std::string Pasta() {
    const char* p = std::getenv(kVariavel);
    return p ? std::string(p) : std::string();
}

// Answers the dialogs with the sample's files: the first database dialog gets the target, the
// next the source; then every dialog is cancelled.
class TEscolhaDemonstracao : public IEscolhaArquivo {
  public:
    explicit TEscolhaDemonstracao(std::filesystem::path pasta) : pasta_(std::move(pasta)) {}

    std::optional<std::string> Escolhe(const TPedidoArquivo& pedido) override {
        const std::string& filtro = pedido.filtro;
        if (filtro == TLogicaPrincipal::kFiltroPlanilha && !planilha_) {
            planilha_ = true;
            return (pasta_ / TGeradorAmostra::kProdutos).string();
        }
        if (filtro == TLogicaPrincipal::kFiltroBanco && bancos_ < 2) {
            return (pasta_ /
                    (bancos_++ == 0 ? TGeradorAmostra::kAlmuro : TGeradorAmostra::kTessaly))
                .string();
        }
        return std::nullopt;
    }

  private:
    std::filesystem::path pasta_;
    bool planilha_ = false;
    int bancos_ = 0;
};

}  // namespace

std::unique_ptr<IEscolhaArquivo> EscolhaDaDemonstracao() {
    const std::string pasta = Pasta();
    if (pasta.empty())
        return nullptr;
    return std::make_unique<TEscolhaDemonstracao>(pasta);
}

void IniciaDemonstracao(QWidget& janela) {
    if (Pasta().empty())
        return;
    QTimer::singleShot(300, &janela, [&janela] {
        for (const char* nome : {"btAbrirAlmuro", "btnAbrirTessaly", "Btabrir", "btOK"}) {
            if (auto* botao = janela.findChild<QPushButton*>(QString::fromLatin1(nome)))
                botao->click();
        }
    });
}
