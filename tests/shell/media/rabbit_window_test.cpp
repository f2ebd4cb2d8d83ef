// The animation window, headless: the frozen picture, the sprite's start and steps, closing by
// a key or a click, and a sheet that cannot be loaded.

#include "shell/media/rabbit_window.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "anim/sheet_bytes.h"
#include "support/fake_message_boxes.h"
#include "support/temp_folder.h"

using shell::RabbitWindow;

namespace {

using testing_support::SheetBytes;

// Frames of 16 x 8 in grey 200, the lower-left pixel transparent.
std::string small_sheet() {
    SheetBytes sheet(16, 64, 200);
    sheet.at(0, 0) = 1;
    return sheet.bytes();
}

TEST(RabbitWindow, TheSpriteStartsAt50And50AndStepsOnTheFrozenPicture) {
    testing_support::TempFolder folder;
    folder.write_bytes("rabbit.dat", small_sheet());
    RabbitWindow form(folder / "rabbit.dat", nullptr);
    ASSERT_TRUE(form.has_screen_picture());  // the offscreen platform captures too
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    auto* timer = form.findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 100);
    EXPECT_TRUE(timer->isActive());
    ASSERT_NE(form.findChild<QWidget*>(QStringLiteral("backimage")), nullptr);

    const anim::Sprite& sprite = form.sprite();
    EXPECT_EQ(sprite.x, 50);
    EXPECT_EQ(sprite.y, 50);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sprite.x != 50; }, 2000));
    EXPECT_EQ(sprite.x, 70);
    EXPECT_EQ(sprite.y, 55);
    // The step is in the window's picture one row below the sprite's place.
    EXPECT_EQ(form.picture().pixel(71, 56 + 7), qRgb(200, 200, 200));
}

TEST(RabbitWindow, AKeyOrAClickClosesIt) {
    testing_support::TempFolder folder;
    folder.write_bytes("rabbit.dat", small_sheet());
    for (const bool by_key : {true, false}) {
        RabbitWindow form(folder / "rabbit.dat", nullptr);
        form.show();
        if (by_key) {
            QTest::keyClick(&form, Qt::Key_A);
        } else {
            QTest::mouseClick(form.findChild<QWidget*>(QStringLiteral("backimage")),
                              Qt::LeftButton, {}, QPoint(300, 200));
        }
        EXPECT_FALSE(form.isVisible()) << (by_key ? "key" : "click");
    }
}

TEST(RabbitWindow, ABadSheetIsReportedAndTheWindowShowsNoSprite) {
    testing_support::TempFolder folder;
    testing_support::FakeMessageBoxes boxes;
    SheetBytes top_down(16, 64, 200);
    std::string bytes = top_down.bytes();
    testing_support::poke32(bytes, 22, static_cast<std::uint32_t>(-64));
    for (const bool missing : {true, false}) {
        if (!missing) folder.write_bytes("rabbit.dat", bytes);
        boxes.errors.clear();
        RabbitWindow form(folder / "rabbit.dat", nullptr);
        ASSERT_EQ(boxes.errors.size(), 1);
        EXPECT_TRUE(boxes.errors[0].contains(QStringLiteral("rabbit.dat")));
        const QImage before = form.picture();
        QTest::qWait(250);  // two ticks: nothing steps, nothing is drawn
        EXPECT_FALSE(form.sprite().loaded());
        EXPECT_EQ(form.sprite().x, 0);
        EXPECT_EQ(form.picture(), before);
        form.show();
        QTest::keyClick(&form, Qt::Key_Space);
        EXPECT_FALSE(form.isVisible());
    }
}

}  // namespace
