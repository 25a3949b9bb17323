#include "conversion/BancoFirebird.h"

#include "conversion/LoteComandos.h"

#include "common/Win1252.h"
#include "conversion/Credenciais.h"
#include "conversion/ErrosMotor.h"
#include "conversion/Firebird.h"

#include <cstdint>
#include <memory>
#include <vector>

using namespace Firebird;

namespace fb {

IMaster* Master() {
    static IMaster* master = fb_get_master_interface();
    return master;
}

IUtil* Util() {
    return Master()->getUtilInterface();
}

Status::Status() : status_(Master()->getStatus()), wrapper_(status_) {}
Status::~Status() {
    status_->dispose();
}

bool Status::Falhou() {
    return (wrapper_.getState() & IStatus::STATE_ERRORS) != 0;
}

void Status::Verifica() {
    if (Falhou())
        LancaErroFirebird(&wrapper_);
}

void LiberaComando(IStatement* statement) {
    Status st;
    statement->free(&st);
    if (st.Falhou())
        statement->release();
}

}  // namespace fb

namespace {

// Every call into the engine asks its connection for the attachment or the transaction first,
// so the connection asked last is the one whose database a failed call was about.
thread_local const TBancoFirebird* bancoEmUso = nullptr;

TFalhaBanco ComBanco(TFalhaBanco f) {
    if (bancoEmUso) {
        f.papel = bancoEmUso->Papel();
        f.caminho = bancoEmUso->Nome();
    }
    return f;
}

}  // namespace

void LancaErroFirebird(const void* status) {
    erros_motor::Lanca(ComBanco(erros_motor::LeStatus(status)));
}

void TBancoFirebird::Falha(const char* textoMotor) const {
    bancoEmUso = this;
    TFalhaBanco f;
    f.codigos.push_back(isc_bad_db_handle);
    f.textoMotor = textoMotor;
    erros_motor::Lanca(ComBanco(std::move(f)));
}

namespace {

using erros_motor::kNaoAberto;
const char* const kJaAberto = "Cannot perform operation -- DB is currently open";

// The parameter block of an attachment: user, password, character set, the pages of its cache
// when set, and on creation the dialect and default character set of the new database.
std::vector<unsigned char> MontaDpb(bool criar, int dialeto, int paginasEmCache) {
    fb::Status st;
    IXpbBuilder* dpb = fb::Util()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    st.Verifica();
    const TCredenciais credenciais = CredenciaisDaConexao();
    dpb->insertString(&st, isc_dpb_user_name, credenciais.usuario.c_str());
    dpb->insertString(&st, isc_dpb_password, credenciais.senha.c_str());
    dpb->insertString(&st, isc_dpb_lc_ctype, TBancoFirebird::kCharset);
    if (paginasEmCache > 0) {
        const std::string config = "DefaultDbCachePages = " + std::to_string(paginasEmCache);
        dpb->insertString(&st, isc_dpb_config, config.c_str());
    }
    if (criar) {
        dpb->insertInt(&st, isc_dpb_sql_dialect, dialeto);
        dpb->insertString(&st, isc_dpb_set_db_charset, TBancoFirebird::kCharset);
        dpb->insertInt(&st, isc_dpb_page_size, 8192);
    }
    st.Verifica();
    const unsigned char* buf = dpb->getBuffer(&st);
    unsigned len = dpb->getBufferLength(&st);
    std::vector<unsigned char> r(buf, buf + len);
    dpb->dispose();
    st.Verifica();
    return r;
}

}  // namespace

// ---- TTransacao ---------------------------------------------------------------------------

TTransacao::~TTransacao() {
    try {
        Abandona();
    } catch (...) {
        // A destructor cannot report; the engine rolls back what the connection leaves open.
    }
}

void TTransacao::Inicia() {
    if (handle_)
        return;
    IAttachment* att = banco_.Attachment();
    std::vector<unsigned char> tpb = {isc_tpb_version3};
    if (leituraConfirmada_)
        tpb.insert(tpb.end(), {isc_tpb_read_committed, isc_tpb_rec_version});
    else
        tpb.push_back(isc_tpb_concurrency);
    tpb.push_back(isc_tpb_wait);
    tpb.push_back(somenteLeitura_ ? isc_tpb_read : isc_tpb_write);
    // No undo log of the whole transaction: a rollback then only marks it dead, at once, and
    // its rows are never seen again, instead of backing them out one by one (as long as the
    // run itself, after a long run). Each statement still undoes itself when it fails.
    if (!somenteLeitura_)
        tpb.push_back(isc_tpb_no_auto_undo);
    // Never an endless wait behind another user's open transaction.
    const auto espera = static_cast<std::uint32_t>(esperaBloqueio_);
    tpb.insert(tpb.end(), {isc_tpb_lock_timeout, 4, static_cast<unsigned char>(espera & 0xFF),
                           static_cast<unsigned char>((espera >> 8) & 0xFF),
                           static_cast<unsigned char>((espera >> 16) & 0xFF),
                           static_cast<unsigned char>((espera >> 24) & 0xFF)});
    fb::Status st;
    ITransaction* t = att->startTransaction(&st, static_cast<unsigned>(tpb.size()), tpb.data());
    st.Verifica();
    handle_ = t;
    ++geracao_;
}

void TTransacao::Confirma() {
    banco_.Lote().Descarrega();
    if (!handle_)
        return;
    bancoEmUso = &banco_;
    fb::Status st;
    handle_->commit(&st);
    st.Verifica();  // a failed commit leaves the transaction active, for the caller to undo
    handle_ = nullptr;
}

