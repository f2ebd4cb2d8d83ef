#pragma once
// The about box: the picture, the product line, the credits and the endlessly scrolling lines.

#include <QDialog>
#include <QStringList>

namespace shell {

// The 42 scrolling lines: every text line is followed by an empty one, and the first is empty.
QStringList about_lines();

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace shell
