// The second half of a suppliers run: the sheet rows flagged as suppliers become suppliers,
// numbered on from ContadorFornecedor; every row after the heading consumes a code.
#include "app/logica/LogicaPrincipal.h"
#include "common/Erros.h"
#include "common/Texto.h"
#include "conversion/suppliers/classConverteFornecedor.h"

namespace {
// Supplier codes have six digits; a seventh would be cut away and repeat an earlier code.
constexpr std::int64_t kMaiorCodigoFornecedor = 999999;

// What the Korvane export leaves in an empty company or personal number.
constexpr const char* kMascaraCnpjVazia = "__.___.___/____-__";
constexpr const char* kMascaraCpfVazia = "___.___.___-__";
}  // namespace

void TLogicaPrincipal::ConverteFornecedoresPlanilha() {
    TConverteFornece fornecedor(dbAlmuro, Mensagens());

    DefineAguarde("Convertendo Fornecedor, Aguarde!");
    const int total = cdsTabelaTemp.TotalRegistros();
    DefineBarraPosicao(0);
    DefineBarraMaximo(total);
    cdsTabelaTemp.Primeiro();
    const std::string deTotal = " de " + std::to_string(total);
    int n = 0;
    while (!cdsTabelaTemp.Fim()) {
        DefineStatus("Processando Registro " + std::to_string(n) + deTotal);
        ProcessaMensagens();
        if (n == 0) {
            cdsTabelaTemp.Proximo();  // the heading row
            n = 1;
            if (cdsTabelaTemp.Fim())
                break;
        }
        fornecedor.SetCodFornec(
            texto::Primeiros(ZerosEsquerda(std::to_string(ContadorFornecedor), 6), 6));
        fornecedor.SetNome(texto::Primeiros(cdsTabelaTemp.Campo("2"), 60));
        fornecedor.SetEstado(texto::Primeiros(cdsTabelaTemp.Campo("8"), 2));
        const std::string& cidade = cdsTabelaTemp.Campo("6");
        fornecedor.SetCodCidade(texto::Trim(cidade).empty()
                                    ? std::string()
                                    : BuscaCodCidade(cidade, fornecedor.Estado()));
        fornecedor.SetBairro(texto::Primeiros(cdsTabelaTemp.Campo("7"), 30));
        fornecedor.SetCep(texto::Primeiros(LimpaTexto(cdsTabelaTemp.Campo("9")), 8));
        fornecedor.SetFone(FormataTelefone(cdsTabelaTemp.Campo("10")));
        fornecedor.SetFax(FormataTelefone(cdsTabelaTemp.Campo("11")));
        const std::string& documento = cdsTabelaTemp.Campo("12");
        fornecedor.SetCgcCpf(documento == kMascaraCnpjVazia || documento == kMascaraCpfVazia
                                 ? std::string()
                                 : documento);
        fornecedor.SetInscEst(texto::Primeiros(LimpaTexto(cdsTabelaTemp.Campo("13")), 15));
        fornecedor.SetPessoaFJ(cdsTabelaTemp.Campo("5") == "True" ? "J" : "F");
        fornecedor.SetAtivo("S");
        if (cdsTabelaTemp.Campo("4") == "True") {
            // Only a row that is written needs its code to fit; other rows just consume one.
            if (ContadorFornecedor > kMaiorCodigoFornecedor) {
                throw EConversor("O código de fornecedor " + std::to_string(ContadorFornecedor) +
                                 " não cabe nos 6 dígitos do código: a linha " +
                                 std::to_string(n + 1) +
                                 " da planilha repetiria o código de outro fornecedor.");
            }
            fornecedor.Insere();
        }

        cdsTabelaTemp.Proximo();
        AvancaBarra();
        ++n;
        ++ContadorFornecedor;
    }
    DefineAguarde(std::string());
    DefineStatus(std::string());
    DefineBarraPosicao(0);
}
