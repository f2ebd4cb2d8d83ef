#include "anim/sprite_sheet.h"

#include <gtest/gtest.h>

#include "anim/sprite.h"
#include "sheet_bytes.h"
#include "support/temp_folder.h"
#include "text/file_error.h"

namespace {

using anim::SheetError;
using anim::Sprite;
using anim::SpriteSheet;
using testing_support::poke32;
using testing_support::SheetBytes;

TEST(SpriteSheet, FramesOfASheetAndItsLeftoverRows) {
    struct Row {
        int height;
        int frame_height;
    };
    for (const Row row : {Row{400, 50}, Row{403, 50}}) {
        SCOPED_TRACE(row.height);
        Sprite sprite;
        sprite.frame_count = 8;
        sprite.load_bytes(SheetBytes(64, row.height, 0).bytes(), "rabbit.dat");
        EXPECT_EQ(sprite.frame_width, 64);
        EXPECT_EQ(sprite.frame_height, row.frame_height);
        EXPECT_EQ(sprite.frame, 1);
        // Frame 1 is the top strip below the leftover rows, frame 8 the bottom strip.
        EXPECT_EQ(sprite.frame_rect(), (anim::Rect{0, 350, 64, 50}));
        sprite.set_frame(8);
        EXPECT_EQ(sprite.frame_rect(), (anim::Rect{0, 0, 64, 50}));
    }
}

TEST(SpriteSheet, TransparentColourIsTheLowerLeftPixelWhereverItLies) {
    SheetBytes sheet(5, 2, 9);  // rows of 8 bytes: the padding is prepared too
    sheet.at(0, 0) = 7;
    sheet.at(4, 1) = 7;
    sheet.at(2, 0) = 0;
    SpriteSheet image, mask;
    image.load_from_bytes(sheet.bytes(), "rabbit.dat");
    mask.load_from_bytes(sheet.bytes(), "rabbit.dat");
    image.clear_transparent_pixels();
    mask.turn_into_mask();
    EXPECT_EQ(image.pixels()[0], 0);
    EXPECT_EQ(image.pixels()[8 + 4], 0);
    EXPECT_EQ(image.pixels()[1], 9);
    EXPECT_EQ(mask.pixels()[0], 255);
    EXPECT_EQ(mask.pixels()[8 + 4], 255);
    EXPECT_EQ(mask.pixels()[1], 0);
    EXPECT_EQ(mask.pixels()[2], 0);  // black in the sprite stays sprite
    EXPECT_EQ(image.colour(9), 0x090909u);
}

TEST(SpriteSheet, MalformedSheetsAreRefusedBeforeAnythingReadsThem) {
    const std::string good = SheetBytes(16, 16, 1).bytes();
    struct Row {
        const char* fault;
        std::string bytes;
    };
    auto spoiled = [&](std::size_t at, std::uint32_t value) {
        std::string bytes = good;
        poke32(bytes, at, value);
        return bytes;
    };
    auto with_colours_used = [](int used) {
        SheetBytes sheet(16, 16, 1);
        sheet.colours_used = used;
        return sheet.bytes();
    };
    std::string bits24 = good;
    bits24[28] = 24;
    const Row rows[] = {
        {"wrong signature", "XY" + good.substr(2)},
        {"24 bits", bits24},
        {"compressed", spoiled(30, 1)},
        {"top-down", spoiled(22, static_cast<std::uint32_t>(-16))},
        {"zero width", spoiled(18, 0)},
        {"header larger than 40 bytes", spoiled(14, 124)},
        {"truncated pixels", good.substr(0, good.size() - 1)},
        {"truncated header", good.substr(0, 40)},
        {"huge width", spoiled(18, 0x7FFFFFFF)},
        {"colour table over 256", with_colours_used(300)},
        {"pixels not after the table", spoiled(10, 54)},
        {"fewer rows than frames", SheetBytes(16, 7, 1).bytes()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        Sprite sprite;
        sprite.frame_count = 8;
        EXPECT_THROW(sprite.load_bytes(row.bytes, "rabbit.dat"), SheetError);
        EXPECT_FALSE(sprite.loaded());
        EXPECT_EQ(sprite.frame_height, 0);
    }
    // A short colour table is fine; indices beyond it read as black.
    Sprite small;
    small.frame_count = 8;
    small.load_bytes(with_colours_used(16), "rabbit.dat");
    EXPECT_TRUE(small.loaded());
    EXPECT_EQ(small.image->colour(200), 0u);
}

TEST(SpriteSheet, MissingFileIsAFileError) {
    testing_support::TempFolder folder;
    Sprite sprite;
    sprite.frame_count = 8;
    EXPECT_THROW(sprite.load(folder / "rabbit.dat"), text::FileError);
    EXPECT_FALSE(sprite.loaded());
    folder.write_bytes("rabbit.dat", SheetBytes(8, 16, 3).bytes());
    sprite.load(folder / "rabbit.dat");
    EXPECT_TRUE(sprite.loaded());
}

}  // namespace
