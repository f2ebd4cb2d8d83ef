#pragma once
// Plain 32-bit pixel buffers for the screen animation: the screen picture, the two off-screen
// buffers and the window's picture are all surfaces, so the sprite is painted without any
// drawing layer of the platform. A pixel is 0xAARRGGBB (premultiplied alpha).

#include <cstdint>
#include <vector>

namespace anim {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const Rect&) const = default;
};

// A view of pixels owned elsewhere (an image of the window's toolkit, or an Image below).
// `stride` counts pixels from one row to the next.
struct Surface {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;

    std::uint32_t* row(int y) const { return pixels + static_cast<std::ptrdiff_t>(y) * stride; }
};

// A surface that owns its pixels, all 0 (transparent black) when made.
class Image {
public:
    Image() = default;
    Image(int width, int height);

    Surface surface() { return {pixels_.data(), width_, height_, width_}; }
    int width() const { return width_; }
    int height() const { return height_; }
    std::uint32_t pixel(int x, int y) const {
        return pixels_[static_cast<std::size_t>(y) * width_ + x];
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// Copies `area` of `from` to `to` with its top-left corner at (to_x, to_y), like a block copy:
// whatever lies outside either surface is left out. Returns the rectangle written in `to`
// (empty when nothing was).
Rect copy_rect(const Surface& from, Rect area, const Surface& to, int to_x, int to_y);

}  // namespace anim
