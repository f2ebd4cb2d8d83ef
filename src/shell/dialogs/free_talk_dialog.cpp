#include "shell/dialogs/free_talk_dialog.h"

#include <QApplication>
#include <QFrame>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStyle>

#include <exception>
#include <string>
#include <utility>

#include "engine/free_talk_entry.h"
#include "shell/message_boxes.h"
#include "text/codec.h"
#include "text/file_error.h"

namespace shell {

namespace {

// A reply field that has not been typed into yet looks inactive: it takes the face colour of
// menus and buttons. One that is in use takes the white of an edit field ("window colour").
QColor menu_colour() {
    return QApplication::palette().color(QPalette::Active, QPalette::Window);
}
QColor window_colour() {
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

// The character at `index` of a UTF-16 text, a surrogate pair kept whole.
QString character_at(const QString& text, std::size_t index) {
    const auto i = static_cast<qsizetype>(index);
    if (i >= text.size()) return {};
    const int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    return text.mid(i, length);
}

QLineEdit* make_field(QWidget* parent, const char* name, int x, int y, int width) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(x, y, width, 21);
    return field;
}

QLabel* make_label(QWidget* parent, const char* name, const char* caption, int x, int y) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

QPushButton* make_button(QWidget* parent, const char* name, const char* caption, int x, int y) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, 75, 25);
    // Enter belongs to the fields here; it must never press a button by default.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

FreeTalkDialog::FreeTalkDialog(std::filesystem::path data4_path, QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      data4_path_(std::move(data4_path)) {
    setObjectName(QStringLiteral("Chat_InputForm"));
    setWindowTitle(QStringLiteral("대화입력기"));
    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(13);
    setFont(font);
    setFixedSize(427, 273);
    move(185, 113);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel_->setGeometry(0, 0, 427, 273);

    key_label_ = make_label(panel_, "la_que", "질문", 12, 24);
    key_field_ = make_field(panel_, "ed_que", 16, 58, 280);
    replies_label_ = make_label(panel_, "la_ans", "대답", 12, 92);
    reply1_field_ = make_field(panel_, "ed_ans1", 12, 126, 400);
    reply2_field_ = make_field(panel_, "ed_ans2", 12, 159, 400);
    reply3_field_ = make_field(panel_, "ed_ans3", 12, 193, 400);
    reply4_field_ = make_field(panel_, "ed_ans4", 12, 227, 400);
    add_button_ = make_button(panel_, "btn_add", "추가", 328, 16);
    add_button_->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    close_button_ = make_button(panel_, "btn_cancel", "종료", 328, 68);

    paint(key_field_, true);
    for (QLineEdit* reply : {reply1_field_, reply2_field_, reply3_field_, reply4_field_}) {
        reply->setEnabled(false);
        paint(reply, false);
    }
    for (QLineEdit* field : {key_field_, reply1_field_, reply2_field_, reply3_field_}) {
        field->installEventFilter(this);
        // Pasting with the mouse or an input method's commit is typing too.
        connect(field, &QLineEdit::textEdited, this, [this, field] { enable_next(field); });
    }

    setTabOrder(key_field_, reply1_field_);
    setTabOrder(reply1_field_, reply2_field_);
    setTabOrder(reply2_field_, reply3_field_);
    setTabOrder(reply3_field_, reply4_field_);
    setTabOrder(reply4_field_, add_button_);
    setTabOrder(add_button_, close_button_);
    key_field_->setFocus();

    connect(add_button_, &QPushButton::clicked, this, &FreeTalkDialog::on_add_clicked);
    connect(close_button_, &QPushButton::clicked, this, &QDialog::reject);
}

void FreeTalkDialog::set_key_text(const QString& text) {
    key_field_->setText(text);
    if (text.isEmpty()) return;
    enable_next(key_field_);
    reply1_field_->setFocus();
}

void FreeTalkDialog::paint(QLineEdit* field, bool active) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, active ? window_colour() : menu_colour());
    field->setPalette(palette);
}

void FreeTalkDialog::enable_next(QLineEdit* field) {
    QLineEdit* next = field == key_field_      ? reply1_field_
                      : field == reply1_field_ ? reply2_field_
                      : field == reply2_field_ ? reply3_field_
                      : field == reply3_field_ ? reply4_field_
                                               : nullptr;
    if (!next) return;
    next->setEnabled(true);
    paint(next, true);
}

bool FreeTalkDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field) return QDialog::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // Tab and Delete are not character keys; a control character such as Ctrl+V is.
        const bool character =
            enter || key->key() == Qt::Key_Backspace ||
            (!key->text().isEmpty() && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab &&
             key->key() != Qt::Key_Delete && key->key() != Qt::Key_Escape);
        if (character) enable_next(field);
        // Enter stays where it is: no focus move, no default button, no entry added.
        if (enter) return true;
    } else if (event->type() == QEvent::InputMethod) {
        const auto* input = static_cast<QInputMethodEvent*>(event);
        if (!input->commitString().isEmpty() || !input->preeditString().isEmpty()) {
            enable_next(field);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FreeTalkDialog::on_add_clicked() {
    // Qt must never see an exception: a failed write is shown and the fields keep their text.
    try {
        add_entry();
    } catch (const std::exception& error) {
        message_boxes().error(this, QString::fromStdString(text::error_text(error)));
    } catch (...) {
        message_boxes().error(this, QStringLiteral("알 수 없는 오류로 추가하지 못했습니다."));
    }
}

void FreeTalkDialog::add_entry() {
    const std::array<QLineEdit*, 5> fields{key_field_, reply1_field_, reply2_field_, reply3_field_,
                                           reply4_field_};
    static const char* const kFieldNames[] = {"질문", "첫째 대답", "둘째 대답", "셋째 대답",
                                              "넷째 대답"};
    std::array<std::string, 5> bytes;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const QString typed = fields[i]->text();
        text::Encoded encoded = text::from_utf16(typed.toStdU16String());
        if (!encoded.complete()) {
            // Storing a "?" instead would silently change what the user taught.
            message_boxes().message(
                this, QStringLiteral("%1에 CP949로 쓸 수 없는 글자(%2)가 있어 추가하지 않았습니다.")
                          .arg(QString::fromUtf8(kFieldNames[i]),
                               character_at(typed, encoded.first_unmappable)));
            return;
        }
        bytes[i] = std::move(encoded.bytes);
    }

    engine::FreeTalkEntry entry;
    entry.key = std::move(bytes[0]);
    for (std::size_t i = 0; i < entry.replies.size(); ++i)
        entry.replies[i] = std::move(bytes[i + 1]);

    const engine::FreeTalkResult result = engine::add_free_talk(data4_path_, entry);
    if (result != engine::FreeTalkResult::added) {
        message_boxes().message(this, QString::fromUtf8(engine::free_talk_message(result)));
        return;
    }
    for (QLineEdit* field : fields) field->clear();
    for (QLineEdit* reply : {reply1_field_, reply2_field_, reply3_field_, reply4_field_})
        paint(reply, false);
    key_field_->setFocus();
}

}  // namespace shell
