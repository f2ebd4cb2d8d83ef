#pragma once
// Sends a SampleLoop to the speakers on a thread of its own. The desktop's sound server
// (PulseAudio, or PipeWire in its place) gets two seconds of sound at a time, half a second at
// a go, so that a playing piece wakes the process a few times a second; where there is no
// sound server, FluidSynth's audio drivers (ALSA, JACK, ...) take the sound.

#include <chrono>
#include <memory>
#include <string>

#include "sample_loop.h"

namespace music {

class AudioOutput {
  public:
    // Opens `driver`: "pulseaudio" for the sound server, any other name for FluidSynth's driver
    // of that name ("alsa", "jack", ...); empty tries the sound server, then ALSA. The output
    // plays whatever `loop` gives. nullptr, with the reason in `error`, when there is no such
    // output.
    static std::unique_ptr<AudioOutput> open(const std::string& driver,
                                             std::shared_ptr<SampleLoop> loop, std::string& error);

    // Waits for the output's thread, which may take as long as the sound server takes to
    // answer: a user-interface thread lets an output go with close_in_background() instead.
    virtual ~AudioOutput() = default;

    // Tells the output that the loop was played or stopped: a stop drops what the output still
    // holds, and the loop goes back to what was heard last.
    virtual void wake() = 0;
};

// Lets `output` go: it is closed on a thread of its own and never waited for.
void close_in_background(std::unique_ptr<AudioOutput> output);
// Waits at most `limit` for the outputs let go to be closed; true when none is left.
bool wait_for_closed_outputs(std::chrono::milliseconds limit);

}  // namespace music
