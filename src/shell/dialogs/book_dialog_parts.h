#pragma once
// What the two book dialogs share: their controls as designed (font, places, sizes), and the
// way a typed line reaches the book's CP949 bytes.

#include <QString>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace shell {

QLabel* book_label(QWidget* parent, const char* name, int x, int y);
QLineEdit* book_field(QWidget* parent, const char* name, int x, int y, int width);
// A 75 x 25 button that Enter never presses by default.
QPushButton* book_button(QWidget* parent, const char* name, const char* caption, int x, int y);

// The dialog's font: 굴림 at 13 pixels.
void use_book_font(QWidget* dialog);

// The CP949 bytes of a line typed into the box captioned `box`. False, with the user told
// why, when a character has no CP949 form or the text holds a line break: storing it would
// change or split the record.
bool book_line(QWidget* parent, const QString& box, const QString& typed, std::string& bytes);

}  // namespace shell
