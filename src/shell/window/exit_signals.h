#pragma once
// SIGTERM, SIGHUP and SIGINT (what the desktop and the system send at logout and shutdown, a
// closed terminal, Ctrl+C) end the window program the way 그만하기 does, instead of killing it
// on the spot. A signal handler may do next to nothing safely, so it only writes the signal into
// a pipe; the event loop reads the pipe and emits `received`.

#include <QObject>

class QSocketNotifier;

namespace shell {

class ExitSignals : public QObject {
    Q_OBJECT
  public:
    // Installs the handlers. One object at a time; its destruction puts the default actions
    // back.
    explicit ExitSignals(QObject* parent = nullptr);
    ~ExitSignals() override;

    // True once one of the signals has arrived, also before the event loop has seen it (a
    // signal during the start-up, while the set-up dialog is open, say).
    static bool arrived();

  signals:
    // One of the signals arrived: the program is to end.
    void received();

  private:
    void drain();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace shell
