#include "conversion/clients/classConversaoCliente.h"

#include "common/ConfiguracaoRegional.h"
#include "common/Erros.h"
#include "common/Texto.h"

using texto::Literal;
using texto::Primeiros;

// ---- Cleaning steps -------------------------------------------------------------------------

namespace {

using TPasso = std::string (*)(const std::string&);

std::string Apara(const std::string& t) {
    return texto::Trim(t);
}
std::string Numeros(const std::string& t) {
    return TConversao::SomenteNumeros(t);
}
std::string Intacto(const std::string& t) {
    return t;
}
template <long N>
std::string Corta(const std::string& t) {
    return Primeiros(t, N);
}
template <int N>
std::string Zeros(const std::string& t) {
    return TConversao::CompletaZeros(t, N);
}
// The steps one after the other, as one step.
template <TPasso... Passos>
std::string Em(const std::string& t) {
    std::string r = t;
    ((r = Passos(r)), ...);
    return r;
}

// An eight-digit local number gets two blanks where the area code would stand.
std::string PrefixoDeOito(const std::string& t) {
    return t.size() == 8 ? "  " + t : t;
}

std::string CodigoCidade(const std::string& t) {
    return t.empty() ? t : Zeros<5>(Corta<5>(t));
}

// Double quotes never reach the statement: each one is taken out in turn and the pass runs
// again over the whole text; the final step runs once none is left. A value that had quotes can
// so come out shorter, or as digits only, where the same value without them would not.
std::string Limpa(const std::string& v, TPasso cadaPasso, TPasso passoFinal) {
    std::string t = v;
    size_t p;
    while ((p = t.find('"')) != std::string::npos) {
        t.erase(p, 1);
        t = cadaPasso(t);
    }
    return passoFinal(t);
}
std::string Limpa(const std::string& v, TPasso passo) {
    return Limpa(v, passo, passo);
}

// Dates reach the database day first with dots; a text no rule can read goes as it came, so
// that the database's own message names it.
std::string RegraData(const std::string& v) {
    std::string r = texto::TrocaTodos(TConversao::FormataData(v), "/", ".");
    if (r.empty() && !v.empty())
        r = texto::TrocaTodos(v, "/", ".");
    return r;
}

}  // namespace

// ---- Columns --------------------------------------------------------------------------------

// A column of the statements and the field it writes; exactly one of the pointers is set.
struct TConverteCliente::TColuna {
    const char* nome;
    std::string TConverteCliente::*texto;
    double TConverteCliente::*numero;
};

namespace {
using C = TConverteCliente;
}  // namespace

#define TXT(nome, campo) \
    { nome, &C::campo, nullptr }

const TConverteCliente::TColuna* TConverteCliente::Colunas(size_t& quantidade) {
    static const TColuna colunas[] = {
        TXT("cliente.codCliente", CodCliente_),
        TXT("cliente.nome", Nome_),
        TXT("cliente.nomefantasia", NomeFantasia_),
        TXT("cliente.endereco", Endereco_),
        TXT("cliente.bairro", Bairro_),
        TXT("cliente.codcidade", CodCidade_),
        TXT("cliente.estado", Estado_),
        TXT("cliente.cep", Cep_),
        TXT("cliente.cgccpf", CgcCpf_),
        TXT("cliente.inscest", InscEst_),
        TXT("cliente.pessoa_fj", PessoaFJ_),
        TXT("cliente.fone", Fone_),
        TXT("cliente.fax", Fax_),
        TXT("cliente.prefixcelular", PrefixCelular_),
        TXT("cliente.celular", Celular_),
        TXT("cliente.campolivre1", CampoLivre1_),
        TXT("cliente.campolivre2", CampoLivre2_),
        TXT("cliente.campolivre3", CampoLivre3_),
        TXT("cliente.campolivre4", CampoLivre4_),
        TXT("cliente.campolivre5", CampoLivre5_),
        TXT("cliente.campolivre6", CampoLivre6_),
        TXT("cliente.campolivre7", CampoLivre7_),
        TXT("cliente.campolivre8", CampoLivre8_),
        TXT("cliente.campolivre9", CampoLivre9_),
        TXT("cliente.campolivre10", CampoLivre10_),
        TXT("cliente.observacao", Observacao_),
        TXT("cliente.email", Email_),
        TXT("cliente.homepage", HomePage_),
        TXT("cliente.enderecocob", EnderecoCob_),
        TXT("cliente.bairrocob", BairroCob_),
        TXT("cliente.cepcob", CepCob_),
        TXT("cliente.codcidadecob", CodCidadeCob_),
        TXT("cliente.estadocob", EstadoCob_),
        TXT("cliente.enderecoent", EnderecoEnt_),
        TXT("cliente.bairroent", BairroEnt_),
        TXT("cliente.cepent", CepEnt_),
        TXT("cliente.codcidadeent", CodCidadeEnt_),
        TXT("cliente.estadoent", EstadoEnt_),
        TXT("cliente.codfornec", CodFornec_),
        TXT("Cliente.contato", Contato_),
        TXT("Cliente.CodSegmento", CodSegmento_),
        TXT("Cliente.CodClasCli", CodClasCli_),
        TXT("Cliente.CodVendend1", CodVendend1_),
        {"Cliente.LimiteCredito", nullptr, &C::LimiteCredito_},
        TXT("cliente.nomesocio", NomeSocio_),
    };
    quantidade = sizeof colunas / sizeof colunas[0];
    return colunas;
}

