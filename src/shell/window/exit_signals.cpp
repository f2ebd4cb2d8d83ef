#include "shell/window/exit_signals.h"

#include <QSocketNotifier>

#include <csignal>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace shell {

namespace {

volatile std::sig_atomic_t signal_arrived = 0;

#ifndef _WIN32
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
// What each signal did before: a signal the starter chose to ignore (nohup, a background job of
// a script) stays ignored, and the old action comes back when the window has gone.
struct sigaction earlier_actions[kSignalCount];
bool caught[kSignalCount] = {};
int pipe_ends[2] = {-1, -1};

extern "C" void note_signal(int number) {
    const int saved = errno;
    signal_arrived = 1;
    const char byte = static_cast<char>(number);
    // Non-blocking: a pipe full of earlier signals already says enough.
    [[maybe_unused]] const ssize_t written = ::write(pipe_ends[1], &byte, 1);
    errno = saved;
}
#endif

}  // namespace

ExitSignals::ExitSignals(QObject* parent) : QObject(parent) {
#ifndef _WIN32
    if (::pipe2(pipe_ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(pipe_ends[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ExitSignals::drain);
    struct sigaction action = {};
    action.sa_handler = note_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < kSignalCount; ++i) {
        if (::sigaction(kSignals[i], nullptr, &earlier_actions[i]) != 0 ||
            earlier_actions[i].sa_handler == SIG_IGN)
            continue;
        caught[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
#endif
}

ExitSignals::~ExitSignals() {
#ifndef _WIN32
    if (!notifier_) return;
    for (int i = 0; i < kSignalCount; ++i) {
        if (caught[i]) ::sigaction(kSignals[i], &earlier_actions[i], nullptr);
        caught[i] = false;
    }
    delete notifier_;
    ::close(pipe_ends[0]);
    ::close(pipe_ends[1]);
    pipe_ends[0] = pipe_ends[1] = -1;
#endif
}

bool ExitSignals::arrived() { return signal_arrived != 0; }

void ExitSignals::drain() {
#ifndef _WIN32
    char bytes[16];
    while (::read(pipe_ends[0], bytes, sizeof bytes) > 0) {
    }
#endif
    emit received();
}

}  // namespace shell
