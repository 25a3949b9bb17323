#include "schema/amostra/PastaXlsx.h"

#include "common/Erros.h"

#include <xlsxwriter.h>

namespace {
// A fixed creation time, so that the same data always gives the same bytes.
constexpr time_t kCriadaEm = 1300190400;  // 15/03/2011 12:00 UTC
}  // namespace

TPastaXlsx::TPastaXlsx(const std::string& caminho, const std::string& nomePlanilha)
    : caminho_(caminho) {
    pasta_ = workbook_new(caminho.c_str());
    if (!pasta_)
        throw EPlanilha("Não foi possível criar a pasta de trabalho " + caminho);
    lxw_doc_properties propriedades{};
    propriedades.author = const_cast<char*>("Korvane");
    propriedades.created = kCriadaEm;
    workbook_set_properties(pasta_, &propriedades);
    planilha_ = workbook_add_worksheet(pasta_, nomePlanilha.c_str());
    negrito_ = workbook_add_format(pasta_);
    if (!planilha_ || !negrito_) {
        lxw_workbook_free(pasta_);
        throw EPlanilha("Não foi possível criar a planilha " + nomePlanilha + " em " + caminho);
    }
    format_set_bold(negrito_);
}

TPastaXlsx::~TPastaXlsx() {
    if (pasta_)
        lxw_workbook_free(pasta_);
}

void TPastaXlsx::Verifica(int erro, const char* operacao) const {
    if (erro != LXW_NO_ERROR) {
        throw EPlanilha(std::string("Erro ao gravar ") + caminho_ + " (" + operacao +
                        "): " + lxw_strerror(static_cast<lxw_error>(erro)));
    }
}

void TPastaXlsx::Cabecalho(const std::vector<std::string>& titulos,
                           const std::vector<double>& larguras) {
    for (size_t i = 0; i < titulos.size(); ++i) {
        auto coluna = static_cast<lxw_col_t>(i);
        Verifica(worksheet_write_string(planilha_, 0, coluna, titulos[i].c_str(), negrito_),
                 "cabeçalho");
        if (i < larguras.size()) {
            Verifica(worksheet_set_column(planilha_, coluna, coluna, larguras[i], nullptr),
                     "largura");
        }
    }
    worksheet_freeze_panes(planilha_, 1, 0);
}

void TPastaXlsx::Texto(int linha, int coluna, const std::string& texto) {
    if (texto.empty())
        return;
    Verifica(worksheet_write_string(planilha_, static_cast<lxw_row_t>(linha - 1),
                                    static_cast<lxw_col_t>(coluna - 1), texto.c_str(), nullptr),
             "texto");
}

void TPastaXlsx::Numero(int linha, int coluna, double valor) {
    Verifica(worksheet_write_number(planilha_, static_cast<lxw_row_t>(linha - 1),
                                    static_cast<lxw_col_t>(coluna - 1), valor, nullptr),
             "número");
}

void TPastaXlsx::Logico(int linha, int coluna, bool valor) {
    Verifica(worksheet_write_boolean(planilha_, static_cast<lxw_row_t>(linha - 1),
                                     static_cast<lxw_col_t>(coluna - 1), valor ? 1 : 0, nullptr),
             "valor lógico");
}

void TPastaXlsx::Fecha() {
    lxw_workbook* pasta = pasta_;
    pasta_ = nullptr;  // workbook_close frees it whatever happens
    Verifica(workbook_close(pasta), "fechamento");
}