// The dates, in statement order: an empty one is left out of the insert and set to NULL by the
// update.
const TConverteCliente::TColuna* TConverteCliente::Datas(size_t& quantidade) {
    static const TColuna datas[] = {
        TXT("cliente.dt_nascimento", DtNascimento_),
        TXT("cliente.dt_ultvenda", DtUltVenda_),
        TXT("cliente.dt_cadastro", DtCadastro_),
        TXT("cliente.DT_ValCad", DtValCad_),
    };
    quantidade = sizeof datas / sizeof datas[0];
    return datas;
}

#undef TXT

namespace {
// The dialect-1 literal of the flags that every client gets.
constexpr const char* kNao = "\"N\"";
}  // namespace

std::string TConverteCliente::ValorDe(const TColuna& coluna) const {
    if (coluna.texto)
        return Literal(this->*coluna.texto);
    return TConfiguracaoRegional::Instancia().NumeroSql(this->*coluna.numero);
}

// ---- Life and statements ----------------------------------------------------------------------

TConverteCliente::TConverteCliente(TBancoFirebird& banco, IAvisos& avisos)
    : TConversao(banco, avisos) {
    LimpaCampos();
}

std::string TConverteCliente::MontaInsert() const {
    size_t n = 0, nDatas = 0;
    const TColuna* colunas = Colunas(n);
    const TColuna* datas = Datas(nDatas);
    std::string sql = "Insert Into Cliente (";
    for (size_t i = 0; i < n; ++i)
        sql += std::string(colunas[i].nome) + ", ";
    for (size_t i = 0; i < nDatas; ++i) {
        if (!(this->*datas[i].texto).empty())
            sql += std::string(datas[i].nome) + ", ";
    }
    sql +=
        "cliente.Ativo, cliente.CliBloqueado, cliente.maladiretaeletr, "
        "cliente.protestarcliente) Values (";
    for (size_t i = 0; i < n; ++i)
        sql += ValorDe(colunas[i]) + ", ";
    for (size_t i = 0; i < nDatas; ++i) {
        if (!(this->*datas[i].texto).empty())
            sql += Literal(this->*datas[i].texto) + ", ";
    }
    sql += Literal(Ativo_) + ", " + Literal(CliBloqueado_) + ", " + kNao + ", " + kNao + ")";
    return sql;
}

std::string TConverteCliente::MontaUpdate() const {
    size_t n = 0, nDatas = 0;
    const TColuna* colunas = Colunas(n);
    const TColuna* datas = Datas(nDatas);
    std::string sql = "Update Cliente set ";
    // The key is the condition, never assigned.
    for (size_t i = 1; i < n; ++i) {
        const char* nome = i == 1 ? "cliente.Nome" : colunas[i].nome;
        sql += std::string(nome) + " = " + ValorDe(colunas[i]) + ", ";
    }
    for (size_t i = 0; i < nDatas; ++i) {
        const std::string& valor = this->*datas[i].texto;
        sql +=
            std::string(datas[i].nome) + " = " + (valor.empty() ? "NULL" : Literal(valor)) + ", ";
    }
    sql += "cliente.Ativo = " + Literal(Ativo_) + ", cliente.CliBloqueado = " + kNao +
           ", cliente.maladiretaeletr = " + kNao + ", cliente.protestarcliente = " + kNao +
           " where cliente.codcliente = " + Literal(CodCliente_);
    return sql;
}

