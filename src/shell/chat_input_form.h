#pragma once
// The free-talk entry dialog: the user types a key phrase and up to four replies, and "추가"
// appends them to data4.dat as one entry. The dialog stays open for the next entry.
//
// A reply field becomes usable once a character key (Enter and Backspace included) is typed
// into the field above it; Enter never moves the focus and never adds an entry.

#include <QDialog>

#include <filesystem>

class QEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TChat_InputForm : public QDialog {
    Q_OBJECT

  public:
    explicit TChat_InputForm(std::filesystem::path data4_path, QWidget* parent = nullptr);

    // Fills the key phrase (teaching a reply to a sentence just typed) and readies the first
    // reply field.
    void set_key_text(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void btn_addClick();
    void add_entry();
    // Makes the reply field after `field` usable and paints it in the window colour.
    void enable_next(QLineEdit* field);
    void paint(QLineEdit* field, bool active);

    std::filesystem::path data4_path_;
    QFrame* Panel1;
    QLabel* la_que;
    QLineEdit* ed_que;
    QLabel* la_ans;
    QLineEdit* ed_ans1;
    QLineEdit* ed_ans2;
    QLineEdit* ed_ans3;
    QLineEdit* ed_ans4;
    QPushButton* btn_add;
    QPushButton* btn_cancel;
};
