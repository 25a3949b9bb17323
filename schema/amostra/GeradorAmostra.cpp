#include "schema/amostra/GeradorAmostra.h"

#include "common/Erros.h"
#include "common/Win1252.h"
#include "conversion/BancoFirebird.h"
#include "conversion/Consulta.h"
#include "schema/Esquemas.h"
#include "schema/amostra/DadosFicticios.h"
#include "schema/amostra/PastaXlsx.h"
#include "schema/amostra/Sorteio.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

using TValor = std::optional<std::string>;
using TValores = std::vector<TValor>;

// The engine's texts are Windows-1252; the data is written in UTF-8. A text longer than its
// column is cut, as the source system's own screens would have cut it.
TValor Texto(const std::string& utf8, size_t largura = std::string::npos) {
    return win1252::DeUtf8(utf8).substr(0, largura);
}

// A fixed-point value as the SQL text of a number ("12.99").
std::string Decimal(long valor, int casas) {
    std::string digitos = std::to_string(valor < 0 ? -valor : valor);
    if (casas > 0) {
        if (digitos.size() <= static_cast<size_t>(casas)) {
            digitos.insert(0, static_cast<size_t>(casas) + 1 - digitos.size(), '0');
        }
        digitos.insert(digitos.size() - static_cast<size_t>(casas), ".");
    }
    return (valor < 0 ? "-" : "") + digitos;
}

std::string ZerosAEsquerda(long n, size_t largura) {
    std::string s = std::to_string(n);
    if (s.size() < largura)
        s.insert(0, largura - s.size(), '0');
    return s;
}

// Codes rise with small gaps, as records were deleted over the years, but never beyond what
// maximo allows for the given number of rows.
class TSequenciaCodigos {
  public:
    TSequenciaCodigos(TSorteio& sorteio, long linhas, long maximo) : s_(sorteio) {
        long folga = linhas > 0 ? (maximo - 20) / linhas - 1 : 0;
        salto_ = std::clamp(folga, 0L, 3L);
        atual_ = s_.Entre(0, salto_ ? 19 : 0);
    }
    long Proximo() { return atual_ += 1 + s_.Entre(0, salto_); }

  private:
    TSorteio& s_;
    long salto_;
    long atual_;
};

struct TClassificacao {
    const char* codigo;
    const char* situacao;
    const char* descricao;
};

const TClassificacao kClassificacoes[] = {
    {"001", "00", "Tributada integralmente"},
    {"002", "60", "ICMS cobrado anteriormente por substituição tributária"},
    {"003", "40", "Isenta"},
    {"004", "41", "Não tributada"},
    {"005", "20", "Com redução de base de cálculo"},
    {"006", "10", "Tributada e com cobrança do ICMS por substituição tributária"},
    {"007", "90", "Outras"},
    {"008", "0", "Tributada (cadastro antigo)"}};

// PIS and COFINS situation codes with their rates (in hundredths of a percent) on the way out
// and on the way in.
struct TPerfilPisCofins {
    const char* cst;
    long pis;
    long cofins;
    const char* cstEntrada;
    long pisEntrada;
    long cofinsEntrada;
};

const TPerfilPisCofins kPerfis[] = {
    {"01", 165, 760, "50", 165, 760}, {"01", 165, 760, "50", 165, 760},
    {"04", 0, 0, "70", 0, 0},         {"06", 0, 0, "73", 0, 0},
    {"49", 0, 0, "98", 0, 0},         {"99", 65, 300, "98", 65, 300}};

const char* const kCaracteristicas[] = {
    "Embalagem econômica",
    "Produto sujeito a substituição tributária",
    "Validade 12 meses",
    "Importado",
    "Manter em local seco e arejado",
    "Vendido somente em caixa fechada com 12 unidades - consultar o depósito antes"};

void CriaBanco(TBancoFirebird& banco, const std::string& caminho, const char* esquema) {
    banco.DefineNome(caminho);
    banco.CriaBanco();
    banco.ExecutaScript(esquemas::Todos().at(esquema));
}

