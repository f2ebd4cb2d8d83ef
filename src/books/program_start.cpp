#include "books/program_start.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>

#ifdef _WIN32
#include <process.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace books {

#ifndef _WIN32
namespace {

// The file that runs for `program`: itself when it holds a "/", else the first executable of
// that name in PATH. Looked up before any process is made, so that the child does nothing but
// async-signal-safe calls (the window has threads). 0, or the error number.
int find_program(const std::string& program, std::string& path) {
    if (program.empty()) return ENOENT;
    if (program.find('/') != std::string::npos) {
        path = program;
        return 0;
    }
    const char* search = std::getenv("PATH");
    std::string_view folders = search && *search ? search : "/usr/local/bin:/usr/bin:/bin";
    int error = ENOENT;
    for (;;) {
        const std::size_t colon = folders.find(':');
        std::string_view folder = folders.substr(0, colon);
        std::string candidate = folder.empty() ? "." : std::string(folder);
        candidate += '/';
        candidate += program;
        struct stat status;
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
            if (::access(candidate.c_str(), X_OK) == 0) {
                path = candidate;
                return 0;
            }
            error = EACCES;
        }
        if (colon == std::string_view::npos) break;
        folders.remove_prefix(colon + 1);
    }
    return error;
}

void report_and_exit(int channel, int error) {
    while (::write(channel, &error, sizeof error) < 0 && errno == EINTR) {
    }
    ::_exit(127);
}

}  // namespace
#endif

int start_detached(const std::vector<std::string>& words) {
    if (words.empty() || words[0].empty()) return ENOENT;
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
#ifdef _WIN32
    return _spawnvp(_P_DETACH, argv[0], argv.data()) == -1 ? errno : 0;
#else
    std::string path;
    if (const int error = find_program(words[0], path)) return error;

    // The program tells through this pipe why it could not be started; a successful start
    // closes it (close-on-exec) without a word.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return errno;
    // A short-lived middle process starts the program and ends at once; it is reaped here, and
    // the program, orphaned, is reaped by the system.
    const pid_t middle = ::fork();
    if (middle < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return error;
    }
    if (middle == 0) {
        ::close(report[0]);
        const pid_t program = ::fork();
        if (program < 0) report_and_exit(report[1], errno);
        if (program == 0) {
            ::setsid();
            const int null = ::open("/dev/null", O_RDWR);
            if (null >= 0) {
                ::dup2(null, 0);
                ::dup2(null, 1);
                if (null > 2) ::close(null);
            }
            ::execve(path.c_str(), argv.data(), environ);
            report_and_exit(report[1], errno);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error)) return error != 0 ? error : ENOEXEC;
    return 0;
#endif
}

}  // namespace books
