// The window program as a desktop session ends it: the real `dasom` under openbox, set up with
// xdotool as a user would, then ended by SIGTERM (logout, shutdown), SIGKILL or the loss of its
// display. Whatever ends it, the next start finds what was set. A second start on the folder
// brings the running window out of the tray and ends. Run by run_on_desktop.sh with a tray.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "settings/settings.h"
#include "support/temp_folder.h"

namespace {

using namespace std::chrono_literals;
using testing_support::k;
using testing_support::TempFolder;
namespace fs = std::filesystem;

bool wait_for(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// Starts a program on `display`, its output into `log`, in the temporary folder.
pid_t spawn(std::vector<std::string> words, const std::string& display, const fs::path& log) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("DISPLAY", display.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        ::setenv("DASOM_AUDIO_DRIVER", "none", 1);
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        ::dup2(out, 1);
        ::dup2(out, 2);
        if (::chdir(fs::temp_directory_path().c_str()) != 0) ::_exit(126);
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

// An X display of the test's own, with openbox, that can be taken away.
struct PrivateDisplay {
    std::string name;
    pid_t server = -1;
    pid_t manager = -1;

    PrivateDisplay() {
        int number = 150;
        while (fs::exists("/tmp/.X" + std::to_string(number) + "-lock")) ++number;
        name = ":" + std::to_string(number);
        server = spawn({"Xvfb", name, "-screen", "0", "1280x800x24", "-nolisten", "tcp"}, name, "/dev/null");
        wait_for([&] { return std::system(("xdpyinfo -display " + name + " >/dev/null 2>&1").c_str()) == 0; });
        manager = spawn({"openbox"}, name, "/dev/null");
        std::this_thread::sleep_for(1s);
    }
    ~PrivateDisplay() {
        for (pid_t pid : {manager, server}) kill_now(pid);
    }
    static void kill_now(pid_t& pid) {
        if (pid <= 0) return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        pid = -1;
    }
};

// One run of the window program on a folder.
class Dasom {
  public:
    Dasom(const fs::path& folder, std::string display)
        : display_(std::move(display)), log_(folder / "output.log") {
        pid_ = spawn({std::string(DASOM_PROGRAM_DIR) + "/dasom", "--folder", folder.string()},
                     display_, log_);
    }
    ~Dasom() {
        if (running()) PrivateDisplay::kill_now(pid_);
    }

    // The program's windows on the screen: the main window, the set-up, the input boxes. Their
    // titles hold a blank; the tray icon's window is named after the program, without one.
    std::vector<std::string> windows() const {
        std::string ids;
        const std::string command = "DISPLAY=" + display_ + " xdotool search --all --onlyvisible --pid " +
                                    std::to_string(pid_) + " --name ' ' 2>/dev/null";
        if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[256];
            while (std::fgets(buffer, sizeof buffer, pipe)) ids += buffer;
            ::pclose(pipe);
        }
        std::istringstream lines(ids);
        std::vector<std::string> list;
        for (std::string id; std::getline(lines, id);) list.push_back(id);
        return list;
    }
    // A window on the screen other than `except`, once the window manager has placed it.
    std::string window(const std::string& except = "") const {
        std::string found;
        wait_for([&] {
            for (const std::string& id : windows()) {
                if (id != except) found = id;
            }
            return !found.empty();
        });
        std::this_thread::sleep_for(700ms);
        return found;
    }
    // Types `keys` into `window`, then Tab (between fields) or Return.
    void type(const std::string& window, const std::string& keys, const char* then = "Return") const {
        xdotool("windowactivate --sync " + window);
        xdotool("type --delay 20 '" + keys + "'");
        xdotool(std::string("key ") + then);
    }
    void xdotool(const std::string& arguments) const {
        // A lost key shows in the values read back afterwards, not here.
        [[maybe_unused]] const int ignored =
            std::system(("DISPLAY=" + display_ + " timeout 5 xdotool " + arguments).c_str());
    }

    bool running() {
        if (pid_ > 0 && ::waitpid(pid_, &status_, WNOHANG) == pid_) pid_ = -1;
        return pid_ > 0;
    }
    // Only while it runs: kill(-1, ...) would reach every process of the account.
    void signal(int number) const {
        if (pid_ > 0) ::kill(pid_, number);
    }
    // The exit status once it ended (-1: still running after a while; 128 + n: signal n).
    int end_status() {
        if (!wait_for([&] { return !running(); })) return -1;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
    }
    std::string log() const {
        std::ifstream in(log_);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

  private:
    std::string display_;
    fs::path log_;
    pid_t pid_ = -1;
    int status_ = 0;
};

const char* const kFirstRun = "[일반정보]\nviewlogo=0\n";
const char* const kSettled = "[일반정보]\n처음실행=0\nviewlogo=0\nTrayStart=0\n";

// A harmless program to start: it leaves a file in the temporary folder the window runs in (a
// command line without a folder changes no folder).
const std::string kMarker = "dasom-launched-" + std::to_string(::getpid());

void prepare(const TempFolder& folder, const std::string& settings) {
    folder.write("dasom.ini", settings);
    fs::copy_file(fs::path(DASOM_PROGRAM_DIR) / "music.dat", folder / "music.dat");
    folder.write("reserve.dat", "run\n[실행]\n");
    folder.write("exec.dat", "marker\ntouch " + kMarker + "\n");
}

void set_names(Dasom& dasom) {
    const std::string setup = dasom.window();
    dasom.type(setup, "Mina", "Tab");
    dasom.type(setup, "Nuri");
    ASSERT_TRUE(wait_for([&] { return dasom.windows() != std::vector<std::string>{setup}; }));
    std::this_thread::sleep_for(300ms);  // the window comes up, and goes into the tray
}

void move_window(Dasom& dasom) {
    dasom.xdotool("windowmove " + dasom.window() + " 300 200");
    std::this_thread::sleep_for(100ms);
}

void launch(Dasom& dasom) {
    const fs::path marker = fs::temp_directory_path() / kMarker;
    fs::remove(marker);
    const std::string main = dasom.window();
    dasom.type(main, "run");
    dasom.type(dasom.window(main), "marker");  // the launcher's input box
    ASSERT_TRUE(wait_for([&] { return fs::exists(marker); })) << dasom.log();
    fs::remove(marker);
}

bool names_kept(const settings::Settings& s) {
    return s.user_name == "Mina" && s.computer_name == "Nuri" && !s.first_run;
}
bool move_kept(const settings::Settings& s) {
    return std::abs(s.left - 300) < 40 && std::abs(s.top - 200) < 40;
}

class SessionEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "no xdotool";
        ASSERT_NE(std::getenv("DISPLAY"), nullptr);
        desktop = std::getenv("DISPLAY");
    }
    std::string desktop;
};

TEST_F(SessionEnd, WhateverEndsTheWindowTheNextStartFindsWhatWasSet) {
    enum class Ending { term, kill_a_second_later, display_lost };
    const struct Row {
        const char* name;
        const char* settings;
        void (*set)(Dasom&);
        Ending ending;
        std::function<bool(const settings::Settings&)> kept;
    } rows[] = {
        {"set-up names, SIGTERM", kFirstRun, set_names, Ending::term, names_kept},
        {"a move, SIGTERM at once", kSettled, move_window, Ending::term, move_kept},
        {"a launch, SIGTERM", kSettled, launch, Ending::term,
         [](const settings::Settings& s) {
             return s.history[0] == "touch " + kMarker && s.history[1] == k("없음");
         }},
        {"set-up names, X server killed", kFirstRun, set_names, Ending::display_lost, names_kept},
        {"a move, SIGKILL a second later", kSettled, move_window, Ending::kill_a_second_later,
         move_kept},
    };
    for (const Row& row : rows) {
        TempFolder folder;
        prepare(folder, row.settings);
        {
            std::unique_ptr<PrivateDisplay> own;
            if (row.ending == Ending::display_lost) own = std::make_unique<PrivateDisplay>();
            Dasom dasom(folder.path(), own ? own->name : desktop);
            row.set(dasom);
            if (row.ending == Ending::term) {
                dasom.signal(SIGTERM);
                EXPECT_EQ(dasom.end_status(), 0) << row.name << '\n' << dasom.log();
            } else {
                std::this_thread::sleep_for(1s);
                if (own) PrivateDisplay::kill_now(own->server);
                else dasom.signal(SIGKILL);
                EXPECT_NE(dasom.end_status(), -1) << row.name;
            }
        }
        const settings::Settings stored = settings::read_settings(folder / "dasom.ini");
        EXPECT_TRUE(row.kept(stored)) << row.name << ":\n" << folder.read("dasom.ini");

        // The next start, also past a socket left behind, comes up, ends cleanly and leaves
        // the values as they were.
        Dasom next(folder.path(), desktop);
        std::this_thread::sleep_for(1500ms);
        EXPECT_TRUE(next.running()) << row.name << '\n' << next.log();
        next.signal(SIGTERM);
        EXPECT_EQ(next.end_status(), 0) << row.name;
        EXPECT_EQ(settings::read_settings(folder / "dasom.ini"), stored) << row.name;
    }
}

TEST_F(SessionEnd, ASecondStartBringsTheFirstOutOfTheTrayAndEnds) {
    TempFolder folder;
    prepare(folder, "[일반정보]\n처음실행=0\nviewlogo=0\n");  // starts into the tray
    Dasom first(folder.path(), desktop);
    std::this_thread::sleep_for(2s);
    ASSERT_TRUE(first.running()) << first.log();
    ASSERT_TRUE(first.windows().empty());

    Dasom second(folder.path(), desktop);
    EXPECT_EQ(second.end_status(), 0) << second.log();
    EXPECT_FALSE(first.window().empty()) << "the first window did not come forward";
    first.signal(SIGTERM);
    EXPECT_EQ(first.end_status(), 0) << first.log();
}

TEST_F(SessionEnd, ASignalItsStarterIgnoredLeavesTheWindowRunning) {
    TempFolder folder;
    prepare(folder, kSettled);
    // As nohup starts it: the closed terminal's SIGHUP is ignored, and must stay so.
    struct sigaction ignore = {};
    struct sigaction before = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGHUP, &ignore, &before);
    Dasom dasom(folder.path(), desktop);
    ::sigaction(SIGHUP, &before, nullptr);
    ASSERT_FALSE(dasom.window().empty()) << dasom.log();
    dasom.signal(SIGHUP);
    std::this_thread::sleep_for(1s);
    ASSERT_TRUE(dasom.running()) << "an ignored SIGHUP ended the window";
    dasom.signal(SIGTERM);
    EXPECT_EQ(dasom.end_status(), 0) << dasom.log();
}

}  // namespace
