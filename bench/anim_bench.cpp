// One tick of the screen animation over a full-screen picture of 1920 x 1080: the step and the
// painting of the dirty rectangle into the work buffer and the window's picture. Aim: at most
// 1 ms a tick (ten ticks a second leave the rest of the time to the window).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "anim/sprite.h"

namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

// An 8-bit bottom-up sheet of 8 frames of 96 x 64, half of each row transparent.
std::string sheet_file() {
    const int width = 96, height = 64 * 8;
    std::string out;
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const std::uint32_t offset = 14 + 40 + 1024;
    out += "BM";
    put(offset + width * height, 4);
    put(0, 4);
    put(offset, 4);
    put(40, 4);
    put(width, 4);
    put(height, 4);
    put(1, 2);
    put(8, 2);
    for (int i = 0; i < 6; ++i) put(0, 4);
    for (int i = 0; i < 256; ++i) put(i * 0x010101u, 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) out += static_cast<char>(x < width / 2 ? 1 : 100 + y % 50);
    }
    return out;
}

void BM_AnimationTick(benchmark::State& state) {
    anim::Sprite sprite;
    sprite.frame_count = 8;
    sprite.load_bytes(sheet_file(), "rabbit.dat");
    sprite.x = sprite.y = 50;
    sprite.dx = sprite.dy = 2;
    anim::Image background(kScreenWidth, kScreenHeight), work(kScreenWidth, kScreenHeight),
        window(kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        sprite.mirror_x = true;
        sprite.step(kScreenWidth, kScreenHeight);
        const anim::Rect shown =
            sprite.draw(background.surface(), work.surface(), window.surface());
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_AnimationTick)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
