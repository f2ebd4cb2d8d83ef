#pragma once
// Every modal box the program shows goes through this seam, so that headless tests can answer
// input boxes and see messages without a real modal loop.

#include <QPoint>
#include <QString>

class QWidget;

namespace shell {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // A modal input box with a caption, a prompt and one line pre-filled with `text` (at most
    // 255 characters). OK returns the edited text, Cancel returns `text` unchanged.
    virtual QString input_box(QWidget* parent, const QString& caption, const QString& prompt,
                              const QString& text) = 0;
    // A plain modal message box with an OK button.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // A modal warning box with an OK button.
    virtual void warning(QWidget* parent, const QString& text) = 0;
    // The top-level error handler's box: an error ended what the user was doing.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // A modal information box with its top-left corner at `top_left` (screen pixels).
    virtual void information_at(QWidget* parent, const QString& text, QPoint top_left) = 0;
    // The modal file-open dialog of the command book, filtered to "실행화일" (*.exe, *.com,
    // *.bat and, where programs carry no extension, executable files) or "모든화일". The chosen
    // file's full path, or an empty text when cancelled.
    virtual QString choose_program(QWidget* parent) = 0;
};

// The boxes in use: real Qt boxes unless a test installed its own.
MessageBoxes& message_boxes();
// Installs `replacement` (not owned); nullptr restores the real boxes.
void set_message_boxes(MessageBoxes* replacement);

}  // namespace shell
