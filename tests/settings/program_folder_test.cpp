#include "settings/program_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/temp_folder.h"

namespace {

using settings::choose_program_folder;
using testing_support::TempFolder;
namespace fs = std::filesystem;

// An installed copy inside a temporary folder: programs in prefix/bin, defaults in
// prefix/share/dasom, the user's folder under home/.
struct Layout {
    TempFolder root;
    fs::path bin = root / "prefix/bin";
    fs::path defaults = root / "prefix/share/dasom";
    fs::path user = root / "home/.local/share/dasom";

    Layout() {
        fs::create_directories(bin);
        fs::create_directories(defaults);
        root.write_bytes("prefix/share/dasom/data1.dat", "keywords");
        root.write_bytes("prefix/share/dasom/mal.dat", "1\r\nmonologue\r\n");
    }
    settings::FolderPlaces places() const { return {std::nullopt, bin, user}; }
};

const auto kReadOnly = [](const fs::path&) { return false; };

TEST(ProgramFolder, AnInstalledCopyFillsTheUsersFolderOnceAndKeepsItsFiles) {
    Layout layout;
    EXPECT_EQ(choose_program_folder(layout.places()).folder, layout.user);
    EXPECT_EQ(layout.root.read_bytes("home/.local/share/dasom/mal.dat"), "1\r\nmonologue\r\n");

    // The user's edit and settings stay; a default that came with an upgrade is added.
    layout.root.write_bytes("home/.local/share/dasom/mal.dat", "mine");
    layout.root.write_bytes("home/.local/share/dasom/dasom.ini", "[Window]\r\n");
    layout.root.write_bytes("prefix/share/dasom/music.dat", "MThd");
    const settings::ProgramFolder again = choose_program_folder(layout.places());
    EXPECT_EQ(again.folder, layout.user);
    EXPECT_TRUE(again.problem.empty());
    EXPECT_EQ(layout.root.read_bytes("home/.local/share/dasom/mal.dat"), "mine");
    EXPECT_EQ(layout.root.read_bytes("home/.local/share/dasom/music.dat"), "MThd");
    EXPECT_FALSE(fs::exists(layout.defaults / "dasom.ini"));
    EXPECT_EQ(settings::fill_folder(layout.defaults, layout.user), 0);
}

TEST(ProgramFolder, TheProgramsOwnFolderServesWhenItHoldsTheDataAndIsWritable) {
    Layout layout;
    layout.root.write_bytes("prefix/bin/data1.dat", "portable");
    EXPECT_EQ(choose_program_folder(layout.places()).folder, layout.bin);
    EXPECT_FALSE(fs::exists(layout.user));

    // Read-only: the user's folder instead, filled from the defaults.
    EXPECT_EQ(choose_program_folder(layout.places(), kReadOnly).folder, layout.user);
    EXPECT_EQ(layout.root.read_bytes("home/.local/share/dasom/data1.dat"), "keywords");

    // No defaults installed beside it: it is still the only folder with the data.
    TempFolder alone;
    alone.write_bytes("data1.dat", "x");
    EXPECT_EQ(choose_program_folder({std::nullopt, alone.path(), layout.user}, kReadOnly).folder,
              alone.path());
}

TEST(ProgramFolder, TheFolderOptionWinsOverBoth) {
    Layout layout;
    layout.root.write_bytes("prefix/bin/data1.dat", "portable");
    settings::FolderPlaces places = layout.places();
    places.requested = layout.root / "chosen";
    for (const auto& writable : {settings::folder_writable, +kReadOnly}) {
        EXPECT_EQ(choose_program_folder(places, writable).folder, layout.root / "chosen");
    }
    EXPECT_FALSE(fs::exists(layout.root / "chosen"));  // used as it is, not filled
    EXPECT_FALSE(fs::exists(layout.user));
}

TEST(ProgramFolder, WithoutAUserFolderTheDefaultsAreOnlyRead) {
    for (const bool home_is_a_file : {true, false}) {
        Layout layout;
        settings::FolderPlaces places = layout.places();
        if (home_is_a_file) {
            layout.root.write_bytes("home", "a file where the folder should be");
        } else {
            places.user_folder.clear();  // neither HOME nor XDG_DATA_HOME
        }
        const settings::ProgramFolder chosen = choose_program_folder(places);
        EXPECT_EQ(chosen.folder, layout.defaults);
        EXPECT_TRUE(chosen.defaults_only);
        EXPECT_EQ(chosen.problem.rfind("사용자 폴더", 0), 0u) << chosen.problem;
    }
    const Layout layout;
    EXPECT_FALSE(settings::folder_writable(layout.root / "missing"));
    EXPECT_TRUE(settings::folder_writable(layout.root.path()));
}

#ifndef _WIN32
TEST(ProgramFolder, UserDataFolderFollowsXdgDataHome) {
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string restore = saved ? saved : "";
    setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(settings::user_data_folder(), fs::path("/data/home/dasom"));
    setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
    setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/root", 1);
    EXPECT_EQ(settings::user_data_folder(), fs::path(std::getenv("HOME")) / ".local/share/dasom");
    if (saved) setenv("XDG_DATA_HOME", restore.c_str(), 1); else unsetenv("XDG_DATA_HOME");
}
#endif

}  // namespace
