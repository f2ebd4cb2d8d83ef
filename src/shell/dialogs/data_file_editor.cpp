#include "shell/dialogs/data_file_editor.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>

#include <exception>
#include <optional>
#include <system_error>
#include <utility>

#include "check/data_checker.h"
#include "shell/dialogs/data_file_findings.h"
#include "shell/message_boxes.h"
#include "text/file_error.h"
#include "text/folder_lock.h"
#include "text/line_writer.h"

namespace shell {

namespace {

QString file_name(const std::filesystem::path& file) {
    return QString::fromStdU16String(file.filename().u16string());
}

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    const auto ca = std::filesystem::weakly_canonical(a, error);
    if (error) return a == b;
    const auto cb = std::filesystem::weakly_canonical(b, error);
    if (error) return a == b;
    return ca == cb;
}

// The real box, with Korean button captions whatever translations are installed.
QMessageBox::StandardButton ask_with_box(QWidget* parent, const QString& text,
                                         QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::Question, parent ? parent->windowTitle() : QString(), text,
                    buttons, parent);
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Save, "저장"},
        {QMessageBox::Discard, "저장 안 함"},
        {QMessageBox::Cancel, "취소"},
        {QMessageBox::Yes, "예"},
        {QMessageBox::No, "아니요"}};
    for (const auto& [button, caption] : captions) {
        if (QAbstractButton* b = box.button(button)) b->setText(QString::fromUtf8(caption));
    }
    box.exec();
    const QMessageBox::StandardButton answer = box.standardButton(box.clickedButton());
    return answer == QMessageBox::NoButton ? QMessageBox::Cancel : answer;
}

}  // namespace

DataFileEditor* DataFileEditor::open_file(const std::filesystem::path& file, QWidget* parent) {
    try {
        // Two windows on one file would overwrite each other's work.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* open = qobject_cast<DataFileEditor*>(window);
            if (open && open->isVisible() && same_file(open->file_, file)) {
                open->raise();
                open->activateWindow();
                return open;
            }
        }
        auto* editor = new DataFileEditor(file, TextDocument::load(file), parent);
        editor->show();
        return editor;
    } catch (const std::exception& error) {
        message_boxes().error(parent, QString::fromStdString(text::error_text(error)));
    } catch (...) {
        message_boxes().error(parent, QStringLiteral("화일을 열지 못했습니다."));
    }
    return nullptr;
}

bool DataFileEditor::close_all() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* editor = qobject_cast<DataFileEditor*>(window);
        if (editor && editor->isVisible() && !editor->close()) return false;
    }
    return true;
}

DataFileEditor::DataFileEditor(std::filesystem::path file, TextDocument document, QWidget* parent)
    : QMainWindow(parent),
      file_(std::move(file)),
      document_(std::move(document)),
      question_(ask_with_box) {
    setObjectName(QStringLiteral("DataFileEditor"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(640, 480);

    text_edit_ = new QPlainTextEdit(this);
    text_edit_->setObjectName(QStringLiteral("text"));
    // Data files are line by line: no wrapping, so a line on the screen is a line in the file.
    text_edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("굴림체"));
    font.setPixelSize(13);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    text_edit_->setFont(font);
    findings_ = new DataFileFindings(this);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(text_edit_);
    splitter->addWidget(findings_);
    splitter->setStretchFactor(0, 4);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    QMenu* file_menu = menuBar()->addMenu(QStringLiteral("파일"));
    save_action_ = new QAction(QStringLiteral("저장"), this);
    save_action_->setObjectName(QStringLiteral("save"));
    save_action_->setShortcut(QKeySequence::Save);
    file_menu->addAction(save_action_);
    close_action_ = new QAction(QStringLiteral("닫기"), this);
    close_action_->setObjectName(QStringLiteral("close"));
    close_action_->setShortcut(QKeySequence::Close);
    file_menu->addAction(close_action_);

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("note"));
    statusBar()->addWidget(note_, 1);
    position_ = new QLabel(this);
    position_->setObjectName(QStringLiteral("position"));
    statusBar()->addPermanentWidget(position_);

    const QString shown = QString::fromStdU16String(document_.text());
    text_edit_->setPlainText(shown);
    // The widget may still change what it shows (it has no room for some characters).
    if (!document_.editable() || text_edit_->toPlainText() != shown) {
        read_only_ = true;
        text_edit_->setReadOnly(true);
        save_action_->setEnabled(false);
        note_->setText(QStringLiteral(
            "CP949로 읽을 수 없는 바이트가 있어 읽기 전용으로 열었습니다. 저장하면 그 바이트가 "
            "사라지기 때문입니다."));
    } else if (document_.missing()) {
        note_->setText(QStringLiteral("화일이 없습니다. 저장하면 새로 만듭니다."));
    }
    text_edit_->document()->setModified(false);

    connect(save_action_, &QAction::triggered, this, &DataFileEditor::save);
    connect(close_action_, &QAction::triggered, this, &QWidget::close);
    connect(text_edit_->document(), &QTextDocument::modificationChanged, this,
            &DataFileEditor::update_title);
    connect(text_edit_, &QPlainTextEdit::cursorPositionChanged, this,
            &DataFileEditor::show_position);
    connect(findings_, &DataFileFindings::line_chosen, this, &DataFileEditor::go_to_line);
    update_title();
    show_position();
}

