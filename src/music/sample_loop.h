#pragma once
// A rendered piece played round and round: the sound an audio output takes, a block at a time,
// on its own thread, while the user-interface thread plays and stops it. Stopping fades out
// within a few milliseconds and keeps the place; playing again fades in from there.

#include <atomic>
#include <cstdint>
#include <mutex>

#include "rendered_piece.h"

namespace music {

class SampleLoop {
  public:
    // The length of the fades at a stop and a start.
    static constexpr int kFadeMilliseconds = 30;

    explicit SampleLoop(RenderedPiece piece);
    SampleLoop(const SampleLoop&) = delete;
    SampleLoop& operator=(const SampleLoop&) = delete;

    int rate() const { return piece_.rate; }
    // Frames in one round of the piece.
    std::int64_t length() const { return length_; }
    // Where the next frame comes from, in frames from the start of the round.
    std::int64_t position() const { return played_.load() % length_; }

    // Any thread.
    void play() { wanted_.store(true); }
    void stop() { wanted_.store(false); }
    bool playing() const { return wanted_.load(); }

    // The output's thread (an output being closed may still read while the next one starts:
    // they take turns): the next `frames` stereo frames, interleaved, and silence once stopped.
    // After the end of a round the next one begins.
    void read(std::int16_t* samples, int frames);
    void read(float* left, float* right, int frames);
    // The output's thread: takes back `frames` frames that were read but never reached the ear
    // (dropped from the output's buffer at a stop), so that playing again goes on from what was
    // heard last.
    void take_back(std::int64_t frames);

  private:
    template <typename Write>
    void produce(int frames, Write write);

    const RenderedPiece piece_;
    const std::int64_t length_;
    const int fade_step_;  // gain steps a frame, out of kFullGain
    std::atomic<bool> wanted_{false};
    std::atomic<std::int64_t> played_{0};  // frames read since the start, over every round
    std::mutex reading_;                   // one reader at a time
    int gain_ = 0;                         // 0 .. full, under reading_
};

}  // namespace music
