#include "books/launcher.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "books/command_line.h"
#include "engine/fake_host.h"
#include "text/file_error.h"

namespace {

using testing_support::FakeHost;
using testing_support::k;
using testing_support::TempFolder;

std::string joined(const std::vector<std::string>& calls) {
    std::string all;
    for (const std::string& call : calls) all += (all.empty() ? "" : "|") + call;
    return all;
}

struct Launch {
    const char* name;
    std::string book;    // UTF-8, LF
    const char* answer;  // nullptr: the input box is cancelled
    std::string calls;   // what the window saw, in order
    bool folder_exists = true;
    int start_error = 0;  // what starting the program answers
};
void PrintTo(const Launch& row, std::ostream* out) { *out << row.name; }

const std::string kLong = "/opt/" + std::string(110, 'x');
const std::string kCut = kLong.substr(0, 99);
// 98 bytes, then a two-byte character across the 99-byte limit.
const std::string kSplit = "/opt/" + std::string(93, 'x');

const Launch kLaunches[] = {
    {"first match in file order wins", "메모장\n/usr/bin/mousepad\n메모\n/bin/memo\n", "메모",
     "chdir:/usr/bin/|start:/usr/bin/mousepad|speech:/usr/bin/mousepad 를 실행합니다.|minimise"},
    {"a name matches by any part", "그림판\n/usr/bin/kolourpaint a.png\n", "림",
     "chdir:/usr/bin/|start:/usr/bin/kolourpaint a.png"
     "|speech:/usr/bin/kolourpaint a.png 를 실행합니다.|minimise"},
    {"no folder, no directory change", "눈\nxeyes\n", "눈",
     "start:xeyes|speech:xeyes 를 실행합니다.|minimise"},
    {"a folder that cannot be entered warns and launches", "메모\nnotepad /tmp/text.txt\n", "메모",
     "chdir:notepad /tmp/|warning:디렉토리가 잘못되었습니다.|start:notepad /tmp/text.txt"
     "|speech:notepad /tmp/text.txt 를 실행합니다.|minimise",
     false},
    {"a program that cannot be started is told, the window stays", "눈\n/bin/없는것\n", "눈",
     "chdir:/bin/|start:/bin/없는것|speech:/bin/없는것 를 실행하지 못했습니다 (파일이나 폴더가 "
     "없습니다).",
     true, ENOENT},
    {"a full stop reruns the previous command", "눈\nxeyes\n", ".", "start:이전|minimise"},
    {"a failed rerun is told", "눈\nxeyes\n", ".",
     "start:이전|speech:이전 를 실행하지 못했습니다 (권한이 없습니다).", true, EACCES},
    {"two full stops are a search", "눈\nxeyes\n", "..", "speech:그런거 없는데요"},
    {"a blank and a full stop are a search", "눈\nxeyes\n", " .", "speech:그런거 없는데요"},
    {"a full stop with an empty book runs nothing", "", ".", "speech:그런거 없는데요"},
    {"cancel searches for nothing", "눈\nxeyes\n", nullptr, "speech:그런거 없는데요"},
    {"case counts", "Eyes\nxeyes\n", "eyes", "speech:그런거 없는데요"},
    {"a blank line shifts the pairing", "\n눈\nxeyes\n", "눈", "speech:그런거 없는데요"},
    {"a last name without its command launches nothing", "눈\nxeyes\n계산기", "계산",
     "start:|speech: 를 실행합니다.|minimise"},
    {"a command line is cut to 99 bytes", "긴것\n" + kLong + "\n", "긴것",
     "chdir:/opt/|start:" + kCut + "|speech:" + kCut + " 를 실행합니다.|minimise"},
    {"the cut never splits a two-byte character", "긴것\n" + kSplit + "가나\n", "긴것",
     "chdir:/opt/|start:" + kSplit + "|speech:" + kSplit + " 를 실행합니다.|minimise"},
};

class ExecFile : public ::testing::TestWithParam<Launch> {};

TEST_P(ExecFile, StartsThenTellsMinimisesAndRemembersInOrder) {
    const Launch& row = GetParam();
    TempFolder folder;
    folder.write("exec.dat", row.book);
    FakeHost host;
    host.directory_exists = row.folder_exists;
    host.start_error = row.start_error;
    if (row.answer) host.answers.push_back(k(row.answer));
    books::LauncherState state;
    state.previous_command = k("이전");
    const auto before = state.history;
    books::launch_by_name(folder.path(), host, state);

    EXPECT_EQ(joined(host.calls), row.calls);
    const bool launched = joined(host.calls).find("speech:그런거") == std::string::npos &&
                          std::string(row.answer ? row.answer : "") != "." && row.start_error == 0;
    if (launched) {
        std::string started;
        for (const std::string& call : host.calls) {
            if (call.rfind("start:", 0) == 0) started = call.substr(6);
        }
        EXPECT_EQ(text::to_utf8(state.previous_command), started);
        EXPECT_EQ(text::to_utf8(state.history[0]), started);
        EXPECT_EQ(state.history[1], before[0]);
    } else {
        EXPECT_EQ(state.previous_command, k("이전"));
        EXPECT_EQ(state.history, before);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ExecFile, ::testing::ValuesIn(kLaunches));

TEST(ExecFileFailure, MissingBookThrowsAndChangesNothing) {
    TempFolder folder;
    FakeHost host;
    host.answers.push_back(k("눈"));
    books::LauncherState state;
    EXPECT_THROW(books::launch_by_name(folder.path(), host, state), text::FileError);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(state.history, books::LauncherState().history);
}

TEST(History, ShiftsOnEveryLaunchKeepsTwinsAndDropsTheOldestAtTheNinth) {
    TempFolder folder;
    folder.write("exec.dat", "a\nxa\nb\nxb\nc\nxc\nd\nxd\ne\nxe\nf\nxf\ng\nxg\nh\nxh\ni\nxi\n");
    FakeHost host;
    books::LauncherState state;
    for (const char* answer : {"a", "a", "b", "c", "d", "e", "f", "g"}) {
        host.answers.push_back(answer);
        books::launch_by_name(folder.path(), host, state);
    }
    EXPECT_EQ(state.history, (std::array<std::string, 8>{"xg", "xf", "xe", "xd", "xc", "xb", "xa",
                                                         "xa"}));
    host.answers.push_back("i");
    books::launch_by_name(folder.path(), host, state);
    EXPECT_EQ(state.history[0], "xi");
    EXPECT_EQ(state.history[7], "xa");
    EXPECT_EQ(state.previous_command, "xi");
}

TEST(History, AnEntryRunsInItsFolderWithoutMovingAndLongCaptionsAreCutAtCharacters) {
    FakeHost host;
    books::LauncherState state;
    // Slot 6 holds a two-byte character across the 99-byte limit, slot 7 one across 255.
    const std::string across_99 = "/z/" + std::string(95, 'y') + k("한글");
    const std::string across_255 = "/x/" + std::string(251, 'y') + k("한");
    state.restore({"/bin/one", "two", "three", "four", "/usr/bin/xmessage 5", across_99,
                   across_255, k("없음")});
    EXPECT_EQ(state.previous_command, "/bin/one");
    const auto before = state.history;

    books::run_history_item(host, state, 4);
    EXPECT_EQ(joined(host.calls), "chdir:/usr/bin/|start:/usr/bin/xmessage 5");
    EXPECT_EQ(state.previous_command, "/usr/bin/xmessage 5");
    EXPECT_EQ(state.history, before);

    host.calls.clear();
    books::run_history_item(host, state, 6);
    EXPECT_EQ(host.calls.back(), "start:/x/" + std::string(251, 'y'));
    EXPECT_EQ(state.previous_command, "/x/" + std::string(96, 'y'));

    books::run_history_item(host, state, 5);
    EXPECT_EQ(host.calls.back(), "start:" + text::to_utf8(across_99));
    EXPECT_EQ(state.previous_command, "/z/" + std::string(95, 'y'));

    // A start that fails is told and leaves the previous command as it was.
    host.calls.clear();
    host.start_error = ENOENT;
    books::run_history_item(host, state, 7);
    EXPECT_EQ(joined(host.calls),
              "start:없음|speech:없음 를 실행하지 못했습니다 (파일이나 폴더가 없습니다).");
    EXPECT_EQ(state.previous_command, "/z/" + std::string(95, 'y'));
    EXPECT_EQ(state.history, before);
}

TEST(CommandFolder, TakesEverythingUpToTheLastSeparatorBeforeADriveColon) {
    struct Row {
        std::string command;
        char separator;
        std::string folder;
    };
    const Row rows[] = {
        {"/usr/bin/xmessage hi", '/', "/usr/bin/"},
        {"xeyes", '/', ""},
        {"notepad /tmp/text.txt", '/', "notepad /tmp/"},
        {"/opt/tools/view d:/docs/a.txt", '/', "/opt/tools/"},
        {"c:\\tools\\view.exe d:\\docs\\a.txt", '\\', "c:\\tools\\"},
        {"c:\\windows\\notepad.exe", '\\', "c:\\windows\\"},
        {"/a/b:c/d/e", '/', "/a/"},
        {"/srv/x y/z", '/', "/srv/x y/"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(books::command_folder(row.command, row.separator), row.folder) << row.command;
    }
    std::string many;
    for (int i = 0; i < 150; ++i) many += "a/";
    EXPECT_EQ(books::command_folder(many, '/').size(), 200u);  // at most 100 pieces
}

TEST(SplitCommandLine, BlanksSeparateWordsAndNothingIsInterpreted) {
    using Words = std::vector<std::string>;
    EXPECT_EQ(books::split_command_line(k("  /usr/bin/xmessage\t-center  안녕 ")),
              (Words{"/usr/bin/xmessage", "-center", k("안녕")}));
    EXPECT_EQ(books::split_command_line("echo \"a b\";rm -rf ~ | cat $(id) > x &"),
              (Words{"echo", "\"a", "b\";rm", "-rf", "~", "|", "cat", "$(id)", ">", "x", "&"}));
    EXPECT_TRUE(books::split_command_line(" \t ").empty());
}

TEST(ProgramAndArguments, TheLongestExistingPathBeforeABlankIsTheProgram) {
    using Words = std::vector<std::string>;
    const auto names_file = [](std::string_view path) {
        return path == "/home/me/my prog/run.sh" || path == "/opt/a b/c d" || path == "/opt/a b/c";
    };
    const std::pair<const char*, Words> rows[] = {
        {"/home/me/my prog/run.sh", {"/home/me/my prog/run.sh"}},
        {"  /home/me/my prog/run.sh  -x\ty ", {"/home/me/my prog/run.sh", "-x", "y"}},
        {"/opt/a b/c d e", {"/opt/a b/c d", "e"}},  // the longest start wins
        {"/opt/a b/c x", {"/opt/a b/c", "x"}},
        {"/home/me/my prog/other a", {"/home/me/my", "prog/other", "a"}},
        {"my prog a", {"my", "prog", "a"}},  // no folder: every blank separates
    };
    for (const auto& [line, words] : rows) {
        EXPECT_EQ(books::program_and_arguments(line, names_file), words) << line;
    }
}

}  // namespace
