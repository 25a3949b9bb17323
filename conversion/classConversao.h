// What every record writer and several mappings share on the target database: the main and
// auxiliary statement objects, the lookups that find or create a fiscal classification, a unit
// or a city, and the normalisers of codes, digits, dates and punctuation. The lookups write in
// the run's transaction and never commit: what they insert stays or goes with the run. Within
// that transaction each lookup asks the database once per value: a code the database gave (found
// or created) is remembered and reused; a miss is never assumed, since a column may compare
// without regard to case or accents and match a text never asked for.
#pragma once

#include "conversion/Avisos.h"
#include "conversion/BancoFirebird.h"
#include "conversion/Consulta.h"

#include <string>

class TConversao {
  public:
    TConversao(TBancoFirebird& banco, IAvisos& avisos);
    virtual ~TConversao();
    TConversao(const TConversao&) = delete;
    TConversao& operator=(const TConversao&) = delete;

    // The inserts of the lookups: what they create, and what a target must hold for them.
    static constexpr const char* kInsereClasFisc =
        " Insert Into CLASFISC (CodClasFis, CodigoNCM, CodNBM) Values (:CodClasFis, :CodigoNCM, "
        ":CodNBM )";
    static constexpr const char* kInsereUnidade =
        "Insert Into UNIDADES (UNIDADE) Values(:PUNIDADE)";
    static constexpr const char* kInsereCidade =
        " Insert Into Cidades (CodCidade, Cidade, Estado) Values (:CodCidade, :Cidade, :Estado)";

    // The CLASFISC code of an NCM code (trimmed, first 8 characters), created when missing.
    std::string RetornaClasFiscal(const std::string& ncm);
    // The unit code (first 2 characters, a to z upper-cased), added to UNIDADES when missing.
    // A database failure becomes the warning "Erro ao converter Unidade." and the code is
    // returned all the same.
    std::string VerificaUnidade(const std::string& unidade);
    // The Cidades code of a city and state (both upper-cased), created when missing.
    std::string RetornaCodCidade(const std::string& cidade, const std::string& estado);
    // The code of a source record's city, or the empty code for a blank city: a blank city must
    // never keep the code a writer still holds from an earlier, skipped record.
    std::string CodCidadeDaOrigem(const std::string& cidade, const std::string& estado);

    // A city row the run inserted: BHTE is asked again after one that may be taken for it.
    static void CidadeCriada(TBancoFirebird& banco, const std::string& nome);

    static std::string CompletaZeros(const std::string& texto, int largura);
    static std::string SomenteNumeros(const std::string& texto);
    static std::string FormataData(const std::string& data);
    static std::string RetiraCaracteres(const std::string& texto);

    // The writers' statements run as written, each one prepared anew, instead of as prepared
    // statements with their literals bound. Only the proof that both store the same bytes
    // wants this; it holds for the whole process.
    static void DefineComandosLiterais(bool literais);

  protected:
    TBancoFirebird& Banco() { return banco_; }
    TConsulta& QueryPrincipal() { return principal_; }
    TConsulta& QueryAuxiliar() { return auxiliar_; }
    IAvisos& Avisos() { return avisos_; }

    // Hands a finished statement text of a writer (its inserts and updates) to the connection's
    // batch, which runs it with others of its kind or at once.
    void ExecutaNaPrincipal(const std::string& sql);
    // Deletes every row of a table on the auxiliary query. Nothing is committed here: the
    // emptying belongs to the run's transaction, so a failed run leaves the table as it was.
    void EsvaziaTabela(const std::string& comandoDelete);

  private:
    std::string ClasFiscalNoBanco(const std::string& codigoNcm);
    // How long an answer is the one the lookup gives: for the run, until the run creates a city
    // that may be taken for BHTE or BELO HORIZONTE, or only now.
    enum class TLembranca { Sempre, AteCidadeParecida, Nunca };
    std::string CodCidadeNoBanco(const std::string& cidade, const std::string& estado,
                                 TLembranca& lembranca);

    TBancoFirebird& banco_;
    IAvisos& avisos_;
    TConsulta principal_;
    TConsulta auxiliar_;
};
