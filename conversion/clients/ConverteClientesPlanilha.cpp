// The second half of a clients run: the sheet rows flagged as clients become clients, numbered
// on from ContadorCliente; every row after the heading takes a code, client or not.
#include "app/logica/LogicaPrincipal.h"
#include "common/Texto.h"
#include "conversion/clients/classConversaoCliente.h"

void TLogicaPrincipal::ConverteClientesPlanilha() {
    TConverteCliente cliente(dbAlmuro, Avisos());

    PercorrePlanilha(
        "Convertendo Clientes, Aguarde!",
        [&](int linha) {
            // Every row takes its code before anything can fail, written or not.
            const std::int64_t codigo = ContadorCliente++;
            cliente.SetCodCliente(texto::Primeiros(ZerosEsquerda(std::to_string(codigo), 8), 8));
            cliente.SetNome(texto::Primeiros(cdsTabelaTemp.Campo("2"), 60));
            cliente.SetEstado(texto::Primeiros(cdsTabelaTemp.Campo("8"), 2));
            cliente.SetCodCidade(CodCidadeDaPlanilha(cdsTabelaTemp.Campo("6"), cliente.Estado()));
            cliente.SetBairro(texto::Primeiros(cdsTabelaTemp.Campo("7"), 30));
            cliente.SetCep(texto::Primeiros(LimpaTexto(cdsTabelaTemp.Campo("9")), 8));
            cliente.SetFone(FormataTelefone(cdsTabelaTemp.Campo("10")));
            cliente.SetFax(FormataTelefone(cdsTabelaTemp.Campo("11")));
            const std::string& documento = cdsTabelaTemp.Campo("12");
            cliente.SetCgcCpf(DocumentoEmBranco(documento) ? std::string() : documento);
            cliente.SetInscEst(texto::Primeiros(LimpaTexto(cdsTabelaTemp.Campo("13")), 15));
            cliente.SetPessoaFJ(cdsTabelaTemp.Campo("5") == "True" ? "J" : "F");
            cliente.SetAtivo("S");

            if (cdsTabelaTemp.Campo("3") == "True") {
                Lugar.GravandoLinha();
                ExigeCodigoQueCabe("cliente", codigo, 8, linha);
                cliente.Grava(TConverteCliente::kInsere);
            } else {
                Conta.DeixaDeFora("sem \"True\" na coluna 3");
            }
        },
        [&] { cliente.LimpaCampos(); });
}
