#include "spreadsheet/LinhasDaAba.h"

#include "common/ConfiguracaoRegional.h"
#include "common/Win1252.h"

std::string TextoDaCelula(TValorCelula v, int coluna, int linha, const std::string& nomeAba) {
    switch (v.tipo) {
        case TTipoValor::Vazio:
            return {};
        case TTipoValor::Texto:
            return std::move(v.texto);
        case TTipoValor::Numero:
            return TConfiguracaoRegional::Instancia().NumeroParaTexto(v.numero);
        case TTipoValor::Logico:
            return v.logico ? "True" : "False";
        case TTipoValor::Erro:
            break;
    }
    throw EPlanilha("A célula " + planilha::ReferenciaCelula(coluna, linha) + " da aba \"" +
                    win1252::ParaUtf8(nomeAba) + "\" contém o valor de erro " +
                    win1252::ParaUtf8(v.texto) + " e não pode ser convertida em texto.");
}

TLinhasDaAba::TLinhasDaAba(std::unique_ptr<TPercursoAba> percurso, std::string nomeAba)
    : percurso_(std::move(percurso)), nomeAba_(std::move(nomeAba)) {}

std::vector<TCelulaLida> TLinhasDaAba::Le(int linha) {
    if (linha < ultimaLida_)
        percurso_->Reinicia();
    ultimaLida_ = linha;
    std::vector<TCelulaLida> r;
    for (auto& [coluna, valor] : percurso_->ValoresLinha(linha)) {
        std::string texto = TextoDaCelula(std::move(valor), coluna, linha, nomeAba_);
        if (!texto.empty())
            r.push_back(TCelulaLida{coluna, std::move(texto)});
    }
    return r;
}
