#include "conversion/suppliers/classConverteFornecedor.h"

#include "common/Texto.h"

using texto::Primeiros;
using texto::Trim;

// A column of the statement and the field it writes.
struct TConverteFornece::TColuna {
    const char* nome;
    std::string TConverteFornece::*campo;
};

namespace {
using F = TConverteFornece;

// Apostrophes never reach a supplier value (SetAtivo aside): every other cleaning rule works on
// the text without them.
std::string SemApostrofos(const std::string& v) {
    std::string r;
    r.reserve(v.size());
    for (char c : v) {
        if (c != '\'')
            r += c;
    }
    return r;
}
}  // namespace

const TConverteFornece::TColuna* TConverteFornece::Colunas(size_t& quantidade) {
    static const TColuna colunas[] = {
        {"fornece.CodFornec", &F::CodFornec_},
        {"fornece.Nome", &F::Nome_},
        {"fornece.NomeFantasia", &F::NomeFantasia_},
        {"fornece.Contato", &F::Contato_},
        {"fornece.Endereco", &F::Endereco_},
        {"fornece.Bairro", &F::Bairro_},
        {"fornece.Cep", &F::Cep_},
        {"fornece.CodCidade", &F::CodCidade_},
        {"fornece.Numero", &F::Numero_},
        {"fornece.Complemento", &F::Complemento_},
        {"fornece.Estado", &F::Estado_},
        {"fornece.InscMunicipal", &F::InscMunicipal_},
        {"fornece.Pessoa_FJ", &F::PessoaFJ_},
        {"fornece.CgcCpf", &F::CgcCpf_},
        {"fornece.InscEst", &F::InscEst_},
        {"fornece.observacao", &F::Observacao_},
        {"fornece.Fone", &F::Fone_},
        {"fornece.Fax", &F::Fax_},
        {"fornece.Celular", &F::Celular_},
        {"fornece.Email", &F::Email_},
        {"fornece.HomePage", &F::HomePage_},
        {"fornece.CampoLivre1", &F::CampoLivre1_},
        {"fornece.CampoLivre2", &F::CampoLivre2_},
        {"fornece.codcliente", &F::CodCliente_},
        {"fornece.ativo", &F::Ativo_},
        {"fornece.TipoFornece", &F::TipoFornece_},
        {"fornece.contacx", &F::ContaCx_},
        {"fornece.ctctbred", &F::CtCtbRed_},
        {"fornece.codmunicipio", &F::CodMunicipio_},
    };
    quantidade = sizeof colunas / sizeof colunas[0];
    return colunas;
}

TConverteFornece::TConverteFornece(TBancoFirebird& banco, IAvisos& avisos)
    : TConversao(banco, avisos) {
    LimpaCampos();
}

std::string TConverteFornece::MontaInsert() const {
    size_t n = 0;
    const TColuna* colunas = Colunas(n);
    std::string sql = "  Insert Into fornece (";
    for (size_t i = 0; i < n; ++i) {
        sql += colunas[i].nome;
        sql += (i + 1 < n) ? ", " : ")";
    }
    sql += " Values (";
    for (size_t i = 0; i < n; ++i) {
        sql += texto::Literal(this->*colunas[i].campo);
        sql += (i + 1 < n) ? ", " : ") ";
    }
    return sql;
}

void TConverteFornece::Insere() {
    ExecutaNaPrincipal(MontaInsert());
    LimpaCampos();
}

void TConverteFornece::LimpaTabela() {
    EsvaziaTabela("Delete from FORNECE");
}

// CodCliente, ContaCx and CtCtbRed have no setter: they stay empty for the writer's whole life.
void TConverteFornece::LimpaCampos() {
    const std::string vazio;
    SetCodFornec(vazio);
    SetNome(vazio);
    SetNomeFantasia(vazio);
    SetContato(vazio);
    SetEndereco(vazio);
    SetBairro(vazio);
    SetCep(vazio);
    SetCodCidade(vazio);
    SetNumero(vazio);
    SetComplemento(vazio);
    SetEstado(vazio);
    SetInscMunicipal(vazio);
    SetPessoaFJ(vazio);
    SetCgcCpf(vazio);
    SetInscEst(vazio);
    SetObservacao(vazio);
    SetFone(vazio);
    SetFax(vazio);
    SetCelular(vazio);
    SetEmail(vazio);
    SetHomePage(vazio);
    SetCampoLivre1(vazio);
    SetCampoLivre2(vazio);
    SetAtivo(vazio);
    SetTipoFornece(vazio);
    SetCodMunicipio(vazio);
}

