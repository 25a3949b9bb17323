// A connection to a Firebird database through the client library's object API, with its
// default transaction. A plain file path opens the database in the embedded engine; a name
// "host:/path" reaches a server. Every failure is an EBancoDados with the database's message.
#pragma once

#include "common/Erros.h"
#include "conversion/CacheComandos.h"
#include "conversion/MemoriaTransacao.h"
#include "conversion/PontoAdiado.h"

#include <memory>
#include <string>

namespace Firebird {
class IAttachment;
class ITransaction;
}  // namespace Firebird

class TBancoFirebird;
class TLoteComandos;

// The connection's default transaction: every statement run while it is not active starts it.
class TTransacao {
  public:
    explicit TTransacao(TBancoFirebird& banco) : banco_(banco) {}
    ~TTransacao();
    TTransacao(const TTransacao&) = delete;
    TTransacao& operator=(const TTransacao&) = delete;

    void Inicia();
    void Confirma();
    void Desfaz();
    bool Ativa() const { return handle_ != nullptr; }
    // Changes every time a transaction starts, so what belonged to an ended one is known.
    unsigned long Geracao() const { return geracao_; }

    // A read-only transaction reads a stable snapshot and can never write.
    void DefineSomenteLeitura(bool somenteLeitura) { somenteLeitura_ = somenteLeitura; }
    bool SomenteLeitura() const { return somenteLeitura_; }

    // Read committed instead of a snapshot: each statement sees what other transactions had
    // committed when it ran.
    void DefineLeituraConfirmada(bool confirmada) { leituraConfirmada_ = confirmada; }

    // How long a statement waits for a row that another transaction holds before it fails with
    // a lock time-out; taken when the transaction starts.
    void DefineEsperaBloqueio(int segundos) { esperaBloqueio_ = segundos; }
    int EsperaBloqueio() const { return esperaBloqueio_; }

    Firebird::ITransaction* Handle() const { return handle_; }

  private:
    friend class TBancoFirebird;
    void Abandona();  // the attachment is going away: roll back quietly

    TBancoFirebird& banco_;
    Firebird::ITransaction* handle_ = nullptr;
    bool somenteLeitura_ = false;
    bool leituraConfirmada_ = false;
    int esperaBloqueio_ = 30;
    unsigned long geracao_ = 0;
};

class TBancoFirebird {
  public:
    static constexpr const char* kUsuario = "SYSDBA";
    static constexpr const char* kSenha = "plumcrest";
    static constexpr const char* kCharset = "WIN1252";

    explicit TBancoFirebird(int dialeto);
    ~TBancoFirebird();
    TBancoFirebird(const TBancoFirebird&) = delete;
    TBancoFirebird& operator=(const TBancoFirebird&) = delete;

    // Changing the name of an open connection fails: "Cannot perform operation -- DB is
    // currently open". Setting the same name again changes nothing.
    void DefineNome(const std::string& nome);
    const std::string& Nome() const { return nome_; }
    // Reached through a server: "host:/path", "host/port:path", "inet://...", not a file path
    // (a drive letter's colon is the second character).
    bool Remoto() const;
    int Dialeto() const { return dialeto_; }
    // The name the operator knows the database by ("ALMURO", "TESSALY"): its errors name it.
    void DefinePapel(const std::string& papel) { papel_ = papel; }
    const std::string& Papel() const { return papel_; }

    // The pages of the embedded engine's cache when this connection opens the database first (0:
    // the database's own setting). A server's cache is left alone: other programs share it.
    void DefinePaginasEmCache(int paginas) { paginasEmCache_ = paginas; }
    void Conecta();
    // Creates the database file named (it must not exist) with this connection's dialect and
    // stays connected to it.
    void CriaBanco();
    // Rolls back an active default transaction and detaches.
    void Desconecta();
    bool Conectado() const { return attachment_ != nullptr; }

    TTransacao& Transacao() { return transacao_; }

    // Runs a script of statements separated by ";" (DDL and plain DML, no procedures), each one
    // committed on its own.
    void ExecutaScript(const std::string& script);

    // Fails with "Cannot perform operation -- DB is not open" when not connected.
    Firebird::IAttachment* Attachment() const;

    // The default transaction, started when it is not active. Whatever the writers' batch holds
    // runs first: nothing runs on the connection ahead of what was written before it, but for a
    // statement let go ahead of it on other tables (TLoteComandos::TAdiante).
    Firebird::ITransaction* TransacaoAtiva();
    // The same, for a block of held rows: the one statement that may go without the savepoint
    // asked for (TPontoAdiado::TDispensa).
    Firebird::ITransaction* TransacaoDoBloco();
    // A savepoint that the next statement to reach the database sets first.
    TPontoAdiado& PontoAdiado() { return pontoAdiado_; }

    // The statements prepared on this connection, freed when it closes.
    TCacheComandos& Comandos() { return comandos_; }
    // Lookup answers of the default transaction.
    TMemoriaTransacao& Memoria() { return memoria_; }
    // The writers' statements held to go several at a time; committed with the transaction,
    // dropped with its rollback.
    TLoteComandos& Lote() { return *lote_; }

  private:
    void Anexa(bool criar);

    // Raises an error of this layer as the engine would, with its codes.
    [[noreturn]] void Falha(const char* textoMotor) const;
    Firebird::ITransaction* Transacao(bool bloco);

    int dialeto_;
    std::string nome_;
    std::string papel_;
    int paginasEmCache_ = 0;
    Firebird::IAttachment* attachment_ = nullptr;
    // Before the transaction, which drops what it holds until its own end.
    std::unique_ptr<TLoteComandos> lote_;
    TTransacao transacao_{*this};
    TCacheComandos comandos_;
    TMemoriaTransacao memoria_{transacao_};
    TPontoAdiado pontoAdiado_;
};

// Raises the Firebird status as an EBancoDados carrying the database's own message, named after
// the database whose connection the failed call used last.
[[noreturn]] void LancaErroFirebird(const void* status);
