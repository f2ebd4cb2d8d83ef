#include "shell/del_form.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <utility>

#include "books/book_files.h"
#include "shell/book_form_parts.h"
#include "shell/dialogs.h"
#include "shell/error_guard.h"
#include "shell/qt_text.h"
#include "text/codec.h"

using shell::guarded;

TdelForm::TdelForm(std::filesystem::path program_folder, engine::Book book, QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      program_folder_(std::move(program_folder)),
      book_(book) {
    setObjectName(QStringLiteral("delForm"));
    shell::use_book_font(this);
    setFixedSize(289, 234);
    move(251, 126);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, 185, 234);

    ed_find = shell::book_field(Panel1, "ed_find", 20, 51, 121);
    ed_name = shell::book_field(Panel1, "ed_name", 20, 136, 121);
    ed_mean = shell::book_field(Panel1, "ed_mean", 20, 195, 149);
    btn_close = shell::book_button(this, "btn_close", "확인", 200, 131);
    btn_close->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    La_find = shell::book_label(Panel1, "La_find", 20, 24);
    La_name = shell::book_label(Panel1, "La_name", 20, 104);
    La_mean = shell::book_label(Panel1, "La_mean", 20, 171);
    btn_find = shell::book_button(this, "btn_find", "찾기", 200, 25);
    btn_find->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    btn_del = shell::book_button(this, "btn_del", "삭제", 200, 78);
    btn_del->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    btn_del->setEnabled(false);
    btn_cancel = shell::book_button(this, "btn_cancel", "취소", 200, 184);
    btn_cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    setTabOrder(ed_find, ed_name);
    setTabOrder(ed_name, ed_mean);
    setTabOrder(ed_mean, btn_find);
    setTabOrder(btn_find, btn_del);
    setTabOrder(btn_del, btn_close);
    setTabOrder(btn_close, btn_cancel);
    ed_find->setFocus();

    connect(btn_find, &QPushButton::clicked, this, &TdelForm::btn_findClick);
    connect(btn_del, &QPushButton::clicked, this, &TdelForm::btn_delClick);
    connect(btn_close, &QPushButton::clicked, this, &TdelForm::btn_closeClick);
    connect(btn_cancel, &QPushButton::clicked, this, &TdelForm::reject);
}

TdelForm::~TdelForm() = default;

void TdelForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (set_up_) return;
    set_up_ = true;
    FormActivate();
}

void TdelForm::FormActivate() {
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
    for (auto [label, caption] : {std::pair{La_find, labels.find}, std::pair{La_name, labels.name},
                                  std::pair{La_mean, labels.mean}}) {
        label->setText(QString::fromUtf8(caption));
        label->adjustSize();
    }
    del_book_path_ = program_folder_ / books::book_file_name(book_);

    const bool ready = guarded(this, [this] {
        walk_ = std::make_unique<books::RecordDeletion>(
            del_book_path_, program_folder_ / books::kTempFile, book_);
    });
    if (!ready) {
        // Nothing to work on: only "취소" stays.
        btn_find->setEnabled(false);
        btn_del->setEnabled(false);
        btn_close->setEnabled(false);
    } else if (!walk_->moved_aside().empty()) {
        shell::dialogs().message(
            this, QString::fromStdString(books::moved_aside_message(walk_->moved_aside())));
    }
}

bool TdelForm::boxes(books::Record& record) {
    const QString name = ed_name->text();
    const QString mean = ed_mean->text();
    if (name == shell::to_q(shown_bytes_.name) && !shown_bytes_.name.empty()) {
        record.name = shown_bytes_.name;
    } else if (!shell::book_line(this, La_name->text(), name, record.name)) {
        return false;
    }
    if (mean == shell::to_q(shown_bytes_.mean) && !shown_bytes_.mean.empty()) {
        record.mean = shown_bytes_.mean;
    } else if (!shell::book_line(this, La_mean->text(), mean, record.mean)) {
        return false;
    }
    return true;
}

void TdelForm::show_record(const books::Record& record) {
    shown_bytes_ = record;
    ed_name->setText(shell::to_q(record.name));
    ed_mean->setText(shell::to_q(record.mean));
}

void TdelForm::btn_findClick() {
    if (!walk_ || !walk_->usable()) return;
    books::Record pending;
    if (!boxes(pending)) return;
    // A search text with no CP949 form cannot occur in the book: its odd characters become a
    // byte that no name holds.
    const std::string search =
        text::from_utf16(ed_find->text().toStdU16String(), text::kUnmappableInSentence).bytes;
    const bool walked = guarded(this, [&] {
        const books::RecordDeletion::Found found = walk_->find(search, pending);
        if (found.pending_written) show_record({});
        if (found.record) {
            show_record(*found.record);
            btn_del->setEnabled(true);
        }
    });
    if (!walked) {
        btn_find->setEnabled(false);
        btn_close->setEnabled(false);
    }
}

void TdelForm::btn_delClick() {
    ed_name->clear();
    ed_mean->clear();
}

void TdelForm::btn_closeClick() {
    if (!walk_ || !walk_->usable()) return;
    books::Record pending;
    if (!boxes(pending)) return;
    const bool confirmed = guarded(this, [&] { walk_->confirm(pending); });
    if (!confirmed && walk_->rebuilt_book_kept()) {
        // Never destroyed silently: the user learns where the corrections wait.
        shell::dialogs().message(
            this, QString::fromStdString(books::kept_message(walk_->temp_path())));
    }
    walk_.reset();
    accept();
}

void TdelForm::reject() {
    if (walk_) guarded(this, [this] { walk_->cancel(); });
    walk_.reset();
    QDialog::reject();
}
