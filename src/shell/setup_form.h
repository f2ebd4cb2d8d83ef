#pragma once
// The first-run set-up dialog: the user's name and the companion's name. Every change of a
// field is announced at once, so closing the dialog in any way keeps what was typed.

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TSetupForm : public QDialog {
    Q_OBJECT

  public:
    explicit TSetupForm(QWidget* parent = nullptr);

  signals:
    // The whole text of Edit1 (the user's name) after each change.
    void user_name_changed(const QString& name);
    // The whole text of Edit2 (the companion's name) after each change.
    void computer_name_changed(const QString& name);

  private:
    QFrame* Panel1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QPushButton* Button1;
};
