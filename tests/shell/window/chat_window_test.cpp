// The chat line: which keys count as typing, and what Enter, Escape and Tab do to the text.

#include "shell/window/chat_window.h"

#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Key {
    const char* label;
    Qt::Key key;
    const char16_t* text;  // what the key produces; empty for keys that type nothing
    bool types;
};

class ChatWindowKeys : public ::testing::TestWithParam<Key> {};

TEST_P(ChatWindowKeys, OnlyKeysThatProduceACharacterCountAsTyping) {
    const Key& key = GetParam();
    shell::ChatWindow line(nullptr);
    QSignalSpy typed(&line, &shell::ChatWindow::character_typed);
    QTest::sendKeyEvent(QTest::Click, &line, key.key, QString::fromUtf16(key.text),
                        Qt::NoModifier);
    EXPECT_EQ(typed.count(), key.types ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ChatWindowKeys,
    ::testing::Values(Key{"letter", Qt::Key_A, u"a", true}, Key{"digit", Qt::Key_5, u"5", true},
                      Key{"hangul", Qt::Key_unknown, u"한", true},
                      Key{"backspace", Qt::Key_Backspace, u"\b", true},
                      Key{"tab", Qt::Key_Tab, u"\t", true},
                      Key{"enter", Qt::Key_Return, u"\r", true},
                      Key{"escape", Qt::Key_Escape, u"\x1b", true},
                      Key{"arrow", Qt::Key_Left, u"", false},
                      Key{"shift", Qt::Key_Shift, u"", false},
                      Key{"function", Qt::Key_F5, u"", false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ChatWindow, EnterEndsTheLineWithoutBreakingItTabIsTextEscapeIsNot) {
    shell::ChatWindow line(nullptr);
    QSignalSpy entered(&line, &shell::ChatWindow::enter_pressed);
    QSignalSpy escaped(&line, &shell::ChatWindow::escape_pressed);
    QTest::sendKeyEvent(QTest::Click, &line, Qt::Key_unknown, QStringLiteral("안녕"),
                        Qt::NoModifier);
    QTest::keyClick(&line, Qt::Key_Tab);
    QTest::keyClick(&line, Qt::Key_Return);
    QTest::keyClick(&line, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&line, Qt::Key_Escape);
    EXPECT_EQ(entered.count(), 2);
    EXPECT_EQ(escaped.count(), 1);
    EXPECT_EQ(line.toPlainText(), QStringLiteral("안녕\t"));
}

TEST(ChatWindow, HangulCommittedByAnInputMethodIsTypingButComposingIsNot) {
    shell::ChatWindow line(nullptr);
    QSignalSpy typed(&line, &shell::ChatWindow::character_typed);

    QInputMethodEvent composing(QStringLiteral("ㅎ"), {});
    QApplication::sendEvent(&line, &composing);
    EXPECT_EQ(typed.count(), 0);

    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("한"));
    QApplication::sendEvent(&line, &committed);
    EXPECT_EQ(typed.count(), 1);
    EXPECT_EQ(line.toPlainText(), QStringLiteral("한"));
}

}  // namespace
