#pragma once
// MediaPlayer1: the window's background music. It opens music.dat when the window is created,
// plays and stops it at the window's request and closes it with the window. Once the window has
// been shown and the music is first to sound, the piece is rendered to samples by the helper
// dasom-render-music (music/render_helper.h), which a thread of its own waits for, so the window
// never does: from then on the samples loop through the audio output, and no synthesizer or
// sound font is in the process. The output, too, is opened on a thread of its own: a sound
// server that does not answer keeps the music silent, never the window. A second after a stop the output closes, so that a silent
// player costs nothing. A machine without sound keeps a silent player and says so once, in one
// line on standard error.
//
// DASOM_AUDIO_DRIVER picks the audio output ("pulseaudio", "alsa", ...: music::AudioOutput);
// "none" keeps the music silent without a word and renders nothing. DASOM_SOUNDFONT names
// another General MIDI sound font.

#include <QObject>

class QTimer;

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace music {
class MidiPlayer;
struct RenderedPiece;
}  // namespace music

namespace shell {

class BackgroundMusic : public QObject {
    Q_OBJECT
  public:
    explicit BackgroundMusic(QObject* parent);
    ~BackgroundMusic() override;

    // Opens the piece. False when the file is missing or is no playable MIDI file: then nothing
    // plays for the rest of the run and play() and stop() do nothing.
    bool open(const std::filesystem::path& file);
    bool loaded() const { return player_ != nullptr; }

    // The window is shown: from now on a playing piece gets its sound.
    void allow_output();
    // Plays from where the piece stopped, looping for ever.
    void play();
    // Stops and keeps the place.
    void stop();
    bool playing() const;
    // Stops and frees the device; the player stays closed. Never waits on the audio output.
    void close();

    // The player behind it, for tests and measurements; nullptr when not loaded.
    music::MidiPlayer* player() const { return player_.get(); }

  private:
    struct Rendering;
    struct Opening;
    struct OpenedOutput;

    void start_sound();
    void start_rendering();
    void take_rendering(const std::shared_ptr<Rendering>& job,
                        std::optional<music::RenderedPiece>& piece, const std::string& error);
    void take_output(const std::shared_ptr<Opening>& job, OpenedOutput& opened);
    void give_up(const std::string& error);

    std::filesystem::path file_;
    std::unique_ptr<music::MidiPlayer> player_;
    std::shared_ptr<Rendering> render_;
    std::shared_ptr<Opening> opening_;
    QTimer* close_timer_ = nullptr;
    bool output_allowed_ = false;
    bool output_failed_ = false;  // said once; silent for the rest of the run
};

}  // namespace shell
