// Two processes on one program folder (two windows, a window and the terminal companion): what
// both of them write lands, and a book being rebuilt by one is left alone by the other.
// $DASOM_CONCURRENT_ROUNDS sets the number of rounds (50 by default).

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "books/record_deletion.h"
#include "books/record_entry.h"
#include "engine/free_talk_entry.h"
#include "support/temp_folder.h"
#include "text/file_error.h"
#include "text/line_reader.h"

namespace {

using testing_support::k;
using testing_support::TempFolder;

// The files lie in memory where they can: each append is flushed to the disk, and what two
// processes do to each other does not depend on the disk.
class ConcurrentWriters : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (::access("/dev/shm", W_OK) == 0) ::setenv("TMPDIR", "/dev/shm", 1);
    }
};

int rounds() {
    const char* set = std::getenv("DASOM_CONCURRENT_ROUNDS");
    return set && std::atoi(set) > 0 ? std::atoi(set) : 50;
}

// Runs `work` in a child process that starts when `go` is called; returns its pid.
pid_t prepare_child(int go_pipe, const std::function<int()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        char go = 0;
        if (::read(go_pipe, &go, 1) != 1) ::_exit(90);
        int status = 90;
        try {
            status = work();
        } catch (...) {
        }
        ::_exit(status);
    }
    return child;
}

int exit_status(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

constexpr int kEntriesEach = 5;

// One process's writes: kEntriesEach free-talk entries and book records, named after it.
int append_all(const std::filesystem::path& folder, char who) {
    for (int i = 0; i < kEntriesEach; ++i) {
        const std::string tag = std::string(1, who) + std::to_string(i);
        if (engine::add_free_talk(folder / "data4.dat", {k("키") + tag, {k("답") + tag, "", "", ""}}) !=
            engine::FreeTalkResult::added)
            return 1;
        if (books::add_record(folder / "eng.dat", "word" + tag, k("뜻") + tag) !=
            books::AddResult::added)
            return 2;
    }
    return 0;
}

TEST_F(ConcurrentWriters, TwoProcessesAppendingAtOnceLoseNothing) {
    const int total = rounds();
    int lost = 0;
    int refused = 0;
    // The second half of the rounds, b reaches the same files through links from a folder of
    // its own (two program folders sharing a book).
    for (int round = 0; round < 2 * total; ++round) {
        TempFolder folder;
        TempFolder other;
        folder.write("data4.dat", "*안녕\n반가워\n");
        folder.write("eng.dat", "apple\n사과\n");
        std::filesystem::path b_folder = folder.path();
        if (round >= total) {
            for (const char* name : {"data4.dat", "eng.dat"})
                std::filesystem::create_symlink(folder.path() / name, other.path() / name);
            b_folder = other.path();
        }
        int go[2];
        ASSERT_EQ(::pipe(go), 0);
        const pid_t a = prepare_child(go[0], [&] { return append_all(folder.path(), 'a'); });
        const pid_t b = prepare_child(go[0], [&] { return append_all(b_folder, 'b'); });
        ASSERT_EQ(::write(go[1], "gg", 2), 2);
        ::close(go[0]);
        ::close(go[1]);
        if (exit_status(a) != 0) ++refused;
        if (exit_status(b) != 0) ++refused;

        const std::string data4 = folder.read_bytes("data4.dat");
        const std::string book = folder.read_bytes("eng.dat");
        // Old contents first, then every entry of both exactly once, and nothing else.
        std::size_t data4_size = k("*안녕\r\n반가워\r\n").size();
        std::size_t book_size = k("apple\r\n사과\r\n").size();
        ASSERT_EQ(data4.rfind(k("*안녕\r\n반가워\r\n"), 0), 0u) << "round " << round;
        ASSERT_EQ(book.rfind(k("apple\r\n사과\r\n"), 0), 0u) << "round " << round;
        for (const char who : {'a', 'b'}) {
            for (int i = 0; i < kEntriesEach; ++i) {
                const std::string tag = std::string(1, who) + std::to_string(i);
                const std::string entry = k("*키") + tag + "\r\n" + k("답") + tag + "\r\n";
                const std::string record = "word" + tag + "\r\n" + k("뜻") + tag + "\r\n";
                data4_size += entry.size();
                book_size += record.size();
                if (data4.find(entry) == std::string::npos) ++lost;
                if (book.find(record) == std::string::npos) ++lost;
            }
        }
        if (lost == 0) {
            ASSERT_EQ(data4.size(), data4_size) << "round " << round;
            ASSERT_EQ(book.size(), book_size) << "round " << round;
        }
    }
    std::printf("%d rounds of two processes appending %d entries and records each: %d lost, %d refused\n",
                2 * total, kEntriesEach, lost, refused);
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(refused, 0);
}

// While one process's deletion dialog is open on eng.dat, another may neither open a second
// one (on that book or any other: temp.$$$ is the folder's one rebuild) nor add to eng.dat,
// whose new record the rename would drop; it may add to another book. Afterwards it may again.
TEST_F(ConcurrentWriters, ABookBeingRebuiltIsLeftAloneByOtherProcesses) {
    TempFolder folder;
    folder.write("eng.dat", "apple\n사과\ngrape\n포도\n");
    folder.write("juso.dat", "철수\n서울\n");
    const auto other_process = [&](const std::function<int()>& work) {
        int go[2];
        if (::pipe(go) != 0) return -1;
        const pid_t child = prepare_child(go[0], work);
        [[maybe_unused]] const auto sent = ::write(go[1], "g", 1);
        ::close(go[0]);
        ::close(go[1]);
        return exit_status(child);
    };
    const auto walk_refused = [&](const char* book, engine::Book kind) {
        try {
            books::RecordDeletion second(folder / book, folder / "temp.$$$", kind);
        } catch (const text::FileBusy&) {
            return 0;
        }
        return 1;
    };
    {
        books::RecordDeletion walk(folder / "eng.dat", folder / "temp.$$$", engine::Book::words);
        walk.find("apple", {});
        EXPECT_EQ(other_process([&] { return walk_refused("eng.dat", engine::Book::words); }), 0);
        EXPECT_EQ(other_process([&] { return walk_refused("juso.dat", engine::Book::addresses); }), 0);
        EXPECT_EQ(other_process([&] {
                      return static_cast<int>(books::add_record(folder / "eng.dat", "pear", k("배")));
                  }),
                  static_cast<int>(books::AddResult::book_busy));
        EXPECT_EQ(other_process([&] {
                      return static_cast<int>(books::add_record(folder / "juso.dat", k("영희"), k("부산")));
                  }),
                  static_cast<int>(books::AddResult::added));
        walk.confirm({});  // apple is dropped
    }
    EXPECT_EQ(folder.read("eng.dat"), "grape\n포도\n");
    EXPECT_EQ(folder.read("juso.dat"), "철수\n서울\n영희\n부산\n");
    EXPECT_EQ(books::add_record(folder / "eng.dat", "pear", k("배")), books::AddResult::added);
}

}  // namespace
