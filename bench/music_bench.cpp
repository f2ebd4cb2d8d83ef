// What the background music costs: rendering the piece once (time, processor time, the memory
// its samples keep) and looping the samples (processor time a minute of music takes from the
// audio output's thread).
//
//   music_bench [MUSIC_FILE]    (default: the built music.dat)

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "music/midi_player.h"
#include "music/rendered_piece.h"

namespace {

using Clock = std::chrono::steady_clock;

long resident_kib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

double cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path file = argc > 1 ? argv[1] : DASOM_MUSIC_FILE;
    const std::filesystem::path font = music::sound_font_path();

    const long rss_before = resident_kib();
    auto player = music::MidiPlayer::open(file);
    if (!player) {
        std::fprintf(stderr, "cannot open %s\n", file.c_str());
        return 1;
    }

    // Rendering: the synthesizer and its sound font live only while it runs.
    std::string error;
    const std::atomic<bool> never{false};
    const double render_cpu_start = cpu_seconds();
    auto start = Clock::now();
    auto piece = music::render_piece(player->midi(), font, music::kRenderRate, never, error);
    if (!piece) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const double render_ms = ms_since(start);
    const double render_cpu_ms = (cpu_seconds() - render_cpu_start) * 1000;
    const std::size_t sample_bytes =
        (piece->round.size() + piece->carry.size()) * sizeof(std::int16_t);
    const double seconds = static_cast<double>(piece->round.size() / 2) / piece->rate;
    player->set_sound(std::move(*piece));
    const long rss_rendered = resident_kib();

    // Looping the samples: what the output's thread spends on a minute of music.
    std::vector<std::int16_t> samples(music::kRenderRate / 2 * 2);
    player->play();
    const double loop_cpu_start = cpu_seconds();
    int peak = 0;
    for (int block = 0; block < 120; ++block) {
        player->read(samples.data(), music::kRenderRate / 2);
        for (std::int16_t sample : samples) peak = std::max(peak, std::abs(int{sample}));
    }
    const double loop_cpu_ms = (cpu_seconds() - loop_cpu_start) * 1000;

    std::printf("sound font                %s\n", font.c_str());
    std::printf("render %.1f s of music     %8.1f ms wall, %.1f ms CPU\n", seconds, render_ms,
                render_cpu_ms);
    std::printf("samples                   %8.1f MB (%d frames a second, stereo, 16 bits)\n",
                sample_bytes / 1e6, music::kRenderRate);
    std::printf("resident memory           %8ld KiB before, %ld rendered (synthesizer freed)\n",
                rss_before, rss_rendered);
    std::printf("loop 60 s of samples      %8.2f ms CPU: %.4f %% of one core\n", loop_cpu_ms,
                loop_cpu_ms / 600);
    std::printf("loudest sample             %8d of 32767\n", peak);
    return 0;
}
