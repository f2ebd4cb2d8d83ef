#pragma once
// The background music device: one Standard MIDI File played in an endless loop through a
// General MIDI sound font. A stopped player keeps its place, so playing again continues the
// piece; nothing but play() ever starts it.
//
// Opening only reads and checks the file. The piece is rendered to samples separately
// (render_piece(), off the user-interface thread), so that a window can show itself first and
// a piece that never plays costs nothing; until its sound is set, play() only records that the
// piece should sound. The samples then loop through an audio output, or are read offline.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "rendered_piece.h"

namespace music {

class AudioOutput;
class SampleLoop;

// The sound font to use: $DASOM_SOUNDFONT when set, else Debian's General MIDI sound font.
std::filesystem::path sound_font_path();

class MidiPlayer {
  public:
    // The player for `midi_file`, or nullptr when the file is missing, unreadable, no Standard
    // MIDI File or no piece that sounds (read_midi_file). Makes no sound.
    static std::unique_ptr<MidiPlayer> open(const std::filesystem::path& midi_file);
    // Lets a running output go without waiting on it.
    ~MidiPlayer();
    MidiPlayer(const MidiPlayer&) = delete;
    MidiPlayer& operator=(const MidiPlayer&) = delete;

    // The file's bytes, for render_piece().
    const std::string& midi() const { return midi_; }
    // The piece's sound, rendered from midi(); a piece asked to play plays from its start.
    void set_sound(RenderedPiece piece);
    bool has_sound() const { return loop_ != nullptr; }

    // Sends the sound to an audio output (AudioOutput::open names the drivers). False, with the
    // reason in `error`, when there is no sound yet or no output: the player keeps its state and
    // stays silent.
    bool start_output(const std::string& driver, std::string& error);
    bool output_running() const { return output_ != nullptr; }
    // The sound, for an output opened elsewhere: opening waits for the sound server, which a
    // window's thread must not do. adopt_output() then takes the output (an output arriving
    // where one runs already is let go).
    const std::shared_ptr<SampleLoop>& sound() const { return loop_; }
    void adopt_output(std::unique_ptr<AudioOutput> output);
    // Lets the audio output go, so that a stopped player costs nothing; it closes on a thread of
    // its own. start_output() opens one again.
    void stop_output();

    // Plays from where the piece stopped, looping for ever.
    void play();
    // Stops and keeps the place; the sound fades out within a few milliseconds.
    void stop();
    bool playing() const { return playing_; }

    // The place in the piece and the piece's length, in frames of its sound (0 until it has
    // sound); frames a second.
    std::int64_t position() const;
    std::int64_t length() const;
    int rate() const;

    // The next `frames` stereo frames (interleaved, 16 bits) without an audio output, advancing
    // the piece as playback would; silence before the sound is set. Only while no output runs.
    void read(std::int16_t* samples, int frames);

  private:
    MidiPlayer() = default;

    std::string midi_;  // the file's bytes
    std::shared_ptr<SampleLoop> loop_;
    std::unique_ptr<AudioOutput> output_;
    bool playing_ = false;
};

}  // namespace music
