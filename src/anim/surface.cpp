#include "surface.h"

#include <algorithm>
#include <cstring>

namespace anim {

Image::Image(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, 0u) {}

Rect copy_rect(const Surface& from, Rect area, const Surface& to, int to_x, int to_y) {
    // Work in 64 bits: a rectangle near the limits of int must not wrap around.
    std::int64_t left = area.x, top = area.y;
    std::int64_t right = left + std::max(area.width, 0);
    std::int64_t bottom = top + std::max(area.height, 0);
    const std::int64_t shift_x = std::int64_t{to_x} - area.x;
    const std::int64_t shift_y = std::int64_t{to_y} - area.y;
    left = std::max({left, std::int64_t{0}, -shift_x});
    top = std::max({top, std::int64_t{0}, -shift_y});
    right = std::min({right, std::int64_t{from.width}, to.width - shift_x});
    bottom = std::min({bottom, std::int64_t{from.height}, to.height - shift_y});
    if (left >= right || top >= bottom) return {};

    const auto count = static_cast<std::size_t>(right - left);
    for (std::int64_t y = top; y < bottom; ++y) {
        std::memmove(to.row(static_cast<int>(y + shift_y)) + (left + shift_x),
                     from.row(static_cast<int>(y)) + left, count * sizeof(std::uint32_t));
    }
    return {static_cast<int>(left + shift_x), static_cast<int>(top + shift_y),
            static_cast<int>(right - left), static_cast<int>(bottom - top)};
}

}  // namespace anim
