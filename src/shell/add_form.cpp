#include "shell/add_form.h"

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
#include "shell/book_form_parts.h"
#include "shell/dialogs.h"
#include "shell/error_guard.h"

using shell::dialogs;

TAddForm::TAddForm(std::filesystem::path program_folder, engine::Book book, QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      program_folder_(std::move(program_folder)),
      book_(book) {
    setObjectName(QStringLiteral("AddForm"));
    shell::use_book_font(this);
    setFixedSize(332, 173);
    move(258, 221);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, 233, 173);

    la_name = shell::book_label(Panel1, "la_name", 16, 24);
    la_name->setText(QStringLiteral("영어단어"));
    la_mean = shell::book_label(Panel1, "la_mean", 16, 98);
    la_mean->setText(QStringLiteral("뜻"));
    ed_name = shell::book_field(Panel1, "ed_name", 16, 49, 157);
    ed_mean = shell::book_field(Panel1, "ed_mean", 16, 123, 197);
    btn_cancel = shell::book_button(this, "btn_cancel", "종료", 244, 112);
    btn_cancel->setIcon(style()->standardIcon(QStyle::SP_DialogNoButton));
    btn_add = shell::book_button(this, "btn_add", "추가", 245, 26);
    btn_add->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    SpeedButton1 = new QToolButton(Panel1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("찾기"));
    SpeedButton1->setGeometry(184, 90, 25, 25);
    SpeedButton1->setAutoRaise(true);  // flat
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->hide();

    setTabOrder(ed_name, ed_mean);
    setTabOrder(ed_mean, btn_add);
    setTabOrder(btn_add, btn_cancel);
    // The form sees every key first: Enter moves on, whichever control has the focus.
    for (QWidget* control : {static_cast<QWidget*>(ed_name), static_cast<QWidget*>(ed_mean),
                             static_cast<QWidget*>(btn_add), static_cast<QWidget*>(btn_cancel)}) {
        control->installEventFilter(this);
    }
    ed_name->setFocus();

    connect(btn_add, &QPushButton::clicked, this, &TAddForm::btn_addClick);
    connect(btn_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(SpeedButton1, &QToolButton::clicked, this, &TAddForm::SpeedButton1Click);

    FormActivate();
}

void TAddForm::FormActivate() {
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
    la_name->setText(QString::fromUtf8(labels.name));
    la_name->adjustSize();
    la_mean->setText(QString::fromUtf8(labels.mean));
    la_mean->adjustSize();
    if (book_ == engine::Book::commands) SpeedButton1->show();
    add_book_path_ = program_folder_ / books::book_file_name(book_);
}

bool TAddForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAddForm::btn_addClick() {
    shell::guarded(this, [this] { add_record(); });
}

void TAddForm::add_record() {
    std::string name;
    std::string mean;
    if (!shell::book_line(this, la_name->text(), ed_name->text(), name)) return;
    if (!shell::book_line(this, la_mean->text(), ed_mean->text(), mean)) return;
    const books::AddResult result = books::add_record(add_book_path_, name, mean);
    if (result != books::AddResult::added) {
        dialogs().message(this, QString::fromStdString(books::add_message(result, add_book_path_)));
        return;
    }
    ed_name->clear();
    ed_mean->clear();
}

void TAddForm::SpeedButton1Click() {
    const QString program = dialogs().choose_program(this);
    if (!program.isEmpty()) ed_mean->setText(program);
}
