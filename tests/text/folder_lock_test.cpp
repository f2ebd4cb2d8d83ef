#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"
#include "text/folder_lock.h"
#include "text/line_writer.h"

#ifndef _WIN32
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

TEST(FolderLock, AFolderThatCannotBeOpenedRunsUnlocked) {
    TempFolder folder;
    const text::FolderLock lock(folder / "missing");
    EXPECT_FALSE(lock.held());
    const text::FolderLock other(folder.path());
    EXPECT_TRUE(other.held());
}
#endif

}  // namespace
