// Writes the platform refuses: a full disk (a file size limit stands in for it) and a
// read-only program folder. The user is told, and no file on disk is changed or left half
// written.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>

#include "engine/free_talk_entry.h"
#include "settings/settings.h"
#include "support/temp_folder.h"
#include "text/file_error.h"

namespace {

using testing_support::k;
using testing_support::TempFolder;

// Files may not grow beyond `bytes` while it lives; a write past that fails with EFBIG, as on
// a full disk, instead of killing the process.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        old_handler_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, old_handler_);
    }

  private:
    rlimit old_{};
    sighandler_t old_handler_;
};

const char kIni[] = "; 내 설정\n[사용자정보]\n사람이름=철수\n";
const char kData4[] = "*안녕\n반가워\n";

engine::FreeTalkEntry long_entry() {
    return {k("긴 말"), {std::string(4000, 'x'), "", "", ""}};
}

std::size_t files_in(const TempFolder& folder) {
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++files;
    }
    return files;
}

TEST(RefusedWrite, AFullDiskChangesNoFile) {
    TempFolder folder;
    folder.write("dasom.ini", kIni);
    folder.write("data4.dat", kData4);
    const std::string ini = folder.read_bytes("dasom.ini");
    const std::string data4 = folder.read_bytes("data4.dat");
    settings::Settings values;
    values.history[0] = std::string(3000, 'y');
    {
        FileSizeLimit limit(1000);
        try {
            settings::write_settings(folder / "dasom.ini", values);
            ADD_FAILURE() << "the settings write should have failed";
        } catch (const settings::WriteRefused& refused) {
            // The path and the cause, in Korean (the size limit stands in for a full disk).
            EXPECT_EQ(std::string(refused.what()), "설정을 " + (folder / "dasom.ini").string() +
                                                       "에 쓰지 못했습니다 (파일이 허용된 크기를 "
                                                       "넘습니다).");
        }
        // Not caught by the dialog: the general report of a failed file operation.
        EXPECT_THROW(engine::add_free_talk(folder / "data4.dat", long_entry()), text::FileError);
    }
    EXPECT_EQ(folder.read_bytes("dasom.ini"), ini);
    EXPECT_EQ(folder.read_bytes("data4.dat"), data4);
    EXPECT_EQ(files_in(folder), 2u) << "a temporary file was left behind";
}

TEST(RefusedWrite, AReadOnlyFolderKeepsItsFiles) {
    TempFolder folder;
    folder.write("dasom.ini", kIni);
    folder.write("data4.dat", kData4);
    const std::string ini = folder.read_bytes("dasom.ini");
    const std::string data4 = folder.read_bytes("data4.dat");
    std::filesystem::permissions(
        folder.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::access(folder.path().c_str(), W_OK) == 0) GTEST_SKIP() << "running with full rights";

    EXPECT_THROW(settings::write_settings(folder / "dasom.ini", settings::Settings()),
                 settings::WriteRefused);
    EXPECT_EQ(folder.read_bytes("dasom.ini"), ini);
    {
        // A writable data4.dat in a read-only folder still takes the entry, appended in place,
        // but never half of one.
        FileSizeLimit limit(1000);
        EXPECT_THROW(engine::add_free_talk(folder / "data4.dat", long_entry()), text::FileError);
        EXPECT_EQ(folder.read_bytes("data4.dat"), data4);
    }
    EXPECT_EQ(engine::add_free_talk(folder / "data4.dat", {k("키"), {k("답"), "", "", ""}}),
              engine::FreeTalkResult::added);
    EXPECT_EQ(folder.read_bytes("data4.dat"), data4 + k("*키\r\n답\r\n"));
    std::filesystem::permissions(folder / "data4.dat", std::filesystem::perms::owner_read);
    EXPECT_EQ(engine::add_free_talk(folder / "data4.dat", {k("키"), {k("답"), "", "", ""}}),
              engine::FreeTalkResult::file_unavailable);
    EXPECT_EQ(files_in(folder), 2u);
}

}  // namespace
