// The error kinds of the program. Every one carries the message that the operator reads;
// where a database or a reader failed, that message is the database's or the reader's own.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Base of every error the program raises on purpose.
class EConversor : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A text that cannot be read as the number or date it should be.
class EConversao : public EConversor {
  public:
    using EConversor::EConversor;
};

// What the engine said when it refused something, kept apart so that the operator's sentence
// can be made from the codes and the database named by its role.
struct TFalhaBanco {
    std::string papel;                // "ALMURO", "TESSALY", or empty when the role is not known
    std::string caminho;              // the database's name as it was opened
    std::vector<long> codigos;        // the status vector's error codes, in order
    std::vector<std::string> textos;  // its text arguments, in order
    std::vector<long> errosSistema;   // the errno values it carries (a server sends none)
    std::string textoMotor;           // the engine's own message
    std::string tabela;               // the table of the failed statement, when known
    std::vector<long> numeros;        // its number arguments, in order (lengths of a truncation)

    // What the refused statement held, when the catalogue tells which part was refused: the
    // column a value was too long for (with its declared length), or the columns of the key a
    // value repeated (the table's primary key, or another unique key).
    struct TValorRecusado {
        std::string coluna;
        std::string valor;  // as the statement sent it, Windows-1252
    };
    std::vector<TValorRecusado> recusados;
    long comprimentoDeclarado = 0;
    bool chavePrimaria = false;
};

// The database refused something; what() keeps the database's own message (after a Portuguese
// sentence that names the database, when its role is known).
class EBancoDados : public EConversor {
  public:
    using EConversor::EConversor;
    EBancoDados(const std::string& mensagem, TFalhaBanco falha)
        : EConversor(mensagem), falha_(std::move(falha)) {}

    const TFalhaBanco& Falha() const { return falha_; }
    bool TemCodigo(long codigo) const {
        for (long c : falha_.codigos) {
            if (c == codigo)
                return true;
        }
        return false;
    }

  private:
    TFalhaBanco falha_;
};

// A workbook that cannot be read, or a cell that cannot be given as text.
class EPlanilha : public EConversor {
  public:
    using EConversor::EConversor;
};
