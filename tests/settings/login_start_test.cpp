#include "settings/login_start.h"
#include "settings/program_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;
namespace fs = std::filesystem;

std::string exec_line(const std::string& entry) {
    const std::size_t at = entry.find("\nExec=");
    if (at == std::string::npos) return {};
    return entry.substr(at + 6, entry.find('\n', at + 1) - at - 6);
}

bool have_validator() { return std::system("command -v desktop-file-validate >/dev/null") == 0; }

// desktop-file-validate's verdict on the entry file; empty when it finds nothing.
std::string validation_of(const fs::path& entry) {
    const fs::path report = entry.parent_path().parent_path() / "validation";
    const std::string command =
        "desktop-file-validate '" + entry.string() + "' > '" + report.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    std::string text;
    if (FILE* file = std::fopen(report.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
        std::fclose(file);
    }
    return status == 0 && text.empty() ? std::string() : text + "(status " + std::to_string(status) + ")";
}

// Program paths with every kind of character an Exec line must quote or escape, and the line
// the entry must hold for each.
TEST(LoginStart, TheEntryStartsTheProgramWhateverItsPathHolds) {
    const struct {
        std::string program;
        std::string exec;
    } cases[] = {
        {"/usr/bin/dasom", "/usr/bin/dasom"},
        {"/home/kim/내 프로그램/dasom", R"("/home/kim/내 프로그램/dasom")"},
        {R"(/opt/a"b$c`d\e/dasom)", R"("/opt/a\\"b\\$c\\`d\\\\e/dasom")"},
        {"/opt/100%/dasom", "/opt/100%%/dasom"},
    };
    TempFolder home;
    const fs::path folder = home / "autostart";
    for (const auto& c : cases) {
        settings::write_login_entry(folder, {c.program, "--folder", "/data/my folder"});
        const std::string entry = home.read_bytes("autostart/dasom.desktop");
        EXPECT_EQ(exec_line(entry), c.exec + R"( --folder "/data/my folder")") << c.program;
        if (have_validator()) {
            EXPECT_EQ(validation_of(folder / "dasom.desktop"), "") << entry;
        }
    }
    // A folder the entry needed is the user's alone.
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    if (!have_validator()) GTEST_SKIP() << "desktop-file-validate is not installed (scripts/install-deps)";
}

TEST(LoginStart, WritingReplacesALinkAtTheEntrysNameAndRemovingLeavesNothing) {
    TempFolder home;
    const fs::path folder = home / "autostart";
    EXPECT_FALSE(settings::login_entry_present(folder));
    EXPECT_NO_THROW(settings::remove_login_entry(folder));

    fs::create_directories(folder);
    home.write_bytes("elsewhere", "someone else's file");
    fs::create_symlink(home / "elsewhere", folder / "dasom.desktop");
    EXPECT_TRUE(settings::login_entry_present(folder));
    settings::write_login_entry(folder, {"/usr/bin/dasom"});
    EXPECT_EQ(home.read_bytes("elsewhere"), "someone else's file");
    EXPECT_FALSE(fs::is_symlink(folder / "dasom.desktop"));
    EXPECT_EQ(fs::status(folder / "dasom.desktop").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    settings::remove_login_entry(folder);
    EXPECT_FALSE(settings::login_entry_present(folder));
    EXPECT_THROW(settings::write_login_entry(folder, {"/usr/bin/da\nsom"}), std::invalid_argument);
}

TEST(LoginStart, TheFolderOptionOnlyWhereTheProgramWouldNotChooseTheFolderItself) {
    TempFolder root;
    const fs::path portable = root / "portable";
    fs::create_directories(portable);
    root.write_bytes("portable/data1.dat", "keywords");
    const auto command = [](const fs::path& program, const fs::path& folder) {
        return settings::login_command(program, folder);
    };
    EXPECT_EQ(command(portable / "dasom", portable / ""), std::vector<std::string>{(portable / "dasom").string()});
    EXPECT_EQ(command(portable / "dasom", root / "other"),
              (std::vector<std::string>{(portable / "dasom").string(), "--folder", (root / "other").string()}));
    // An installed program (no data beside it) on the user's own folder.
    const fs::path user = settings::user_data_folder();
    EXPECT_EQ(command(root / "usr/bin/dasom", user).size(), 1u);
    EXPECT_EQ(command(portable / "dasom", user).size(), 3u);
}

}  // namespace
