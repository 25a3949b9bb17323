#include "app/janela/SinaisJanela.h"

#include "app/logica/Interrupcao.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

TSinaisJanela::TSinaisJanela(std::function<void()> aoSinal, QObject* pai)
    : QObject(pai), aoSinal_(std::move(aoSinal)) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        leitura_ = fds[0];
        escrita_ = fds[1];
        notificador_ = new QSocketNotifier(leitura_, QSocketNotifier::Read, this);
        connect(notificador_, &QSocketNotifier::activated, this, &TSinaisJanela::Chegou);
        TInterrupcao::AvisaPor(escrita_);
    }
    // A signal that came before the window was there is not left unseen.
    if (TInterrupcao::Sinal() > 0 && escrita_ >= 0) {
        const char byte = 1;
        [[maybe_unused]] ssize_t escrito = ::write(escrita_, &byte, 1);
    }
}

TSinaisJanela::~TSinaisJanela() {
    TInterrupcao::AvisaPor(-1);
    if (leitura_ >= 0)
        ::close(leitura_);
    if (escrita_ >= 0)
        ::close(escrita_);
}

void TSinaisJanela::Chegou() {
    char lixo[64];
    while (::read(leitura_, lixo, sizeof lixo) > 0) {
    }
    if (aoSinal_)
        aoSinal_();
}
