// The first half of a suppliers run: the Tessaly supplier table into Fornece, keeping the
// source codes, and the next free code left in ContadorFornecedor.
#include "app/logica/LogicaPrincipal.h"
#include "common/Texto.h"
#include "conversion/classConversao.h"
#include "conversion/suppliers/FornecedoresBanco.h"
#include "conversion/suppliers/classConverteFornecedor.h"

const char* const kComandoFornecedoresBanco =
    "SELECT CODIGO, NOME, NOME_FANTASIA, ENDERECO, NUMERO, CIDADE, UF, BAIRRO, CEP, CNPJ, "
    "CPF, IE, COMPLEMENTO, CONTATO, TELEFONE, CELULAR, FAX, EMAIL FROM FORNECEDOR";

TConsultaSequencial& AbreFornecedoresBanco(TConsultaSequencial& consulta) {
    consulta.LimpaSQL();
    consulta.DefineSQL(kComandoFornecedoresBanco);
    consulta.Abre();
    return consulta;
}

void TLogicaPrincipal::ConverteFornecedoresBanco() {
    ProcessaMensagens();
    // Declared so that they go in the reverse order: writer, source query, lookups.
    TConversao conversao(dbAlmuro, Avisos());
    TConsultaSequencial origem(dbTessaly);
    TConverteFornece fornecedor(dbAlmuro, Avisos());

    fornecedor.LimpaTabela();
    AbreFornecedoresBanco(origem);
    ContadorFornecedor = 0;

    auto converte = [&] {
        fornecedor.SetCodFornec(origem.Texto("CODIGO"));
        fornecedor.SetNome(origem.Texto("NOME"));
        fornecedor.SetNomeFantasia(origem.Texto("NOME_FANTASIA"));
        fornecedor.SetEndereco(origem.Texto("ENDERECO"));
        fornecedor.SetNumero(origem.Texto("NUMERO"));
        fornecedor.SetComplemento(origem.Texto("COMPLEMENTO"));
        fornecedor.SetEstado(origem.Texto("UF"));
        fornecedor.SetCodCidade(Lugar.NaColuna("CIDADE", [&] {
            return conversao.CodCidadeDaOrigem(origem.Texto("CIDADE"), origem.Texto("UF"));
        }));
        fornecedor.SetBairro(origem.Texto("BAIRRO"));
        fornecedor.SetCep(TConversao::RetiraCaracteres(origem.Texto("CEP")));
        const std::string cpf = origem.Texto("CPF");
        fornecedor.SetCgcCpf(
            texto::Trim(TConversao::RetiraCaracteres(cpf)).empty() ? origem.Texto("CNPJ") : cpf);
        fornecedor.SetInscEst(origem.Texto("IE"));
        fornecedor.SetContato(origem.Texto("CONTATO"));
        fornecedor.SetFone(origem.Texto("TELEFONE"));
        fornecedor.SetCelular(origem.Texto("CELULAR"));
        fornecedor.SetFax(origem.Texto("FAX"));
        fornecedor.SetEmail(origem.Texto("EMAIL"));
        fornecedor.SetAtivo("S");
        fornecedor.SetPessoaFJ(fornecedor.CgcCpf().size() > 11 ? "J" : "F");

        const std::int64_t codigo =
            Lugar.NaColuna("CODIGO", [&] { return origem.Inteiro("CODIGO"); });
        if (codigo > ContadorFornecedor)
            ContadorFornecedor = codigo;

        if (!texto::Trim(fornecedor.Nome()).empty())
            fornecedor.Insere();
        else
            Conta.DeixaDeFora("sem nome");
    };
    PercorreOrigem(origem, "FORNECEDOR", "Convertendo Fornecedores - Registro ", converte,
                   [&] { fornecedor.LimpaCampos(); });
    ++ContadorFornecedor;

    DefineAguarde(std::string());
    DefineBarraPosicao(0);
    DefineBarraMaximo(0);
}
