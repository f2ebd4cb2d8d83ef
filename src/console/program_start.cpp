#include "program_start.h"

#include <cerrno>

#ifdef _WIN32
#include <process.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace console {

void start_detached(const std::vector<std::string>& words) {
    if (words.empty()) return;
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
#ifdef _WIN32
    _spawnvp(_P_DETACH, argv[0], argv.data());
#else
    // A short-lived middle process starts the program and ends at once; it is reaped here, and
    // the program, orphaned, is reaped by the system.
    const pid_t middle = ::fork();
    if (middle < 0) return;
    if (middle == 0) {
        posix_spawn_file_actions_t actions;
        posix_spawnattr_t attributes;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
        pid_t program = 0;
        posix_spawnp(&program, argv[0], &actions, &attributes, argv.data(), environ);
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
#endif
}

}  // namespace console
