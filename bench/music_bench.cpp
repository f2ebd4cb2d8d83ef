// What the background music costs: loading the sound font (time and resident memory), and the
// processor time the synthesizer spends per second of music, measured by rendering the piece
// offline (an audio output thread does the same work in real time).
//
//   music_bench [MUSIC_FILE]    (default: the built music.dat)

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "music/midi_player.h"

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
    auto start = Clock::now();
    auto player = music::MidiPlayer::open(file);
    if (!player) {
        std::fprintf(stderr, "cannot open %s\n", file.c_str());
        return 1;
    }
    const double open_ms = ms_since(start);
    const long rss_opened = resident_kib();

    std::string error;
    const double font_cpu_start = cpu_seconds();
    start = Clock::now();
    if (!player->load_sound_font(font, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const double font_ms = ms_since(start);
    const double font_cpu_ms = (cpu_seconds() - font_cpu_start) * 1000;
    const long rss_font = resident_kib();

    // Later loads, into fresh players: the file is then in the page cache.
    std::vector<double> warm;
    for (int i = 0; i < 5; ++i) {
        auto other = music::MidiPlayer::open(file);
        start = Clock::now();
        other->load_sound_font(font, error);
        warm.push_back(ms_since(start));
    }
    std::sort(warm.begin(), warm.end());

    constexpr int kRate = 44100;
    constexpr int kSeconds = 60;
    std::vector<std::int16_t> samples(kRate / 10 * 2);
    player->play();
    const double cpu_start = cpu_seconds();
    start = Clock::now();
    int peak = 0;
    for (int block = 0; block < kSeconds * 10; ++block) {
        player->render(samples.data(), kRate / 10);
        for (std::int16_t sample : samples) peak = std::max(peak, std::abs(int{sample}));
    }
    const double render_ms = ms_since(start);
    const double render_cpu = cpu_seconds() - cpu_start;
    const long rss_playing = resident_kib();

    std::printf("sound font                %s\n", font.c_str());
    std::printf("open music file           %8.2f ms\n", open_ms);
    std::printf("synthesizer + sound font  %8.2f ms wall, %.2f ms CPU (first)\n", font_ms,
                font_cpu_ms);
    std::printf("synthesizer + sound font  %8.2f ms wall (median of 5 more)\n",
                warm[warm.size() / 2]);
    std::printf(
        "resident memory           %8ld KiB before, %ld opened, %ld with the font,"
        " %ld after a minute of music (6 players loaded)\n",
        rss_before, rss_opened, rss_font, rss_playing);
    std::printf("render %d s of music       %8.1f ms wall, %.1f ms CPU: %.2f %% of one core\n",
                kSeconds, render_ms, render_cpu * 1000, render_cpu * 100 / kSeconds);
    std::printf("loudest sample             %8d of 32767\n", peak);
    return 0;
}
