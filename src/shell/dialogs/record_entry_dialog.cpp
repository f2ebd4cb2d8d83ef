#include "shell/dialogs/record_entry_dialog.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <string>
#include <utility>

#include "books/book_files.h"
#include "books/record_entry.h"
#include "shell/dialogs/book_dialog_parts.h"
#include "shell/error_guard.h"
#include "shell/message_boxes.h"

namespace shell {

RecordEntryDialog::RecordEntryDialog(std::filesystem::path program_folder, engine::Book book,
                                     QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      program_folder_(std::move(program_folder)),
      book_(book) {
    setObjectName(QStringLiteral("AddForm"));
    use_book_font(this);
    setFixedSize(332, 173);
    move(258, 221);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel_->setGeometry(0, 0, 233, 173);

    name_label_ = book_label(panel_, "la_name", 16, 24);
    name_label_->setText(QStringLiteral("영어단어"));
    mean_label_ = book_label(panel_, "la_mean", 16, 98);
    mean_label_->setText(QStringLiteral("뜻"));
    name_field_ = book_field(panel_, "ed_name", 16, 49, 157);
    mean_field_ = book_field(panel_, "ed_mean", 16, 123, 197);
    close_button_ = book_button(this, "btn_cancel", "종료", 244, 112);
    close_button_->setIcon(style()->standardIcon(QStyle::SP_DialogNoButton));
    add_button_ = book_button(this, "btn_add", "추가", 245, 26);
    add_button_->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    browse_button_ = new QToolButton(panel_);
    browse_button_->setObjectName(QStringLiteral("SpeedButton1"));
    browse_button_->setText(QStringLiteral("찾기"));
    browse_button_->setGeometry(184, 90, 25, 25);
    browse_button_->setAutoRaise(true);  // flat
    browse_button_->setFocusPolicy(Qt::NoFocus);
    browse_button_->hide();

    setTabOrder(name_field_, mean_field_);
    setTabOrder(mean_field_, add_button_);
    setTabOrder(add_button_, close_button_);
    // The dialog sees every key first: Enter moves on, whichever control has the focus.
    for (QWidget* control :
         {static_cast<QWidget*>(name_field_), static_cast<QWidget*>(mean_field_),
          static_cast<QWidget*>(add_button_), static_cast<QWidget*>(close_button_)}) {
        control->installEventFilter(this);
    }
    name_field_->setFocus();

    connect(add_button_, &QPushButton::clicked, this, &RecordEntryDialog::on_add_clicked);
    connect(close_button_, &QPushButton::clicked, this, &QDialog::reject);
    connect(browse_button_, &QToolButton::clicked, this, &RecordEntryDialog::browse_for_program);

    set_up_for_book();
}

void RecordEntryDialog::set_up_for_book() {
    struct Labels {
        const char* caption;
        const char* name;
        const char* mean;
    };
    static const Labels kLabels[] = {
        {"실행명령추가", "실행화일이름", " 경로명"},
        {"주소추가", "이름", "주소"},
        {"영어단어추가", "단어", "뜻"},
    };
    const Labels& labels = kLabels[static_cast<int>(book_)];
    setWindowTitle(QString::fromUtf8(labels.caption));
    name_label_->setText(QString::fromUtf8(labels.name));
    name_label_->adjustSize();
    mean_label_->setText(QString::fromUtf8(labels.mean));
    mean_label_->adjustSize();
    if (book_ == engine::Book::commands) browse_button_->show();
    book_path_ = program_folder_ / books::book_file_name(book_);
}

bool RecordEntryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RecordEntryDialog::on_add_clicked() {
    guarded(this, [this] { add_record(); });
}

void RecordEntryDialog::add_record() {
    std::string name;
    std::string mean;
    if (!book_line(this, name_label_->text(), name_field_->text(), name)) return;
    if (!book_line(this, mean_label_->text(), mean_field_->text(), mean)) return;
    const books::AddResult result = books::add_record(book_path_, name, mean);
    if (result != books::AddResult::added) {
        message_boxes().message(this,
                                QString::fromStdString(books::add_message(result, book_path_)));
        return;
    }
    name_field_->clear();
    mean_field_->clear();
}

void RecordEntryDialog::browse_for_program() {
    const QString program = message_boxes().choose_program(this);
    if (!program.isEmpty()) mean_field_->setText(program);
}

}  // namespace shell