void DataFileEditor::update_title() {
    setWindowTitle(file_name(file_) +
                   (text_edit_->document()->isModified() ? QStringLiteral("*") : QString()));
}

void DataFileEditor::show_position() {
    const QTextCursor cursor = text_edit_->textCursor();
    position_->setText(QStringLiteral("%1번째 줄, %2번째 칸")
                           .arg(cursor.blockNumber() + 1)
                           .arg(cursor.positionInBlock() + 1));
}

void DataFileEditor::go_to_line(int line) {
    const QTextBlock block = text_edit_->document()->findBlockByNumber(line - 1);
    if (!block.isValid()) return;
    text_edit_->setTextCursor(QTextCursor(block));
    text_edit_->setFocus();
}

void DataFileEditor::show_findings(const std::string& bytes) {
    const std::string name = file_.filename().string();
    if (!check::knows_file(name)) return;
    findings_->show_findings(check::check_file(file_.parent_path(), name, bytes));
}

QMessageBox::StandardButton DataFileEditor::ask(const QString& text,
                                                QMessageBox::StandardButtons buttons) {
    return question_ ? question_(this, text, buttons) : QMessageBox::Cancel;
}

bool DataFileEditor::unsaved() const {
    return !read_only_ && document_.changed(text_edit_->toPlainText().toStdU16String());
}

bool DataFileEditor::save() {
    // Qt must never see an exception: a failed write is shown and the text stays in the window.
    try {
        return save_or_throw();
    } catch (const std::exception& error) {
        message_boxes().error(this, QString::fromStdString(text::error_text(error)));
    } catch (...) {
        message_boxes().error(this, QStringLiteral("알 수 없는 오류로 저장하지 못했습니다."));
    }
    return false;
}

bool DataFileEditor::save_or_throw() {
    if (read_only_) return false;
    std::u16string edited = text_edit_->toPlainText().toStdU16String();
    // Unchanged text is not written back: the file keeps its bytes and its line ends. A file
    // that did not exist is created by an explicit save even when empty.
    if (!document_.changed(edited) && !document_.missing()) {
        text_edit_->document()->setModified(false);
        return true;
    }

    TextDocument::Encoding encoded = TextDocument::encode(edited);
    if (encoded.bad_line != 0) {
        const QTextBlock block =
            text_edit_->document()->findBlockByNumber(static_cast<int>(encoded.bad_line) - 1);
        if (block.isValid()) text_edit_->setTextCursor(QTextCursor(block));
        message_boxes().message(
            this,
            QStringLiteral("%1번째 줄에 CP949로 쓸 수 없는 글자(%2)가 있어 저장하지 않았습니다.")
                .arg(encoded.bad_line)
                .arg(QString::fromStdU16String(encoded.bad_character)));
        return false;
    }

    // The check and the write are one step for every process on the folder (a window teaching
    // free talk, a terminal companion); the question is asked outside it, and what the user
    // agreed to overwrite is exactly what is overwritten.
    std::optional<std::string> agreed;
    for (;;) {
        {
            const text::FolderLock lock(file_.parent_path());
            const std::optional<std::string> on_disk = document_.changed_on_disk(file_);
            if (!on_disk || on_disk == agreed) {
                text::replace_file(file_, encoded.bytes);
                break;
            }
            agreed = on_disk;
        }
        const auto answer = ask(
            QStringLiteral("%1 화일이 이 창에서 연 뒤에 다른 곳에서 바뀌었습니다. 이 창의 내용으로 "
                           "덮어쓸까요?")
                .arg(file_name(file_)),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) return false;
    }
    show_findings(encoded.bytes);
    document_.saved(std::move(edited), std::move(encoded.bytes));
    note_->clear();
    text_edit_->document()->setModified(false);
    statusBar()->showMessage(findings_->count() > 0
                                 ? QStringLiteral("저장했습니다. 아래 목록을 확인해 주세요.")
                                 : QStringLiteral("저장했습니다."),
                             3000);
    return true;
}

void DataFileEditor::closeEvent(QCloseEvent* event) {
    try {
        if (!unsaved()) {
            event->accept();
            return;
        }
        const auto answer =
            ask(QStringLiteral("바뀐 내용을 %1에 저장할까요?").arg(file_name(file_)),
                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        if (answer == QMessageBox::Discard || (answer == QMessageBox::Save && save())) {
            event->accept();
        } else {
            event->ignore();
        }
    } catch (const std::exception& error) {
        event->ignore();
        message_boxes().error(this, QString::fromStdString(text::error_text(error)));
    } catch (...) {
        event->ignore();
        message_boxes().error(this, QStringLiteral("알 수 없는 오류로 창을 닫지 못했습니다."));
    }
}

}  // namespace shell
