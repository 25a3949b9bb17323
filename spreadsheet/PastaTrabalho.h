// A workbook read straight from its file, whatever its format: the names of its worksheets in
// workbook order and, sheet by sheet, the values of its cells. The readers (LeitorXlsx,
// LeitorXls, LeitorCsv) fill it; the spreadsheet module (ControlaExcel) reads it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Erros.h"

// What a cell holds, as the file stores it. Dates and amounts are plain numbers.
enum class TTipoValor : std::uint8_t { Vazio, Texto, Numero, Logico, Erro };

struct TValorCelula {
    TTipoValor tipo = TTipoValor::Vazio;
    std::string texto;  // Texto: Windows-1252 bytes; Erro: the error as the sheet shows it
    double numero = 0;
    bool logico = false;
};

// Texts kept back to back in one buffer: a sheet of a million short texts costs one allocation,
// and cells point at them by number.
class TTextos {
  public:
    TTextos() { inicios_.push_back(0); }

    std::uint32_t Acrescenta(std::string_view texto);
    std::string_view Texto(std::uint32_t indice) const {
        return std::string_view(dados_).substr(inicios_[indice],
                                               inicios_[indice + 1] - inicios_[indice]);
    }
    std::size_t Quantidade() const { return inicios_.size() - 1; }

  private:
    std::string dados_;
    std::vector<std::uint32_t> inicios_;
};

// Where a reader puts the cells it finds, in the order its file has them. What counts as a value
// is decided here, the same for a sheet kept whole as for one only measured or walked.
class TReceptorCelulas {
  public:
    // compartilhados: the workbook's shared text table, when its format has one.
    explicit TReceptorCelulas(std::shared_ptr<const TTextos> compartilhados = nullptr)
        : compartilhados_(std::move(compartilhados)) {}
    virtual ~TReceptorCelulas() = default;
    TReceptorCelulas(const TReceptorCelulas&) = delete;
    TReceptorCelulas& operator=(const TReceptorCelulas&) = delete;

    void PoeNumero(int coluna, int linha, double valor);
    void PoeLogico(int coluna, int linha, bool valor);
    // An empty text is no value: the cell stays empty and does not widen the used area.
    void PoeTexto(int coluna, int linha, std::string_view cp1252);
    // indice must be below the shared table's size (the reader checks it against its file).
    void PoeTextoCompartilhado(int coluna, int linha, std::uint32_t indice);
    void PoeErro(int coluna, int linha, std::string_view erro);

  protected:
    static std::uint64_t Chave(int coluna, int linha) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(linha)) << 32) |
               static_cast<std::uint32_t>(coluna);
    }
    // A value for a cell at column and row 1 or beyond; texto is the text of Texto and Erro.
    virtual void Recebe(int coluna, int linha, TTipoValor tipo, double numero,
                        std::string_view texto) = 0;
    // A text of the shared table; by default received as any other text.
    virtual void RecebeCompartilhado(int coluna, int linha, std::uint32_t indice) {
        Recebe(coluna, linha, TTipoValor::Texto, 0, compartilhados_->Texto(indice));
    }

    std::shared_ptr<const TTextos> compartilhados_;
};

// The cells of one sheet. The readers put values in any order (a later value for the same cell
// replaces an earlier one) and call Conclui; from then on the sheet is read-only.
class TAbaLida : public TReceptorCelulas {
  public:
    explicit TAbaLida(std::shared_ptr<const TTextos> compartilhados = nullptr)
        : TReceptorCelulas(std::move(compartilhados)) {}

    void Conclui();

    // The bottom-right corner of the area from A1 to the last row and column holding a value;
    // 0 and 0 when the sheet holds none.
    int UltimaLinha() const { return ultimaLinha_; }
    int UltimaColuna() const { return ultimaColuna_; }
    // The first row with a cell holding an error value; 0 when there is none.
    int PrimeiraLinhaComErro() const { return primeiraLinhaComErro_; }

    // Any cell, also beyond the used area (empty there). Numbers start at 1.
    TValorCelula Valor(int coluna, int linha) const;

    // The cells of a row that hold a value, in column order, with their column numbers: what a
    // row costs to walk grows with what it holds, not with the width of the used area.
    std::vector<std::pair<int, TValorCelula>> ValoresLinha(int linha) const;

    std::size_t QuantidadeCelulas() const { return celulas_.size(); }

  protected:
    void Recebe(int coluna, int linha, TTipoValor tipo, double numero,
                std::string_view texto) override;
    void RecebeCompartilhado(int coluna, int linha, std::uint32_t indice) override;

  private:
    enum class TTipoInterno : std::uint8_t { Numero, Logico, Texto, TextoCompartilhado, Erro };
    struct TCelula {
        std::uint64_t chave;  // row in the high half, column in the low half: sorts row by row
        double numero;
        std::uint32_t indice;
        TTipoInterno tipo;
    };
    void Poe(int coluna, int linha, TTipoInterno tipo, double numero, std::uint32_t indice);
    // The cells of the row, sorted by column.
    std::pair<std::vector<TCelula>::const_iterator, std::vector<TCelula>::const_iterator>
    CelulasLinha(int linha) const;
    TValorCelula ValorDe(const TCelula& celula) const;

    TTextos textos_;
    std::vector<TCelula> celulas_;
    bool ordenada_ = true;
    static constexpr int kMaximoLinhasIndexadas = 1 << 22;
    // inicioLinha_[r] is the first cell of row r or beyond (rows 1..ultimaLinha_, plus an end).
    std::vector<std::uint32_t> inicioLinha_;
    int ultimaLinha_ = 0;
    int ultimaColuna_ = 0;
    int primeiraLinhaComErro_ = 0;
};

