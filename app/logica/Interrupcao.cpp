#include "app/logica/Interrupcao.h"

#include "conversion/RecusaDesligamento.h"

#include <unistd.h>

#include <atomic>
#include <csignal>

namespace {

// Written from a signal handler: only lock-free atomics may be touched there.
std::atomic<int> pedido{0};
std::atomic<int> aviso{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void AoSinal(int sinal) {
    int nenhum = 0;
    pedido.compare_exchange_strong(nenhum, sinal);
    const int fd = aviso.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] ssize_t escrito = ::write(fd, &byte, 1);
    }
}

}  // namespace

EInterrupcao::EInterrupcao() : EConversor(TInterrupcao::kMensagem) {}

void TInterrupcao::InstalaSinais() {
    static const bool instalados = [] {
        // The engine refuses to go down on a signal only when asked before the signal comes.
        RecusaDesligamentoPorSinal();
        struct sigaction acao {};
        acao.sa_handler = AoSinal;
        sigemptyset(&acao.sa_mask);
        acao.sa_flags = SA_RESTART;
        for (int sinal : {SIGINT, SIGTERM, SIGHUP}) {
            // A hangup ignored from the start (nohup) stays ignored. SIGINT and SIGTERM are
            // caught even when ignored, as a shell leaves SIGINT for a job it starts in the
            // background: whoever sends them means the run to stop.
            struct sigaction atual {};
            if (sinal == SIGHUP && sigaction(sinal, nullptr, &atual) == 0 &&
                atual.sa_handler == SIG_IGN)
                continue;
            sigaction(sinal, &acao, nullptr);
        }
        return true;
    }();
    (void)instalados;
}

void TInterrupcao::AvisaPor(int descritor) {
    aviso.store(descritor);
}

void TInterrupcao::Pede(int sinal) {
    int nenhum = 0;
    pedido.compare_exchange_strong(nenhum, sinal);
}

bool TInterrupcao::Pedida() {
    return pedido.load() != 0;
}

int TInterrupcao::Sinal() {
    return pedido.load();
}

void TInterrupcao::Verifica() {
    if (Pedida())
        throw EInterrupcao();
}

int TInterrupcao::CodigoDeSaida(int codigo) {
    switch (pedido.load()) {
        case SIGINT:
            return 130;
        case SIGTERM:
        case SIGHUP:
            return 143;
        default:
            return codigo;
    }
}

void TInterrupcao::Limpa() {
    pedido.store(0);
}
