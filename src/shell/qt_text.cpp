#include "shell/qt_text.h"

#include <utility>

#include "text/codec.h"

namespace shell {

QString to_q(const std::string& cp949) {
    return QString::fromStdU16String(text::to_utf16(cp949));
}

QString caption_text(const std::string& cp949) {
    QString caption = to_q(cp949);
    caption.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    caption.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return caption;
}

bool to_cp949(const QString& typed, std::string& out) {
    text::Encoded encoded = text::from_utf16(typed.toStdU16String());
    if (!encoded.complete()) return false;
    out = std::move(encoded.bytes);
    return true;
}

QString no_cp949_name_text() {
    return QStringLiteral("이름에 쓸 수 없는 글자가 들어 있습니다. 이름을 바꾸지 않았습니다.");
}

QString no_cp949_input_text() {
    return QStringLiteral("쓸 수 없는 글자가 들어 있습니다. 입력을 취소합니다.");
}

}  // namespace shell
