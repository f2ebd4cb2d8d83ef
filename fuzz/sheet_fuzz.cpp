// Any bytes as rabbit.dat: loading either refuses them with an error or yields a sheet that
// steps and paints without reading or writing outside its buffers.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

#include "anim/sprite.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    anim::Sprite sprite;
    sprite.frame_count = 8;
    try {
        sprite.load_bytes(std::string_view(reinterpret_cast<const char*>(data), size),
                          "rabbit.dat");
    } catch (const std::exception&) {
        return 0;
    }
    anim::Image background(64, 48), work(64, 48), window(64, 48);
    sprite.x = sprite.y = 50;
    sprite.dx = sprite.dy = 2;
    for (int tick = 0; tick < 12; ++tick) {
        sprite.mirror_x = sprite.mirror_y = tick % 2 == 0;
        sprite.step(64, 48);
        sprite.draw(background.surface(), work.surface(), window.surface());
    }
    return 0;
}