bool TConverteCliente::Grava(int Tipo) {
    switch (Tipo) {
        case kInsere:
            ExecutaNaPrincipal(MontaInsert());
            break;
        case kAltera:
            ExecutaNaPrincipal(MontaUpdate());
            break;
        default:
            throw EConversor("Tipo de gravação de cliente inválido: " + std::to_string(Tipo) +
                             " (1 para incluir, 2 para alterar).");
    }
    LimpaCampos();
    return true;
}

void TConverteCliente::LimpaTabela() {
    EsvaziaTabela("Delete from CLIENTE");
}

void TConverteCliente::LimpaCampos() {
    const std::string vazio;
    SetCodCliente(vazio);
    SetNome(vazio);
    SetNomeFantasia(vazio);
    SetEndereco(vazio);
    SetBairro(vazio);
    SetCodCidade(vazio);
    SetEstado(vazio);
    SetCep(vazio);
    SetCgcCpf(vazio);
    SetInscEst(vazio);
    SetPessoaFJ("F");
    SetFone(vazio);
    SetFax(vazio);
    SetPrefixCelular(vazio);
    SetCelular(vazio);
    SetCampoLivre1(vazio);
    SetCampoLivre2(vazio);
    SetCampoLivre3(vazio);
    SetCampoLivre4(vazio);
    SetCampoLivre5(vazio);
    SetCampoLivre6(vazio);
    SetCampoLivre7(vazio);
    SetCampoLivre8(vazio);
    SetCampoLivre9(vazio);
    SetCampoLivre10(vazio);
    SetObservacao(vazio);
    SetEmail(vazio);
    SetHomePage(vazio);
    SetEnderecoCob(vazio);
    SetBairroCob(vazio);
    SetCepCob(vazio);
    SetCodCidadeCob(vazio);
    SetEstadoCob(vazio);
    SetEnderecoEnt(vazio);
    SetBairroEnt(vazio);
    SetCepEnt(vazio);
    SetCodCidadeEnt(vazio);
    SetEstadoEnt(vazio);
    // The contact stays: it is the one value that carries over from one client to the next.
    SetDtNascimento(vazio);
    SetDtCadastro(vazio);  // today
    SetAtivo("S");
    SetCliBloqueado("N");
}

// ---- Setters ------------------------------------------------------------------------------------

