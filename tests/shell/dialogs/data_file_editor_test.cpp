#include "shell/dialogs/data_file_editor.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/fake_message_boxes.h"
#include "support/temp_folder.h"

namespace {

using testing_support::k;
using testing_support::TempFolder;

ino_t inode(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

class DataFileEditor : public ::testing::Test {
  protected:
    void TearDown() override {
        if (editor) {
            answer = QMessageBox::Discard;
            editor->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    shell::DataFileEditor* open(const std::filesystem::path& file) {
        editor = shell::DataFileEditor::open_file(file, nullptr);
        if (editor) {
            editor->set_question(
                [this](QWidget*, const QString& text, QMessageBox::StandardButtons) {
                    questions << text;
                    return answer;
                });
        }
        return editor;
    }

    QPlainTextEdit* text() const { return editor->findChild<QPlainTextEdit*>("text"); }
    QString note() const { return editor->findChild<QLabel*>("note")->text(); }

    // Types at the end of the text, as the user would.
    void type_at_end(const QString& typed) {
        QTextCursor cursor = text()->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(typed);
        text()->setTextCursor(cursor);
    }

    // Closes the window and lets it delete itself; true when it closed.
    bool close_window() {
        const bool closed = editor->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return closed;
    }

    TempFolder folder;
    testing_support::FakeMessageBoxes message_boxes;
    QPointer<shell::DataFileEditor> editor;
    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
};

TEST_F(DataFileEditor, UntouchedFileKeepsItsBytesAndIsNeverRewritten) {
    const std::string bytes = k("*안녕\n반가워");  // LF only, no final line end
    folder.write_bytes("data4.dat", bytes);
    const ino_t before = inode(folder / "data4.dat");
    ASSERT_TRUE(open(folder / "data4.dat"));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("data4.dat"));
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("*안녕\n반가워"));

    // Typed and taken back again is no change.
    type_at_end(QStringLiteral("x"));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("data4.dat*"));
    QTextCursor cursor = text()->textCursor();
    cursor.deletePreviousChar();

    EXPECT_TRUE(editor->save());
    EXPECT_TRUE(close_window());
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(folder.read_bytes("data4.dat"), bytes);
    EXPECT_EQ(inode(folder / "data4.dat"), before);
}

TEST_F(DataFileEditor, SavingWritesEveryLineWithCrLf) {
    folder.write_bytes("data4.dat", k("*안녕\n반가워\n"));
    ASSERT_TRUE(open(folder / "data4.dat"));
    type_at_end(QStringLiteral("*잘자\n너도"));
    EXPECT_TRUE(editor->save());
    EXPECT_EQ(folder.read_bytes("data4.dat"), k("*안녕\r\n반가워\r\n*잘자\r\n너도\r\n"));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("data4.dat"));
    EXPECT_TRUE(message_boxes.messages.isEmpty());
    EXPECT_TRUE(message_boxes.errors.isEmpty());
}

TEST_F(DataFileEditor, SavingADataFileListsTheCheckersFindingsAndStillSaves) {
    folder.write("data1.dat", "*[음식]\n피자\n");
    folder.write("data2.dat", "*[무][음식]\n맛있어요.\n");
    ASSERT_TRUE(open(folder / "data2.dat"));
    auto* findings = editor->findChild<QListWidget*>("findings");
    ASSERT_TRUE(findings);
    type_at_end(QStringLiteral("*[무][과일]\n%[요] 좋아요.\n"));
    EXPECT_TRUE(editor->save());
    EXPECT_EQ(folder.read("data2.dat"), "*[무][음식]\n맛있어요.\n*[무][과일]\n%[요] 좋아요.\n");
    ASSERT_EQ(findings->count(), 2);
    EXPECT_TRUE(findings->isVisibleTo(editor));
    EXPECT_TRUE(findings->item(0)->text().startsWith(QStringLiteral("3번째 줄: 오류: ")));
    EXPECT_TRUE(findings->item(1)->text().startsWith(QStringLiteral("4번째 줄: 경고: ")));
    emit findings->itemActivated(findings->item(1));
    EXPECT_EQ(text()->textCursor().blockNumber(), 3);

    // Mended and saved again: the list goes away. Files the checker does not know get none.
    text()->setPlainText(QStringLiteral("*[무][음식]\n%[은] 맛있어요.\n"));
    EXPECT_TRUE(editor->save());
    EXPECT_FALSE(findings->isVisibleTo(editor));
    EXPECT_TRUE(message_boxes.messages.isEmpty());
}

