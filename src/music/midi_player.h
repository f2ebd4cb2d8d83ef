#pragma once
// The background music device: one Standard MIDI File played in an endless loop through a
// General MIDI sound font. A stopped player keeps its place, so playing again continues the
// piece; nothing but play() ever starts it.
//
// Opening only reads and checks the file. The synthesizer and its sound font (a few megabytes)
// come separately, so that a window can show itself first and a piece that never plays costs
// nothing; until then play() only records that the piece should sound. Without an audio output
// the player can still be rendered offline.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace music {

// The sound font to use: $DASOM_SOUNDFONT when set, else Debian's General MIDI sound font.
std::filesystem::path sound_font_path();

class MidiPlayer {
  public:
    // The player for `midi_file`, or nullptr when the file is missing, unreadable or no
    // Standard MIDI File. Makes no sound.
    static std::unique_ptr<MidiPlayer> open(const std::filesystem::path& midi_file);
    ~MidiPlayer();
    MidiPlayer(const MidiPlayer&) = delete;
    MidiPlayer& operator=(const MidiPlayer&) = delete;

    // Sets up the synthesizer with the sound font; a piece asked to play starts sounding. False,
    // with the reason in `error`, when the font cannot be loaded: the player then stays silent.
    bool load_sound_font(const std::filesystem::path& font, std::string& error);
    bool sound_font_loaded() const { return fluid_ != nullptr; }
    // Frees the synthesizer and its sound font (where no output will ever take the sound); the
    // piece plays again from its start if they are loaded once more.
    void unload_sound_font();

    // Sends the sound of a loaded player to an audio output: `driver` names one ("pulseaudio",
    // "alsa", ...); empty tries the desktop's sound server, then ALSA. False, with the reason in
    // `error`, when there is no output: the player keeps its state and stays silent.
    bool start_output(const std::string& driver, std::string& error);
    bool output_running() const;
    // Closes the audio output, so that a stopped player costs nothing; start_output() opens it
    // again.
    void stop_output();

    // Plays from where the piece stopped, looping for ever.
    void play();
    // Stops and keeps the place; notes that sound are released.
    void stop();
    bool playing() const { return playing_; }

    // The place in the piece, in MIDI ticks from its start, and the piece's length in ticks
    // (0 until it has first played).
    int position() const;
    int length() const;

    // Renders the next `frames` stereo frames (interleaved, 16 bits) without an audio output,
    // advancing the piece as playback would. Only while no output runs.
    void render(std::int16_t* samples, int frames);

  private:
    MidiPlayer() = default;

    struct Fluid;
    std::string midi_;  // the file's bytes
    std::unique_ptr<Fluid> fluid_;
    bool playing_ = false;
};

}  // namespace music
