#include "app/logica/RelatorioXlsx.h"

#include "common/Erros.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

// Widths are counted in characters; a very long text gets a wide column, not a huge one.
constexpr double kLarguraMaxima = 80;

size_t Caracteres(const std::string& utf8) {
    size_t n = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80)
            ++n;
    }
    return n;
}

std::string NumaLinha(std::string texto) {
    for (char& c : texto) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return texto;
}

// Why a file cannot be created, as the operator reads it.
std::string MotivoDoSistema(int erro) {
    switch (erro) {
        case ENOENT:
        case ENOTDIR:
            return "a pasta não existe";
        case EACCES:
        case EPERM:
            return "não há permissão para gravar nessa pasta";
        case EROFS:
            return "a pasta é somente leitura";
        case EISDIR:
            return "o caminho é uma pasta";
        case ENOSPC:
            return "não há espaço em disco";
        default:
            return std::strerror(erro);
    }
}

class TPasta {
  public:
    explicit TPasta(const std::string& caminho) : caminho_(caminho) {
        // The writer only creates the file at the very end, and then speaks English on stderr:
        // a file that cannot be created is found out here first.
        std::error_code erro;
        const bool existia = std::filesystem::exists(caminho, erro);
        if (std::FILE* teste = std::fopen(caminho.c_str(), "ab")) {
            std::fclose(teste);
            if (!existia)
                std::filesystem::remove(caminho, erro);
        } else {
            Falha(MotivoDoSistema(errno));
        }
        pasta_ = workbook_new(caminho.c_str());
        if (!pasta_)
            Falha("a pasta de trabalho não pôde ser criada");
        negrito_ = workbook_add_format(pasta_);
        format_set_bold(negrito_);
    }
    ~TPasta() {
        if (pasta_)
            lxw_workbook_free(pasta_);
    }
    TPasta(const TPasta&) = delete;
    TPasta& operator=(const TPasta&) = delete;

    // A sheet with its heading in bold and the filter over its columns.
    class TPlanilha {
      public:
        TPlanilha(TPasta& pasta, const char* nome, const std::vector<std::string>& titulos)
            : pasta_(pasta), colunas_(titulos.size()) {
            planilha_ = workbook_add_worksheet(pasta.pasta_, nome);
            if (!planilha_)
                pasta.Falha(std::string("a planilha ") + nome + " não pôde ser criada");
            Linha(titulos, pasta.negrito_);
            worksheet_freeze_panes(planilha_, 1, 0);
        }
        ~TPlanilha() {
            if (colunas_ > 0) {
                worksheet_autofilter(planilha_, 0, 0, static_cast<lxw_row_t>(linhasDaTabela_ - 1),
                                     static_cast<lxw_col_t>(colunas_ - 1));
            }
            for (size_t c = 0; c < larguras_.size(); ++c) {
                const double largura =
                    std::min(kLarguraMaxima, static_cast<double>(larguras_[c]) + 2);
                worksheet_set_column(planilha_, static_cast<lxw_col_t>(c),
                                     static_cast<lxw_col_t>(c), largura, nullptr);
            }
        }
        TPlanilha(const TPlanilha&) = delete;
        TPlanilha& operator=(const TPlanilha&) = delete;

        // Texts in the first columns of the next row; the filter covers the rows written so far
        // until FimDaTabela.
        void Linha(const std::vector<std::string>& textos, lxw_format* formato = nullptr) {
            for (size_t c = 0; c < textos.size(); ++c) {
                if (!textos[c].empty())
                    Texto(c, textos[c], formato);
            }
            Avanca();
        }
        void Numeros(const std::string& rotulo, const std::vector<long>& numeros) {
            Texto(0, rotulo, nullptr);
            for (size_t c = 0; c < numeros.size(); ++c) {
                pasta_.Verifica(worksheet_write_number(planilha_, linha_,
                                                       static_cast<lxw_col_t>(c + 1),
                                                       static_cast<double>(numeros[c]), nullptr));
                Mede(c + 1, std::to_string(numeros[c]));
            }
            Avanca();
        }
        void Negrito(const std::vector<std::string>& textos) { Linha(textos, pasta_.negrito_); }
        // What follows is not part of the filtered table.
        void FimDaTabela() { tabelaFechada_ = true; }