TEST_F(DataFileEditor, CharacterWithoutCp949FormIsRefusedWithItsLine) {
    folder.write("data4.dat", "*안녕\n반가워\n");
    const std::string bytes = folder.read_bytes("data4.dat");
    ASSERT_TRUE(open(folder / "data4.dat"));
    type_at_end(QStringLiteral("좋아 \U0001F600"));
    EXPECT_FALSE(editor->save());
    ASSERT_EQ(message_boxes.messages.size(), 1);
    EXPECT_TRUE(message_boxes.messages[0].startsWith(QStringLiteral("3번째 줄에")))
        << message_boxes.messages[0].toStdString();
    EXPECT_TRUE(message_boxes.messages[0].contains(QStringLiteral("\U0001F600")));
    EXPECT_EQ(folder.read_bytes("data4.dat"), bytes);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("data4.dat*"));
    EXPECT_EQ(text()->textCursor().blockNumber(), 2);
}

TEST_F(DataFileEditor, BytesThatAreNotCp949OpenReadOnly) {
    const std::string bytes = "*\xB0\x20\r\nok\r\n";
    folder.write_bytes("data4.dat", bytes);
    ASSERT_TRUE(open(folder / "data4.dat"));
    EXPECT_TRUE(editor->is_read_only());
    EXPECT_TRUE(text()->isReadOnly());
    EXPECT_FALSE(note().isEmpty());
    EXPECT_FALSE(editor->save());
    EXPECT_TRUE(close_window());
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(folder.read_bytes("data4.dat"), bytes);
}

struct CloseCase {
    const char* name;
    QMessageBox::StandardButton answer;
    bool closes;
    bool writes;
};
void PrintTo(const CloseCase& row, std::ostream* out) {
    *out << row.name;
}

class DataFileEditorClosing : public DataFileEditor,
                              public ::testing::WithParamInterface<CloseCase> {};

TEST_P(DataFileEditorClosing, ModifiedWindowAsksFirst) {
    folder.write("data4.dat", "*안녕\n");
    ASSERT_TRUE(open(folder / "data4.dat"));
    type_at_end(QStringLiteral("반가워"));
    answer = GetParam().answer;
    EXPECT_EQ(close_window(), GetParam().closes);
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(bool(editor), !GetParam().closes);
    EXPECT_EQ(folder.read("data4.dat"), GetParam().writes ? "*안녕\n반가워\n" : "*안녕\n");
}

INSTANTIATE_TEST_SUITE_P(Answers, DataFileEditorClosing,
                         ::testing::Values(CloseCase{"save", QMessageBox::Save, true, true},
                                           CloseCase{"discard", QMessageBox::Discard, true, false},
                                           CloseCase{"cancel", QMessageBox::Cancel, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DataFileEditor, MissingFileOpensEmptyAndSavingCreatesIt) {
    ASSERT_TRUE(open(folder / "data4.dat"));
    EXPECT_TRUE(text()->toPlainText().isEmpty());
    EXPECT_FALSE(note().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(folder / "data4.dat"));
    type_at_end(QStringLiteral("*밥\n응"));
    EXPECT_TRUE(editor->save());
    EXPECT_EQ(folder.read_bytes("data4.dat"), k("*밥\r\n응\r\n"));
}

TEST_F(DataFileEditor, OneWindowPerFile) {
    folder.write("data4.dat", "*안녕\n");
    ASSERT_TRUE(open(folder / "data4.dat"));
    EXPECT_EQ(shell::DataFileEditor::open_file(folder.path() / "." / "data4.dat", nullptr), editor);
}

TEST_F(DataFileEditor, FileWrittenElsewhereIsOnlyOverwrittenWhenConfirmed) {
    folder.write("data4.dat", "*안녕\n");
    ASSERT_TRUE(open(folder / "data4.dat"));
    type_at_end(QStringLiteral("반가워"));
    folder.write("data4.dat", "*안녕\n*새 항목\n응\n");  // the entry dialog appended meanwhile

    answer = QMessageBox::No;
    EXPECT_FALSE(editor->save());
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(folder.read("data4.dat"), "*안녕\n*새 항목\n응\n");

    answer = QMessageBox::Yes;
    EXPECT_TRUE(editor->save());
    EXPECT_EQ(folder.read("data4.dat"), "*안녕\n반가워\n");
}

TEST_F(DataFileEditor, FailedSaveShowsTheErrorAndKeepsTheText) {
    ASSERT_TRUE(open(folder / "no folder" / "data4.dat"));
    type_at_end(QStringLiteral("응"));
    EXPECT_FALSE(editor->save());
    EXPECT_EQ(message_boxes.errors.size(), 1);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("응"));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("data4.dat*"));
}

TEST_F(DataFileEditor, UnreadableFileShowsTheErrorAndOpensNothing) {
    std::filesystem::create_directory(folder / "data4.dat");
    EXPECT_EQ(open(folder / "data4.dat"), nullptr);
    EXPECT_EQ(message_boxes.errors.size(), 1);
}

}  // namespace
