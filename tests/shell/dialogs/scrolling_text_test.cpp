// The scrolling-text control and the about box that uses it.

#include "shell/dialogs/scrolling_text.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "shell/dialogs/about_box.h"

using shell::about_lines;
using shell::AboutBox;
using shell::ScrollingText;

namespace {

TEST(ScrollingText, SpeedIsKeptWithinOneToAThousand) {
    ScrollingText text;
    for (const auto& [given, kept] : {std::pair{0, 1}, {-5, 1}, {5000, 1000}, {70, 70}}) {
        text.set_speed(given);
        EXPECT_EQ(text.speed(), kept) << given;
    }
}

TEST(ScrollingText, LineHeightGrowsByTheStyle) {
    ScrollingText text;
    text.set_items({QStringLiteral("가나다"), QStringLiteral("라")});
    const int plain = text.line_height();
    const int plain_width = text.text_width();
    struct Row {
        ScrollingText::TextStyle style;
        int depth, extra;
    };
    for (const Row row :
         {Row{ScrollingText::tsRaised, 1, 2}, Row{ScrollingText::tsLowered, 1, 2},
          Row{ScrollingText::tsShaddow, 1, 1}, Row{ScrollingText::tsRaised, 3, 6}}) {
        text.set_text_style(row.style);
        text.set_relief_depth(row.depth);
        EXPECT_EQ(text.line_height(), plain + row.extra) << row.style << " " << row.depth;
        EXPECT_EQ(text.text_width(), plain_width + row.extra);
        EXPECT_EQ(text.text_height(), 2 * text.line_height());
        text.set_text_style(ScrollingText::tsNormal);
        text.set_relief_depth(1);
    }
    // The cell height already holds the internal leading; a line holds it twice.
    const QFontMetrics metrics(text.font());
    EXPECT_EQ(plain, 2 * metrics.height() - QFontInfo(text.font()).pixelSize());
}

TEST(ScrollingText, AStillBlockStandsCentredOrAtZeroWhenLarger) {
    ScrollingText text;
    text.set_direction(ScrollingText::mdStatic);
    EXPECT_FALSE(text.running());
    text.resize(300, 100);
    text.set_items({QStringLiteral("가")});
    EXPECT_EQ(text.block_origin(), QPoint((300 - text.text_width()) / 2,
                                          (100 - text.text_height()) / 2));
    text.resize(5, 5);
    EXPECT_EQ(text.block_origin(), QPoint(0, 0));
}

TEST(ScrollingText, WithoutContinuousOnePassEndsOutOfViewAndANewDirectionStartsAnother) {
    ScrollingText text;
    text.set_continuous(false);
    text.set_steps(3);
    text.set_speed(1);
    text.set_direction(ScrollingText::mdBottomToTop);
    QSignalSpy begins(&text, &ScrollingText::began), steps(&text, &ScrollingText::stepped),
        ends(&text, &ScrollingText::ended);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !text.running(); }, 5000));
    EXPECT_EQ(begins.size(), 1);
    EXPECT_EQ(steps.size(), 4);  // steps 1 to Steps + 1
    EXPECT_EQ(ends.size(), 1);
    EXPECT_EQ(text.move_step(), 0);
    // Step 0 of bottom-to-top: the block lies just below the control.
    EXPECT_EQ(text.block_origin().y(), text.height());
    text.set_direction(ScrollingText::mdBottomToTop);
    EXPECT_TRUE(text.running());
}

TEST(AboutBox, TheFortyTwoLinesScrollAndFit) {
    const QStringList lines = about_lines();
    ASSERT_EQ(lines.size(), 42);
    for (int number = 1; number <= 42; ++number) {
        const bool text = number % 2 == 0 ? number <= 10 : (number >= 13 && number <= 41);
        EXPECT_EQ(!lines[number - 1].isEmpty(), text) << "line " << number;
    }
    EXPECT_EQ(lines[5], QStringLiteral("다솜 V1.0"));

    // The lines scroll from the start, and every line fits the 165-pixel panel.
    AboutBox about;
    auto* moving = about.findChild<ScrollingText*>(QStringLiteral("MoveText1"));
    ASSERT_NE(moving, nullptr);
    EXPECT_EQ(moving->items(), lines);
    EXPECT_TRUE(moving->running());
    EXPECT_LE(moving->text_width(), moving->width());
}

}  // namespace
