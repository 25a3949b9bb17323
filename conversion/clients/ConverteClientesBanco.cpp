// The first half of a clients run: the Tessaly CLIENTE table into Cliente, keeping the source
// codes, and the next free code left in ContadorCliente.
#include "app/logica/LogicaPrincipal.h"
#include "common/Erros.h"
#include "common/Texto.h"
#include "conversion/classConversao.h"
#include "conversion/clients/ClientesBanco.h"
#include "conversion/clients/classConversaoCliente.h"

namespace {

std::string EnderecoENumero(const TCamposResultado& origem, const char* endereco,
                            const char* numero) {
    return origem.Texto(endereco) + " " + origem.Texto(numero);
}

}  // namespace

const char* const kComandoClientesBanco =
    "SELECT CODIGO, NOME, NOME_FANTASIA, ENDERECO, NUMERO, CIDADE, UF, BAIRRO, CEP, CNPJ, "
    "CPF, IE, FISICA_JURIDICA, CONTATO, TELEFONE, CELULAR, FAX, EMAIL, ENDERECO_ENTREGA, "
    "NUMERO_ENTREGA, DATA_NASC, CIDADE_ENTREGA, UF_ENTREGA, BAIRRO_ENTREGA, "
    "ENDERECO_COBRANCA, NUMERO_COBRANCA, CEP_COBRANCA, CIDADE_COBRANCA, UF_COBRANCA, "
    "BAIRRO_COBRANCA FROM CLIENTE";

TConsultaSequencial& AbreClientesBanco(TConsultaSequencial& consulta) {
    consulta.LimpaSQL();
    consulta.DefineSQL(kComandoClientesBanco);
    consulta.Abre();
    return consulta;
}

void TLogicaPrincipal::ConverteClientesBanco() {
    ProcessaMensagens();
    // Declared in the reverse of the order in which they go.
    TConversao conversao(dbAlmuro, Avisos());
    TConsultaSequencial origem(dbTessaly);
    TConverteCliente cliente(dbAlmuro, Avisos());

    cliente.LimpaTabela();
    AbreClientesBanco(origem);
    ContadorCliente = 0;

    auto converte = [&] {
        cliente.SetCodCliente(origem.Texto("CODIGO"));
        cliente.SetNome(origem.Texto("NOME"));
        cliente.SetNomeFantasia(origem.Texto("NOME_FANTASIA"));
        cliente.SetEndereco(EnderecoENumero(origem, "ENDERECO", "NUMERO"));
        cliente.SetEstado(origem.Texto("UF"));
        cliente.SetCodCidade(Lugar.NaColuna("CIDADE", [&] {
            return conversao.CodCidadeDaOrigem(origem.Texto("CIDADE"), origem.Texto("UF"));
        }));
        cliente.SetBairro(origem.Texto("BAIRRO"));
        cliente.SetCep(origem.Texto("CEP"));
        const std::string& cpf = origem.Texto("CPF");
        const bool temCpf = !texto::Trim(TConversao::RetiraCaracteres(cpf)).empty();
        cliente.SetCgcCpf(temCpf ? cpf : origem.Texto("CNPJ"));
        cliente.SetInscEst(origem.Texto("IE"));
        cliente.SetPessoaFJ(origem.Texto("FISICA_JURIDICA"));
        cliente.SetContato(origem.Texto("CONTATO"));
        cliente.SetFone(origem.Texto("TELEFONE"));
        cliente.SetCelular(origem.Texto("CELULAR"));
        cliente.SetFax(origem.Texto("FAX"));
        cliente.SetEmail(origem.Texto("EMAIL"));
        Lugar.NaColuna("DATA_NASC", [&] { cliente.SetDtNascimento(origem.Texto("DATA_NASC")); });
        cliente.SetEnderecoEnt(EnderecoENumero(origem, "ENDERECO_ENTREGA", "NUMERO_ENTREGA"));
        cliente.SetEstadoEnt(origem.Texto("UF_ENTREGA"));
        cliente.SetCodCidadeEnt(Lugar.NaColuna("CIDADE_ENTREGA", [&] {
            return conversao.CodCidadeDaOrigem(origem.Texto("CIDADE_ENTREGA"),
                                               origem.Texto("UF_ENTREGA"));
        }));
        cliente.SetBairroEnt(origem.Texto("BAIRRO_ENTREGA"));
        cliente.SetEnderecoCob(EnderecoENumero(origem, "ENDERECO_COBRANCA", "NUMERO_COBRANCA"));
        cliente.SetCepCob(origem.Texto("CEP_COBRANCA"));
        cliente.SetEstadoCob(origem.Texto("UF_COBRANCA"));
        cliente.SetCodCidadeCob(Lugar.NaColuna("CIDADE_COBRANCA", [&] {
            return conversao.CodCidadeDaOrigem(origem.Texto("CIDADE_COBRANCA"),
                                               origem.Texto("UF_COBRANCA"));
        }));
        cliente.SetBairroCob(origem.Texto("BAIRRO_COBRANCA"));
        cliente.SetAtivo("S");

        // A client without a name is neither written nor counted.
        if (!texto::Trim(cliente.Nome()).empty()) {
            const std::int64_t codigo =
                Lugar.NaColuna("CODIGO", [&] { return origem.Inteiro("CODIGO"); });
            if (codigo > kMaiorCodigoCliente) {
                throw EConversor("O código " + std::to_string(codigo) +
                                 " de um cliente do banco Tessaly não cabe nos 8 dígitos do "
                                 "código de cliente: ele seria gravado com o código de outro "
                                 "cliente.");
            }
            // The engine judges the birth date only when the row is written.
            Lugar.GravaRegistro({{"DT_NASCIMENTO", "DATA_NASC"}},
                                [&] { cliente.Grava(TConverteCliente::kInsere); });
            if (codigo > ContadorCliente)
                ContadorCliente = codigo;
        } else {
            Conta.DeixaDeFora("sem nome");
        }
    };
    PercorreOrigem(origem, "CLIENTE", "Convertendo Clientes - Registro ", converte,
                   [&] { cliente.LimpaCampos(); });
    ++ContadorCliente;

    DefineAguarde(std::string());
    DefineBarraPosicao(0);
    DefineBarraMaximo(0);
}
