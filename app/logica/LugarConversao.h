// Where a mapping is, record by record, so that a failure can tell the operator which cell of
// the sheet or which record of the source database to look at. The walks name the record; the
// sheet's column is the one the mapping last read from the staging table, and a source column is
// named by the step that converts it. The run driver puts the place in front of the error's own
// message.
#pragma once

#include "common/Erros.h"
#include "conversion/LugarDosComandos.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

class TTabelaTemp;

// The place in its parts, UTF-8: "planilha" or "banco TESSALY, tabela ESTOQUE"; "linha 5" or
// "CODIGO 00000123"; "6 (Preço)" or "ICMS"; a cell's text. Empty parts where the place has none.
struct TPartesLugar {
    std::string origem;
    std::string registro;
    std::string coluna;
    std::string conteudo;
};

class TLugarConversao : public ILugarDosComandos {
  public:
    struct TOrigemDaColuna {
        const char* destino;
        const char* origem;
    };

    // The staging table stands on the heading row: the titles of its columns.
    void LeTitulos(const TTabelaTemp& tabela);
    // A staged row, by its row number in the sheet.
    void LinhaPlanilha(const TTabelaTemp& tabela, int linha);
    // The row's values are with the writer: what fails from here on is the row's, not a cell's.
    void GravandoLinha();

    // A source record, by its table and code.
    void RegistroOrigem(std::string tabela, const std::string& codigo);
    // Runs the step that converts one column of the source record; a failure in it names the
    // column.
    template <class F>
    auto NaColuna(const char* coluna, F&& passo) {
        colunaOrigem_ = coluna;
        if constexpr (std::is_void_v<decltype(passo())>) {
            passo();
            colunaOrigem_.clear();
        } else {
            auto resultado = passo();
            colunaOrigem_.clear();
            return resultado;
        }
    }

    // Runs the write of a source record: a refusal of a target column that a source column feeds
    // (target column, source column) names the source column, as a conversion step would.
    // A statement held to run later keeps these pairs with its place.
    template <class F>
    void GravaRegistro(std::initializer_list<TOrigemDaColuna> origens, F&& grava) {
        origensGravando_.assign(origens.begin(), origens.end());
        try {
            grava();
        } catch (const EBancoDados& e) {
            NomeiaOrigemRecusada(e);
            origensGravando_.clear();
            throw;
        }
        origensGravando_.clear();
    }

    // No record any more.
    void Limpa();

    // "planilha, linha 5, coluna 6 (Preço), conteúdo "abc"" or "banco TESSALY, tabela ESTOQUE,
    // CODIGO 00000123, coluna ICMS"; the empty text outside a record. UTF-8.
    std::string Descricao() const;
    TPartesLugar Partes() const;

    // A statement that ran after its record failed: the place, parts and all, is that record's.
    std::string Marca() const override;
    void Fixa(const std::string& marca) override;
    void Solta() override { fixa_.reset(); }
    void Recusado(const EBancoDados& erro) override;

  private:
    std::string DescricaoPlanilha() const;
    // The source column that feeds the refused target column, if the write named one.
    const char* OrigemRecusada(const std::vector<TOrigemDaColuna>& origens,
                               const EBancoDados& erro) const;
    void NomeiaOrigemRecusada(const EBancoDados& erro);
    // The column read last is a cell of the current row.
    bool ColunaComCelula() const;

    std::vector<std::string> titulos_;
    const TTabelaTemp* tabela_ = nullptr;
    int linha_ = 0;
    std::string tabelaOrigem_;
    std::string codigoOrigem_;
    std::string colunaOrigem_;
    std::vector<TOrigemDaColuna> origensGravando_;
    struct TFixo {
        std::string descricao;
        TPartesLugar partes;
        std::vector<std::pair<std::string, std::string>> origens;  // target, source column
    };
    std::optional<TFixo> fixa_;
};