// What the run needs to know of a sheet before reading its rows, found without keeping them.
struct TMedidaAba {
    int ultimaLinha = 0;
    int ultimaColuna = 0;
    int primeiraLinhaComErro = 0;  // 0: no cell holds an error value
    // Every cell after the one before it, row by row and column by column, none repeated: the
    // rows can be read from the file as it goes, no sorting needed.
    bool emOrdem = true;
};

// Measures a sheet as its cells arrive from the file.
class TMedidorAba : public TReceptorCelulas {
  public:
    using TReceptorCelulas::TReceptorCelulas;
    const TMedidaAba& Medida() const { return medida_; }

  protected:
    void Recebe(int coluna, int linha, TTipoValor tipo, double numero,
                std::string_view texto) override;
    void RecebeCompartilhado(int coluna, int linha, std::uint32_t indice) override;

  private:
    TMedidaAba medida_;
    std::uint64_t ultimaChave_ = 0;
};

// The rows of one sheet read in order: any row, the next one asked no lower than the last.
class TPercursoAba {
  public:
    virtual ~TPercursoAba() = default;
    // The row's cells holding a value, in column order (as TAbaLida::ValoresLinha).
    virtual std::vector<std::pair<int, TValorCelula>> ValoresLinha(int linha) = 0;
    // Back to before the first row.
    virtual void Reinicia() = 0;
};

// A walk that parses its file piece by piece: the cells a piece carried wait, in the file's order,
// until their row is asked for. What it holds at any time is a piece and its cells, whatever the
// size of the sheet. Only for sheets in order (see TMedidaAba::emOrdem).
class TPercursoEmFila : public TPercursoAba {
  public:
    std::vector<std::pair<int, TValorCelula>> ValoresLinha(int linha) override;
    void Reinicia() override;

  protected:
    // prefixoErro goes in front of the parser's failures.
    TPercursoEmFila(std::shared_ptr<const TTextos> compartilhados, std::string prefixoErro);
    // Where the parser puts the cells.
    TReceptorCelulas& Fila();
    // Starts the parse over from the file's beginning.
    virtual void Recomeca() = 0;
    // Parses the next piece; false once the input is over and all its cells are in.
    virtual bool Avanca() = 0;

  private:
    class TFila;
    // A failure stays: the parse cannot go on past it, and every later row fails the same way.
    [[noreturn]] void Falha(const EPlanilha& e);

    std::shared_ptr<TFila> fila_;
    std::string prefixoErro_;
    bool fim_ = false;
    std::string falha_;
};

// An open workbook. Only worksheets are listed: chart, macro and dialog sheets are left out,
// and sheet numbers follow the list.
class TPastaTrabalho {
  public:
    explicit TPastaTrabalho(std::string caminho) : caminho_(std::move(caminho)) {}
    virtual ~TPastaTrabalho() = default;
    TPastaTrabalho(const TPastaTrabalho&) = delete;
    TPastaTrabalho& operator=(const TPastaTrabalho&) = delete;

    // The file as the operator named it (UTF-8).
    const std::string& Caminho() const { return caminho_; }

    // Sheet names in Windows-1252, in workbook order.
    const std::vector<std::string>& NomesAbas() const { return nomes_; }

    // The cells of the sheet with this 0-based index, read from the file at the first call and
    // kept for the next ones. Fails with EPlanilha when the sheet cannot be read.
    const TAbaLida& Aba(std::size_t indice);

    // The sheet measured at the first call, its cells read but not kept when its reader can
    // walk it again later; fails as Aba does.
    const TMedidaAba& Medida(std::size_t indice);

    // The sheet's rows in order. Read from the file as they are asked for when the sheet is
    // in order and its reader can walk it, else from the sheet kept whole. Holds what it
    // reads from: the workbook may be closed while it lives.
    std::unique_ptr<TPercursoAba> Percurso(std::size_t indice);

  protected:
    virtual std::unique_ptr<TAbaLida> LeAba(std::size_t indice) = 0;
    // Readers that can walk a sheet from their file measure it without keeping it, and walk it
    // when it is in order; the others keep it whole (nothing here).
    virtual std::optional<TMedidaAba> MedeAba(std::size_t indice) {
        (void)indice;
        return std::nullopt;
    }
    virtual std::unique_ptr<TPercursoAba> PercorreAba(std::size_t indice) {
        (void)indice;
        return nullptr;
    }

    // A reader's failure, naming the file: "Não foi possível ler a planilha "...": motivo".
    EPlanilha Erro(const std::string& motivo) const;

    std::vector<std::string> nomes_;

  private:
    void ExigeAba(std::size_t indice);

    std::string caminho_;
    std::vector<std::shared_ptr<const TAbaLida>> lidas_;
    std::vector<std::unique_ptr<TMedidaAba>> medidas_;
};

// Opens a workbook with the reader its extension (xlsx, xls, csv; any case) calls for.
// Fails with EPlanilha, naming the file, when it is missing, unreadable or not a workbook.
std::unique_ptr<TPastaTrabalho> AbrePastaTrabalho(const std::string& caminho);

namespace planilha {

// Largest entry, stream or file a reader inflates or loads into memory.
inline constexpr std::size_t kLimiteBytes = std::size_t{512} * 1024 * 1024;

// Column letters with as many letters as the number needs: 1 "A", 27 "AA", 703 "AAA".
std::string LetrasColuna(int coluna);

// "B7", "AAA5".
std::string ReferenciaCelula(int coluna, int linha);

// Reads a reference such as "AB12" (letters in either case); false when it is not one.
bool LeReferencia(std::string_view ref, int& coluna, int& linha);

}  // namespace planilha
