#pragma once
// The one-line chat box. A multi-line edit used as one line: Enter ends the line instead of
// breaking it, Tab is typed as text. It says what the user did; the main window acts on it.

#include <QColor>
#include <QPlainTextEdit>

namespace shell {

// The background of the chat line: the classic scroll-bar grey.
inline const QColor kChatLineColour(200, 200, 200);

class ChatWindow : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ChatWindow(QWidget* parent);

signals:
    // A key that produces a character (Enter, Escape, Backspace and Tab included) or text
    // committed by an input method. Emitted before the character reaches the line, and before
    // enter_pressed / escape_pressed.
    void character_typed();
    void enter_pressed();
    void escape_pressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};

}  // namespace shell
