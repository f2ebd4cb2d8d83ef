#pragma once
// MediaPlayer1: the window's background music. It opens music.dat when the window is created,
// plays and stops it at the window's request and closes it with the window. The sound font and
// the audio output are set up only once the window has been shown and the music is to sound,
// so neither delays the first show; a few seconds after a stop the output closes again. A
// machine without sound keeps a silent player and says so once, in one line on standard error.
//
// DASOM_AUDIO_DRIVER picks FluidSynth's audio driver ("pulseaudio", "alsa", ...); "none" keeps
// the music silent without a word. DASOM_SOUNDFONT names another General MIDI sound font.

#include <QObject>

class QTimer;

#include <filesystem>
#include <memory>

namespace music {
class MidiPlayer;
}

namespace shell {

class BackgroundMusic : public QObject {
    Q_OBJECT
  public:
    explicit BackgroundMusic(QObject* parent);
    ~BackgroundMusic() override;

    // Opens the piece. False when the file is missing or is no MIDI file: then nothing plays for
    // the rest of the run and play() and stop() do nothing.
    bool open(const std::filesystem::path& file);
    bool loaded() const { return player_ != nullptr; }

    // The window is shown: from now on a playing piece gets its sound.
    void allow_output();
    // Plays from where the piece stopped, looping for ever.
    void play();
    // Stops and keeps the place.
    void stop();
    bool playing() const;
    // Stops and frees the device; the player stays closed.
    void close();

    // The player behind it, for tests and measurements; nullptr when not loaded.
    music::MidiPlayer* player() const { return player_.get(); }

  private:
    void start_sound();

    std::unique_ptr<music::MidiPlayer> player_;
    QTimer* fade_timer_ = nullptr;
    bool output_allowed_ = false;
    bool output_failed_ = false;  // said once; silent for the rest of the run
};

}  // namespace shell
