#include "sprite.h"

#include <algorithm>
#include <cstdlib>

namespace anim {

namespace {

constexpr std::int32_t kSpeedX = 20;
constexpr std::int32_t kSpeedY = 5;
constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFu;

}  // namespace

void Sprite::load(const std::filesystem::path& file) {
    if (frame_count == 0) return;
    SpriteSheet sheet;
    sheet.load_from_file(file);
    take_sheet(std::move(sheet), file.filename().string());
}

void Sprite::load_bytes(std::string_view file, const std::string& file_name) {
    if (frame_count == 0) return;
    SpriteSheet sheet;
    sheet.load_from_bytes(file, file_name);
    take_sheet(std::move(sheet), file_name);
}

void Sprite::take_sheet(SpriteSheet sheet, const std::string& file_name) {
    if (sheet.height() < frame_count) {
        throw SheetError(file_name, "그림의 높이가 프레임 수보다 작습니다");
    }
    // The image and the mask come from one reading of the file, so they always have the same
    // size even if the file changes meanwhile.
    auto new_image = std::make_unique<SpriteSheet>(sheet);
    auto new_mask = std::make_unique<SpriteSheet>(std::move(sheet));
    new_image->clear_transparent_pixels();
    new_mask->turn_into_mask();
    for (int index = 0; index < 256; ++index) {
        const auto i = static_cast<std::uint8_t>(index);
        const std::uint32_t mask_colour = new_mask->colour(i);
        and_colour_[index] = kOpaque | mask_colour;
        opaque_[index] = mask_colour == kWhite ? 0u : kOpaque;
        or_colour_[index] = new_image->colour(i);
    }
    frame_width = new_image->width();
    frame_height = new_image->height() / frame_count;
    image = std::move(new_image);
    mask = std::move(new_mask);
    frame = 1;
}

void Sprite::set_frame(std::uint8_t n) {
    if (n == 0) n = frame_count;
    if (n > frame_count) n = 1;
    frame = n;
}

Rect Sprite::frame_rect() const {
    return {0, frame_height * (frame_count - frame), frame_width, frame_height};
}

Rect Sprite::dest_rect() const {
    Rect rect{x, y, frame_width, frame_height};
    if (dx < 0 && mirror_x && !keep_x) {
        rect.x = x + frame_width - 1;
        rect.width = -frame_width;
    }
    if (dy < 0 && mirror_y && !keep_y) {
        rect.y = y + frame_height - 1;
        rect.height = -frame_height;
    }
    return rect;
}

void Sprite::step(int area_width, int area_height) {
    dx = dx < 0 ? -kSpeedX : kSpeedX;
    dy = dy < 0 ? -kSpeedY : kSpeedY;
    old_x = x;
    old_y = y;
    // In 64 bits, so a position far outside the area still compares correctly.
    const std::int64_t next_x = std::int64_t{x} + dx;
    if (next_x + frame_width > area_width || next_x < 0) {
        dx = -dx;
    } else {
        x = static_cast<std::int32_t>(next_x);
    }
    const std::int64_t next_y = std::int64_t{y} + dy;
    if (next_y + frame_height > area_height || next_y < 0) {
        dy = -dy;
    } else {
        y = static_cast<std::int32_t>(next_y);
    }
    set_frame(static_cast<std::uint8_t>(frame - 1));
}

Rect Sprite::draw(const Surface& background, const Surface& work, const Surface& window) const {
    if (!loaded()) return {};
    const Rect dirty{dx > 0 ? old_x : x, dy > 0 ? old_y : y, frame_width + std::abs(dx),
                     frame_height + std::abs(dy)};
    copy_rect(background, dirty, work, dirty.x, dirty.y);
    paint_sprite(work);
    return copy_rect(work, dirty, window, dirty.x, dirty.y + 1);
}

// The mask ANDed, then the image ORed, pixel by pixel: a transparent pixel (mask white, image
// black) keeps what is under it, a sprite pixel (mask black) takes the image's colour.
void Sprite::paint_sprite(const Surface& work) const {
    const Rect from = frame_rect();
    const Rect to = dest_rect();
    // The fields are open to the caller: never read outside the sheet, whatever they hold.
    if (from.width <= 0 || from.width > image->width() || from.height <= 0 || from.y < 0 ||
        std::int64_t{from.y} + from.height > image->height()) {
        return;
    }
    const int step_x = to.width < 0 ? -1 : 1;
    const int step_y = to.height < 0 ? -1 : 1;
    const std::int32_t row_bytes = image->row_bytes();
    // Only the columns and rows that land on the surface.
    std::int32_t first_column = 0, last_column = from.width;  // source columns [first, last)
    if (step_x > 0) {
        first_column = std::max(first_column, -to.x);
        last_column = std::min(last_column, work.width - to.x);
    } else {
        first_column = std::max(first_column, to.x - (work.width - 1));
        last_column = std::min(last_column, to.x + 1);
    }
    if (first_column >= last_column) return;

    for (std::int32_t j = 0; j < from.height; ++j) {
        const std::int64_t target_y = std::int64_t{to.y} + std::int64_t{step_y} * j;
        if (target_y < 0 || target_y >= work.height) continue;
        // Row j from the top of the frame is stored (height - 1 - j) rows above its bottom.
        const std::size_t source_row = static_cast<std::size_t>(from.y + from.height - 1 - j);
        const std::uint8_t* colours = image->pixels() + source_row * row_bytes;
        const std::uint8_t* masks = mask->pixels() + source_row * row_bytes;
        std::uint32_t* target = work.row(static_cast<int>(target_y));
        for (std::int32_t i = first_column; i < last_column; ++i) {
            std::uint32_t& pixel = target[to.x + step_x * i];
            const std::uint8_t m = masks[i];
            pixel = (pixel & and_colour_[m]) | opaque_[m] | or_colour_[colours[i]];
        }
    }
}

}  // namespace anim
