// A loopback relay that stands for the network between the program and a Firebird server: it
// listens on 127.0.0.1 (a free port), forwards every connection to the server's port on
// 127.0.0.1 and holds each piece of data for a fixed delay in each direction, so a request and
// its answer cost twice the delay. It counts the turns of each connection: a piece the client
// sends after the server last spoke is one round trip the program waited for.
// Nothing leaves 127.0.0.1, and the relay ends with its owner (or at its own deadline).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

class TRetransmissorAtrasado {
  public:
    using TRelogio = std::chrono::steady_clock;

    // atraso: the delay of each direction; validade: after it the relay refuses new connections
    // and cuts the open ones, whatever its owner does.
    TRetransmissorAtrasado(int portaServidor, std::chrono::microseconds atraso,
                           std::chrono::seconds validade = std::chrono::seconds(3600))
        : portaServidor_(portaServidor), atraso_(atraso), prazo_(TRelogio::now() + validade) {
        escuta_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (escuta_ < 0)
            throw std::runtime_error("socket: " + std::string(std::strerror(errno)));
        const int um = 1;
        ::setsockopt(escuta_, SOL_SOCKET, SO_REUSEADDR, &um, sizeof um);
        sockaddr_in end = Loopback(0);
        if (::bind(escuta_, reinterpret_cast<sockaddr*>(&end), sizeof end) != 0 ||
            ::listen(escuta_, 16) != 0) {
            ::close(escuta_);
            throw std::runtime_error("bind/listen: " + std::string(std::strerror(errno)));
        }
        socklen_t tam = sizeof end;
        ::getsockname(escuta_, reinterpret_cast<sockaddr*>(&end), &tam);
        porta_ = ntohs(end.sin_port);
        aceita_ = std::thread([this] { Aceita(); });
    }

    ~TRetransmissorAtrasado() {
        parar_ = true;
        aceita_.join();
        ::close(escuta_);
        std::lock_guard<std::mutex> trava(conexoesTrava_);
        for (auto& c : conexoes_)
            c->Encerra();
        conexoes_.clear();
    }

    TRetransmissorAtrasado(const TRetransmissorAtrasado&) = delete;
    TRetransmissorAtrasado& operator=(const TRetransmissorAtrasado&) = delete;

    int Porta() const { return porta_; }
    // The round trips of every connection so far.
    long Voltas() const { return voltas_; }
    void ZeraVoltas() { voltas_ = 0; }

  private:
    static sockaddr_in Loopback(int porta) {
        sockaddr_in end{};
        end.sin_family = AF_INET;
        end.sin_port = htons(static_cast<uint16_t>(porta));
        end.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return end;
    }

    static void SemNagle(int s) {
        const int um = 1;
        ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &um, sizeof um);
    }

    // One direction of one connection: a reader that stamps each piece with the moment it may
    // go on, and a writer that sends it then.
    struct TSentido {
        struct TPedaco {
            TRelogio::time_point quando;
            std::string dados;  // empty: the sender closed its side
        };
        std::mutex trava;
        std::condition_variable aviso;
        std::deque<TPedaco> fila;
        bool fim = false;
    };

    struct TConexao {
        int cliente = -1, servidor = -1;
        std::atomic<bool> encerrada{false};
        std::mutex turnoTrava;
        bool servidorFalouPorUltimo = true;
        TSentido ida, volta;
        std::vector<std::thread> fios;

        void Encerra() {
            if (!encerrada.exchange(true)) {
                ::shutdown(cliente, SHUT_RDWR);
                ::shutdown(servidor, SHUT_RDWR);
                for (TSentido* s : {&ida, &volta}) {
                    std::lock_guard<std::mutex> t(s->trava);
                    s->fim = true;
                    s->aviso.notify_all();
                }
            }
            for (auto& f : fios) {
                if (f.joinable() && f.get_id() != std::this_thread::get_id())
                    f.join();
            }
            fios.clear();
            ::close(cliente);
            ::close(servidor);
        }
    };

    void Le(TConexao& c, int de, TSentido& sentido, bool doCliente) {
        std::vector<char> buf(64 * 1024);
        while (!c.encerrada) {
            const ssize_t n = ::recv(de, buf.data(), buf.size(), 0);
            if (n < 0 && errno == EINTR)
                continue;
            {
                std::lock_guard<std::mutex> t(c.turnoTrava);
                if (n > 0 && doCliente && c.servidorFalouPorUltimo)
                    ++voltas_;
                if (n > 0)
                    c.servidorFalouPorUltimo = !doCliente;
            }
            std::lock_guard<std::mutex> t(sentido.trava);
            sentido.fila.push_back(
                {TRelogio::now() + atraso_,
                 n > 0 ? std::string(buf.data(), static_cast<size_t>(n)) : std::string()});
            sentido.aviso.notify_all();
            if (n <= 0)
                return;
        }
    }

    void Escreve(int para, TSentido& sentido) {
        // The kernel may otherwise wake a sleeper up to 50 us late: a tenth of a 0.5 ms trip.
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
        while (true) {
            TSentido::TPedaco pedaco;
            {
                std::unique_lock<std::mutex> t(sentido.trava);
                sentido.aviso.wait(t, [&] { return sentido.fim || !sentido.fila.empty(); });
                if (sentido.fila.empty())
                    return;
                pedaco = std::move(sentido.fila.front());
                sentido.fila.pop_front();
            }
            std::this_thread::sleep_until(pedaco.quando);
            if (pedaco.dados.empty()) {
                ::shutdown(para, SHUT_WR);
                return;
            }
            size_t enviados = 0;
            while (enviados < pedaco.dados.size()) {
                const ssize_t n = ::send(para, pedaco.dados.data() + enviados,
                                         pedaco.dados.size() - enviados, MSG_NOSIGNAL);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    return;
                enviados += static_cast<size_t>(n);
            }
        }
    }

    void Aceita() {
        while (!parar_ && TRelogio::now() < prazo_) {
            pollfd p{escuta_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            const int cliente = ::accept(escuta_, nullptr, nullptr);
            if (cliente < 0)
                continue;
            const int servidor = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in end = Loopback(portaServidor_);
            if (servidor < 0 ||
                ::connect(servidor, reinterpret_cast<sockaddr*>(&end), sizeof end) != 0) {
                ::close(cliente);
                if (servidor >= 0)
                    ::close(servidor);
                continue;
            }
            SemNagle(cliente);
            SemNagle(servidor);
            auto c = std::make_unique<TConexao>();
            c->cliente = cliente;
            c->servidor = servidor;
            TConexao& r = *c;
            r.fios.emplace_back([this, &r] { Le(r, r.cliente, r.ida, true); });
            r.fios.emplace_back([this, &r] { Escreve(r.servidor, r.ida); });
            r.fios.emplace_back([this, &r] { Le(r, r.servidor, r.volta, false); });
            r.fios.emplace_back([this, &r] { Escreve(r.cliente, r.volta); });
            std::lock_guard<std::mutex> trava(conexoesTrava_);
            conexoes_.push_back(std::move(c));
        }
        // Past the deadline nothing more goes through.
        std::lock_guard<std::mutex> trava(conexoesTrava_);
        for (auto& c : conexoes_)
            c->Encerra();
        conexoes_.clear();
    }

    int portaServidor_;
    std::chrono::microseconds atraso_;
    TRelogio::time_point prazo_;
    int escuta_ = -1;
    int porta_ = 0;
    std::atomic<bool> parar_{false};
    std::atomic<long> voltas_{0};
    std::thread aceita_;
    std::mutex conexoesTrava_;
    std::vector<std::unique_ptr<TConexao>> conexoes_;
};
