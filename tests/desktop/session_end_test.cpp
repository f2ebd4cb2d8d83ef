// The window program as a desktop session ends it: the real `dasom` under openbox, set up with
// xdotool as a user would, then ended by SIGTERM (logout, shutdown), SIGKILL or the loss of its
// display. Whatever ends it, the next start finds what was set. A second start on the folder
// brings the running window out of the tray and ends. Run by run_on_desktop.sh with a tray.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <memory>
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

// The output of a shell command.
std::string shell(const std::string& command) {
    std::string out;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
        ::pclose(pipe);
    }
    return out;
}

bool wait_for(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
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
        server = spawn({"Xvfb", name, "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        wait_for([&] { return std::system(("xdpyinfo -display " + name + " >/dev/null 2>&1").c_str()) == 0; });
        manager = spawn({"openbox"});
        std::this_thread::sleep_for(1s);
    }
    ~PrivateDisplay() {
        for (pid_t pid : {manager, server}) {
            if (pid > 0) ::kill(pid, SIGKILL);
            if (pid > 0) ::waitpid(pid, nullptr, 0);
        }
    }
    void kill_server() {
        ::kill(server, SIGKILL);
        ::waitpid(server, nullptr, 0);
        server = -1;
    }
    pid_t spawn(std::initializer_list<std::string> words) const {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("DISPLAY", name.c_str(), 1);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            std::vector<char*> argv;
            for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
            argv.push_back(nullptr);
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        return pid;
    }
};

// One run of the window program on a folder.
class Dasom {
  public:
    Dasom(const fs::path& folder, std::string display) : display_(std::move(display)) {
        log_ = folder.parent_path() / (folder.filename().string() + ".log");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setenv("DISPLAY", display_.c_str(), 1);
            ::setenv("QT_QPA_PLATFORM", "xcb", 1);
            ::setenv("DASOM_AUDIO_DRIVER", "none", 1);
            const int log = ::open(log_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            ::dup2(log, 1);
            ::dup2(log, 2);
            if (::chdir(fs::temp_directory_path().c_str()) != 0) ::_exit(126);
            const std::string program = std::string(DASOM_PROGRAM_DIR) + "/dasom";
            ::execl(program.c_str(), program.c_str(), "--folder", folder.c_str(), nullptr);
            ::_exit(127);
        }
    }
    ~Dasom() {
        if (running()) ::kill(pid_, SIGKILL);
        if (!ended_) ::waitpid(pid_, nullptr, 0);
    }

    // The ids of the program's windows on the screen. Only windows with a title: the tray
    // icon's window has none.
    std::vector<std::string> windows() const {
        std::istringstream ids(shell("DISPLAY=" + display_ + " xdotool search --all --onlyvisible --pid " +
                                     std::to_string(pid_) + " --name . 2>/dev/null"));
        std::vector<std::string> list;
        for (std::string id; std::getline(ids, id);) list.push_back(id);
        return list;
    }
    // The program's window on the screen, once there is one other than `except` and the
    // window manager has framed and placed it.
    std::string window(const std::string& except = "", std::chrono::milliseconds limit = 10s) const {
        std::string found;
        wait_for(
            [&] {
                for (const std::string& id : windows()) {
                    if (id != except) found = id;
                }
                return !found.empty();
            },
            limit);
        std::this_thread::sleep_for(700ms);
        return found;
    }
    bool gone(const std::string& id) const {
        return wait_for([&] {
            const std::vector<std::string> now = windows();
            return std::find(now.begin(), now.end(), id) == now.end();
        });
    }
    // Keys into the window, as typed.
    void type(const std::string& window, const std::string& keys) const {
        xdotool("windowactivate --sync " + window);
        xdotool("type --delay 20 '" + keys + "'");
        xdotool("key Return");
    }
    void xdotool(const std::string& arguments) const {
        std::system(("DISPLAY=" + display_ + " timeout 5 xdotool " + arguments).c_str());
    }

    bool running() {
        if (ended_) return false;
        if (::waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
        return !ended_;
    }
    void signal(int number) const { ::kill(pid_, number); }
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
    bool ended_ = false;
};

const char* const kSettled = "[일반정보]\n처음실행=0\nviewlogo=0\nTrayStart=0\n";

// A harmless program to start: it leaves a file behind in the current folder, the temporary
// folder the program runs in (a command line without a folder changes no folder).
const std::string kLaunched = "touch dasom-launched-" + std::to_string(::getpid());
fs::path launched_marker() {
    return fs::temp_directory_path() / ("dasom-launched-" + std::to_string(::getpid()));
}

void prepare(const TempFolder& folder, const std::string& settings) {
    folder.write("dasom.ini", settings);
    fs::copy_file(fs::path(DASOM_PROGRAM_DIR) / "music.dat", folder / "music.dat");
    folder.write("reserve.dat", "run\n[실행]\n");
    folder.write("exec.dat", "marker\n" + kLaunched + "\n");
}

void set_names(Dasom& dasom) {
    const std::string setup = dasom.window();
    dasom.xdotool("windowactivate --sync " + setup);
    dasom.xdotool("type --delay 20 Mina");
    dasom.xdotool("key Tab");
    dasom.type(setup, "Nuri");
    ASSERT_TRUE(dasom.gone(setup));
    std::this_thread::sleep_for(300ms);  // the window comes up, and goes into the tray
}

void move_window(Dasom& dasom) {
    dasom.xdotool("windowmove " + dasom.window() + " 300 200");
    std::this_thread::sleep_for(100ms);
}

void launch(Dasom& dasom) {
    fs::remove(launched_marker());
    const std::string main = dasom.window();
    dasom.type(main, "run");
    dasom.type(dasom.window(main), "marker");  // the launcher's input box
    ASSERT_TRUE(wait_for([&] { return fs::exists(launched_marker()); })) << dasom.log();
    fs::remove(launched_marker());
}

bool near(int value, int expected) { return value > expected - 40 && value < expected + 40; }

class SessionEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "no xdotool";
    }
};

