#include "shell/dialogs/free_talk_dialog.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "support/fake_message_boxes.h"
#include "support/temp_folder.h"

#include <signal.h>
#include <sys/resource.h>

using shell::FreeTalkDialog;

namespace {

using testing_support::TempFolder;

const std::string kOld = "*안녕\n반가워\n";

void type_hangul(QWidget* field, const QString& text) {
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, text, Qt::NoModifier);
}

void commit(QWidget* field, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(field, &event);
}

class FreeTalkDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.write("data4.dat", kOld);
        open(folder / "data4.dat");
    }

    void open(const std::filesystem::path& data4) {
        form = std::make_unique<FreeTalkDialog>(data4);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    QLineEdit* field(const char* name) const { return form->findChild<QLineEdit*>(name); }
    QPushButton* button(const char* name) const { return form->findChild<QPushButton*>(name); }
    QColor base(const char* name) const { return field(name)->palette().color(QPalette::Base); }

    // Fills the fields as a user would: each reply field is reached by typing above it.
    void fill(const QString& key, const QString& r1, const QString& r2 = {}, const QString& r3 = {},
              const QString& r4 = {}) {
        const char* names[] = {"ed_que", "ed_ans1", "ed_ans2", "ed_ans3", "ed_ans4"};
        const QString texts[] = {key, r1, r2, r3, r4};
        for (int i = 0; i < 5; ++i) {
            QLineEdit* f = field(names[i]);
            ASSERT_TRUE(f->isEnabled()) << names[i];
            f->setFocus();
            QTest::keyClick(f, Qt::Key_Return);  // opens the next field even when left empty
            if (!texts[i].isEmpty()) type_hangul(f, texts[i]);
        }
    }

    TempFolder folder;
    testing_support::FakeMessageBoxes message_boxes;
    std::unique_ptr<FreeTalkDialog> form;
};

TEST_F(FreeTalkDialogTest, StartsWithOnlyTheKeyFieldUsable) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("대화입력기"));
    EXPECT_TRUE(field("ed_que")->isEnabled());
    EXPECT_TRUE(field("ed_que")->hasFocus());
    for (const char* name : {"ed_ans1", "ed_ans2", "ed_ans3", "ed_ans4"}) {
        EXPECT_FALSE(field(name)->isEnabled()) << name;
    }
    // The inactive look must differ from the active one, or the user cannot tell them apart.
    EXPECT_NE(base("ed_ans1"), base("ed_que"));
}