// ---- Setters ------------------------------------------------------------------------------

void TConverteFornece::SetCodFornec(const std::string& v) {
    CodFornec_ = CompletaZeros(SemApostrofos(v), 6);
}
void TConverteFornece::SetNome(const std::string& v) {
    Nome_ = Primeiros(Trim(SemApostrofos(v)), 50);
}
void TConverteFornece::SetNomeFantasia(const std::string& v) {
    NomeFantasia_ = Primeiros(Trim(SemApostrofos(v)), 40);
}
void TConverteFornece::SetContato(const std::string& v) {
    Contato_ = Primeiros(Trim(SemApostrofos(v)), 30);
}
void TConverteFornece::SetEndereco(const std::string& v) {
    Endereco_ = Primeiros(SemApostrofos(v), 50);
}
void TConverteFornece::SetBairro(const std::string& v) {
    Bairro_ = Primeiros(Trim(SemApostrofos(v)), 30);
}
void TConverteFornece::SetCep(const std::string& v) {
    Cep_ = Primeiros(SemApostrofos(v), 8);
}
void TConverteFornece::SetCodCidade(const std::string& v) {
    const std::string t = SemApostrofos(v);
    CodCidade_ = t.empty() ? t : CompletaZeros(Primeiros(t, 5), 5);
}
void TConverteFornece::SetNumero(const std::string& v) {
    Numero_ = Primeiros(SemApostrofos(v), 10);
}
void TConverteFornece::SetComplemento(const std::string& v) {
    Complemento_ = Trim(Primeiros(SemApostrofos(v), 60));
}
void TConverteFornece::SetEstado(const std::string& v) {
    Estado_ = Primeiros(SemApostrofos(v), 2);
}
void TConverteFornece::SetInscMunicipal(const std::string& v) {
    InscMunicipal_ = Primeiros(SomenteNumeros(SemApostrofos(v)), 15);
}
void TConverteFornece::SetPessoaFJ(const std::string& v) {
    PessoaFJ_ = SemApostrofos(v);
}
void TConverteFornece::SetCgcCpf(const std::string& v) {
    CgcCpf_ = Primeiros(SomenteNumeros(SemApostrofos(v)), 14);
}
void TConverteFornece::SetInscEst(const std::string& v) {
    InscEst_ = Primeiros(SomenteNumeros(SemApostrofos(v)), 15);
}
void TConverteFornece::SetObservacao(const std::string& v) {
    Observacao_ = Primeiros(SemApostrofos(v), 100);
}
void TConverteFornece::SetFone(const std::string& v) {
    Fone_ = Primeiros(SemApostrofos(v), 15);
}
void TConverteFornece::SetFax(const std::string& v) {
    Fax_ = Primeiros(SemApostrofos(v), 15);
}
void TConverteFornece::SetCelular(const std::string& v) {
    Celular_ = Primeiros(SomenteNumeros(SemApostrofos(v)), 15);
}
void TConverteFornece::SetEmail(const std::string& v) {
    Email_ = Trim(SemApostrofos(v));
}
void TConverteFornece::SetHomePage(const std::string& v) {
    HomePage_ = Primeiros(SemApostrofos(v), 30);
}
void TConverteFornece::SetCampoLivre1(const std::string& v) {
    CampoLivre1_ = Primeiros(Trim(SemApostrofos(v)), 20);
}
void TConverteFornece::SetCampoLivre2(const std::string& v) {
    CampoLivre2_ = Primeiros(Trim(SemApostrofos(v)), 20);
}
void TConverteFornece::SetAtivo(const std::string& v) {
    Ativo_ = texto::UpperAZ(Primeiros(v, 1));
}
void TConverteFornece::SetTipoFornece(const std::string& v) {
    TipoFornece_ = SemApostrofos(v);
}
void TConverteFornece::SetCodMunicipio(const std::string& v) {
    CodMunicipio_ = Primeiros(CompletaZeros(SemApostrofos(v), 7), 7);
}