// Name (now and then blank in one of three ways), trade name and address: the columns the
// source's CLIENTE and FORNECEDOR share, in their order.
void AcrescentaNomeEEndereco(TValores& v, TSorteio& s, TDadosFicticios& dados,
                             const std::string& nome, bool juridica, int chanceFantasia,
                             const char* nomeEmBranco) {
    if (s.Chance(2)) {
        const TValor brancos[] = {TValor(), TValor(""), TValor(nomeEmBranco)};
        v.push_back(s.Um(brancos));
    } else {
        v.push_back(Texto(nome, 60));
    }
    v.push_back(juridica && s.Chance(chanceFantasia) ? Texto(dados.NomeFantasia(), 50) : TValor());
    v.push_back(s.Chance(3) ? TValor() : Texto(dados.Logradouro()));
    v.push_back(s.Chance(10) ? TValor() : Texto(dados.Numero()));
    TCidadeAmostra cidade = dados.Cidade();
    const bool semCidade = s.Chance(4);
    v.push_back(semCidade ? TValor() : Texto(cidade.cidade));
    v.push_back(semCidade && s.Chance(50) ? TValor() : Texto(cidade.uf));
    v.push_back(s.Chance(8) ? TValor() : Texto(dados.Bairro()));
    v.push_back(s.Chance(10) ? TValor() : TValor(dados.Cep()));
}

}  // namespace

TGeradorAmostra::TGeradorAmostra(TOpcoesAmostra opcoes) : opcoes_(std::move(opcoes)) {
    if (opcoes_.linhas < 0 || opcoes_.linhas > kMaximoLinhas) {
        throw EConversor("O número de linhas deve estar entre 0 e " +
                         std::to_string(kMaximoLinhas) + ".");
    }
    if (opcoes_.diretorio.empty())
        throw EConversor("Informe o diretório da amostra.");
}

TResumoAmostra TGeradorAmostra::Gera() {
    const auto inicio = std::chrono::steady_clock::now();
    resumo_ = TResumoAmostra{};
    fs::path destino;
    fs::path rascunho;
    try {
        destino = fs::absolute(opcoes_.diretorio);
        fs::create_directories(destino);
        std::string modelo = (destino / ".amostra-XXXXXX").string();
        if (!mkdtemp(modelo.data())) {
            throw fs::filesystem_error("mkdtemp", modelo,
                                       std::error_code(errno, std::generic_category()));
        }
        rascunho = modelo;
    } catch (const fs::filesystem_error& e) {
        throw EConversor("Não foi possível criar o diretório " + opcoes_.diretorio + ": " +
                         e.code().message());
    }
    resumo_.diretorio = destino.string();

    const char* const arquivos[] = {kAlmuro, kTessaly, kProdutos, kCadastros};
    try {
        CriaAlmuro((rascunho / kAlmuro).string());
        CriaTessaly((rascunho / kTessaly).string());
        GravaProdutos((rascunho / kProdutos).string());
        GravaCadastros((rascunho / kCadastros).string());
        for (const char* arquivo : arquivos)
            fs::rename(rascunho / arquivo, destino / arquivo);
    } catch (const fs::filesystem_error& e) {
        std::error_code ignorado;
        fs::remove_all(rascunho, ignorado);
        throw EConversor("Não foi possível gravar a amostra em " + destino.string() + ": " +
                         e.code().message());
    } catch (...) {
        std::error_code ignorado;
        fs::remove_all(rascunho, ignorado);
        throw;
    }
    std::error_code ignorado;
    fs::remove_all(rascunho, ignorado);

    resumo_.segundos =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    return resumo_;
}

void TGeradorAmostra::CriaAlmuro(const std::string& caminho) {
    TBancoFirebird banco(1);
    CriaBanco(banco, caminho, "almuro");
    banco.Desconecta();
}

void TGeradorAmostra::CriaTessaly(const std::string& caminho) {
    TBancoFirebird banco(3);
    CriaBanco(banco, caminho, "tessaly");
    InsereEstoque(banco);
    InsereClientes(banco);
    InsereFornecedores(banco);
    banco.Desconecta();
}