TEST_F(SessionEnd, WhateverEndsTheWindowTheNextStartFindsWhatWasSet) {
    enum class Ending { term, kill_a_second_later, display_lost };
    const struct Row {
        const char* name;
        const char* settings;
        Ending ending;
        std::function<void(Dasom&)> set;
        std::function<bool(const settings::Settings&)> kept;
    } rows[] = {
        {"names of the set-up, then SIGTERM", "[일반정보]\nviewlogo=0\n", Ending::term,
         [](Dasom& d) { set_names(d); },
         [](const settings::Settings& s) {
             return s.user_name == "Mina" && s.computer_name == "Nuri" && !s.first_run;
         }},
        {"a move, then SIGTERM at once", kSettled, Ending::term,
         [](Dasom& d) { move_window(d); },
         [](const settings::Settings& s) {
             return near(s.left, 300) && near(s.top, 200);
         }},
        {"a program launched, then SIGTERM", kSettled, Ending::term,
         [](Dasom& d) { launch(d); },
         [](const settings::Settings& s) {
             return s.history[0] == kLaunched &&
                    s.history[1] == k("없음");
         }},
        {"names of the set-up, then the display server killed", "[일반정보]\nviewlogo=0\n",
         Ending::display_lost, [](Dasom& d) { set_names(d); },
         [](const settings::Settings& s) {
             return s.user_name == "Mina" && s.computer_name == "Nuri" && !s.first_run;
         }},
        {"a move, then SIGKILL a second later", kSettled, Ending::kill_a_second_later,
         [](Dasom& d) { move_window(d); },
         [](const settings::Settings& s) {
             return near(s.left, 300) && near(s.top, 200);
         }},
    };
    const std::string desktop = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    ASSERT_FALSE(desktop.empty());
    for (const Row& row : rows) {
        TempFolder folder;
        prepare(folder, row.settings);
        {
            std::unique_ptr<PrivateDisplay> own;
            if (row.ending == Ending::display_lost) own = std::make_unique<PrivateDisplay>();
            Dasom dasom(folder.path(), own ? own->name : desktop);
            row.set(dasom);
            switch (row.ending) {
                case Ending::term:
                    dasom.signal(SIGTERM);
                    EXPECT_EQ(dasom.end_status(), 0) << row.name << '\n' << dasom.log();
                    break;
                case Ending::kill_a_second_later:
                    std::this_thread::sleep_for(1s);
                    dasom.signal(SIGKILL);
                    break;
                case Ending::display_lost:
                    std::this_thread::sleep_for(1s);
                    own->kill_server();
                    EXPECT_NE(dasom.end_status(), -1) << row.name;
                    break;
            }
        }
        const settings::Settings stored = settings::read_settings(folder / "dasom.ini");
        EXPECT_TRUE(row.kept(stored)) << row.name << ":\n" << folder.read("dasom.ini");

        // The next start, also after a socket left behind, comes up, ends cleanly and leaves
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
    const std::string desktop = std::getenv("DISPLAY");
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

}  // namespace
