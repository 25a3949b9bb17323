#include "app/logica/TabelaTemp.h"

#include "common/Erros.h"
#include "common/Texto.h"

namespace {
// Beyond the last column a sheet can have, a name cannot point at a cell.
constexpr std::int64_t kMaiorColuna = 16384;
}  // namespace

void TTabelaTemp::Recria(int colunas) {
    colunas_ = colunas < 0 ? 0 : colunas;
    linhas_.clear();
    linha_ = 0;
}

void TTabelaTemp::Acrescenta(std::vector<std::string> celulas) {
    celulas.resize(static_cast<size_t>(colunas_));
    for (auto& c : celulas) {
        if (c.size() > kTamanhoCampo)
            c.resize(kTamanhoCampo);
    }
    linhas_.push_back(std::move(celulas));
}

const std::string& TTabelaTemp::Campo(const std::string& nome) const {
    // Columns are named by the decimal text of their number, without leading zeros.
    std::int64_t k = 0;
    bool valido = !nome.empty() && nome[0] >= '1' && nome[0] <= '9' &&
                  texto::TentaLerInteiro(nome, k) && texto::Inteiro(k) == nome && k >= 1 &&
                  k <= colunas_;
    colunaLida_ = k >= 1 && k <= kMaiorColuna ? static_cast<int>(k) : 0;
    if (!valido)
        throw EConversor("Field '" + nome + "' not found");
    if (Fim())
        throw EConversor("Field '" + nome + "': no current record");
    return linhas_[linha_][static_cast<size_t>(k - 1)];
}
