// Two processes on one program folder at the same time, as a window and a terminal companion
// are: the window changes its names and placement and is taught free talk, the terminal
// companion changes the mood and the history, X
// change, and nobody may ever find dasom.ini torn. $DASOM_SHARED_ROUNDS rounds, 100 by default:
// enough for a save without the folder's lock to fail every run. The files lie in memory
// (/dev/shm) where there is one.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>

#include "engine/free_talk_entry.h"
#include "settings/settings.h"
#include "support/temp_folder.h"
#include "text/line_reader.h"

namespace {

using testing_support::k;
using testing_support::TempFolder;
namespace fs = std::filesystem;

int rounds() {
    const char* value = std::getenv("DASOM_SHARED_ROUNDS");
    return value && std::atoi(value) > 0 ? std::atoi(value) : 100;
}

// Every key once, each line a section or a key: what a whole settings file is.
bool whole(const std::string& bytes) {
    std::istringstream lines(bytes);
    std::string line;
    int sections = 0;
    int keys = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line.back() != '\r') return false;
        line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']') {
            ++sections;
        } else if (line.find('=') != std::string::npos) {
            ++keys;
        } else {
            return false;
        }
    }
    return sections == 5 && keys == 21;
}

// Children that wait at the start line until go(), so that their rounds overlap from the first.
class StartLine {
  public:
    StartLine() {
        if (::pipe(ends_) != 0) throw std::runtime_error("pipe failed");
    }
    ~StartLine() { go(); }

    // Runs `work` in a child; its exit status is 0 when `work` returned true.
    template <class Work>
    pid_t fork_running(Work work) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(ends_[1]);
            char byte;
            while (::read(ends_[0], &byte, 1) > 0) {
            }
            ::_exit(work() ? 0 : 1);
        }
        return pid;
    }
    void go() {
        if (ends_[1] >= 0) ::close(ends_[1]);
        ends_[1] = -1;
    }

  private:
    int ends_[2] = {-1, -1};
};

int exit_status(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

engine::FreeTalkEntry lesson(int round) {
    return {k("배운 말 ") + std::to_string(round), {k("대답 ") + std::to_string(round), "", "", ""}};
}

TEST(SharedFolder, AWindowAndATerminalCompanionNeverUndoEachOthersChanges) {
    if (::access("/dev/shm", W_OK) == 0) ::setenv("TMPDIR", "/dev/shm", 1);
    TempFolder folder;
    const fs::path file = folder / settings::kFileName;
    folder.write("dasom.ini", "[Window]\nLeft=0\n[컴퓨터정보]\n기분값=0\n");
    folder.write("data4.dat", "*안녕\n반가워\n");
    const int n = rounds();

    // The window: every key at each save, as it always writes them.
    StartLine start;
    const pid_t window = start.fork_running([&] {
        settings::Settings saved = settings::read_settings(file);
        int mood_seen = 0;
        for (int round = 1; round <= n; ++round) {
            settings::Settings now = saved;
            now.user_name = k("창 ") + std::to_string(round);
            now.left = round;
            now.first_run = false;
            settings::save_settings(file, saved, now, settings::SaveKeys::every);
            saved = now;
            if (engine::add_free_talk(folder / "data4.dat", lesson(round)) !=
                engine::FreeTalkResult::added)
                return false;
            const std::string bytes = folder.read_bytes("dasom.ini");
            const settings::Settings seen = settings::read_settings(file);
            if (!whole(bytes) || seen.user_name != now.user_name || seen.left != round ||
                seen.mood < mood_seen)
                return false;
            mood_seen = seen.mood;
        }
        return true;
    });
    // The terminal companion: only the keys it changed.
    const pid_t terminal = start.fork_running([&] {
        settings::Settings saved = settings::read_settings(file);
        int left_seen = 0;
        for (int round = 1; round <= n; ++round) {
            settings::Settings now = saved;
            now.mood = round;
            now.history[0] = "ls " + std::to_string(round);
            settings::save_settings(file, saved, now, settings::SaveKeys::changed);
            saved = now;
            const settings::Settings seen = settings::read_settings(file);
            if (seen.mood != round || seen.history[0] != now.history[0] || seen.left < left_seen)
                return false;
            left_seen = seen.left;
        }
        return true;
    });
    start.go();
    EXPECT_EQ(exit_status(window), 0);
    EXPECT_EQ(exit_status(terminal), 0);

    const settings::Settings last = settings::read_settings(file);
    EXPECT_TRUE(whole(folder.read_bytes("dasom.ini"))) << folder.read("dasom.ini");
    EXPECT_EQ(last.user_name, k("창 ") + std::to_string(n));
    EXPECT_EQ(last.left, n);
    EXPECT_FALSE(last.first_run);
    EXPECT_EQ(last.mood, n);
    EXPECT_EQ(last.history[0], "ls " + std::to_string(n));
    std::string lessons = "*안녕\n반가워\n";
    for (int round = 1; round <= n; ++round) {
        lessons += "*배운 말 " + std::to_string(round) + "\n대답 " + std::to_string(round) + "\n";
    }
    EXPECT_EQ(folder.read("data4.dat"), lessons);
    std::printf("%d rounds of two processes on one folder\n", n);
}

}  // namespace
