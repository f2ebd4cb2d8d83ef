#include "books/record_deletion.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <random>
#include <sstream>
#include <thread>

#include "support/temp_folder.h"
#include "text/codec.h"
#include "text/file_error.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using books::Record;
using books::RecordDeletion;
using engine::Book;
using testing_support::cp949_lines;
using testing_support::k;
using testing_support::TempFolder;

// Plays the dialog: its two boxes and its buttons, as the user presses them.
struct Dialog {
    TempFolder& folder;
    RecordDeletion walk;
    Record boxes;
    std::string shown;  // what each find left in the boxes, "[name/mean]"

    Dialog(TempFolder& f, const char* book, Book kind)
        : folder(f), walk(f / book, f / "temp.$$$", kind) {}

    // One step: "find TEXT", "del", "name=TEXT", "mean=TEXT", "confirm", "cancel" (UTF-8).
    void press(const std::string& step) {
        if (step.rfind("find ", 0) == 0) {
            const RecordDeletion::Found found = walk.find(k(step.substr(5)), boxes);
            if (found.pending_written) boxes = {};
            if (found.record) boxes = *found.record;
            shown += "[" + text::to_utf8(boxes.name) + "/" + text::to_utf8(boxes.mean) + "]";
        } else if (step == "del") {
            boxes = {};
        } else if (step.rfind("name=", 0) == 0) {
            boxes.name = k(step.substr(5));
        } else if (step.rfind("mean=", 0) == 0) {
            boxes.mean = k(step.substr(5));
        } else if (step == "confirm") {
            walk.confirm(boxes);
        } else if (step == "cancel") {
            walk.cancel();
        }
    }
};

struct Walk {
    const char* name;
    Book kind;
    const char* book;    // UTF-8, LF
    std::vector<std::string> steps;  // ending without confirm or cancel: the close box
    const char* shown;
    const char* after;   // UTF-8, LF; nullptr: byte for byte as before
};
void PrintTo(const Walk& row, std::ostream* out) { *out << row.name; }

const char* kCommands = "메모장\nmousepad\n계산기\ngalculator\n그림판\nkolourpaint\n";
const char* kWords = "grape\n포도\napple\n사과\napplication\n응용\n";

const Walk kWalks[] = {
    {"find, delete, confirm", Book::commands, kCommands, {"find 계산", "del", "confirm"},
     "[계산기/galculator]", "메모장\nmousepad\n그림판\nkolourpaint\n"},
    {"a word is found by its beginning only", Book::words, kWords, {"find ap", "cancel"},
     "[apple/사과]", nullptr},
    {"an address name by any part", Book::addresses, "김동수\n서울\n동희\n부산\n",
     {"find 동", "cancel"}, "[김동수/서울]", nullptr},
    {"the same find twice shows the next match and writes the first back", Book::words, kWords,
     {"find app", "find app", "confirm"}, "[apple/사과][application/응용]", kWords},
    {"a find past the end shows empty boxes", Book::words, kWords,
     {"find grape", "del", "find zz", "find zz", "confirm"}, "[grape/포도][/][/]",
     "apple\n사과\napplication\n응용\n"},
    {"the walk never turns back", Book::words, kWords, {"find apple", "find grape", "confirm"},
     "[apple/사과][/]", kWords},
    {"confirm alone rewrites the same lines", Book::commands, kCommands, {"confirm"}, "",
     kCommands},
    {"an edited meaning is kept", Book::addresses, "철수\n인천\n영희\n대구\n",
     {"find 철", "mean=인천 남동구", "confirm"}, "[철수/인천]", "철수\n인천 남동구\n영희\n대구\n"},
    {"an emptied meaning drops the record", Book::addresses, "철수\n인천\n영희\n대구\n",
     {"find 영", "mean=", "confirm"}, "[영희/대구]", "철수\n인천\n"},
    {"typed boxes are written at the walk's place", Book::words, kWords,
     {"find apple", "del", "name=banana", "mean=바나나", "find zz", "confirm"}, "[apple/사과][/]",
     "grape\n포도\nbanana\n바나나\napplication\n응용\n"},
    {"cancel leaves the book", Book::commands, kCommands, {"find 계산", "del", "cancel"},
     "[계산기/galculator]", nullptr},
    {"the close box leaves the book", Book::commands, kCommands, {"find 계산", "del"},
     "[계산기/galculator]", nullptr},
    {"a lone last line is copied by confirm", Book::words, "apple\n사과\nkiwi",
     {"find apple", "confirm"}, "[apple/사과]", "apple\n사과\nkiwi\n"},
    {"a lone last line passed by a find gains an empty line", Book::words, "apple\n사과\nkiwi",
     {"find zz", "confirm"}, "[/]", "apple\n사과\nkiwi\n\n"},
    {"a lone last line found is dropped", Book::words, "apple\n사과\nkiwi",
     {"find ki", "confirm"}, "[kiwi/]", "apple\n사과\n"},
};

