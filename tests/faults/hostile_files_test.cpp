// What another local account can do to a program folder it may write into: links planted at
// the names the writers use, and special or huge files put where the readers look. No writer
// changes a file outside the folder (but a book or settings file the user linked there, at its
// target), every writer keeps the bits and owner of what it replaces, and no reader blocks,
// fills memory or gives up without naming the file.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>

#include "books/lookup.h"
#include "books/record_deletion.h"
#include "books/record_entry.h"
#include "engine/fake_host.h"
#include "engine/free_talk_entry.h"
#include "settings/settings.h"
#include "text/file_error.h"
#include "text/line_reader.h"
#include "text/line_writer.h"

namespace {

namespace fs = std::filesystem;
using testing_support::k;
using testing_support::TempFolder;

// Another local account, for links and files it owns.
constexpr uid_t kOtherAccount = 1002;

struct Writer {
    const char* name;
    const char* writes;  // the file it replaces, or nullptr
    std::function<void(const fs::path& folder)> write;
};

void delete_apple(const fs::path& folder, bool confirm) {
    books::RecordDeletion walk(folder / "eng.dat", folder / "temp.$$$", engine::Book::words);
    walk.find("apple", {});
    if (confirm) {
        walk.confirm({});
    } else {
        walk.cancel();
    }
}

const Writer kWriters[] = {
    {"settings", "dasom.ini",
     [](const fs::path& f) {
         settings::Settings values;
         values.user_name = k("영희");
         settings::write_settings(f / "dasom.ini", values);
     }},
    {"free-talk append", "data4.dat",
     [](const fs::path& f) {
         if (engine::add_free_talk(f / "data4.dat", {k("키"), {k("답"), "", "", ""}}) !=
             engine::FreeTalkResult::added)
             throw text::FileError(f / "data4.dat", "not added");
     }},
    {"record append", "eng.dat",
     [](const fs::path& f) {
         if (books::add_record(f / "eng.dat", "pear", k("배")) != books::AddResult::added)
             throw text::FileError(f / "eng.dat", "not added");
     }},
    {"deletion confirmed", "eng.dat", [](const fs::path& f) { delete_apple(f, true); }},
    {"deletion cancelled", nullptr, [](const fs::path& f) { delete_apple(f, false); }},
    {"editor save", "data2.dat", [](const fs::path& f) { text::replace_file(f / "data2.dat", "x\r\n"); }},
};

std::map<std::string, std::string> contents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] = text::read_file(entry.path());
    }
    return files;
}

struct Folders {
    TempFolder program;
    TempFolder outside;
    Folders() {
        program.write("dasom.ini", "[사용자정보]\n사람이름=철수\n");
        program.write("data4.dat", "*안녕\n반가워\n");
        program.write("eng.dat", "apple\n사과\ngrape\n포도\n");
        program.write("data2.dat", "*[1] [] [] [1] [0]\n안녕\n");
        outside.write_bytes("victim", "someone else's file\n");
    }
    // Puts `name` outside and a link to it in its place.
    void link_out(const std::string& name) const {
        fs::rename(program / name, outside / name);
        fs::create_symlink(outside / name, program / name);
    }
};

enum class Plant { temp_names, own_book_link, own_settings_link, foreign_book_link };

struct Planting {
    const char* name;
    Plant plant;
};
void PrintTo(const Planting& row, std::ostream* out) { *out << row.name; }

class PlantedLinks : public ::testing::TestWithParam<Planting> {};

