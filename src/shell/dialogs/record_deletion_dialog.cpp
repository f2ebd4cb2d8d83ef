#include "shell/dialogs/record_deletion_dialog.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <utility>

#include "books/book_files.h"
#include "shell/dialogs/book_dialog_parts.h"
#include "shell/error_guard.h"
#include "shell/message_boxes.h"
#include "shell/qt_text.h"
#include "text/codec.h"

namespace shell {

RecordDeletionDialog::RecordDeletionDialog(std::filesystem::path program_folder, engine::Book book,
                                           QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      program_folder_(std::move(program_folder)),
      book_(book) {
    setObjectName(QStringLiteral("delForm"));
    use_book_font(this);
    setFixedSize(289, 234);
    move(251, 126);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel_->setGeometry(0, 0, 185, 234);

    search_field_ = book_field(panel_, "ed_find", 20, 51, 121);
    name_field_ = book_field(panel_, "ed_name", 20, 136, 121);
    mean_field_ = book_field(panel_, "ed_mean", 20, 195, 149);
    confirm_button_ = book_button(this, "btn_close", "확인", 200, 131);
    confirm_button_->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    search_label_ = book_label(panel_, "La_find", 20, 24);
    name_label_ = book_label(panel_, "La_name", 20, 104);
    mean_label_ = book_label(panel_, "La_mean", 20, 171);
    find_button_ = book_button(this, "btn_find", "찾기", 200, 25);
    find_button_->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    delete_button_ = book_button(this, "btn_del", "삭제", 200, 78);
    delete_button_->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    delete_button_->setEnabled(false);
    cancel_button_ = book_button(this, "btn_cancel", "취소", 200, 184);
    cancel_button_->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    setTabOrder(search_field_, name_field_);
    setTabOrder(name_field_, mean_field_);
    setTabOrder(mean_field_, find_button_);
    setTabOrder(find_button_, delete_button_);
    setTabOrder(delete_button_, confirm_button_);
    setTabOrder(confirm_button_, cancel_button_);
    search_field_->setFocus();

    connect(find_button_, &QPushButton::clicked, this, &RecordDeletionDialog::find_next_record);
    connect(delete_button_, &QPushButton::clicked, this, &RecordDeletionDialog::empty_fields);
    connect(confirm_button_, &QPushButton::clicked, this, &RecordDeletionDialog::confirm);
    connect(cancel_button_, &QPushButton::clicked, this, &RecordDeletionDialog::reject);
}

RecordDeletionDialog::~RecordDeletionDialog() = default;

void RecordDeletionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (set_up_) return;
    set_up_ = true;
    set_up_for_book();
}

void RecordDeletionDialog::set_up_for_book() {
    struct Labels {
        const char* caption;
        const char* find;
        const char* name;
        const char* mean;
    };
    static const Labels kLabels[] = {
        {"실행명령삭제", "찾을명령입력", "실행이름", "경로명"},
        {"주소삭제", "찾을사람입력", "이름", "주소"},
        {"단어삭제", "찾을단어입력", "단어", "뜻"},
    };
    const Labels& labels = kLabels[static_cast<int>(book_)];
    setWindowTitle(QString::fromUtf8(labels.caption));
    for (auto [label, caption] :
         {std::pair{search_label_, labels.find}, std::pair{name_label_, labels.name},
          std::pair{mean_label_, labels.mean}}) {
        label->setText(QString::fromUtf8(caption));
        label->adjustSize();
    }
    book_path_ = program_folder_ / books::book_file_name(book_);

    const bool ready = guarded(this, [this] {
        walk_ = std::make_unique<books::RecordDeletion>(book_path_,
                                                        program_folder_ / books::kTempFile, book_);
    });
    if (!ready) {
        // Nothing to work on: only "취소" stays.
        find_button_->setEnabled(false);
        delete_button_->setEnabled(false);
        confirm_button_->setEnabled(false);
    } else if (!walk_->moved_aside().empty()) {
        message_boxes().message(
            this, QString::fromStdString(books::moved_aside_message(walk_->moved_aside())));
    }
}

bool RecordDeletionDialog::fields_as_record(books::Record& record) {
    const QString name = name_field_->text();
    const QString mean = mean_field_->text();
    if (name == to_q(shown_bytes_.name) && !shown_bytes_.name.empty()) {
        record.name = shown_bytes_.name;
    } else if (!book_line(this, name_label_->text(), name, record.name)) {
        return false;
    }
    if (mean == to_q(shown_bytes_.mean) && !shown_bytes_.mean.empty()) {
        record.mean = shown_bytes_.mean;
    } else if (!book_line(this, mean_label_->text(), mean, record.mean)) {
        return false;
    }
    return true;
}

void RecordDeletionDialog::show_record(const books::Record& record) {
    shown_bytes_ = record;
    name_field_->setText(to_q(record.name));
    mean_field_->setText(to_q(record.mean));
}

void RecordDeletionDialog::find_next_record() {
    if (!walk_ || !walk_->usable()) return;
    books::Record pending;
    if (!fields_as_record(pending)) return;
    // A search text with no CP949 form cannot occur in the book: its odd characters become a
    // byte that no name holds.
    const std::string search =
        text::from_utf16(search_field_->text().toStdU16String(), text::kUnmappableInSentence).bytes;
    const bool walked = guarded(this, [&] {
        const books::RecordDeletion::Found found = walk_->find(search, pending);
        if (found.pending_written) show_record({});
        if (found.record) {
            show_record(*found.record);
            delete_button_->setEnabled(true);
        }
    });
    if (!walked) {
        find_button_->setEnabled(false);
        confirm_button_->setEnabled(false);
    }
}

void RecordDeletionDialog::empty_fields() {
    name_field_->clear();
    mean_field_->clear();
}

void RecordDeletionDialog::confirm() {
    if (!walk_ || !walk_->usable()) return;
    books::Record pending;
    if (!fields_as_record(pending)) return;
    const bool confirmed = guarded(this, [&] { walk_->confirm(pending); });
    if (!confirmed && walk_->rebuilt_book_kept()) {
        // Never destroyed silently: the user learns where the corrections wait.
        message_boxes().message(this,
                                QString::fromStdString(books::kept_message(walk_->temp_path())));
    }
    walk_.reset();
    accept();
}

void RecordDeletionDialog::reject() {
    if (walk_) guarded(this, [this] { walk_->cancel(); });
    walk_.reset();
    QDialog::reject();
}

}  // namespace shell
