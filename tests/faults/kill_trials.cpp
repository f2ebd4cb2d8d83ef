#include "faults/kill_trials.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace faults {

void run_and_kill(const std::function<void(long)>& work, std::chrono::nanoseconds longest_delay,
                  std::mt19937& random) {
    int ready[2];
    if (::pipe(ready) != 0) throw std::runtime_error("pipe failed");
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        ::close(ready[0]);
        const char started = 1;
        if (::write(ready[1], &started, 1) != 1) ::_exit(2);
        try {
            for (long n = 0;; ++n) work(n);
        } catch (...) {
            ::_exit(1);
        }
    }
    ::close(ready[1]);
    char started = 0;
    const bool ok = ::read(ready[0], &started, 1) == 1;
    ::close(ready[0]);
    // A busy wait: sleeping would round every delay up to the scheduler's tick.
    const auto delay = std::chrono::nanoseconds(
        std::uniform_int_distribution<long long>(0, longest_delay.count())(random));
    const auto until = std::chrono::steady_clock::now() + delay;
    while (std::chrono::steady_clock::now() < until) {
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!ok) throw std::runtime_error("the child did not start");
    if (WIFEXITED(status)) {
        throw std::runtime_error("the child's write failed before it was killed");
    }
}

std::chrono::nanoseconds time_of(const std::function<void()>& work) {
    constexpr int kCalls = 10;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) work();
    return (std::chrono::steady_clock::now() - start) / kCalls;
}

int trial_count(int default_count) {
    const char* value = std::getenv("DASOM_KILL_TRIALS");
    return value && std::atoi(value) > 0 ? std::atoi(value) : default_count;
}

}  // namespace faults