TEST_P(PlantedLinks, NoWriterChangesAFileOutsideTheFolder) {
    const Planting& row = GetParam();
    if (row.plant == Plant::foreign_book_link && ::geteuid() != 0) {
        GTEST_SKIP() << "only root can make a link owned by another account";
    }
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.name);
        Folders f;
        std::string linked;  // the file the user (or another account) keeps outside
        switch (row.plant) {
            case Plant::temp_names:
                // The deletion dialog's name and the fixed names earlier writers used.
                for (const char* name : {"temp.$$$", "dasom.ini.new~", "data4.dat.new~",
                                         "eng.dat.new~", "data2.dat.new~"}) {
                    fs::create_symlink(f.outside / "victim", f.program / name);
                }
                break;
            case Plant::own_book_link: linked = "eng.dat"; break;
            case Plant::own_settings_link: linked = "dasom.ini"; break;
            case Plant::foreign_book_link: linked = "eng.dat"; break;
        }
        if (!linked.empty()) f.link_out(linked);
        if (row.plant == Plant::foreign_book_link) {
            ASSERT_EQ(::lchown((f.program / linked).c_str(), kOtherAccount, kOtherAccount), 0);
        }
        const auto before = contents(f.outside.path());

        bool refused = false;
        try {
            writer.write(f.program.path());
        } catch (const text::FileError& error) {
            refused = true;
            if (row.plant != Plant::foreign_book_link) ADD_FAILURE() << error.what();
        }

        const bool writes_linked = writer.writes && linked == writer.writes;
        const auto after = contents(f.outside.path());
        ASSERT_EQ(after.size(), before.size()) << "a file appeared outside the folder";
        for (const auto& [name, bytes] : before) {
            if (name == linked && writes_linked && row.plant != Plant::foreign_book_link) {
                EXPECT_NE(after.at(name), bytes) << name << " is written where the link points";
                EXPECT_TRUE(fs::is_symlink(f.program / name)) << "the link stays";
            } else {
                EXPECT_EQ(after.at(name), bytes) << name << " outside the folder changed";
            }
        }
        // Reading through another account's link is harmless; writing through it is refused.
        if (row.plant == Plant::foreign_book_link) {
            EXPECT_EQ(refused, writes_linked);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlantedLinks,
    ::testing::Values(Planting{"links at the temporary names", Plant::temp_names},
                      Planting{"the book is the user's link", Plant::own_book_link},
                      Planting{"dasom.ini is the user's link", Plant::own_settings_link},
                      Planting{"the book is another account's link", Plant::foreign_book_link}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(ReplacedFiles, KeepTheirPermissionBitsAndOwner) {
    for (const Writer& writer : kWriters) {
        if (!writer.writes) continue;
        SCOPED_TRACE(writer.name);
        Folders f;
        const fs::path file = f.program / writer.writes;
        ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
        const bool root = ::geteuid() == 0;
        if (root) {
            ASSERT_EQ(::chown(file.c_str(), 1001, 1003), 0);
        }
        const std::string old_bytes = text::read_file(file);
        writer.write(f.program.path());
        struct stat status;
        ASSERT_EQ(::stat(file.c_str(), &status), 0);
        EXPECT_NE(text::read_file(file), old_bytes);
        EXPECT_EQ(status.st_mode & 07777, 0640u);
        if (root) {
            EXPECT_EQ(status.st_uid, 1001u);
            EXPECT_EQ(status.st_gid, 1003u);
        }
    }
}

TEST(ReplacedFiles, ThePrivateBooksRebuildIsNeverReadableByOthers) {
    Folders f;
    ASSERT_EQ(::chmod((f.program / "eng.dat").c_str(), 0600), 0);
    books::RecordDeletion walk(f.program / "eng.dat", f.program / "temp.$$$", engine::Book::words);
    walk.find("grape", {});
    struct stat status;
    ASSERT_EQ(::stat((f.program / "temp.$$$").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 077, 0u);
}

// ---------------------------------------------------------------------------------------------
// Special and huge files where a reader looks.

enum class Special { fifo, endless_device, sparse_2gb, folder };

struct Reader {
    const char* name;
    const char* file;
    std::function<void(const fs::path& folder)> read;
};

const Reader kReaders[] = {
    {"line reader (data files)", "data1.dat",
     [](const fs::path& f) {
         text::LineReader lines(f / "data1.dat");
         while (!lines.at_end()) lines.skip_line();
     }},
    {"whole file (rabbit.dat)", "rabbit.dat", [](const fs::path& f) { text::read_file(f / "rabbit.dat"); }},
    {"settings", "dasom.ini",
     [](const fs::path& f) {
         std::string problem;
         const settings::Settings values = settings::read_settings(f / "dasom.ini", &problem);
         EXPECT_EQ(values.user_name, settings::Settings().user_name);
         if (!problem.empty()) throw std::runtime_error(problem);
     }},
    {"word lookup", "eng.dat",
     [](const fs::path& f) {
         testing_support::FakeHost host;
         host.answers.push_back("a");
         books::search_word_book(f, host, true);
     }},
    {"deletion walk", "eng.dat", [](const fs::path& f) { delete_apple(f, false); }},
    {"free-talk append", "data4.dat", kWriters[1].write},
    {"settings write", "dasom.ini", kWriters[0].write},
};

TEST(SpecialFiles, AreRefusedAtOnceWithTheirNameAndNeverWaitedOn) {
    // A reader that blocks on a FIFO would hang the test: the alarm ends it instead.
    ::alarm(60);
    for (const Special special : {Special::fifo, Special::endless_device, Special::sparse_2gb,
                                  Special::folder}) {
        for (const Reader& reader : kReaders) {
            SCOPED_TRACE(std::string(reader.name) + " on kind " +
                         std::to_string(static_cast<int>(special)));
            TempFolder folder;
            const fs::path file = folder / reader.file;
            switch (special) {
                case Special::fifo: ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); break;
                case Special::endless_device: fs::create_symlink("/dev/zero", file); break;
                case Special::sparse_2gb:
                    folder.write_bytes(reader.file, "");
                    ASSERT_EQ(::truncate(file.c_str(), 2LL << 30), 0);
                    break;
                case Special::folder: fs::create_directory(file); break;
            }
            try {
                reader.read(folder.path());
                // Only a lookup reads a book it cannot open (a folder) as empty.
                EXPECT_TRUE(special == Special::folder && std::string(reader.name) == "word lookup");
            } catch (const std::exception& error) {
                EXPECT_NE(std::string(error.what()).find(reader.file), std::string::npos)
                    << error.what();
            }
        }
    }
    ::alarm(0);
}

}  // namespace
