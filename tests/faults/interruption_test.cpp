// A program killed at a random moment of a write leaves the old file or the new one, whole:
// never a missing, empty or half-written file. Each test kills a writing child many times
// ($DASOM_KILL_TRIALS, 250 by default; docs/figures.md shows a run of 1000) and looks at the
// file after every kill. The files lie in memory (/dev/shm) where there is one: a disk's flush
// would make each trial last milliseconds, and what a kill leaves behind does not depend on
// the disk.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "engine/free_talk_entry.h"
#include "faults/kill_trials.h"
#include "settings/settings.h"
#include "support/temp_folder.h"

namespace {

using testing_support::k;
using testing_support::TempFolder;

class Interruption : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (::access("/dev/shm", W_OK) == 0) ::setenv("TMPDIR", "/dev/shm", 1);
    }
};

// The child writes over and over: a delay of many writes lets the kill land at any moment of
// one, even when the child is slow to get going on a busy machine.
std::chrono::nanoseconds longest_delay(std::chrono::nanoseconds write) {
    return std::max<std::chrono::nanoseconds>(20 * write, std::chrono::milliseconds(2));
}

TEST_F(Interruption, SettingsWriteLeavesTheOldOrTheNewFile) {
    TempFolder folder;
    const auto file = folder / settings::kFileName;
    folder.write("dasom.ini", "; 직접 적은 줄\n[사용자정보]\n사람이름=철수\n[다른것]\n키=값\n");
    settings::Settings a;
    settings::Settings b;
    b.user_name = k("영희");
    b.mood = -40;
    b.history[0] = std::string(300, 'x');
    settings::write_settings(file, b);
    const std::string new_bytes = folder.read_bytes("dasom.ini");
    settings::write_settings(file, a);
    const std::string old_bytes = folder.read_bytes("dasom.ini");
    ASSERT_NE(old_bytes, new_bytes);

    const auto write = faults::time_of([&] { settings::write_settings(file, a); });
    std::mt19937 random(12);
    const int trials = faults::trial_count(250);
    int inside = 0;
    for (int trial = 0; trial < trials; ++trial) {
        faults::run_and_kill([&](long n) { settings::write_settings(file, n % 2 == 0 ? b : a); },
                             longest_delay(write), random);
        const std::string now = folder.read_bytes("dasom.ini");
        ASSERT_TRUE(now == old_bytes || now == new_bytes) << "trial " << trial << ": " << now;
        // A kill inside the write leaves its temporary file (dasom.ini.new~ and six letters).
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            if (entry.path().filename().string().rfind("dasom.ini.new~", 0) == 0) {
                ++inside;
                std::filesystem::remove(entry.path());
            }
        }
        // The next trial starts from the old file again.
        folder.write_bytes("dasom.ini", old_bytes);
    }
    std::printf("%d kills, %d of them while a temporary file was being written\n", trials, inside);
}

TEST_F(Interruption, FreeTalkAppendLeavesWholeEntries) {
    TempFolder folder;
    // The last line has no line end: the first entry must start on a line of its own.
    const std::string old_bytes = k("*안녕\r\n반가워");
    folder.write_bytes("data4.dat", old_bytes);
    const auto entry = [](long n) {
        return engine::FreeTalkEntry{k("배운 말 ") + std::to_string(n),
                                     {k("대답 ") + std::to_string(n), "", "again", ""}};
    };
    const auto entry_bytes = [&](long n) {
        const engine::FreeTalkEntry e = entry(n);
        return "*" + e.key + "\r\n" + e.replies[0] + "\r\n" + e.replies[2] + "\r\n";
    };
    // Old contents, then whole entries 0, 1, 2, ... and nothing else.
    const auto whole_entries = [&](const std::string& bytes) {
        if (bytes == old_bytes) return true;
        std::string expected = old_bytes + "\r\n";
        for (long n = 0; expected.size() < bytes.size(); ++n) expected += entry_bytes(n);
        return bytes == expected;
    };

    const auto path = folder / "data4.dat";
    const auto write = faults::time_of([&] {
        engine::add_free_talk(path, entry(0));
        folder.write_bytes("data4.dat", old_bytes);
    });
    std::mt19937 random(34);
    const int trials = faults::trial_count(250);
    int appended = 0;
    for (int trial = 0; trial < trials; ++trial) {
        faults::run_and_kill(
            [&](long n) {
                if (engine::add_free_talk(path, entry(n)) != engine::FreeTalkResult::added) {
                    throw std::runtime_error("refused");
                }
            },
            longest_delay(write), random);
        const std::string now = folder.read_bytes("data4.dat");
        ASSERT_TRUE(whole_entries(now)) << "trial " << trial << ": " << now;
        if (now != old_bytes) ++appended;
        folder.write_bytes("data4.dat", old_bytes);
    }
    std::printf("%d kills, %d after at least one whole entry\n", trials, appended);
}

}  // namespace
