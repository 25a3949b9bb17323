#include "app/logica/ContinuacaoPorRegistro.h"

#include "app/logica/ContaDaConversao.h"
#include "app/logica/Interrupcao.h"
#include "app/logica/LugarConversao.h"
#include "app/logica/TabelaTemp.h"
#include "conversion/Consulta.h"
#include "conversion/Firebird.h"
#include "conversion/LoteComandos.h"

#include <initializer_list>
#include <optional>

namespace {

// One name for every record: setting it again releases the previous record's savepoint. It is set
// only when the record reaches the database before its held rows, or with rows that must be
// undone after (see TPontoAdiado).
const char* const kMarcaRegistro = "SAVEPOINT CONFERE_REGISTRO";
const char* const kDesfazRegistro = "ROLLBACK TO SAVEPOINT CONFERE_REGISTRO";

void Executa(TBancoFirebird& banco, const char* sql) {
    TConsulta q(banco);
    q.DefineSQL(sql);
    q.Executa();
}

// The refusals of a record's own values; any other refusal is about the database itself.
bool RecusaDoRegistro(const EBancoDados& e) {
    for (long codigo :
         {isc_unique_key_violation, isc_no_dup, isc_primary_key_exists, isc_foreign_key,
          isc_not_valid, isc_check_constraint, isc_string_truncation, isc_trunc_limits,
          isc_convert_error, isc_arith_except, isc_numeric_out_of_range, isc_date_range_exceeded,
          isc_malformed_string, isc_transliteration_failed}) {
        if (e.TemCodigo(codigo))
            return true;
    }
    return false;
}

}  // namespace

bool TContinuacaoPorRegistro::EncerraAConferencia(const std::exception& e) {
    if (dynamic_cast<const EInterrupcao*>(&e) || dynamic_cast<const EColunaInexistente*>(&e))
        return true;
    if (const auto* banco = dynamic_cast<const EBancoDados*>(&e))
        return !RecusaDoRegistro(*banco);
    return dynamic_cast<const EConversor*>(&e) == nullptr;
}

bool TContinuacaoPorRegistro::Registro(const std::function<void()>& converte,
                                       const std::function<void()>& descarta) {
    if (!ligada_) {
        converte();
        return true;
    }
    // The only place a record's savepoint is asked for.
    alvo_.PontoAdiado().Pede(kMarcaRegistro);
    struct TEncerra {
        TPontoAdiado& ponto;
        ~TEncerra() { ponto.Encerra(); }
    } encerra{alvo_.PontoAdiado()};
    alvo_.Memoria().Marca();
    emRegistro_ = true;
    registroFalhou_ = false;
    primeiroDoRegistro_ = problemas_.size();
    try {
        converte();
        // Held rows are written inside the record's savepoint: a refusal is this record's. A
        // record with no value failed may let them go alone, as one statement.
        std::optional<TPontoAdiado::TDispensa> dispensa;
        if (!registroFalhou_)
            dispensa.emplace(alvo_.PontoAdiado());
        alvo_.Lote().Descarrega();
    } catch (const std::exception& e) {
        // What the record still holds is undone with it.
        alvo_.Lote().Descarta();
        if (EncerraAConferencia(e)) {
            emRegistro_ = false;
            alvo_.Memoria().Desmarca();
            throw;
        }
        Lista(e);
        registroFalhou_ = true;
    }
    emRegistro_ = false;
    if (!registroFalhou_) {
        alvo_.Memoria().Desmarca();
        return true;
    }
    Desfaz();
    descarta();
    conta_.ComProblema();
    return false;
}

void TContinuacaoPorRegistro::Desfaz() {
    // A record that never reached the database left nothing there to undo.
    if (alvo_.PontoAdiado().Encerra())
        Executa(alvo_, kDesfazRegistro);
    alvo_.Memoria().VoltaAMarca();
    alvo_.Memoria().Desmarca();
}

bool TContinuacaoPorRegistro::ListaOuLanca(const std::function<void()>& verifica) {
    if (!ligada_) {
        verifica();
        return false;
    }
    try {
        verifica();
    } catch (const std::exception& e) {
        if (EncerraAConferencia(e))
            throw;
        Lista(e);
        return true;
    }
    return false;
}

void TContinuacaoPorRegistro::Lista(const std::exception& e) {
    const TPartesLugar partes = lugar_.Partes();
    TProblema p;
    p.origem = partes.origem;
    p.registro = partes.registro;
    p.coluna = partes.coluna;
    p.conteudo = partes.conteudo;
    p.lugar = lugar_.Descricao();
    p.texto = e.what();
    // A value read twice by one record (ICMS gives two rates) is one problem.
    for (size_t i = primeiroDoRegistro_; emRegistro_ && i < problemas_.size(); ++i) {
        if (problemas_[i].lugar == p.lugar && problemas_[i].texto == p.texto)
            return;
    }
    problemas_.push_back(std::move(p));
}
