#include "shell/error_guard.h"

#include <QString>

#include <cstdio>
#include <stdexcept>

#include "shell/message_boxes.h"
#include "text/file_error.h"

namespace shell {

void show_current_error(QWidget* parent) noexcept {
    // The core's errors carry finished UTF-8 messages (the path and the system's reason).
    QString text;
    try {
        throw;
    } catch (const std::exception& e) {
        text = QString::fromStdString(text::error_text(e));
    } catch (...) {
        text = QStringLiteral("알 수 없는 오류가 일어났습니다.");
    }
    try {
        message_boxes().error(parent, text);
    } catch (...) {
        // Nowhere left to show it: the terminal is the last resort.
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
}

}  // namespace shell
