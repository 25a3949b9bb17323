#include "tests/apoio/ProcessoFilho.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace apoio {

namespace {

std::string Le(const std::string& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// In the child between fork and exec: only calls that are safe there.
[[noreturn]] void ExecutaNoFilho(const std::vector<std::string>& argumentos,
                                 const std::string& saida, const std::string& erros,
                                 long long limiteArquivo) {
    const int entrada = open("/dev/null", O_RDONLY);
    const int out = open(saida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(erros.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (entrada < 0 || out < 0 || err < 0)
        _exit(127);
    dup2(entrada, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (limiteArquivo > 0) {
        const rlimit limite{static_cast<rlim_t>(limiteArquivo), static_cast<rlim_t>(limiteArquivo)};
        setrlimit(RLIMIT_FSIZE, &limite);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(CONVERSOR_BINARIO));
    for (const std::string& a : argumentos)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(CONVERSOR_BINARIO, argv.data());
    _exit(127);
}

}  // namespace

TProcessoConversor::TProcessoConversor(const std::vector<std::string>& argumentos,
                                       long long limiteArquivo) {
    const std::string saida = dir_.Arquivo("out"), erros = dir_.Arquivo("err");
    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error("fork falhou");
    if (pid_ == 0)
        ExecutaNoFilho(argumentos, saida, erros, limiteArquivo);
}

TProcessoConversor::~TProcessoConversor() {
    if (!terminou_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &estado_, 0);
    }
}

bool TProcessoConversor::Terminou() {
    if (!terminou_ && waitpid(pid_, &estado_, WNOHANG) == pid_)
        terminou_ = true;
    return terminou_;
}

TSaidaProcesso TProcessoConversor::Espera() {
    if (!terminou_) {
        waitpid(pid_, &estado_, 0);
        terminou_ = true;
    }
    TSaidaProcesso r;
    r.codigo = WIFEXITED(estado_) ? WEXITSTATUS(estado_) : 128 + WTERMSIG(estado_);
    r.saida = Le(dir_.Arquivo("out"));
    r.erros = Le(dir_.Arquivo("err"));
    return r;
}

}  // namespace apoio
