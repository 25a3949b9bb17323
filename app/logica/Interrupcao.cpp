#include "app/logica/Interrupcao.h"

#include "conversion/RecusaDesligamento.h"

#include <poll.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <mutex>
#include <thread>

namespace {

std::atomic<int> pedido{0};
std::atomic<int> aviso{-1};
std::atomic<bool> encerraAoSinal{false};

// The signals stay pending on the process until they are read from here. Reading one and
// recording it is one step under the lock, so whoever asks whether a stop came either finds
// the signal still pending or already recorded, never in between.
int sinaisFd = -1;
std::mutex tomada;

void Registra(int sinal) {
    int nenhum = 0;
    pedido.compare_exchange_strong(nenhum, sinal);
    const int fd = aviso.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] ssize_t escrito = ::write(fd, &byte, 1);
    }
}

// The signal's default action, now, in the calling thread: the process ends as it would
// have without us (SIGINT, SIGTERM and SIGHUP all terminate it).
[[noreturn]] void AcaoPadrao(int sinal) {
    struct sigaction padrao {};
    padrao.sa_handler = SIG_DFL;
    sigemptyset(&padrao.sa_mask);
    sigaction(sinal, &padrao, nullptr);
    sigset_t so;
    sigemptyset(&so);
    sigaddset(&so, sinal);
    pthread_sigmask(SIG_UNBLOCK, &so, nullptr);
    ::raise(sinal);
    ::_exit(128 + sinal);  // not reached
}

// Reads every signal pending for the process and records it.
void TomaPendentes() {
    if (sinaisFd < 0)
        return;
    std::lock_guard<std::mutex> trava(tomada);
    signalfd_siginfo info{};
    while (::read(sinaisFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        const int sinal = static_cast<int>(info.ssi_signo);
        Registra(sinal);
        if (encerraAoSinal.load())
            AcaoPadrao(sinal);
    }
}

void Vigia() {
    for (;;) {
        pollfd p{sinaisFd, POLLIN, 0};
        if (::poll(&p, 1, -1) > 0)
            TomaPendentes();
    }
}

bool Ignorado(int sinal) {
    struct sigaction atual {};
    return sigaction(sinal, nullptr, &atual) == 0 && atual.sa_handler == SIG_IGN;
}

}  // namespace

EInterrupcao::EInterrupcao() : EConversor(TInterrupcao::kMensagem) {}

void TInterrupcao::BloqueiaSinais() {
    if (sinaisFd >= 0)
        return;
    sigset_t bloqueados;
    sigemptyset(&bloqueados);
    for (int sinal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&bloqueados, sinal);
    sigset_t lidos = bloqueados;
    if (Ignorado(SIGHUP))
        sigdelset(&lidos, SIGHUP);  // blocked all the same: no later handler may take it
    for (int sinal : {SIGINT, SIGTERM}) {
        // An ignored signal may be dropped as it is sent, before anyone can read it.
        if (Ignorado(sinal)) {
            struct sigaction padrao {};
            padrao.sa_handler = SIG_DFL;
            sigemptyset(&padrao.sa_mask);
            sigaction(sinal, &padrao, nullptr);
        }
    }
    pthread_sigmask(SIG_BLOCK, &bloqueados, nullptr);
    sinaisFd = ::signalfd(-1, &lidos, SFD_CLOEXEC | SFD_NONBLOCK);
    if (sinaisFd < 0)  // no one could take them: they end the process as they always did
        pthread_sigmask(SIG_UNBLOCK, &bloqueados, nullptr);
}

void TInterrupcao::TomaSinais() {
    static const bool tomados = [] {
        BloqueiaSinais();
        if (sinaisFd < 0)
            return false;
        // Blocked everywhere, the signals never reach the engine's own handlers; should a
        // library ever unblock them in a thread of its own, the engine still refuses to shut
        // its connections down in the middle of the run (it must be asked before the signal).
        RecusaDesligamentoPorSinal();
        std::thread(Vigia).detach();
        return true;
    }();
    (void)tomados;
}

void TInterrupcao::EncerraAoSinal() {
    encerraAoSinal.store(true);
    TomaPendentes();
    const int sinal = pedido.load();
    if (sinal > 0)
        AcaoPadrao(sinal);
}

void TInterrupcao::AvisaPor(int descritor) {
    aviso.store(descritor);
}

void TInterrupcao::Pede(int sinal) {
    int nenhum = 0;
    pedido.compare_exchange_strong(nenhum, sinal);
}

bool TInterrupcao::Pedida() {
    if (pedido.load() != 0)
        return true;
    TomaPendentes();
    return pedido.load() != 0;
}

int TInterrupcao::Sinal() {
    Pedida();
    return pedido.load();
}

void TInterrupcao::Verifica() {
    if (Pedida())
        throw EInterrupcao();
}

int TInterrupcao::CodigoDeSaida(int codigo) {
    switch (Sinal()) {
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