class DeletionWalk : public ::testing::TestWithParam<Walk> {};

TEST_P(DeletionWalk, RebuildsTheBookOrLeavesItByteForByte) {
    const Walk& row = GetParam();
    TempFolder folder;
    const char* file = row.kind == Book::words ? "eng.dat" : "juso.dat";
    // An old temporary file is truncated by the set-up.
    folder.write_bytes("temp.$$$", "left over");
    folder.write(file, row.book);
    const std::string before = folder.read_bytes(file);
    std::string shown;
    {
        Dialog dialog(folder, file, row.kind);
        for (const std::string& step : row.steps) dialog.press(step);
        shown = dialog.shown;
    }
    EXPECT_EQ(shown, row.shown);
    EXPECT_EQ(folder.read_bytes(file), row.after ? cp949_lines(row.after) : before);
    EXPECT_FALSE(std::filesystem::exists(folder / "temp.$$$"));
}

INSTANTIATE_TEST_SUITE_P(Rows, DeletionWalk, ::testing::ValuesIn(kWalks));

TEST(DeletionFailure, MissingBookFailsTheSetUpAndCreatesNothing) {
    TempFolder folder;
    EXPECT_THROW(RecordDeletion(folder / "juso.dat", folder / "temp.$$$", Book::addresses),
                 text::FileError);
    EXPECT_FALSE(std::filesystem::exists(folder / "temp.$$$"));
    EXPECT_FALSE(std::filesystem::exists(folder / "juso.dat"));
}

TEST(DeletionFailure, ALostTemporaryFileStopsTheWalkAndTheBookStays) {
    TempFolder folder;
    folder.write("eng.dat", kWords);
    const std::string before = folder.read_bytes("eng.dat");
    RecordDeletion walk(folder / "eng.dat", folder / "temp.$$$", Book::words);
    std::filesystem::remove(folder / "temp.$$$");
    // The record read before the failure never reached the copy: confirming must not drop it.
    EXPECT_THROW(walk.find(k("app"), {}), text::FileError);
    EXPECT_FALSE(walk.usable());
    EXPECT_THROW(walk.confirm({}), text::FileError);
    EXPECT_EQ(folder.read_bytes("eng.dat"), before);
}

#ifndef _WIN32
// The confirmation is killed at random moments; afterwards the book must be the old one or the
// new one, whole, every time.
TEST(DeletionInterrupted, KilledConfirmLeavesTheOldOrTheNewBookWhole) {
    TempFolder folder;
    std::ostringstream book;
    for (int i = 0; i < 3000; ++i) book << "이름" << i << "\n주소 " << i << "번지\n";
    folder.write("juso.dat", book.str());
    const std::string old_book = folder.read_bytes("juso.dat");
    std::string new_book = old_book;
    {
        const std::string dropped = k("이름1500\r\n주소 1500번지\r\n");
        new_book.erase(new_book.find(dropped), dropped.size());
    }

    // How long one confirmation takes here, to spread the kills over it.
    auto started = std::chrono::steady_clock::now();
    {
        RecordDeletion walk(folder / "juso.dat", folder / "temp.$$$", Book::addresses);
        walk.confirm({});
    }
    const auto confirm_us = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - started)
                                .count();
    ASSERT_EQ(folder.read_bytes("juso.dat"), old_book);

    std::mt19937 random(20261208);
    std::uniform_int_distribution<long> delay(0, 2 * confirm_us + 50);
    int old_whole = 0, new_whole = 0, other = 0;
    constexpr int kTrials = 400;
    for (int trial = 0; trial < kTrials; ++trial) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            try {
                RecordDeletion walk(folder / "juso.dat", folder / "temp.$$$", Book::addresses);
                const RecordDeletion::Found found = walk.find(k("이름1500"), {});
                (void)found;
                const char go = 1;
                if (::write(ready[1], &go, 1) != 1) ::_exit(3);
                walk.confirm({});  // the found record is dropped
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        char go = 0;
        const bool signalled = ::read(ready[0], &go, 1) == 1;
        ::close(ready[0]);
        if (signalled) std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        const std::string now = folder.read_bytes("juso.dat");
        if (now == old_book) {
            ++old_whole;
        } else if (now == new_book) {
            ++new_whole;
            folder.write_bytes("juso.dat", old_book);
        } else {
            ++other;
            folder.write_bytes("juso.dat", old_book);
        }
    }
    std::cout << "interruption trials: " << kTrials << ", confirmation " << confirm_us
              << " us; old book whole " << old_whole << ", new book whole " << new_whole
              << ", anything else " << other << "\n";
    EXPECT_EQ(other, 0);
    EXPECT_EQ(old_whole + new_whole, kTrials);
}
#endif

}  // namespace
