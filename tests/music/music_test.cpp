#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <vector>

#include "music/midi_file.h"
#include "music/midi_player.h"
#include "music/rendered_piece.h"
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

// A format 0 file of one track holding `events`, 480 ticks a quarter.
std::string one_track(const std::string& events, const std::string& division = "\x01\xE0") {
    const auto size = static_cast<char>(events.size());
    return std::string("MThd\0\0\0\6\0\0\0\1", 12) + division + std::string("MTrk\0\0\0", 7) +
           size + events;
}

TEST(MidiFile, OnlyWholeStandardMidiFilesWithASoundingNoteOpen) {
    const std::string good = midi(kShortScore);
    const std::string end_of_track("\0\xFF\x2F\0", 4);
    struct Row {
        const char* name;
        std::string bytes;
        bool standard;  // a Standard MIDI File by its chunks
        bool opens;
    };
    const Row rows[] = {
        {"good", good, true, true},
        {"empty", "", false, false},
        {"text", "music.dat화일\r\n", false, false},
        {"header only", good.substr(0, 14), false, false},
        {"cut short", good.substr(0, good.size() - 1), false, false},
        {"no tracks", good.substr(0, 10) + std::string("\0\0", 2) + good.substr(12), false, false},
        {"format 3", good.substr(0, 9) + "\3" + good.substr(10), false, false},
        {"huge track length", good.substr(0, 18) + "\x7F\xFF\xFF\xFF" + good.substr(22), false,
         false},
        // Pieces that would loop in no time at all.
        {"only an end of track", one_track(end_of_track), true, false},
        {"a note-on without end of track", one_track(std::string("\0\x90\x3C\x64", 4)), true,
         false},
        {"a track of 0xFF bytes", one_track(std::string(200, '\xFF')), true, false},
        {"a note that ends where it starts",
         one_track(std::string("\0\x90\x3C\x64\0\x80\x3C\x40", 8) + end_of_track), true, false},
        {"data without a status", one_track(std::string("\0\x3C\x64", 3) + end_of_track), true,
         false},
        {"time in frames a second",
         one_track(std::string("\0\x90\x3C\x64\x83\x60\x80\x3C\x40", 9) + end_of_track, "\xE7\x28"),
         true, false},
        // A note left sounding to the end of the piece sounds.
        {"a note without its note-off",
         one_track(std::string("\0\x90\x3C\x64\x83\x60\xFF\x2F\0", 9)), true, true},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        EXPECT_EQ(music::is_standard_midi_file(row.bytes), row.standard) << row.name;
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

    // The player for `file` with its sound rendered.
    std::unique_ptr<music::MidiPlayer> open(const std::filesystem::path& file) {
        auto player = music::MidiPlayer::open(file);
        if (player) {
            std::string error;
            auto piece = music::render_piece(player->midi(), music::sound_font_path(), kRate,
                                             never_cancel_, error);
            EXPECT_TRUE(piece) << error;
            if (piece) player->set_sound(std::move(*piece));
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
        player.read(samples.data(), static_cast<int>(samples.size() / 2));
        int peak = 0;
        for (std::int16_t sample : samples) peak = std::max(peak, std::abs(int{sample}));
        return peak;
    }

    TempFolder folder_;
    const std::atomic<bool> never_cancel_{false};
};

TEST_F(MidiPlayerTest, TheShippedMusicSoundsWithoutAnAudioOutput) {
    auto player = open(std::filesystem::path(DASOM_PROGRAM_DIR) / ".." / "data" / "music.dat");
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(player->output_running());
    // A minute long, where the piece loops: 72 quarters a minute (833333 microseconds each),
    // 24 bars of three.
    EXPECT_NEAR(player->length(), 60 * kRate, 1);
    player->play();
    EXPECT_GT(render_peak(*player, 3.0), 1000);
    // No gap where it loops: the last notes ring into the first ones.
    render_peak(*player, 56.9);
    EXPECT_GT(render_peak(*player, 0.1), 300);
    EXPECT_GT(render_peak(*player, 0.1), 300);
    EXPECT_LT(player->position(), kRate);
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
    render_peak(*player, 0.1);  // the fade
    const auto stopped_at = player->position();
    EXPECT_GE(stopped_at, kRate);
    EXPECT_LT(stopped_at, kRate + kRate / 10);

    // Long after, the piece is still where it stopped and has gone quiet.
    render_peak(*player, 5.0);
    EXPECT_EQ(player->position(), stopped_at);
    EXPECT_FALSE(player->playing());
    EXPECT_LT(render_peak(*player, 0.5), 50);

    player->play();
    EXPECT_GT(render_peak(*player, 1.0), 1000);
    EXPECT_EQ(player->position(), stopped_at + kRate);
}

TEST_F(MidiPlayerTest, TheEndWrapsToTheStartForEver) {
    auto player = open_short();
    ASSERT_NE(player, nullptr);
    player->play();
    render_peak(*player, 2.5);
    for (int round = 0; round < 3; ++round) {
        const auto late = player->position();
        EXPECT_GT(late, 2 * kRate) << round;
        EXPECT_GT(render_peak(*player, 1.0), 1000) << round;  // the start sounds again
        EXPECT_LT(player->position(), late) << round;
        EXPECT_TRUE(player->playing());
        render_peak(*player, 2.0);
    }
}

TEST_F(MidiPlayerTest, PlayBeforeTheSoundIsRenderedStartsOnceItIsSet) {
    folder_.write_bytes("music.dat", midi(kShortScore));
    auto player = music::MidiPlayer::open(folder_ / "music.dat");
    ASSERT_NE(player, nullptr);
    player->play();
    EXPECT_LT(render_peak(*player, 0.5), 50);
    std::string error;
    EXPECT_FALSE(
        music::render_piece(player->midi(), folder_ / "none.sf2", kRate, never_cancel_, error));
    EXPECT_NE(error.find("none.sf2"), std::string::npos);
    auto piece =
        music::render_piece(player->midi(), music::sound_font_path(), kRate, never_cancel_, error);
    ASSERT_TRUE(piece) << error;
    player->set_sound(std::move(*piece));
    EXPECT_GT(render_peak(*player, 0.5), 1000);
}

}  // namespace
