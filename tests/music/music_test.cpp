#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "music/midi_file.h"
#include "music/midi_player.h"
#include "music_score.h"
#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;

constexpr int kRate = 44100;

// Two bars of 3/4 at 120 beats a minute: three seconds, 2880 ticks.
constexpr const char* kShortScore =
    "tempo 120\nmeter 3/4\n"
    "voice piano program 0 velocity 100\n| c4+e4+g4:h. | d4:q f4 a4 |\n";

std::string midi(std::string_view score) {
    return tools::midi_from_score(score, "test.score");
}

// -------------------------------------------------------------------------------------------
// The score compiler

TEST(MusicScore, MistakesNameTheirLine) {
    struct Row {
        const char* score;
        const char* where;
    };
    const Row rows[] = {
        {"tempo 90\n| c4:q |\n", "test.score:2"},                      // notes before a voice
        {"meter 3/4\nvoice a\n| c4:q d4 e4 f4 |\n", "test.score:3"},   // bar too long
        {"voice a\n| c4:w |\n\nvoice b\n| c4:h |\n", "test.score:5"},  // voices differ
        {"voice a\n| h4:w |\n", "test.score:2"},                       // no such pitch
        {"voice a\n| c4:x |\n", "test.score:2"},                       // no such length
        {"voice a program 300\n", "test.score:1"},                     // out of range
        {"voice a\n| c4:w\n", "test.score:2"},                         // last bar open
        {"", "test.score:0"},                                          // nothing at all
    };
    for (const Row& row : rows) {
        try {
            midi(row.score);
            ADD_FAILURE() << "no error for: " << row.score;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(row.where), std::string::npos)
                << row.score << " -> " << error.what();
        }
    }
}

TEST(MusicScore, WritesAFileEveryTrackOfWhichEndsTogether) {
    const std::string bytes = midi(kShortScore);
    ASSERT_TRUE(music::is_standard_midi_file(bytes));
    EXPECT_EQ(bytes.substr(8, 6), std::string("\0\1\0\2\1\xE0", 6));  // format 1, 2 tracks, 480
    // Both tracks end with the end-of-track event.
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\x2F'), 2);
}

// -------------------------------------------------------------------------------------------
// What counts as a MIDI file

TEST(MidiFile, OnlyWholeStandardMidiFilesOpen) {
    const std::string good = midi(kShortScore);
    struct Row {
        const char* name;
        std::string bytes;
        bool opens;
    };
    const Row rows[] = {
        {"good", good, true},
        {"empty", "", false},
        {"text", "music.dat화일\r\n", false},
        {"header only", good.substr(0, 14), false},
        {"cut short", good.substr(0, good.size() - 1), false},
        {"no tracks", good.substr(0, 10) + std::string("\0\0", 2) + good.substr(12), false},
        {"format 3", good.substr(0, 9) + "\3" + good.substr(10), false},
        {"huge track length", good.substr(0, 18) + "\x7F\xFF\xFF\xFF" + good.substr(22), false},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        EXPECT_EQ(music::is_standard_midi_file(row.bytes), row.opens) << row.name;
        folder.write_bytes("music.dat", row.bytes);
        EXPECT_EQ(music::MidiPlayer::open(folder / "music.dat") != nullptr, row.opens) << row.name;
    }
    EXPECT_EQ(music::MidiPlayer::open(folder / "missing.dat"), nullptr);
    EXPECT_EQ(music::MidiPlayer::open(folder.path()), nullptr);  // a folder
}

// -------------------------------------------------------------------------------------------
// The player, rendered offline: no audio output is ever opened.

class MidiPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(music::sound_font_path())) {
            GTEST_SKIP() << "no sound font at " << music::sound_font_path();
        }
    }

    std::unique_ptr<music::MidiPlayer> open(const std::filesystem::path& file) {
        auto player = music::MidiPlayer::open(file);
        std::string error;
        if (player) {
            EXPECT_TRUE(player->load_sound_font(music::sound_font_path(), error)) << error;
        }
        return player;
    }

    std::unique_ptr<music::MidiPlayer> open_short() {
        folder_.write_bytes("music.dat", midi(kShortScore));
        return open(folder_ / "music.dat");
    }

    // The loudest sample of the next `seconds` of sound.
    static int render_peak(music::MidiPlayer& player, double seconds) {
        std::vector<std::int16_t> samples(static_cast<std::size_t>(seconds * kRate) * 2);
        player.render(samples.data(), static_cast<int>(samples.size() / 2));
        int peak = 0;
        for (std::int16_t sample : samples) peak = std::max(peak, std::abs(int{sample}));
        return peak;
    }

    TempFolder folder_;
};

TEST_F(MidiPlayerTest, TheShippedMusicSoundsWithoutAnAudioOutput) {
    auto player = open(std::filesystem::path(DASOM_PROGRAM_DIR) / ".." / "data" / "music.dat");
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(player->output_running());
    player->play();
    EXPECT_GT(render_peak(*player, 3.0), 1000);
    // About a minute long: 72 quarters a minute, 24 bars of three.
    EXPECT_EQ(player->length(), 24 * 3 * 480);
}

TEST_F(MidiPlayerTest, NothingSoundsUntilPlayed) {
    auto player = open_short();
    ASSERT_NE(player, nullptr);
    EXPECT_LT(render_peak(*player, 1.0), 50);  // dither only
    EXPECT_EQ(player->position(), 0);
    EXPECT_FALSE(player->playing());
}

TEST_F(MidiPlayerTest, AStoppedPieceResumesWhereItStoppedAndNeverRestartsByItself) {
    auto player = open_short();
    ASSERT_NE(player, nullptr);
    player->play();
    render_peak(*player, 1.0);
    player->stop();
    const int stopped_at = player->position();
    EXPECT_GT(stopped_at, 700);  // a second at 960 ticks a second
    EXPECT_LT(stopped_at, 1200);

    // Long after, the piece is still where it stopped and has gone quiet.
    render_peak(*player, 5.0);
    EXPECT_EQ(player->position(), stopped_at);
    EXPECT_FALSE(player->playing());
    EXPECT_LT(render_peak(*player, 0.5), 50);

    // The chord held across the stop is not struck again; the next note comes half a second on.
    player->play();
    EXPECT_GT(render_peak(*player, 1.0), 1000);
    EXPECT_GT(player->position(), stopped_at + 700);
    EXPECT_LT(player->position(), stopped_at + 1200);
}

TEST_F(MidiPlayerTest, TheEndWrapsToTheStartForEver) {
    auto player = open_short();
    ASSERT_NE(player, nullptr);
    player->play();
    render_peak(*player, 2.5);
    for (int round = 0; round < 3; ++round) {
        const int late = player->position();
        EXPECT_GT(late, 2000) << round;
        EXPECT_GT(render_peak(*player, 1.0), 1000) << round;  // the start sounds again
        EXPECT_LT(player->position(), late) << round;
        EXPECT_TRUE(player->playing());
        render_peak(*player, 2.0);
    }
}

TEST_F(MidiPlayerTest, PlayBeforeTheSoundFontStartsOnceItIsLoaded) {
    folder_.write_bytes("music.dat", midi(kShortScore));
    auto player = music::MidiPlayer::open(folder_ / "music.dat");
    ASSERT_NE(player, nullptr);
    player->play();
    EXPECT_LT(render_peak(*player, 0.5), 50);
    std::string error;
    EXPECT_FALSE(player->load_sound_font(folder_ / "none.sf2", error));
    EXPECT_NE(error.find("none.sf2"), std::string::npos);
    ASSERT_TRUE(player->load_sound_font(music::sound_font_path(), error)) << error;
    EXPECT_GT(render_peak(*player, 0.5), 1000);
}

}  // namespace
