#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"
#include "text/folder_lock.h"
#include "text/line_writer.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using testing_support::TempFolder;

#ifndef _WIN32
// Two processes each add 1 to a number kept in a file, 300 times, through the replacing writer.
// Without the lock the read of one and the replace of the other interleave and counts are lost.
TEST(FolderLock, TwoProcessesReadingAndReplacingOneFileLoseNoUpdate) {
    TempFolder folder;
    folder.write_bytes("count", "0");
    const auto add_one = [&] {
        const text::FolderLock lock(folder.path());
        const int count = std::stoi(folder.read_bytes("count"));
        text::replace_file(folder / "count", std::to_string(count + 1));
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (int i = 0; i < 300; ++i) add_one();
        ::_exit(0);
    }
    for (int i = 0; i < 300; ++i) add_one();
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(folder.read_bytes("count"), "600");
}

// Another account can hold the lock as long as it likes: the wait is bounded, then the
// section runs unlocked instead of freezing the program.
TEST(FolderLock, ALockHeldForeverIsPassedOverAfterThePatience) {
    TempFolder folder;
    int held[2];
    ASSERT_EQ(::pipe(held), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        const text::FolderLock lock(folder.path());
        if (::write(held[1], "h", 1) != 1) ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    char ready = 0;
    ASSERT_EQ(::read(held[0], &ready, 1), 1);
    const text::FolderLock waited(folder.path(), std::chrono::milliseconds(100));
    EXPECT_FALSE(waited.held());
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    const text::FolderLock free(folder.path(), std::chrono::milliseconds(100));
    EXPECT_TRUE(free.held());
}

TEST(FolderLock, AFolderThatCannotBeOpenedRunsUnlocked) {
    TempFolder folder;
    const text::FolderLock lock(folder / "missing");
    EXPECT_FALSE(lock.held());
    const text::FolderLock other(folder.path());
    EXPECT_TRUE(other.held());
}
#endif

}  // namespace
