#pragma once
// The first-run set-up dialog: the user's name and the companion's name. Every change of a
// field is announced at once, so closing the dialog in any way keeps what was typed.

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace shell {

class SetupDialog : public QDialog {
    Q_OBJECT

  public:
    explicit SetupDialog(QWidget* parent = nullptr);

  signals:
    // The whole text of Edit1 (the user's name) after each change.
    void user_name_changed(const QString& name);
    // The whole text of Edit2 (the companion's name) after each change.
    void computer_name_changed(const QString& name);

  private:
    // Controls, with their Qt object names.
    QFrame* panel_;                   // Panel1
    QLabel* user_name_label_;         // Label1
    QLineEdit* user_name_field_;      // Edit1
    QLabel* computer_name_label_;     // Label2
    QLineEdit* computer_name_field_;  // Edit2
    QPushButton* ok_button_;          // Button1
};

}  // namespace shell
