#include "tests/apoio/Processo.h"

#include "tests/apoio/BancosTeste.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace apoio {

namespace {
std::string Aspas(const std::string& s) {
    std::string r = "'";
    for (char c : s)
        r += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

std::string Le(const std::string& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}
}  // namespace

TSaidaProcesso ExecutaConversor(const std::vector<std::string>& argumentos,
                                const std::vector<std::string>& ambiente) {
    TDiretorioTemporario dir;
    std::string comando;
    if (!ambiente.empty()) {
        comando = "env";
        for (const auto& v : ambiente)
            comando += (v.find('=') == std::string::npos ? " -u " : " ") + Aspas(v);
        comando += " ";
    }
    comando += Aspas(CONVERSOR_BINARIO);
    for (const auto& a : argumentos)
        comando += " " + Aspas(a);
    comando += " >" + Aspas(dir.Arquivo("out")) + " 2>" + Aspas(dir.Arquivo("err")) + " </dev/null";
    const int estado = std::system(comando.c_str());
    TSaidaProcesso r;
    r.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    r.saida = Le(dir.Arquivo("out"));
    r.erros = Le(dir.Arquivo("err"));
    return r;
}

}  // namespace apoio