      private:
        void Avanca() {
            ++linha_;
            if (!tabelaFechada_)
                linhasDaTabela_ = linha_;
        }
        void Texto(size_t coluna, const std::string& umTexto, lxw_format* formato) {
            const std::string texto = NumaLinha(umTexto);
            pasta_.Verifica(worksheet_write_string(
                planilha_, linha_, static_cast<lxw_col_t>(coluna), texto.c_str(), formato));
            // A line below the table may be long: it does not widen the table's columns.
            if (!tabelaFechada_ || coluna > 0)
                Mede(coluna, texto);
        }
        void Mede(size_t coluna, const std::string& texto) {
            if (larguras_.size() <= coluna)
                larguras_.resize(coluna + 1, 0);
            larguras_[coluna] = std::max(larguras_[coluna], Caracteres(texto));
        }

        TPasta& pasta_;
        lxw_worksheet* planilha_ = nullptr;
        size_t colunas_;
        lxw_row_t linha_ = 0;
        lxw_row_t linhasDaTabela_ = 0;
        bool tabelaFechada_ = false;
        std::vector<size_t> larguras_;
    };

    void Fecha() {
        lxw_workbook* pasta = pasta_;
        pasta_ = nullptr;  // workbook_close frees it whatever happens
        Verifica(workbook_close(pasta));
    }

  private:
    [[noreturn]] void Falha(const std::string& motivo) const {
        throw EConversor("O relatório não pôde ser gravado em " + caminho_ + ": " + motivo + ".");
    }
    void Verifica(lxw_error erro) const {
        if (erro == LXW_NO_ERROR)
            return;
        std::string motivo = lxw_strerror(erro);
        while (!motivo.empty() && motivo.back() == '.')
            motivo.pop_back();
        Falha(motivo);
    }

    std::string caminho_;
    lxw_workbook* pasta_ = nullptr;
    lxw_format* negrito_ = nullptr;
};

void Resumo(TPasta& pasta, const TRelatoDaExecucao& r) {
    TPasta::TPlanilha p(pasta, "Resumo", {"Item", "Valor"});
    p.Linha({"Execução", r.NomeDoModo()});
    p.Linha({"Banco ALMURO", r.almuro});
    p.Linha({"Banco TESSALY", r.tessaly});
    p.Linha({"Pasta de trabalho", r.pasta});
    p.Linha({"Planilha", r.planilha});
    p.Linha({"Última linha", r.ultimaLinha});
    p.Linha({"Tipo", r.tipo});
    p.Linha({"Data e hora", r.dataHora});
    p.Linha({"Versão do programa", r.versao});
    p.Linha({"Resultado", r.desfecho});
    p.Linha({"Problemas", std::to_string(r.problemas.size())});
    p.FimDaTabela();
    p.Linha({});
    p.Negrito({"Origem", "Lidos", "Gravados", "Deixados de fora", "Com problema"});
    for (const TContaDaOrigem& o : r.conta.Origens())
        p.Numeros(o.origem, {o.lidos, o.Gravados(), o.Deixados(), o.comProblema});
    p.Linha({});
    // The summary as the final box shows it, a line per row.
    size_t inicio = 0;
    while (inicio < r.resumo.size()) {
        size_t fim = r.resumo.find('\n', inicio);
        if (fim == std::string::npos)
            fim = r.resumo.size();
        p.Linha({r.resumo.substr(inicio, fim - inicio)});
        inicio = fim + 1;
    }
}

void Problemas(TPasta& pasta, const TRelatoDaExecucao& r) {
    TPasta::TPlanilha p(pasta, "Problemas",
                        {"Origem", "Registro", "Coluna", "Conteúdo", "Problema"});
    for (const TProblema& problema : r.problemas) {
        p.Linha({problema.origem, problema.registro, problema.coluna, problema.conteudo,
                 problema.TextoNumaLinha()});
    }
}

void NaoConvertidos(TPasta& pasta, const TRelatoDaExecucao& r) {
    TPasta::TPlanilha p(pasta, "Não convertidos", {"Origem", "Registro", "Motivo"});
    for (const TContaDaOrigem& o : r.conta.Origens()) {
        for (const TDeixadosDeFora& d : o.deixados) {
            for (std::size_t i = 0; i < d.registros.size(); ++i)
                p.Linha({o.origem, o.NomeDoRegistro(d.registros[i]), d.motivo});
        }
    }
}

void Avisos(TPasta& pasta, const TRelatoDaExecucao& r) {
    TPasta::TPlanilha p(pasta, "Avisos", {"Aviso", "Vezes"});
    for (const TAvisosDaExecucao::TContagem& c : r.avisos)
        p.Numeros(c.texto, {c.vezes});
}

}  // namespace

void GravaRelatorioXlsx(const std::string& caminho, const TRelatoDaExecucao& relato) {
    TPasta pasta(caminho);
    Resumo(pasta, relato);
    Problemas(pasta, relato);
    NaoConvertidos(pasta, relato);
    Avisos(pasta, relato);
    pasta.Fecha();
}
