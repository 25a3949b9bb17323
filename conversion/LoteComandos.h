// The writers' statements of one connection, held and sent many at a time: one EXECUTE BLOCK
// carries the statements of many records, each with the very values it would bind alone, so a
// record costs a small part of a round trip instead of one.
//
// Held statements keep their order and run before anything else runs on the connection
// (TBancoFirebird::TransacaoAtiva hands out the transaction only with nothing held, unless a
// statement on other tables was let go ahead: PodeAdiantar), before the commit, and whenever
// Descarrega is called; a rollback drops them. A block the engine refuses is undone whole by the
// engine; its statements then run one by one, in order, each under the place of its record, so
// the refusal is the very one the statement alone gets, named where it was.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/Erros.h"

class TBancoFirebird;
class TComandoLiteral;
class ILugarDosComandos;
class TTabelasIndependentes;

// A held statement's refusal, come out where another statement made the held ones run (a
// lookup): it is that record's failure, never the other statement's.
class ERecusaRetida : public EBancoDados {
  public:
    using EBancoDados::EBancoDados;
};

class TLoteComandos {
  public:
    explicit TLoteComandos(TBancoFirebird& banco);
    ~TLoteComandos();
    TLoteComandos(const TLoteComandos&) = delete;
    TLoteComandos& operator=(const TLoteComandos&) = delete;

    // When statements are held. A block saves round trips, which only a server costs: on the
    // embedded engine a block takes more of the processor than its statements one by one (5 000
    // suppliers: 0.20 s against 0.08 s), through a server on this machine it takes less time
    // (0.86 s against 1.48 s) and each trip saved is a network's latency more.
    enum class TUso {
        Nunca,         // as a connection starts: every statement runs the moment it comes
        PeloServidor,  // held when the database is reached through a server
        Sempre,
    };
    void DefineUso(TUso uso) { uso_ = uso; }
    bool Agrupa() const;
    // Where the run is; each held statement keeps its record's place. Not owned.
    void DefineLugar(ILugarDosComandos* lugar) { lugar_ = lugar; }

    // A writer's finished statement: held, or run now when it cannot go in a block.
    void Grava(const std::string& sql);
    // Runs everything held. A refusal comes out as the statement alone gets it, with the place
    // of its record fixed; what was held after it is dropped.
    void Descarrega();
    // Drops what is held: the transaction it belonged to is being undone.
    void Descarta();
    // Runs everything held, for a run that is failing for another reason: the refusal of a held
    // statement, if any, which came first and is the run's failure (its place fixed).
    std::optional<std::string> RecusaRetida();
    bool Retendo() const { return !itens_.empty(); }

    // Whether statements that read and write only these tables may run before what is held
    // (see TTabelasIndependentes): a lookup then costs no trip of its own for the held rows.
    bool PodeAdiantar(const std::vector<std::string>& tabelas);
    // While one lives, statements run before what is held; for those PodeAdiantar allows.
    class TAdiante {
      public:
        explicit TAdiante(TLoteComandos& lote) : lote_(lote) { ++lote_.adiante_; }
        ~TAdiante() { --lote_.adiante_; }
        TAdiante(const TAdiante&) = delete;
        TAdiante& operator=(const TAdiante&) = delete;

      private:
        TLoteComandos& lote_;
    };
    // Whether what is held must run before a statement now.
    bool Precede() const { return Retendo() && adiante_ == 0; }
    // The tables may have changed: shapes and blocks are worked out again.
    void Esquece();

    struct TContagem {
        long emBlocos = 0;  // statements that went in blocks
        long blocos = 0;    // blocks sent
        long sozinhos = 0;  // statements that ran alone
        long preparos = 0;  // blocks prepared
    };
    const TContagem& Contagem() const { return contagem_; }

  private:
    struct TForma;
    struct TItem;
    struct TBloco;
    struct TCusto;

    TForma* Forma(const std::string& sqlParametrizado);
    bool Cabe(const TComandoLiteral& comando, const TForma& forma) const;
    static size_t VagasPara(const TCusto& custo);
    static TCusto Custo(const std::vector<TForma*>& formas);
    static size_t Periodo(const std::vector<TItem>& itens);
    // The slots of the block the held statements go in: each slot's allowed shapes.
    static std::vector<std::vector<TForma*>> Vagas(const std::vector<TItem>& itens);
    TBloco& Bloco(const std::vector<TItem>& itens);
    void ExecutaSozinho(const std::string& sql);
    void UmAUm(std::vector<TItem>& itens);

    TBancoFirebird& banco_;
    TUso uso_ = TUso::Nunca;
    ILugarDosComandos* lugar_ = nullptr;
    std::unordered_map<std::string, std::unique_ptr<TForma>> formas_;
    std::vector<std::unique_ptr<TBloco>> blocos_;  // the most recently used first
    std::vector<TItem> itens_;
    TContagem contagem_;
    int adiante_ = 0;
    std::unique_ptr<TTabelasIndependentes> independentes_;
};
