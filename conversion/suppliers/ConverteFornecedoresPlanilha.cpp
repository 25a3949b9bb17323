// The second half of a suppliers run: the sheet rows flagged as suppliers become suppliers,
// numbered on from ContadorFornecedor; every row after the heading consumes a code.
#include "app/logica/LogicaPrincipal.h"
#include "common/Texto.h"
#include "conversion/suppliers/classConverteFornecedor.h"

void TLogicaPrincipal::ConverteFornecedoresPlanilha() {
    TConverteFornece fornecedor(dbAlmuro, Avisos());

    PercorrePlanilha(
        "Convertendo Fornecedor, Aguarde!",
        [&](int linha) {
            // Every row takes its code before anything can fail, written or not.
            const std::int64_t codigo = ContadorFornecedor++;
            fornecedor.SetCodFornec(texto::Primeiros(ZerosEsquerda(std::to_string(codigo), 6), 6));
            fornecedor.SetNome(texto::Primeiros(cdsTabelaTemp.Campo("2"), 60));
            fornecedor.SetEstado(texto::Primeiros(cdsTabelaTemp.Campo("8"), 2));
            fornecedor.SetCodCidade(
                CodCidadeDaPlanilha(cdsTabelaTemp.Campo("6"), fornecedor.Estado()));
            fornecedor.SetBairro(texto::Primeiros(cdsTabelaTemp.Campo("7"), 30));
            fornecedor.SetCep(texto::Primeiros(LimpaTexto(cdsTabelaTemp.Campo("9")), 8));
            fornecedor.SetFone(FormataTelefone(cdsTabelaTemp.Campo("10")));
            fornecedor.SetFax(FormataTelefone(cdsTabelaTemp.Campo("11")));
            const std::string& documento = cdsTabelaTemp.Campo("12");
            fornecedor.SetCgcCpf(DocumentoEmBranco(documento) ? std::string() : documento);
            fornecedor.SetInscEst(texto::Primeiros(LimpaTexto(cdsTabelaTemp.Campo("13")), 15));
            fornecedor.SetPessoaFJ(cdsTabelaTemp.Campo("5") == "True" ? "J" : "F");
            fornecedor.SetAtivo("S");
            if (cdsTabelaTemp.Campo("4") == "True") {
                Lugar.GravandoLinha();
                // Only a row that is written needs its code to fit; other rows just consume one.
                ExigeCodigoQueCabe("fornecedor", codigo, 6, linha);
                fornecedor.Insere();
            } else {
                Conta.DeixaDeFora("sem \"True\" na coluna 4");
            }
        },
        [&] { fornecedor.LimpaCampos(); });
}
