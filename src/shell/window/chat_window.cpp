#include "shell/window/chat_window.h"

#include <QFont>
#include <QKeyEvent>
#include <QPalette>

namespace shell {

ChatWindow::ChatWindow(QWidget* parent) : QPlainTextEdit(parent) {
    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(13);
    setFont(font);

    // Black text on the grey of a classic scroll bar, as a chat box of this program always
    // looked: darker than the panel around it, so it reads as a field, not as a dead one.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, kChatLineColour);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);

    setTabChangesFocus(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::ForbiddenCursor);
    setAttribute(Qt::WA_InputMethodEnabled);
}

void ChatWindow::keyPressEvent(QKeyEvent* event) {
    // Arrows and bare modifiers type nothing and leave the speech label alone.
    if (!event->text().isEmpty()) emit character_typed();

    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit enter_pressed();
        event->accept();  // never a line break
        return;
    case Qt::Key_Escape:
        emit escape_pressed();
        event->accept();
        return;
    default:
        QPlainTextEdit::keyPressEvent(event);
    }
}

void ChatWindow::inputMethodEvent(QInputMethodEvent* event) {
    // A Korean input method delivers finished syllables as commit strings: they are typed
    // characters like any other. The preedit alone is not.
    if (!event->commitString().isEmpty()) emit character_typed();
    QPlainTextEdit::inputMethodEvent(event);
}

}  // namespace shell