void TConverteCliente::SetCodCliente(const std::string& v) {
    CodCliente_ = Limpa(v, Em<Zeros<8>, Numeros>, Em<Corta<8>, Zeros<8>, Numeros>);
}
void TConverteCliente::SetNome(const std::string& v) {
    Nome_ = Limpa(v, Em<Apara, Corta<60>>);
}
void TConverteCliente::SetNomeFantasia(const std::string& v) {
    NomeFantasia_ = Limpa(v, Corta<50>, Em<Apara, Corta<50>>);
}
void TConverteCliente::SetEndereco(const std::string& v) {
    Endereco_ = Limpa(v, Em<Apara, Corta<60>>);
}
void TConverteCliente::SetBairro(const std::string& v) {
    Bairro_ = Limpa(v, Corta<30>);
}
void TConverteCliente::SetCodCidade(const std::string& v) {
    CodCidade_ = Limpa(v, Intacto, CodigoCidade);
}
void TConverteCliente::SetEstado(const std::string& v) {
    Estado_ = Limpa(v, Corta<2>);
}
void TConverteCliente::SetCep(const std::string& v) {
    Cep_ = Limpa(v, Em<Numeros, Corta<8>>);
}
void TConverteCliente::SetCgcCpf(const std::string& v) {
    CgcCpf_ = Limpa(v, Em<Numeros, Corta<18>>);
}
void TConverteCliente::SetInscEst(const std::string& v) {
    InscEst_ = Limpa(v, Em<Numeros, Corta<15>>);
}
void TConverteCliente::SetPessoaFJ(const std::string& v) {
    PessoaFJ_ = Limpa(v, Intacto, Corta<1>);
}
void TConverteCliente::SetFone(const std::string& v) {
    Fone_ = Limpa(v, Em<Apara, Numeros, Corta<15>>, Em<PrefixoDeOito, Corta<15>>);
}
void TConverteCliente::SetFax(const std::string& v) {
    Fax_ = Limpa(v, Em<Apara, Numeros, Corta<15>>);
}
void TConverteCliente::SetPrefixCelular(const std::string& v) {
    PrefixCelular_ = Limpa(v, Em<Numeros, Corta<4>>, Corta<4>);
}
void TConverteCliente::SetCelular(const std::string& v) {
    Celular_ = Limpa(v, Em<Numeros, Corta<15>>, Corta<20>);
}
void TConverteCliente::SetCampoLivre1(const std::string& v) {
    CampoLivre1_ = Limpa(v, Corta<20>);
}
void TConverteCliente::SetCampoLivre2(const std::string& v) {
    CampoLivre2_ = Limpa(v, Corta<20>);
}
void TConverteCliente::SetCampoLivre3(const std::string& v) {
    CampoLivre3_ = Limpa(v, Corta<60>);
}
void TConverteCliente::SetCampoLivre4(const std::string& v) {
    CampoLivre4_ = Limpa(v, Corta<60>);
}
void TConverteCliente::SetCampoLivre5(const std::string& v) {
    CampoLivre5_ = Limpa(v, Corta<40>);
}
void TConverteCliente::SetCampoLivre6(const std::string& v) {
    CampoLivre6_ = Limpa(v, Corta<40>);
}
void TConverteCliente::SetCampoLivre7(const std::string& v) {
    CampoLivre7_ = Limpa(v, Corta<40>);
}
void TConverteCliente::SetCampoLivre8(const std::string& v) {
    CampoLivre8_ = Limpa(v, Corta<40>);
}
void TConverteCliente::SetCampoLivre9(const std::string& v) {
    CampoLivre9_ = Limpa(v, Corta<40>);
}
void TConverteCliente::SetCampoLivre10(const std::string& v) {
    CampoLivre10_ = Limpa(v, Corta<40>);
}
void TConverteCliente::SetObservacao(const std::string& v) {
    Observacao_ = Limpa(v, Corta<100>);
}
void TConverteCliente::SetEmail(const std::string& v) {
    Email_ = Limpa(v, Em<Apara, Corta<60>>);
}
void TConverteCliente::SetHomePage(const std::string& v) {
    HomePage_ = Limpa(v, Em<Apara, Corta<30>>);
}
void TConverteCliente::SetEnderecoCob(const std::string& v) {
    EnderecoCob_ = Limpa(v, Em<Apara, Corta<60>>);
}
void TConverteCliente::SetBairroCob(const std::string& v) {
    BairroCob_ = Limpa(v, Em<Apara, Corta<60>>, Em<Apara, Corta<30>>);
}
void TConverteCliente::SetCepCob(const std::string& v) {
    CepCob_ = Limpa(v, Em<Numeros, Corta<8>>);
}
void TConverteCliente::SetCodCidadeCob(const std::string& v) {
    CodCidadeCob_ = Limpa(v, Intacto, CodigoCidade);
}
void TConverteCliente::SetEstadoCob(const std::string& v) {
    EstadoCob_ = Limpa(v, Corta<20>, Corta<2>);
}
void TConverteCliente::SetEnderecoEnt(const std::string& v) {
    EnderecoEnt_ = Limpa(v, Em<Apara, Corta<60>>);
}
void TConverteCliente::SetBairroEnt(const std::string& v) {
    BairroEnt_ = Limpa(v, Corta<30>);
}
void TConverteCliente::SetCepEnt(const std::string& v) {
    CepEnt_ = Limpa(v, Em<Numeros, Corta<8>>);
}
void TConverteCliente::SetCodCidadeEnt(const std::string& v) {
    CodCidadeEnt_ = Limpa(v, Intacto, CodigoCidade);
}
void TConverteCliente::SetEstadoEnt(const std::string& v) {
    EstadoEnt_ = Limpa(v, Em<Apara, Corta<60>>, Em<Apara, Corta<2>>);
}
void TConverteCliente::SetContato(const std::string& v) {
    Contato_ = Limpa(v, Apara, Em<Apara, Corta<50>>);
}
void TConverteCliente::SetDtNascimento(const std::string& v) {
    DtNascimento_ = v.empty() ? std::string() : RegraData(v);
}
void TConverteCliente::SetDtCadastro(const std::string& v) {
    DtCadastro_ = RegraData(v);
}
void TConverteCliente::SetAtivo(const std::string& v) {
    Ativo_ = Limpa(v, Intacto, Corta<1>);
}
void TConverteCliente::SetCliBloqueado(const std::string& v) {
    CliBloqueado_ = Limpa(v, Intacto, Corta<1>);
}
