#include "tests/servidor/ApoioServidor.h"

#include "conversion/BancoFirebird.h"

#include <algorithm>
#include <cstdlib>

namespace fs = std::filesystem;

namespace apoio {

namespace {

std::string Variavel(const char* nome) {
    const char* valor = std::getenv(nome);
    return valor ? valor : "";
}

std::string Endereco() {
    const std::string porta = Variavel("CONVERSOR_SERVIDOR_PORTA");
    return "127.0.0.1:" + (porta.empty() ? std::string("3050") : porta);
}

bool SemRede(const std::string& mensagem) {
    return mensagem.find("network") != std::string::npos ||
           mensagem.find("connect") != std::string::npos ||
           mensagem.find("Unable to complete") != std::string::npos;
}

}  // namespace

std::string PrefixoServidor() {
    const std::string porta = Variavel("CONVERSOR_SERVIDOR_PORTA");
    return porta.empty() ? "127.0.0.1:" : "127.0.0.1/" + porta + ":";
}

void AbreAoServidor(const fs::path& pasta) {
    fs::permissions(pasta, fs::perms::all);
    for (const auto& arquivo : fs::directory_iterator(pasta))
        fs::permissions(arquivo.path(), fs::perms::owner_read | fs::perms::owner_write |
                                            fs::perms::group_read | fs::perms::group_write |
                                            fs::perms::others_read | fs::perms::others_write);
}

// A database created through the server must appear in the folder: a server on another machine,
// or in a root of its own, answers at the address but works on other files.
std::string PorQueServidorNaoServe(const fs::path& pasta) {
    AbreAoServidor(pasta);
    const fs::path sonda = pasta / "sonda.fdb";
    try {
        TBancoFirebird banco(1);
        banco.DefineNome(PrefixoServidor() + sonda.string());
        banco.CriaBanco();
        banco.Desconecta();
    } catch (const std::exception& e) {
        if (SemRede(e.what()))
            return "Sem servidor Firebird em " + Endereco() +
                   " (inicie com scripts/servidor-firebird.sh start): " + e.what();
        return "O servidor Firebird em " + Endereco() + " não criou um banco na pasta " +
               pasta.string() + " deste teste: " + e.what();
    }
    std::error_code erro;
    if (!fs::remove(sonda, erro))
        return "O servidor Firebird em " + Endereco() + " criou " + sonda.string() +
               ", mas não nesta máquina: ele não vê os arquivos dos testes.";
    return "";
}

bool EmIntegracaoContinua() {
    return Variavel("CI") == "true";
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
