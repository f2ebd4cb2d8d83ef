#include "shell/window/setup_dialog.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using shell::SetupDialog;

namespace {

void commit(QWidget* field, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(field, &event);
}

TEST(SetupDialog, EveryChangeOfANameIsAnnouncedWhole) {
    SetupDialog form;
    auto* user = form.findChild<QLineEdit*>("Edit1");
    auto* computer = form.findChild<QLineEdit*>("Edit2");
    ASSERT_TRUE(user && computer);
    EXPECT_TRUE(user->text().isEmpty());
    EXPECT_TRUE(computer->text().isEmpty());

    QSignalSpy users(&form, &SetupDialog::user_name_changed);
    QSignalSpy computers(&form, &SetupDialog::computer_name_changed);
    commit(user, QStringLiteral("철수"));
    QTest::keyClicks(user, "a");
    ASSERT_EQ(users.size(), 2);
    EXPECT_EQ(users.at(1).at(0).toString(), QStringLiteral("철수a"));
    EXPECT_EQ(computers.size(), 0);

    // Typing a name and erasing it again leaves an empty name.
    for (int i = 0; i < 3; ++i) QTest::keyClick(user, Qt::Key_Backspace);
    EXPECT_EQ(users.last().at(0).toString(), QString());

    commit(computer, QStringLiteral("누리"));
    ASSERT_EQ(computers.size(), 1);
    EXPECT_EQ(computers.at(0).at(0).toString(), QStringLiteral("누리"));
}

TEST(SetupDialog, ConfirmClosesWithOk) {
    SetupDialog form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("다솜V1.0 환경설정"));
    form.show();
    auto* ok = form.findChild<QPushButton*>();
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->text(), QStringLiteral("확인"));
    ok->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

}  // namespace
