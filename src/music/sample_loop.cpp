#include "sample_loop.h"

#include <algorithm>
#include <utility>

namespace music {
namespace {

constexpr int kFullGain = 1 << 15;

int fade_step(int rate) {
    const int fade_frames = std::max(1, rate * SampleLoop::kFadeMilliseconds / 1000);
    return std::max(1, kFullGain / fade_frames);
}

}  // namespace

SampleLoop::SampleLoop(RenderedPiece piece)
    : piece_(std::move(piece)),
      length_(std::max<std::int64_t>(1, static_cast<std::int64_t>(piece_.round.size() / 2))),
      fade_step_(fade_step(piece_.rate)) {}

template <typename Write>
void SampleLoop::produce(int frames, Write write) {
    const std::lock_guard lock(reading_);
    const bool wanted = wanted_.load();
    int gain = gain_;
    std::int64_t played = played_.load(std::memory_order_relaxed);
    const std::int64_t carried = static_cast<std::int64_t>(piece_.carry.size() / 2);
    const bool has_sound = !piece_.round.empty();
    for (int i = 0; i < frames; ++i) {
        gain = wanted ? std::min(kFullGain, gain + fade_step_) : std::max(0, gain - fade_step_);
        if (gain == 0 || !has_sound) {
            write(i, 0, 0);  // stopped: the place is kept
            continue;
        }
        const std::int64_t at = played % length_;
        int left = piece_.round[2 * at];
        int right = piece_.round[2 * at + 1];
        if (played >= length_ && at < carried) {
            left = std::clamp(left + piece_.carry[2 * at], -32768, 32767);
            right = std::clamp(right + piece_.carry[2 * at + 1], -32768, 32767);
        }
        write(i, left * gain / kFullGain, right * gain / kFullGain);
        ++played;
    }
    gain_ = gain;
    played_.store(played);
}

void SampleLoop::read(std::int16_t* samples, int frames) {
    produce(frames, [samples](int i, int left, int right) {
        samples[2 * i] = static_cast<std::int16_t>(left);
        samples[2 * i + 1] = static_cast<std::int16_t>(right);
    });
}

void SampleLoop::read(float* left, float* right, int frames) {
    produce(frames, [left, right](int i, int l, int r) {
        left[i] = static_cast<float>(l) / 32768.0f;
        right[i] = static_cast<float>(r) / 32768.0f;
    });
}

void SampleLoop::take_back(std::int64_t frames) {
    const std::lock_guard lock(reading_);
    played_.store(std::max<std::int64_t>(0, played_.load() - std::max<std::int64_t>(0, frames)));
}

}  // namespace music
