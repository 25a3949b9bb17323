#include "conversion/ConsultaSequencial.h"

#include "common/Texto.h"
#include "conversion/Firebird.h"

using namespace Firebird;

TConsultaSequencial::TConsultaSequencial(TBancoFirebird& banco) : banco_(banco) {}

TConsultaSequencial::~TConsultaSequencial() {
    Fecha();
}

void TConsultaSequencial::DefineSQL(const std::string& sql) {
    Fecha();
    sql_ = sql;
}

void TConsultaSequencial::Abre() {
    Fecha();
    if (texto::Trim(sql_).empty())
        throw EBancoDados("Empty query");
    IAttachment* att = banco_.Attachment();
    ITransaction* tra = banco_.TransacaoAtiva();
    fb::Status st;
    statement_ = att->prepare(&st, tra, 0, sql_.c_str(), static_cast<unsigned>(banco_.Dialeto()),
                              IStatement::PREPARE_PREFETCH_METADATA);
    if (st.Falhou()) {
        statement_ = nullptr;
        st.Verifica();
    }
    IMessageMetadata* saida = statement_->getOutputMetadata(&st);
    st.Verifica();
    cursor_ = statement_->openCursor(&st, tra, nullptr, nullptr, saida, 0);
    if (st.Falhou()) {
        cursor_ = nullptr;
        saida->release();
        st.Verifica();
    }
    leitor_ = std::make_unique<TLeitorLinhas>(saida);
    saida->release();
    campos_ = leitor_->Nomes();
    Busca();
}

void TConsultaSequencial::Proximo() {
    if (temLinha_)
        Busca();
}

void TConsultaSequencial::Busca() {
    temLinha_ = false;
    linha_.clear();
    if (!cursor_)
        return;
    // Asking for the attachment names this database in a failure of the fetch.
    IAttachment* att = banco_.Attachment();
    ITransaction* tra = banco_.Transacao().Handle();
    fb::Status st;
    // After a shutdown of the engine a fetch answers "row" with the error set: only a clean row
    // is one.
    const int resultado = cursor_->fetchNext(&st, leitor_->Mensagem().data());
    if (st.Falhou()) {
        FechaCursor();
        st.Verifica();
    }
    if (resultado != IStatus::RESULT_OK) {
        FechaCursor();
        return;
    }
    linha_ = leitor_->Le(att, tra);
    temLinha_ = true;
}

void TConsultaSequencial::FechaCursor() {
    if (!cursor_)
        return;
    fb::Status st;
    cursor_->close(&st);
    if (st.Falhou())
        cursor_->release();
    cursor_ = nullptr;
}

void TConsultaSequencial::Fecha() {
    FechaCursor();
    if (statement_) {
        fb::LiberaComando(statement_);
        statement_ = nullptr;
    }
    leitor_.reset();
    campos_.clear();
    linha_.clear();
    temLinha_ = false;
}

int TConsultaSequencial::ContaRegistros() {
    if (!leitor_)
        throw EBancoDados("Query not open");
    // Named columns, so that a statement that gives one column twice can still be counted.
    std::string colunas;
    for (size_t i = 0; i < leitor_->Nomes().size(); ++i)
        colunas += (i ? ", C" : "C") + std::to_string(i + 1);
    TConsulta contagem(banco_);
    contagem.DefineSQL("SELECT COUNT(*) AS TOTAL FROM (" + sql_ + ") CONTADAS (" + colunas + ")");
    contagem.Abre();
    return static_cast<int>(contagem.Inteiro("TOTAL"));
}
