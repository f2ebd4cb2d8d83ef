#pragma once
// The sprite of the screen animation (the rabbit). It holds the sheet twice (as the colour image
// and as the mask), cuts it into frames stacked from the top (frame 1) to the bottom (the last
// frame), moves the sprite a fixed speed a tick, bounces it off the edges of the drawing area
// and paints each step into plain surfaces.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "anim/sprite_sheet.h"
#include "anim/surface.h"

namespace anim {

class Sprite {
public:
    std::unique_ptr<SpriteSheet> image;  // transparent pixels set to index 0
    std::unique_ptr<SpriteSheet> mask;   // transparent pixels 255, all others 0
    std::uint8_t frame_count = 0;
    std::int32_t frame_width = 0;
    std::int32_t frame_height = 0;
    std::uint8_t frame = 0;  // 1 ... frame_count once loaded
    std::int32_t x = 0, y = 0;
    std::int32_t old_x = 0, old_y = 0;
    std::int32_t dx = 0, dy = 0;  // the sign is the direction: right, down
    // mirror_x and mirror_y draw the frame mirrored while it moves left or up; keep_x and keep_y
    // hold it unmirrored on that axis all the same.
    bool keep_x = false, keep_y = false, mirror_x = false, mirror_y = false;

    // Loads the sheet (nothing when frame_count is 0) and selects frame 1. Throws
    // text::FileError when the file cannot be read and SheetError when it is not a usable sheet
    // or has fewer rows than frames; the animation then stays unloaded.
    void load(const std::filesystem::path& file);
    // The same for the bytes of a sheet file; `file_name` only names it in an error.
    void load_bytes(std::string_view file, const std::string& file_name);
    bool loaded() const { return mask != nullptr; }

    // 0 selects the last frame, anything above frame_count the first.
    void set_frame(std::uint8_t n);
    // The current frame in the sheet's pixel array, rows counted from its bottom edge.
    Rect frame_rect() const;
    // Where the frame goes; a negative width or height draws it mirrored, starting from the far
    // edge of the same place.
    Rect dest_rect() const;

    // One tick: fixed speeds of 20 and 5 pixels, a bounce (which costs the tick on that axis)
    // where the sprite would leave the area, the previous frame.
    void step(int area_width, int area_height);
    // Paints the step: restores the rectangle that covers the sprite's old and new places from
    // `background` into `work`, paints the sprite there through its mask, and copies the
    // rectangle to `window` one pixel lower. Returns the rectangle written in `window`. Does
    // nothing while unloaded.
    Rect draw(const Surface& background, const Surface& work, const Surface& window) const;

private:
    void take_sheet(SpriteSheet sheet, const std::string& file_name);
    void paint_sprite(const Surface& work) const;

    // The sheets' colour tables, looked up once at load: the mask's colour to AND with (alpha
    // kept), the alpha a mask colour other than white makes opaque, and the image's colour to
    // OR with.
    std::array<std::uint32_t, 256> and_colour_{};
    std::array<std::uint32_t, 256> opaque_{};
    std::array<std::uint32_t, 256> or_colour_{};
};

}  // namespace anim
