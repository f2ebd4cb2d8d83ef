// The record entry and deletion dialogs, driven headless as a user would.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "shell/dialogs/record_deletion_dialog.h"
#include "shell/dialogs/record_entry_dialog.h"
#include "support/fake_message_boxes.h"
#include "support/temp_folder.h"

using shell::RecordDeletionDialog;
using shell::RecordEntryDialog;

namespace {

using engine::Book;
using testing_support::k;
using testing_support::TempFolder;

template <class T>
T* child(QWidget& form, const char* name) {
    T* found = form.findChild<T*>(QLatin1String(name));
    if (!found) ADD_FAILURE() << "no control " << name;
    return found;
}

template <class Form>
std::unique_ptr<Form> shown(const TempFolder& folder, Book book) {
    auto form = std::make_unique<Form>(folder.path(), book);
    form->show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return form;
}

QString text_of(QWidget& form, const char* name) {
    if (auto* label = form.findChild<QLabel*>(QLatin1String(name))) return label->text();
    return child<QLineEdit>(form, name)->text();
}

struct BookTest : ::testing::Test {
    TempFolder folder;
    testing_support::FakeMessageBoxes message_boxes;
};

TEST_F(BookTest, EachBookRelabelsBothDialogs) {
    struct Row {
        Book book;
        const char* add_caption;
        const char* la_name;
        const char* la_mean;
        bool browse;
        const char* del_caption;
        const char* la_find;
        const char* la_del_name;
        const char* la_del_mean;
    };
    const Row rows[] = {
        {Book::commands, "실행명령추가", "실행화일이름", " 경로명", true, "실행명령삭제",
         "찾을명령입력", "실행이름", "경로명"},
        {Book::addresses, "주소추가", "이름", "주소", false, "주소삭제", "찾을사람입력", "이름",
         "주소"},
        {Book::words, "영어단어추가", "단어", "뜻", false, "단어삭제", "찾을단어입력", "단어", "뜻"},
    };
    for (const char* file : {"exec.dat", "juso.dat", "eng.dat"}) folder.write(file, "");
    for (const Row& row : rows) {
        auto add = shown<RecordEntryDialog>(folder, row.book);
        EXPECT_EQ(add->windowTitle(), QString::fromUtf8(row.add_caption));
        EXPECT_EQ(text_of(*add, "la_name"), QString::fromUtf8(row.la_name));
        EXPECT_EQ(text_of(*add, "la_mean"), QString::fromUtf8(row.la_mean));
        EXPECT_EQ(child<QToolButton>(*add, "SpeedButton1")->isVisible(), row.browse);
        EXPECT_EQ(add->size(), QSize(332, 173));
        EXPECT_EQ(child<QLineEdit>(*add, "ed_mean")->geometry(), QRect(16, 123, 197, 21));
        EXPECT_EQ(child<QPushButton>(*add, "btn_add")->geometry(), QRect(245, 26, 75, 25));

        auto del = shown<RecordDeletionDialog>(folder, row.book);
        EXPECT_EQ(del->windowTitle(), QString::fromUtf8(row.del_caption));
        EXPECT_EQ(text_of(*del, "La_find"), QString::fromUtf8(row.la_find));
        EXPECT_EQ(text_of(*del, "La_name"), QString::fromUtf8(row.la_del_name));
        EXPECT_EQ(text_of(*del, "La_mean"), QString::fromUtf8(row.la_del_mean));
        EXPECT_EQ(del->size(), QSize(289, 234));
        EXPECT_EQ(child<QPushButton>(*del, "btn_cancel")->geometry(), QRect(200, 184, 75, 25));
        EXPECT_TRUE(child<QLineEdit>(*del, "ed_find")->hasFocus());
        EXPECT_FALSE(child<QPushButton>(*del, "btn_del")->isEnabled());
    }
    EXPECT_TRUE(message_boxes.errors.isEmpty());
}

TEST_F(BookTest, AddingAppendsClearsAndRefusesWhatCannotBeStored) {
    folder.write("eng.dat", "apple\n사과");
    auto form = shown<RecordEntryDialog>(folder, Book::words);
    auto* name = child<QLineEdit>(*form, "ed_name");
    auto* mean = child<QLineEdit>(*form, "ed_mean");
    auto* add = child<QPushButton>(*form, "btn_add");

    // Enter moves on as Tab does and adds nothing, even on the add button.
    name->setText(QStringLiteral("grape"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(mean->hasFocus());
    mean->setText(QStringLiteral("포도"));
    QTest::keyClick(mean, Qt::Key_Return);
    EXPECT_TRUE(add->hasFocus());
    QTest::keyClick(add, Qt::Key_Return);
    EXPECT_TRUE(child<QPushButton>(*form, "btn_cancel")->hasFocus());
    EXPECT_EQ(folder.read("eng.dat"), "apple\n사과");

    add->click();
    EXPECT_EQ(folder.read("eng.dat"), "apple\n사과\ngrape\n포도\n");
    EXPECT_TRUE(name->text().isEmpty() && mean->text().isEmpty());

    name->setText(QStringLiteral("kiwi"));
    add->click();
    mean->setText(QStringLiteral("키위😀"));
    add->click();
    EXPECT_EQ(message_boxes.messages.size(), 2);
    EXPECT_EQ(message_boxes.messages[0], QStringLiteral("모두 입력 하세요!!"));
    EXPECT_EQ(folder.read("eng.dat"), "apple\n사과\ngrape\n포도\n");
    EXPECT_EQ(name->text(), QStringLiteral("kiwi"));

    std::filesystem::remove(folder / "eng.dat");
    mean->setText(QStringLiteral("키위"));
    add->click();
    EXPECT_EQ(message_boxes.messages.back(), QString::fromStdString((folder / "eng.dat").string()) +
                                                 QStringLiteral("화일이 없거나 읽기전용입니다."));
    EXPECT_FALSE(std::filesystem::exists(folder / "eng.dat"));
}

TEST_F(BookTest, BrowsingFillsTheCommandLineOnlyWhenAFileIsChosen) {
    folder.write("exec.dat", "");
    auto form = shown<RecordEntryDialog>(folder, Book::commands);
    auto* mean = child<QLineEdit>(*form, "ed_mean");
    mean->setText(QStringLiteral("xeyes"));
    auto* browse = child<QToolButton>(*form, "SpeedButton1");
    browse->click();  // cancelled
    EXPECT_EQ(mean->text(), QStringLiteral("xeyes"));
    message_boxes.programs = {QStringLiteral("/usr/games/chess")};
    browse->click();
    EXPECT_EQ(mean->text(), QStringLiteral("/usr/games/chess"));
    EXPECT_TRUE(child<QLineEdit>(*form, "ed_name")->text().isEmpty());
}

TEST_F(BookTest, DeletingFindsCorrectsAndConfirms) {
    folder.write("juso.dat", "메모장\nmousepad\n계산기\ngalculator\n그림판\nkolourpaint\n");
    auto form = shown<RecordDeletionDialog>(folder, Book::addresses);
    auto* find = child<QLineEdit>(*form, "ed_find");
    auto* name = child<QLineEdit>(*form, "ed_name");
    auto* mean = child<QLineEdit>(*form, "ed_mean");
    find->setText(QStringLiteral("계산"));
    child<QPushButton>(*form, "btn_find")->click();
    EXPECT_EQ(name->text(), QStringLiteral("계산기"));
    EXPECT_EQ(mean->text(), QStringLiteral("galculator"));
    EXPECT_TRUE(child<QPushButton>(*form, "btn_del")->isEnabled());
    child<QPushButton>(*form, "btn_del")->click();
    EXPECT_TRUE(name->text().isEmpty() && mean->text().isEmpty());

    find->setText(QStringLiteral("그림"));
    child<QPushButton>(*form, "btn_find")->click();
    mean->setText(QStringLiteral("gimp"));
    child<QPushButton>(*form, "btn_close")->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(folder.read("juso.dat"), "메모장\nmousepad\n그림판\ngimp\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "temp.$$$"));
}

TEST_F(BookTest, BytesWithoutACharacterSurviveAWalkAndEscapeLeavesTheBook) {
    // A lead byte with no partner shows as U+FFFD, which has no CP949 form of its own.
    const std::string book = k("이름") + "\xB0\r\n" + k("주소") + "\xB0\r\nb\r\nc\r\n";
    folder.write_bytes("juso.dat", book);
    {
        auto form = shown<RecordDeletionDialog>(folder, Book::addresses);
        child<QLineEdit>(*form, "ed_find")->setText(QStringLiteral("이름"));
        child<QPushButton>(*form, "btn_find")->click();
        child<QPushButton>(*form, "btn_find")->click();
        child<QPushButton>(*form, "btn_close")->click();
        EXPECT_TRUE(message_boxes.messages.isEmpty());
        EXPECT_EQ(folder.read_bytes("juso.dat"), book);
    }
    auto form = shown<RecordDeletionDialog>(folder, Book::addresses);
    child<QLineEdit>(*form, "ed_find")->setText(QStringLiteral("b"));
    child<QPushButton>(*form, "btn_find")->click();
    child<QPushButton>(*form, "btn_del")->click();
    QTest::keyClick(child<QLineEdit>(*form, "ed_find"), Qt::Key_Escape);
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(folder.read_bytes("juso.dat"), book);
    EXPECT_FALSE(std::filesystem::exists(folder / "temp.$$$"));
}

TEST_F(BookTest, AMissingBookLeavesOnlyCancel) {
    auto form = shown<RecordDeletionDialog>(folder, Book::words);
    EXPECT_EQ(message_boxes.errors.size(), 1);
    EXPECT_FALSE(child<QPushButton>(*form, "btn_find")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(*form, "btn_close")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(*form, "btn_cancel")->isEnabled());
    child<QPushButton>(*form, "btn_cancel")->click();
    EXPECT_FALSE(std::filesystem::exists(folder / "eng.dat"));
    EXPECT_FALSE(std::filesystem::exists(folder / "temp.$$$"));
}

}  // namespace
