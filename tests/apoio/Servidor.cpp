#include "tests/apoio/Servidor.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace apoio {

std::string ServidorAusente(const std::string& pasta) {
    TBancoFirebird banco(1);
    banco.DefineNome(kServidor + pasta + "/nao-existe.fdb");
    try {
        banco.Conecta();
    } catch (const std::exception& e) {
        const std::string m = e.what();
        if (m.find("network") != std::string::npos || m.find("connect") != std::string::npos ||
            m.find("Unable to complete") != std::string::npos)
            return m;
    }
    return "";
}

void AbreAoServidor(const fs::path& pasta) {
    fs::permissions(pasta, fs::perms::all);
    for (const auto& arquivo : fs::directory_iterator(pasta))
        fs::permissions(arquivo.path(), fs::perms::owner_read | fs::perms::owner_write |
                                            fs::perms::group_read | fs::perms::group_write |
                                            fs::perms::others_read | fs::perms::others_write);
}

std::vector<TLinha> LinhasOrdenadas(TBancoFirebird& banco, const std::string& tabela) {
    const std::string sql = "select * from " + tabela;
    const auto campos = Campos(banco, sql);
    const auto momento = std::find(campos.begin(), campos.end(), "DT_ALTERACAO") - campos.begin();
    auto linhas = Linhas(banco, sql);
    for (auto& linha : linhas) {
        if (static_cast<size_t>(momento) < linha.size())
            linha[momento].clear();
    }
    std::sort(linhas.begin(), linhas.end());
    return linhas;
}

}  // namespace apoio
