#include "shell/dialogs/book_dialog_parts.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>
#include <utility>

#include "books/record_entry.h"
#include "shell/message_boxes.h"
#include "text/codec.h"

namespace shell {

QLabel* book_label(QWidget* parent, const char* name, int x, int y) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    return label;
}

QLineEdit* book_field(QWidget* parent, const char* name, int x, int y, int width) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(x, y, width, 21);
    // A record line is never cut short by the box it is shown in.
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

QPushButton* book_button(QWidget* parent, const char* name, const char* caption, int x, int y) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, 75, 25);
    button->setAutoDefault(false);
    return button;
}

void use_book_font(QWidget* dialog) {
    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(13);
    dialog->setFont(font);
}

bool book_line(QWidget* parent, const QString& box, const QString& typed, std::string& bytes) {
    if (typed.contains(QLatin1Char('\n')) || typed.contains(QLatin1Char('\r'))) {
        message_boxes().message(
            parent, QString::fromStdString(books::add_message(books::AddResult::line_break, {})));
        return false;
    }
    text::Encoded encoded = text::from_utf16(typed.toStdU16String());
    if (!encoded.complete()) {
        const auto at = static_cast<qsizetype>(encoded.first_unmappable);
        const int length = typed.at(at).isHighSurrogate() && at + 1 < typed.size() ? 2 : 1;
        message_boxes().message(
            parent, QStringLiteral("%1에 CP949로 쓸 수 없는 글자(%2)가 있어 쓰지 않았습니다.")
                        .arg(box.trimmed(), typed.mid(at, length)));
        return false;
    }
    bytes = std::move(encoded.bytes);
    return true;
}

}  // namespace shell