TEST_F(FreeTalkDialogTest, EnterInEmptyKeyOpensFirstReplyAndKeepsFocus) {
    QTest::keyClick(field("ed_que"), Qt::Key_Return);
    EXPECT_TRUE(field("ed_ans1")->isEnabled());
    EXPECT_EQ(base("ed_ans1"), base("ed_que"));
    EXPECT_FALSE(field("ed_ans2")->isEnabled());
    EXPECT_TRUE(field("ed_que")->hasFocus());
    EXPECT_TRUE(field("ed_que")->text().isEmpty());
    // Enter is not a click on "추가": nothing written, no message.
    EXPECT_TRUE(message_boxes.messages.isEmpty());
    EXPECT_EQ(folder.read("data4.dat"), kOld);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(FreeTalkDialogTest, EachKindOfTypingOpensOnlyTheNextField) {
    QTest::keyClick(field("ed_que"), Qt::Key_Backspace);
    EXPECT_TRUE(field("ed_ans1")->isEnabled());
    EXPECT_FALSE(field("ed_ans2")->isEnabled());

    type_hangul(field("ed_ans1"), QStringLiteral("가"));
    EXPECT_EQ(field("ed_ans1")->text(), QStringLiteral("가"));
    EXPECT_TRUE(field("ed_ans2")->isEnabled());
    EXPECT_FALSE(field("ed_ans3")->isEnabled());

    field("ed_ans2")->setFocus();
    commit(field("ed_ans2"), QStringLiteral("한글"));  // what a Korean input method sends
    EXPECT_EQ(field("ed_ans2")->text(), QStringLiteral("한글"));
    EXPECT_TRUE(field("ed_ans3")->isEnabled());
    EXPECT_FALSE(field("ed_ans4")->isEnabled());

    QTest::keyClick(field("ed_ans3"), Qt::Key_Tab);  // moves on, types nothing
    EXPECT_FALSE(field("ed_ans4")->isEnabled());
    QTest::keyClicks(field("ed_ans3"), "a");
    EXPECT_TRUE(field("ed_ans4")->isEnabled());
}

TEST_F(FreeTalkDialogTest, AddingWritesTheEntryAndEmptiesTheFieldsWhichStayUsable) {
    fill(QStringLiteral("밥"), QStringLiteral("먹었어"), QStringLiteral("배고파"), {},
         QStringLiteral("잘 먹어"));
    button("btn_add")->click();
    EXPECT_TRUE(message_boxes.messages.isEmpty())
        << message_boxes.messages.join('\n').toStdString();
    EXPECT_EQ(folder.read("data4.dat"), kOld + "*밥\n먹었어\n배고파\n잘 먹어\n");

    for (const char* name : {"ed_que", "ed_ans1", "ed_ans2", "ed_ans3", "ed_ans4"}) {
        EXPECT_TRUE(field(name)->text().isEmpty()) << name;
        EXPECT_TRUE(field(name)->isEnabled()) << name;
    }
    EXPECT_NE(base("ed_ans2"), base("ed_que"));  // looks inactive again
    QTest::keyClicks(field("ed_ans2"), "ok");
    EXPECT_EQ(field("ed_ans2")->text(), QStringLiteral("ok"));
    field("ed_ans2")->clear();

    // A second entry in a row.
    fill(QStringLiteral("잘자"), QStringLiteral("너도"));
    button("btn_add")->click();
    EXPECT_EQ(folder.read("data4.dat"), kOld + "*밥\n먹었어\n배고파\n잘 먹어\n*잘자\n너도\n");
}

TEST_F(FreeTalkDialogTest, PrefilledKeyIsReadyForAReply) {
    form->set_key_text(QStringLiteral("오늘 뭐 했어"));
    EXPECT_EQ(field("ed_que")->text(), QStringLiteral("오늘 뭐 했어"));
    EXPECT_TRUE(field("ed_ans1")->isEnabled());
    type_hangul(field("ed_ans1"), QStringLiteral("놀았어"));
    button("btn_add")->click();
    EXPECT_EQ(folder.read("data4.dat"), kOld + "*오늘 뭐 했어\n놀았어\n");
}

struct Refusal {
    const char* name;
    QString key, reply1, reply2;
    bool remove_file;
    QString message;
    bool exact;  // else the message need only contain `message`
};
void PrintTo(const Refusal& row, std::ostream* out) {
    *out << row.name;
}

class FreeTalkDialogRefuses : public FreeTalkDialogTest,
                              public ::testing::WithParamInterface<Refusal> {};

TEST_P(FreeTalkDialogRefuses, WithAMessageAndKeepsEverything) {
    const Refusal& row = GetParam();
    if (row.remove_file) std::filesystem::remove(folder / "data4.dat");
    fill(row.key, row.reply1, row.reply2);
    button("btn_add")->click();

    ASSERT_EQ(message_boxes.messages.size(), 1);
    if (row.exact) {
        EXPECT_EQ(message_boxes.messages[0], row.message);
    } else {
        EXPECT_TRUE(message_boxes.messages[0].contains(row.message))
            << message_boxes.messages[0].toStdString();
    }
    EXPECT_TRUE(message_boxes.errors.isEmpty());
    if (row.remove_file) {
        EXPECT_FALSE(std::filesystem::exists(folder / "data4.dat"));
    } else {
        EXPECT_EQ(folder.read("data4.dat"), kOld);
    }
    // What the user typed is still there to be corrected.
    EXPECT_EQ(field("ed_que")->text(), row.key);
    EXPECT_EQ(field("ed_ans1")->text(), row.reply1);
    EXPECT_EQ(field("ed_ans2")->text(), row.reply2);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FreeTalkDialogRefuses,
    ::testing::Values(Refusal{"missing_file", "밥", "응", "", true,
                              QStringLiteral("data4.dat화일이 없거나 읽기전용입니다."), true},
                      Refusal{"key_only", "밥", "", "", false,
                              QStringLiteral("최소한 한문장은 입력해야 합니다."), true},
                      Refusal{"first_reply_empty", "밥", "", "응", false,
                              QStringLiteral("최소한 한문장은 입력해야 합니다."), true},
                      Refusal{"star_in_reply", "밥", "응", "*별", false,
                              QStringLiteral("대답에는 *를 쓸 수 없습니다."), true},
                      // The message names the character, so the user knows what to change.
                      Refusal{"no_cp949_form", "밥", "좋아 \U0001F600", "", false,
                              QStringLiteral("\U0001F600"), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FreeTalkDialogTest, FailedWriteIsShownAsAnErrorNotThrown) {
    // Files may not grow past a few bytes: the file opens fine and the write fails, as on a
    // full disk.
    rlimit old_limit{};
    ::getrlimit(RLIMIT_FSIZE, &old_limit);
    const auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_limit;
    limit.rlim_cur = 8;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    fill(QStringLiteral("밥"), QStringLiteral("응"));
    button("btn_add")->click();
    ::setrlimit(RLIMIT_FSIZE, &old_limit);
    ::signal(SIGXFSZ, old_handler);
    EXPECT_EQ(message_boxes.errors.size(), 1);
    EXPECT_EQ(field("ed_que")->text(), QStringLiteral("밥"));
    EXPECT_EQ(folder.read("data4.dat"), kOld);
}

TEST_F(FreeTalkDialogTest, CancelClosesWithoutWriting) {
    fill(QStringLiteral("밥"), QStringLiteral("응"));
    button("btn_cancel")->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(folder.read("data4.dat"), kOld);
}

}  // namespace
