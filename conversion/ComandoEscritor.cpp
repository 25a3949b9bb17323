#include "conversion/ComandoEscritor.h"

#include "conversion/ComandoLiteral.h"
#include "conversion/Consulta.h"
#include "conversion/ErrosMotor.h"
#include "conversion/Firebird.h"
#include "conversion/ObjetosComando.h"

namespace {

bool comandosLiterais = false;

// A wait for another user's lock is not worth a second try: it would only wait again.
bool ConflitoDeBloqueio(const EBancoDados& e) {
    return e.TemCodigo(isc_lock_conflict) || e.TemCodigo(isc_lock_timeout) ||
           e.TemCodigo(isc_update_conflict) || e.TemCodigo(isc_deadlock);
}

void ExecutaComoEscrito(TBancoFirebird& banco, const std::string& sql) {
    TConsulta comando(banco);
    comando.DefineSQL(sql);
    comando.Executa();
}

void Executa(TBancoFirebird& banco, const std::string& sql) {
    if (comandosLiterais) {
        ExecutaComoEscrito(banco, sql);
        return;
    }
    const TComandoLiteral comando(sql);
    if (comando.MotorRecusa()) {
        ExecutaComoEscrito(banco, sql);
        return;
    }
    try {
        comando.Executa(banco);
    } catch (const EBancoDados& e) {
        if (ConflitoDeBloqueio(e))
            throw;
        // A refused statement left nothing behind. Run as written, it is refused again with the
        // engine's own message for the literal that does not fit, as the run has always
        // reported it.
        ExecutaComoEscrito(banco, sql);
    }
}

}  // namespace

void ExecutaComandoDoEscritor(TBancoFirebird& banco, const std::string& sql) {
    try {
        Executa(banco, sql);
    } catch (const EBancoDados& e) {
        // A refusal that does not name the table (a lock conflict) gets it from the statement.
        erros_motor::LancaNaTabela(e, ObjetosDoComando(sql).tabela);
        throw;
    }
}

void DefineComandosLiterais(bool literais) {
    comandosLiterais = literais;
}

bool ComandosLiterais() {
    return comandosLiterais;
}
