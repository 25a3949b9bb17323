// The second half of a clients run: the sheet rows flagged as clients become clients, numbered
// on from ContadorCliente; every row after the heading takes a code, client or not.
#include "app/logica/LogicaPrincipal.h"
#include "common/Erros.h"
#include "common/Texto.h"
#include "conversion/clients/classConversaoCliente.h"

namespace {

// What the sheet holds when the operator never filled in the company or the personal number.
bool MascaraVazia(const std::string& documento) {
    return documento == "__.___.___/____-__" || documento == "___.___.___-__";
}

}  // namespace

void TLogicaPrincipal::ConverteClientesPlanilha() {
    TConverteCliente cliente(dbAlmuro, Mensagens());

    DefineAguarde("Convertendo Clientes, Aguarde!");
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
        cliente.SetCodCliente(
            texto::Primeiros(ZerosEsquerda(std::to_string(ContadorCliente), 8), 8));
        cliente.SetNome(texto::Primeiros(cdsTabelaTemp.Campo("2"), 60));
        cliente.SetEstado(texto::Primeiros(cdsTabelaTemp.Campo("8"), 2));
        const std::string& cidade = cdsTabelaTemp.Campo("6");
        cliente.SetCodCidade(
            texto::Trim(cidade).empty() ? std::string() : BuscaCodCidade(cidade, cliente.Estado()));
        cliente.SetBairro(texto::Primeiros(cdsTabelaTemp.Campo("7"), 30));
        cliente.SetCep(texto::Primeiros(LimpaTexto(cdsTabelaTemp.Campo("9")), 8));
        cliente.SetFone(FormataTelefone(cdsTabelaTemp.Campo("10")));
        cliente.SetFax(FormataTelefone(cdsTabelaTemp.Campo("11")));
        const std::string& documento = cdsTabelaTemp.Campo("12");
        cliente.SetCgcCpf(MascaraVazia(documento) ? std::string() : documento);
        cliente.SetInscEst(texto::Primeiros(LimpaTexto(cdsTabelaTemp.Campo("13")), 15));
        cliente.SetPessoaFJ(cdsTabelaTemp.Campo("5") == "True" ? "J" : "F");
        cliente.SetAtivo("S");

        if (cdsTabelaTemp.Campo("3") == "True") {
            if (ContadorCliente > kMaiorCodigoCliente) {
                throw EConversor("O código de cliente " + std::to_string(ContadorCliente) +
                                 " não cabe nos 8 dígitos do código: a linha " +
                                 std::to_string(n + 1) +
                                 " da planilha repetiria o código de outro cliente.");
            }
            cliente.Grava(TConverteCliente::kInsere);
        }

        cdsTabelaTemp.Proximo();
        AvancaBarra();
        ++n;
        ++ContadorCliente;
    }
    DefineAguarde(std::string());
    DefineStatus(std::string());
    DefineBarraPosicao(0);
}
