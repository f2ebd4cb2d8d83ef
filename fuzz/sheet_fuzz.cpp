// Any bytes as rabbit.dat: loading either refuses them with an error or yields a sheet that
// steps and paints without reading or writing outside its buffers.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

#include "anim/animation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    anim::TAnimation animation;
    animation.frame_count = 8;
    try {
        animation.load_bytes(std::string_view(reinterpret_cast<const char*>(data), size),
                             "rabbit.dat");
    } catch (const std::exception&) {
        return 0;
    }
    anim::Image background(64, 48), work(64, 48), window(64, 48);
    animation.x = animation.y = 50;
    animation.dx = animation.dy = 2;
    for (int tick = 0; tick < 12; ++tick) {
        animation.mirror_x = animation.mirror_y = tick % 2 == 0;
        animation.step(64, 48);
        animation.draw(background.surface(), work.surface(), window.surface());
    }
    return 0;
}