void TGeradorAmostra::InsereEstoque(TBancoFirebird& banco) {
    TSorteio s(opcoes_.semente, "ESTOQUE");
    TDadosFicticios dados(s);
    TSequenciaCodigos codigos(s, opcoes_.linhas, 999999);
    std::set<std::string> usadas;
    {
        TComandoPreparado comando(
            banco,
            "INSERT INTO ESTOQUE (CODIGO, BARRAS, NOME, CARACTERISTICA, COD_TRIB, UND_COMPRA, "
            "UND_VENDA, NCM, ICMS, CSOSN, PRECO_CONSUMIDOR, PIS_ALIQ, PIS_ST, COFINS_ALIQ, "
            "COFINS_ST, PIS_ST_ENTRADA, COFINS_ST_ENTRADA, PIS_ALIQ_ENTRADA, "
            "COFINS_ALIQ_ENTRADA, QTD_ESTOQUE, DATA_CADASTRO) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        const long icms[] = {1800, 1800, 1800, 1200, 700, 2500, 0};
        const char* const csosn[] = {"102", "102", "102", "500", "500", "101", "400", "300"};
        TValores v;
        for (long i = 0; i < opcoes_.linhas; ++i) {
            TItemAmostra item = dados.Item();
            v.clear();
            v.push_back("00" + ZerosAEsquerda(codigos.Proximo(), 6));
            v.push_back(s.Chance(88) ? TValor(dados.CodigoBarras())
                                     : (s.Chance(50) ? TValor() : TValor("")));
            v.push_back(s.Chance(1) ? TValor() : Texto(item.descricao, 80));
            v.push_back(s.Chance(70) ? TValor() : Texto(s.Um(kCaracteristicas)));

            TValor codTrib;
            if (!s.Chance(5)) {
                long k = s.Entre(0, 99);
                const TClassificacao& c =
                    kClassificacoes[k < 40   ? 0
                                    : k < 70 ? 1
                                             : static_cast<size_t>(s.Entre(2, 7))];
                codTrib = c.codigo;
                usadas.insert(c.codigo);
            }
            v.push_back(codTrib);

            v.push_back(s.Chance(5) ? TValor()
                                    : Texto(s.Chance(30) ? (s.Chance(50) ? "CX" : "FD")
                                                         : dados.Unidade(item.unidade)));
            v.push_back(s.Chance(3) ? TValor() : Texto(dados.Unidade(item.unidade)));
            v.push_back(item.ncm.empty() && s.Chance(50) ? TValor() : Texto(item.ncm));
            v.push_back(s.Chance(5) ? TValor() : TValor(Decimal(s.Um(icms), 2)));
            v.push_back(s.Chance(10) ? TValor() : TValor(s.Um(csosn)));

            TValor preco;
            if (s.Chance(2)) {
                preco = "0";
            } else if (!s.Chance(3)) {
                // Goods sold by weight carry the price to four places.
                preco = item.unidade == "KG" ? Decimal(item.centavos * 100 + s.Entre(0, 99), 4)
                                             : Decimal(item.centavos, 2);
            }
            v.push_back(preco);

            if (s.Chance(5)) {
                for (int k = 0; k < 8; ++k)
                    v.push_back(TValor());
            } else {
                const TPerfilPisCofins& p = s.Um(kPerfis);
                v.push_back(Decimal(p.pis, 2));
                v.push_back(TValor(p.cst));
                v.push_back(Decimal(p.cofins, 2));
                v.push_back(TValor(p.cst));
                v.push_back(TValor(p.cstEntrada));
                v.push_back(TValor(p.cstEntrada));
                v.push_back(Decimal(p.pisEntrada, 2));
                v.push_back(Decimal(p.cofinsEntrada, 2));
            }
            v.push_back(Decimal(s.Entre(0, 500000), 3));
            v.push_back(ZerosAEsquerda(s.Entre(2004, 2012), 4) + "-" +
                        ZerosAEsquerda(s.Entre(1, 12), 2) + "-" +
                        ZerosAEsquerda(s.Entre(1, 28), 2));
            comando.Executa(v);
        }

        TComandoPreparado classificacao(
            banco, "INSERT INTO CLFISCAL (CODIGO, SIT_TRIBUTARIA, DESCRICAO) VALUES (?, ?, ?)");
        for (const auto& c : kClassificacoes) {
            if (!usadas.count(c.codigo))
                continue;
            classificacao.Executa({TValor(c.codigo), TValor(c.situacao), Texto(c.descricao)});
            ++resumo_.classificacoes;
        }
    }
    if (banco.Transacao().Ativa())
        banco.Transacao().Confirma();
    resumo_.estoque = opcoes_.linhas;
}

void TGeradorAmostra::InsereClientes(TBancoFirebird& banco) {
    TSorteio s(opcoes_.semente, "CLIENTE");
    TDadosFicticios dados(s);
    TSequenciaCodigos codigos(s, opcoes_.linhas, 99999999);
    {
        TComandoPreparado comando(
            banco,
            "INSERT INTO CLIENTE (CODIGO, NOME, NOME_FANTASIA, ENDERECO, NUMERO, CIDADE, UF, "
            "BAIRRO, CEP, CNPJ, CPF, IE, FISICA_JURIDICA, CONTATO, TELEFONE, CELULAR, FAX, EMAIL, "
            "ENDERECO_ENTREGA, NUMERO_ENTREGA, DATA_NASC, CIDADE_ENTREGA, UF_ENTREGA, "
            "BAIRRO_ENTREGA, ENDERECO_COBRANCA, NUMERO_COBRANCA, CEP_COBRANCA, CIDADE_COBRANCA, "
            "UF_COBRANCA, BAIRRO_COBRANCA, LIMITE) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?)");
        TValores v;
        for (long i = 0; i < opcoes_.linhas; ++i) {
            const bool juridica = s.Chance(35);
            std::string nome = juridica ? dados.RazaoSocial() : dados.NomePessoa();
            v.clear();
            v.push_back(std::to_string(codigos.Proximo()));
            AcrescentaNomeEEndereco(v, s, dados, nome, juridica, 80, "   ");
            if (juridica) {
                v.push_back(s.Chance(3) ? TValor() : TValor(dados.Cnpj()));
                const TValor cpfs[] = {TValor(), TValor(), TValor(), TValor(""),
                                       TValor("   .   .   -  ")};
                v.push_back(s.Um(cpfs));
            } else {
                v.push_back(s.Chance(2) ? TValor(dados.Cnpj()) : TValor());
                v.push_back(s.Chance(5) ? TValor() : TValor(dados.Cpf()));
            }
            v.push_back(juridica ? Texto(dados.InscricaoEstadual())
                                 : (s.Chance(85) ? TValor() : TValor("ISENTO")));
            v.push_back(s.Chance(2) ? TValor() : TValor(juridica ? "J" : "F"));
            v.push_back(juridica && s.Chance(60) ? Texto(dados.Contato()) : TValor());
            v.push_back(s.Chance(10) ? TValor() : TValor(dados.Telefone()));
            v.push_back(s.Chance(50) ? TValor() : TValor(dados.Celular()));
            v.push_back(s.Chance(80) ? TValor() : TValor(dados.Telefone()));
            v.push_back(s.Chance(40) ? TValor() : Texto(dados.Email(nome)));
            const bool entrega = s.Chance(15);
            TCidadeAmostra cidadeEntrega = dados.Cidade();
            v.push_back(entrega ? Texto(dados.Logradouro()) : TValor());
            v.push_back(entrega ? Texto(dados.Numero()) : TValor());
            v.push_back(!juridica && s.Chance(70) ? TValor(dados.DataNascimento()) : TValor());
            v.push_back(entrega ? Texto(cidadeEntrega.cidade) : TValor());
            v.push_back(entrega ? Texto(cidadeEntrega.uf) : TValor());
            v.push_back(entrega ? Texto(dados.Bairro()) : TValor());
            const bool cobranca = s.Chance(10);
            TCidadeAmostra cidadeCobranca = dados.Cidade();
            v.push_back(cobranca ? Texto(dados.Logradouro()) : TValor());
            v.push_back(cobranca ? Texto(dados.Numero()) : TValor());
            v.push_back(cobranca ? TValor(dados.Cep()) : TValor());
            v.push_back(cobranca ? Texto(cidadeCobranca.cidade) : TValor());
            v.push_back(cobranca ? Texto(cidadeCobranca.uf) : TValor());
            v.push_back(cobranca ? Texto(dados.Bairro()) : TValor());
            v.push_back(Decimal(s.Entre(0, 20) * 50000, 2));
            comando.Executa(v);
        }
    }
    if (banco.Transacao().Ativa())
        banco.Transacao().Confirma();
    resumo_.clientes = opcoes_.linhas;
}

void TGeradorAmostra::InsereFornecedores(TBancoFirebird& banco) {
    TSorteio s(opcoes_.semente, "FORNECEDOR");
    TDadosFicticios dados(s);
    TSequenciaCodigos codigos(s, opcoes_.linhas, 999999);
    {
        TComandoPreparado comando(
            banco,
            "INSERT INTO FORNECEDOR (CODIGO, NOME, NOME_FANTASIA, ENDERECO, NUMERO, CIDADE, UF, "
            "BAIRRO, CEP, CNPJ, CPF, IE, COMPLEMENTO, CONTATO, TELEFONE, CELULAR, FAX, EMAIL) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        TValores v;
        for (long i = 0; i < opcoes_.linhas; ++i) {
            const bool juridica = s.Chance(85);
            std::string nome = juridica ? dados.RazaoSocial() : dados.NomePessoa();
            v.clear();
            v.push_back(std::to_string(codigos.Proximo()));
            AcrescentaNomeEEndereco(v, s, dados, nome, juridica, 70, "  ");
            if (juridica) {
                v.push_back(s.Chance(3) ? TValor() : TValor(dados.Cnpj()));
                const TValor cpfs[] = {TValor(), TValor(), TValor(""), TValor("..-")};
                v.push_back(s.Um(cpfs));
            } else {
                v.push_back(TValor());
                v.push_back(s.Chance(5) ? TValor() : TValor(dados.Cpf()));
            }
            v.push_back(juridica ? Texto(dados.InscricaoEstadual()) : TValor());
            v.push_back(s.Chance(30) ? Texto(dados.Complemento()) : TValor());
            v.push_back(s.Chance(60) ? Texto(dados.Contato()) : TValor());
            v.push_back(s.Chance(5) ? TValor() : TValor(dados.Telefone()));
            v.push_back(s.Chance(40) ? TValor() : TValor(dados.Celular()));
            v.push_back(s.Chance(60) ? TValor() : TValor(dados.Telefone()));
            v.push_back(s.Chance(30) ? TValor() : Texto(dados.Email(nome)));
            comando.Executa(v);
        }
    }
    if (banco.Transacao().Ativa())
        banco.Transacao().Confirma();
    resumo_.fornecedores = opcoes_.linhas;
}

void TGeradorAmostra::GravaProdutos(const std::string& caminho) {
    TSorteio s(opcoes_.semente, "produtos.xlsx");
    TDadosFicticios dados(s);
    TPastaXlsx pasta(caminho, "Produtos");
    pasta.Cabecalho(
        {"Código", "Descrição", "Cód. Barras", "Grupo", "Unidade", "Preço Venda", "Estoque", "NCM"},
        {9, 50, 15, 14, 9, 12, 9, 11});
    long codigo = 0;
    for (long i = 0; i < opcoes_.linhas; ++i) {
        const int linha = static_cast<int>(i) + 2;
        TItemAmostra item = dados.Item();
        codigo += s.Entre(1, 3);
        pasta.Numero(linha, 1, static_cast<double>(codigo));
        if (!s.Chance(1))
            pasta.Texto(linha, 2, item.descricao);
        if (s.Chance(85))
            pasta.Texto(linha, 3, dados.CodigoBarras());
        pasta.Texto(linha, 4, item.grupo);
        if (!s.Chance(3)) {
            pasta.Texto(linha, 5, s.Chance(3) ? "Embalagem" : dados.Unidade(item.unidade));
        }
        if (s.Chance(1)) {
            pasta.Numero(linha, 6, 0);
        } else if (!s.Chance(4)) {
            pasta.Numero(linha, 6, static_cast<double>(item.centavos) / 100.0);
        }
        pasta.Numero(linha, 7, static_cast<double>(s.Entre(0, 300)));
        pasta.Texto(linha, 8, item.ncm);
    }
    pasta.Fecha();
    resumo_.linhasProdutos = opcoes_.linhas;
}

void TGeradorAmostra::GravaCadastros(const std::string& caminho) {
    TSorteio s(opcoes_.semente, "cadastros.xlsx");
    TDadosFicticios dados(s);
    TPastaXlsx pasta(caminho, "Cadastros");
    pasta.Cabecalho(
        {"Código", "Nome / Razão Social", "Cliente", "Fornecedor", "Pessoa Jurídica", "Cidade",
         "Bairro", "UF", "CEP", "Telefone", "Fax", "CPF/CNPJ", "Inscrição Estadual"},
        {8, 45, 8, 11, 15, 24, 20, 5, 11, 16, 16, 20, 18});
    long codigo = 0;
    for (long i = 0; i < opcoes_.linhas; ++i) {
        const int linha = static_cast<int>(i) + 2;
        const bool juridica = s.Chance(40);
        const long papel = s.Entre(0, 99);
        codigo += s.Entre(1, 2);
        pasta.Numero(linha, 1, static_cast<double>(codigo));
        if (!s.Chance(2))
            pasta.Texto(linha, 2, juridica ? dados.RazaoSocial() : dados.NomePessoa());
        pasta.Logico(linha, 3, papel < 55 || papel >= 80);
        pasta.Logico(linha, 4, papel >= 55 && papel < 93);
        pasta.Logico(linha, 5, juridica);

        TCidadeAmostra cidade = dados.Cidade();
        if (s.Chance(3))
            cidade.cidade = " BHTE ";
        if (s.Chance(5))
            cidade.cidade.clear();
        pasta.Texto(linha, 6, cidade.cidade);
        if (!s.Chance(10))
            pasta.Texto(linha, 7, dados.Bairro());
        if (!s.Chance(3))
            pasta.Texto(linha, 8, s.Chance(5) ? " " + cidade.uf : cidade.uf);

        if (s.Chance(10)) {
            std::string cep = dados.Cep();
            std::string digitos;
            for (char c : cep)
                if (c >= '0' && c <= '9')
                    digitos += c;
            pasta.Numero(linha, 9, std::atof(digitos.c_str()));
        } else if (!s.Chance(10)) {
            pasta.Texto(linha, 9, dados.Cep());
        }

        if (s.Chance(5)) {
            pasta.Numero(linha, 10, static_cast<double>(3130000000L + s.Entre(0, 9999999)));
        } else if (!s.Chance(10)) {
            pasta.Texto(linha, 10, s.Chance(10) ? dados.Celular() : dados.Telefone());
        }
        if (s.Chance(20))
            pasta.Texto(linha, 11, dados.Telefone());

        if (s.Chance(5)) {
            pasta.Texto(linha, 12, juridica ? "__.___.___/____-__" : "___.___.___-__");
        } else if (!s.Chance(5)) {
            pasta.Texto(linha, 12, juridica ? dados.Cnpj() : dados.Cpf());
        }
        if (juridica) {
            pasta.Texto(linha, 13, dados.InscricaoEstadual());
        } else if (s.Chance(30)) {
            pasta.Texto(linha, 13, s.Chance(50) ? "ISENTO" : "isento");
        }
    }
    pasta.Fecha();
    resumo_.linhasCadastros = opcoes_.linhas;
}
