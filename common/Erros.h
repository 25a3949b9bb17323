// The error kinds of the program. Every one carries the message that the operator reads;
// where a database or a reader failed, that message is the database's or the reader's own.
#pragma once

#include <stdexcept>
#include <string>

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

// The database refused something; what() is the database's own message.
class EBancoDados : public EConversor {
  public:
    using EConversor::EConversor;
};

// A workbook that cannot be read, or a cell that cannot be given as text.
class EPlanilha : public EConversor {
  public:
    using EConversor::EConversor;
};
