#include "conversion/BuscaConcorrente.h"

#include "common/Texto.h"
#include "conversion/Consulta.h"
#include "conversion/ErrosMotor.h"

#include <optional>

namespace {

// One read of what other transactions have committed, in a read-only transaction of its own.
class TLeituraConfirmada {
  public:
    explicit TLeituraConfirmada(TBancoFirebird& banco) : banco_(banco), transacao_(banco) {
        transacao_.DefineSomenteLeitura(true);
        transacao_.DefineLeituraConfirmada(true);
    }
    ~TLeituraConfirmada() = default;  // rolled back: it only read

    std::optional<std::string> Primeiro(const std::string& sql,
                                        const TParametrosComando& parametros,
                                        const std::string& campo) {
        TConsulta q(banco_, transacao_);
        q.DefineSQL(sql);
        for (const auto& [nome, valor] : parametros)
            q.Parametro(nome, valor.value_or(std::string()));
        q.Abre();
        if (q.Fim() || q.Nulo(campo))
            return std::nullopt;
        return q.Texto(campo);
    }

  private:
    TBancoFirebird& banco_;
    TTransacao transacao_;
};

bool ChaveRepetida(const EBancoDados& e) {
    bool nomeDeIndice = false;
    return !erros_motor::ChaveRepetida(e.Falha(), nomeDeIndice).empty();
}

}  // namespace

std::string OMaiorCodigo(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return a.empty() ? b : a;
    return texto::LeInteiro(a) >= texto::LeInteiro(b) ? a : b;
}

std::string AchaOuCriaLinha(TBancoFirebird& banco, const TLinhaDeBusca& linha,
                            const std::function<std::string(const std::string& maior)>& proximo,
                            const std::function<void(const std::string& codigo)>& insere,
                            int* achadaPor) {
    if (achadaPor)
        *achadaPor = -1;
    for (int tentativa = 0;; ++tentativa) {
        std::string maior;
        {
            TLeituraConfirmada confirmada(banco);
            for (size_t i = 0; i < linha.buscas.size(); ++i) {
                const TBuscaDeCodigo& b = linha.buscas[i];
                if (auto codigo = confirmada.Primeiro(b.sql, b.parametros, b.campo)) {
                    if (achadaPor)
                        *achadaPor = static_cast<int>(i);
                    return *codigo;
                }
            }
            if (!linha.maximo.empty())
                maior = confirmada.Primeiro(linha.maximo, {}, linha.campoMaximo).value_or("");
        }
        if (!linha.maximo.empty()) {
            TConsulta propria(banco);
            propria.DefineSQL(linha.maximo);
            propria.Abre();
            maior = OMaiorCodigo(maior, propria.Texto(linha.campoMaximo));
        }
        const std::string codigo = proximo(maior);
        try {
            insere(codigo);
            return codigo;
        } catch (const EBancoDados& e) {
            // Another run created the row, or gave the code to another row, and committed.
            if (tentativa > 0 || !ChaveRepetida(e))
                throw;
        }
    }
}