void TTransacao::Desfaz() {
    banco_.Lote().Descarta();
    if (!handle_)
        return;
    bancoEmUso = &banco_;
    fb::Status st;
    handle_->rollback(&st);
    if (st.Falhou()) {
        // The handle is unusable after a failed rollback; let the engine clean it up.
        handle_->release();
        handle_ = nullptr;
        st.Verifica();
    }
    handle_ = nullptr;
}

void TTransacao::Abandona() {
    banco_.Lote().Descarta();
    if (!handle_)
        return;
    fb::Status st;
    handle_->rollback(&st);
    if (st.Falhou())
        handle_->release();
    handle_ = nullptr;
}

// ---- TBancoFirebird -----------------------------------------------------------------------

TBancoFirebird::TBancoFirebird(int dialeto)
    : dialeto_(dialeto), lote_(std::make_unique<TLoteComandos>(*this)) {}

TBancoFirebird::~TBancoFirebird() {
    if (bancoEmUso == this)
        bancoEmUso = nullptr;
    try {
        Desconecta();
    } catch (...) {
        // A destructor cannot report; the engine frees what the detach could not.
    }
}

bool TBancoFirebird::Remoto() const {
    if (nome_.find("://") != std::string::npos)
        return true;
    const size_t doisPontos = nome_.find(':');
    return doisPontos != std::string::npos && doisPontos >= 2;
}

void TBancoFirebird::DefineNome(const std::string& nome) {
    if (nome == nome_)
        return;
    if (attachment_)
        throw EBancoDados(kJaAberto);
    nome_ = nome;
}

void TBancoFirebird::Anexa(bool criar) {
    if (attachment_)
        return;
    if (nome_.empty())
        Falha(kNaoAberto);
    bancoEmUso = this;
    std::vector<unsigned char> dpb = MontaDpb(criar, dialeto_, Remoto() ? 0 : paginasEmCache_);
    IProvider* prov = fb::Master()->getDispatcher();
    fb::Status st;
    IAttachment* att = criar ? prov->createDatabase(&st, nome_.c_str(),
                                                    static_cast<unsigned>(dpb.size()), dpb.data())
                             : prov->attachDatabase(&st, nome_.c_str(),
                                                    static_cast<unsigned>(dpb.size()), dpb.data());
    prov->release();
    st.Verifica();
    attachment_ = att;
}

void TBancoFirebird::Conecta() {
    Anexa(false);
}
void TBancoFirebird::CriaBanco() {
    Anexa(true);
}

void TBancoFirebird::Desconecta() {
    if (!attachment_)
        return;
    bancoEmUso = this;
    transacao_.Abandona();
    lote_->Esquece();
    comandos_.Libera();
    fb::Status st;
    attachment_->detach(&st);
    if (st.Falhou()) {
        attachment_->release();
        attachment_ = nullptr;
        st.Verifica();
    }
    attachment_ = nullptr;
}

IAttachment* TBancoFirebird::Attachment() const {
    if (!attachment_)
        Falha(kNaoAberto);
    bancoEmUso = this;
    return attachment_;
}

ITransaction* TBancoFirebird::TransacaoAtiva() {
    return Transacao(false);
}

ITransaction* TBancoFirebird::TransacaoDoBloco() {
    return Transacao(true);
}

ITransaction* TBancoFirebird::Transacao(bool bloco) {
    IAttachment* att = Attachment();
    if (lote_->Precede())
        lote_->Descarrega();
    if (!transacao_.Ativa())
        transacao_.Inicia();
    if (pontoAdiado_.Pendente(bloco)) {
        fb::Status st;
        att->execute(&st, transacao_.Handle(), 0, pontoAdiado_.Sql().c_str(),
                     static_cast<unsigned>(dialeto_), nullptr, nullptr, nullptr, nullptr);
        st.Verifica();
        pontoAdiado_.Posto();
    }
    return transacao_.Handle();
}

namespace {

// Splits a script on ";" outside string literals, quoted identifiers and comments.
std::vector<std::string> DivideScript(const std::string& script) {
    std::vector<std::string> comandos;
    std::string atual;
    for (size_t i = 0; i < script.size(); ++i) {
        char c = script[i];
        if (c == '\'' || c == '"') {
            size_t fim = script.find(c, i + 1);
            if (fim == std::string::npos)
                fim = script.size() - 1;
            atual.append(script, i, fim - i + 1);
            i = fim;
        } else if (c == '-' && i + 1 < script.size() && script[i + 1] == '-') {
            size_t fim = script.find('\n', i);
            i = (fim == std::string::npos) ? script.size() : fim;
            atual += '\n';
        } else if (c == '/' && i + 1 < script.size() && script[i + 1] == '*') {
            size_t fim = script.find("*/", i + 2);
            i = (fim == std::string::npos) ? script.size() : fim + 1;
        } else if (c == ';') {
            comandos.push_back(atual);
            atual.clear();
        } else {
            atual += c;
        }
    }
    comandos.push_back(atual);
    std::vector<std::string> r;
    for (auto& s : comandos) {
        if (s.find_first_not_of(" \t\r\n") != std::string::npos)
            r.push_back(s);
    }
    return r;
}

}  // namespace

void TBancoFirebird::ExecutaScript(const std::string& script) {
    IAttachment* att = Attachment();
    // A table that a kept statement was compiled against cannot be changed or dropped.
    transacao_.Confirma();
    lote_->Esquece();
    comandos_.Libera();
    for (const std::string& comando : DivideScript(script)) {
        transacao_.Confirma();
        ITransaction* t = TransacaoAtiva();
        fb::Status st;
        att->execute(&st, t, 0, comando.c_str(), static_cast<unsigned>(dialeto_), nullptr, nullptr,
                     nullptr, nullptr);
        if (st.Falhou()) {
            transacao_.Desfaz();
            st.Verifica();
        }
        transacao_.Confirma();
    }
}
