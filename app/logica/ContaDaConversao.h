// The account of a run, source by source: how many records or data rows the walk handed to the
// mapping, how many were written, which were left out and why, and (in a check) how many failed.
// The walks count what they hand over; a mapping only says so when it leaves a record out.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Records named back to back in one text: a run can leave out hundreds of thousands of them, and
// a string each would cost several times their names. Copies share the names (the run's record
// keeps a copy of the account); the first to add to them after a copy takes its own.
class TRegistrosDeixados {
  public:
    void push_back(std::string_view registro) {
        TNomes& n = Proprios();
        n.textos.append(registro);
        n.fins.push_back(n.textos.size());
    }
    std::size_t size() const { return nomes_ ? nomes_->fins.size() : 0; }
    std::string operator[](std::size_t i) const {
        const std::size_t inicio = i == 0 ? 0 : nomes_->fins[i - 1];
        return nomes_->textos.substr(inicio, nomes_->fins[i] - inicio);
    }

  private:
    struct TNomes {
        std::string textos;
        std::vector<std::size_t> fins;
    };
    TNomes& Proprios() {
        if (!nomes_)
            nomes_ = std::make_shared<TNomes>();
        else if (nomes_.use_count() > 1)
            nomes_ = std::make_shared<TNomes>(*nomes_);
        return *nomes_;
    }

    std::shared_ptr<TNomes> nomes_;
};

struct TDeixadosDeFora {
    std::string motivo;            // "sem nome", "sem \"True\" na coluna 3"
    TRegistrosDeixados registros;  // "00000012" (a code), "7" (a row), in the order met
};

struct TContaDaOrigem {
    std::string origem;  // "banco TESSALY, tabela CLIENTE" or "planilha"
    bool planilha = false;
    // How a record of this source is named: "CODIGO 00000012", "linha 7".
    std::string NomeDoRegistro(const std::string& registro) const;
    long lidos = 0;
    long comProblema = 0;
    std::vector<TDeixadosDeFora> deixados;

    long Deixados() const;
    // What was neither left out nor failed went to the target table.
    long Gravados() const { return lidos - Deixados() - comProblema; }
    // "banco TESSALY, tabela CLIENTE: 3000 lidos, 2936 gravados, 64 deixados de fora sem nome
    // (CODIGO 12, 44, ... e mais 54)". UTF-8.
    std::string Texto() const;
};

class TContaDaConversao {
  public:
    // How many records of a reason the account names; the report lists them all.
    static constexpr size_t kExemplos = 10;

    // A new run: nothing counted.
    void Comeca() { origens_.clear(); }
    // A walk begins over one source.
    void Origem(const std::string& origem, bool planilha);
    // The walk hands a record over; registro is its code, or its row number in the sheet.
    void Le(std::string registro);
    // The mapping leaves the record it has been handed out, for this reason.
    void DeixaDeFora(const std::string& motivo);
    // The record failed and was undone (a check goes on past it); n records at once when a
    // problem covers several.
    void ComProblema();
    // Records a listed problem covers as a whole, which the walk does not hand over (the sheet
    // rows whose codes cannot fit): read, and failed.
    void CobertosPorProblema(long n);

    const std::vector<TContaDaOrigem>& Origens() const { return origens_; }
    // One line per source, each starting with two blanks; empty before any walk. UTF-8.
    std::string Texto() const;

  private:
    std::vector<TContaDaOrigem> origens_;
    std::string registro_;
};
