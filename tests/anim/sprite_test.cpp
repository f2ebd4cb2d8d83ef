#include "anim/sprite.h"

#include <gtest/gtest.h>

#include "sheet_bytes.h"

namespace {

using anim::Rect;
using anim::Sprite;
using testing_support::SheetBytes;

// A 64 x 400 sheet (frames of 64 x 50) of grey 200 on the transparent grey 1.
Sprite loaded_animation(const SheetBytes& sheet = SheetBytes(64, 400, 200)) {
    Sprite sprite;
    sprite.frame_count = 8;
    sprite.load_bytes(sheet.bytes(), "rabbit.dat");
    return sprite;
}

SheetBytes sheet_with_transparent_corner() {
    SheetBytes sheet(64, 400, 200);
    sheet.at(0, 0) = 1;
    return sheet;
}

TEST(Sprite, FramesRunBackwardsAndWrapAround) {
    Sprite sprite = loaded_animation();
    std::string order;
    for (int tick = 0; tick < 9; ++tick) {
        sprite.step(1024, 768);
        order += std::to_string(sprite.frame);
    }
    EXPECT_EQ(order, "876543218");
    sprite.set_frame(0);
    EXPECT_EQ(sprite.frame, 8);
    sprite.set_frame(9);
    EXPECT_EQ(sprite.frame, 1);
}

TEST(Sprite, StepBouncesAtEachEdgeAndTheBounceCostsTheTick) {
    struct Row {
        const char* edge;
        int x, y, dx, dy;
        int after_x, after_y, after_dx, after_dy;
    };
    // Area 1024 x 768, sprite 64 x 50.
    const Row rows[] = {
        {"free", 50, 50, 2, 2, 70, 55, 20, 5},
        {"touches the right edge", 940, 50, 2, 2, 960, 55, 20, 5},
        {"right", 941, 50, 2, 2, 941, 55, -20, 5},
        {"touches the left edge", 20, 50, -2, 2, 0, 55, -20, 5},
        {"left", 19, 50, -9, 2, 19, 55, 20, 5},
        {"touches the bottom edge", 50, 713, 2, 2, 70, 718, 20, 5},
        {"bottom", 50, 714, 2, 2, 70, 714, 20, -5},
        {"top", 50, 4, 2, -1, 70, 4, 20, 5},
        {"corner", 941, 714, 2, 2, 941, 714, -20, -5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.edge);
        Sprite sprite = loaded_animation();
        sprite.x = row.x;
        sprite.y = row.y;
        sprite.dx = row.dx;
        sprite.dy = row.dy;
        sprite.step(1024, 768);
        EXPECT_EQ(sprite.old_x, row.x);
        EXPECT_EQ(sprite.old_y, row.y);
        EXPECT_EQ(sprite.x, row.after_x);
        EXPECT_EQ(sprite.y, row.after_y);
        EXPECT_EQ(sprite.dx, row.after_dx);
        EXPECT_EQ(sprite.dy, row.after_dy);
    }
}

TEST(Sprite, MirroredFromTheTickItBouncesOffTheRightEdgeUntilTheLeftOne) {
    Sprite sprite = loaded_animation();
    sprite.x = 50;
    sprite.y = 50;
    sprite.dx = sprite.dy = 2;
    int first_mirrored = -1, first_unmirrored = -1;
    for (int tick = 1; tick < 200 && first_unmirrored < 0; ++tick) {
        sprite.mirror_x = true;
        const int before = sprite.x;
        sprite.step(1024, 768);
        const Rect dest = sprite.dest_rect();
        if (first_mirrored < 0 && dest.width < 0) {
            first_mirrored = tick;
            EXPECT_EQ(sprite.x, before);  // the bounce tick itself
            EXPECT_EQ(before, 950);  // 950 + 64 + 20 > 1024
            EXPECT_EQ(dest, (Rect{before + 63, sprite.y, -64, 50}));
        }
        if (first_mirrored > 0 && first_unmirrored < 0 && dest.width > 0) {
            first_unmirrored = tick;
            EXPECT_EQ(sprite.x, 10);  // 10 - 20 would leave the area
        }
    }
    EXPECT_EQ(first_mirrored, 46);
    EXPECT_EQ(first_unmirrored, 46 + 48);
}

TEST(Sprite, DrawRestoresOldAndNewPlacesAndShowsOnePixelLower) {
    Sprite sprite = loaded_animation(sheet_with_transparent_corner());
    anim::Image background(300, 200), work(300, 200), window(300, 200);
    const std::uint32_t ground = 0xFF123456;
    auto fill = [](anim::Image& image, std::uint32_t value) {
        anim::Surface s = image.surface();
        for (int y = 0; y < s.height; ++y) std::fill(s.row(y), s.row(y) + s.width, value);
    };
    fill(background, ground);
    fill(work, 0xFFAAAAAA);  // stale content, as if an old sprite were there
    sprite.x = sprite.y = 50;
    sprite.dx = sprite.dy = 2;
    sprite.mirror_x = true;
    sprite.step(300, 200);
    const Rect shown = sprite.draw(background.surface(), work.surface(), window.surface());

    EXPECT_EQ(shown, (Rect{50, 51, 84, 55}));
    // The old place is restored, the new one holds the sprite, the transparent corner shows the
    // background.
    EXPECT_EQ(work.pixel(50, 50), ground);
    EXPECT_EQ(work.pixel(70, 55 + 49), ground);  // the sheet's lower-left pixel, frame 8
    EXPECT_EQ(work.pixel(71, 55 + 49), 0xFFC8C8C8u);
    EXPECT_EQ(work.pixel(133, 104), 0xFFC8C8C8u);
    EXPECT_EQ(work.pixel(49, 50), 0xFFAAAAAAu);  // outside the dirty rectangle: untouched
    // The window got the dirty rectangle one row lower, and nothing else.
    EXPECT_EQ(window.pixel(50, 51), ground);
    EXPECT_EQ(window.pixel(71, 55 + 50), 0xFFC8C8C8u);
    EXPECT_EQ(window.pixel(50, 50), 0u);
}

TEST(Sprite, DrawingAtAndBeyondTheEdgesStaysInsideTheSurfaces) {
    // A sprite larger than the area, and odd fields set by a caller: nothing is written or read
    // outside the buffers (the sanitizer build watches this).
    Sprite sprite = loaded_animation(SheetBytes(120, 800, 5));
    anim::Image background(100, 60), work(100, 60), window(100, 60);
    const struct {
        int x, y, dx, dy;
        std::uint8_t frame;
    } rows[] = {{0, 0, 2, 2, 1}, {90, 55, -2, -2, 3}, {-500, -500, 2, 2, 8}, {40, 40, 2, 2, 200}};
    for (const auto& row : rows) {
        sprite.x = row.x;
        sprite.y = row.y;
        sprite.dx = row.dx;
        sprite.dy = row.dy;
        sprite.mirror_x = sprite.mirror_y = true;
        sprite.step(100, 60);
        sprite.frame = row.frame;
        sprite.draw(background.surface(), work.surface(), window.surface());
    }
    Sprite unloaded;
    EXPECT_TRUE(unloaded.draw(background.surface(), work.surface(), window.surface()).empty());
}

}  // namespace
