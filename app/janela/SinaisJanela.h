// SIGINT, SIGTERM and SIGHUP seen by the window's event loop. The thread that takes the signals
// records the stop and writes a byte into a pipe; a socket notifier on the other end brings it
// into the loop, where the window can end a run and close.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

class TSinaisJanela : public QObject {
    Q_OBJECT

  public:
    // aoSinal runs in the event loop after each signal (the stop itself is already recorded).
    explicit TSinaisJanela(std::function<void()> aoSinal, QObject* pai = nullptr);
    ~TSinaisJanela() override;
    TSinaisJanela(const TSinaisJanela&) = delete;
    TSinaisJanela& operator=(const TSinaisJanela&) = delete;

  private:
    void Chegou();

    std::function<void()> aoSinal_;
    int leitura_ = -1;
    int escrita_ = -1;
    QSocketNotifier* notificador_ = nullptr;
};
