// A statement object on a connection, run in the connection's default transaction. The
// statement itself is prepared once per connection and text, in the connection's cache.
// Named parameters (":NAME", outside string literals and quoted identifiers; a name may repeat)
// are all passed as texts. Open fetches every row of the result into memory, so a commit or a
// rollback can never invalidate rows that a caller is still reading (TConsultaSequencial reads
// a long result row by row instead).
#pragma once

#include "conversion/BancoFirebird.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Firebird {
class IAttachment;
class ITransaction;
class IStatement;
class IMessageMetadata;
}  // namespace Firebird

// One value of a result row, kept in the database's own type until a caller asks for it.
struct TValorCampo {
    enum class Tipo { Nulo, Texto, Inteiro, Numero, Data, Hora, DataHora, Logico };
    Tipo tipo = Tipo::Nulo;
    std::int64_t inteiro = 0;  // Inteiro (with escala), Logico, Hora (1/10000 s)
    int escala = 0;            // decimal places of a scaled integer
    double numero = 0;         // Numero, Data and DataHora (day serial, time as fraction)
    std::string texto;         // Texto, without the pad blanks of CHAR
};

// The columns of a result and the row a reader stands on, read by name without regard to case.
// Text form: NULL gives the empty text; integers their digits; scaled numerics and floats the
// general form with the regional separator; DATE dd/mm/yyyy; TIMESTAMP dd/mm/yyyy hh:nn:ss (no
// time at midnight).
class TCamposResultado {
  public:
    std::string Texto(const std::string& campo) const;
    // Fails with a conversion error when the value is not an integer.
    std::int64_t Inteiro(const std::string& campo) const;
    double Numero(const std::string& campo) const;
    bool Nulo(const std::string& campo) const;
    const TValorCampo& Valor(const std::string& campo) const;

    static std::string TextoDoValor(const TValorCampo& v);

  protected:
    TCamposResultado() = default;
    ~TCamposResultado() = default;
    // nullptr past the last row.
    virtual const std::vector<TValorCampo>* LinhaAtual() const = 0;

    std::vector<std::string> campos_;  // upper-cased names of the result columns

  private:
    size_t IndiceCampo(const std::string& campo) const;
};

// Turns the rows of a statement's output message into values, in the column order of the
// message; blobs are read whole through the connection.
class TLeitorLinhas {
  public:
    // Reads the layout; the metadata stays the caller's.
    explicit TLeitorLinhas(Firebird::IMessageMetadata* saida);
    const std::vector<std::string>& Nomes() const { return nomes_; }
    std::vector<unsigned char>& Mensagem() { return mensagem_; }
    // The row now in the message.
    std::vector<TValorCampo> Le(Firebird::IAttachment* att, Firebird::ITransaction* tra) const;

  private:
    struct TColuna {
        unsigned tipo;
        int subtipo;
        unsigned comprimento, offset, offsetNulo;
        int escala;
    };
    static TValorCampo LeValor(const TColuna& c, const unsigned char* buf,
                               Firebird::IAttachment* att, Firebird::ITransaction* tra);

    std::vector<TColuna> colunas_;
    std::vector<std::string> nomes_;  // upper-cased
    std::vector<unsigned char> mensagem_;
};

class TConsulta : public TCamposResultado {
  public:
    explicit TConsulta(TBancoFirebird& banco);
    // Runs in the given transaction of the connection instead of its default one.
    TConsulta(TBancoFirebird& banco, TTransacao& transacao);
    ~TConsulta();
    TConsulta(const TConsulta&) = delete;
    TConsulta& operator=(const TConsulta&) = delete;

    // Setting or clearing the statement text closes the query.
    void DefineSQL(const std::string& sql);
    void LimpaSQL() { DefineSQL(std::string()); }
    const std::string& SQL() const { return sql_; }
    // A statement that takes its values by position ("?"), run as written: the body of an
    // EXECUTE BLOCK names its own variables with colons, which are no parameters of ours.
    void DefineSQLPosicional(const std::string& sql,
                             std::vector<std::optional<std::string>> valores);

    // Sets every occurrence of the named parameter; fails when the statement has no such name.
    void Parametro(const std::string& nome, const std::string& valor);

    // Runs a statement that returns rows and positions on the first.
    void Abre();
    // Runs a statement without a result set.
    void Executa();
    void Fecha();
    bool Aberta() const { return aberta_; }

    void Primeiro() { linha_ = 0; }
    void Proximo() {
        if (linha_ < linhas_.size())
            ++linha_;
    }
    void Ultimo() { linha_ = linhas_.empty() ? 0 : linhas_.size() - 1; }
    bool Fim() const { return linha_ >= linhas_.size(); }
    int TotalRegistros() const { return static_cast<int>(linhas_.size()); }

  private:
    const std::vector<TValorCampo>* LinhaAtual() const override {
        return Fim() ? nullptr : &linhas_[linha_];
    }
    Firebird::IStatement* Prepara();
    Firebird::ITransaction* TransacaoAtiva();
    std::vector<unsigned char> MontaEntrada(Firebird::IMessageMetadata*& meta);

    TBancoFirebird& banco_;
    TTransacao* transacao_ = nullptr;  // none: the connection's default transaction
    std::string sql_;
    std::string sqlPreparado_;                  // with "?" in place of the names
    std::vector<std::string> nomesParametros_;  // one per "?", in order
    std::vector<std::optional<std::string>> valoresParametros_;
    bool aberta_ = false;
    std::vector<std::vector<TValorCampo>> linhas_;
    size_t linha_ = 0;
};

// A statement prepared once and executed many times with positional "?" parameters given as
// texts (std::nullopt for NULL). Used where the same statement runs for many rows.
class TComandoPreparado {
  public:
    TComandoPreparado(TBancoFirebird& banco, const std::string& sql);
    ~TComandoPreparado();
    TComandoPreparado(const TComandoPreparado&) = delete;
    TComandoPreparado& operator=(const TComandoPreparado&) = delete;

    void Executa(const std::vector<std::optional<std::string>>& valores);

  private:
    TBancoFirebird& banco_;
    Firebird::IStatement* statement_ = nullptr;
};

// Replaces the named parameters of a statement by "?" and lists their names in order. Names
// inside string literals, quoted identifiers and comments are left alone.
std::string TrocaParametrosNomeados(const std::string& sql, std::vector<std::string>& nomes);
