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

namespace shell {

class FreeTalkDialog : public QDialog {
    Q_OBJECT

  public:
    explicit FreeTalkDialog(std::filesystem::path data4_path, QWidget* parent = nullptr);

    // Fills the key phrase (teaching a reply to a sentence just typed) and readies the first
    // reply field.
    void set_key_text(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void on_add_clicked();
    void add_entry();
    // Makes the reply field after `field` usable and paints it in the window colour.
    void enable_next(QLineEdit* field);
    void paint(QLineEdit* field, bool active);

    std::filesystem::path data4_path_;
    // Controls, with their Qt object names.
    QFrame* panel_;              // Panel1
    QLabel* key_label_;          // la_que
    QLineEdit* key_field_;       // ed_que
    QLabel* replies_label_;      // la_ans
    QLineEdit* reply1_field_;    // ed_ans1
    QLineEdit* reply2_field_;    // ed_ans2
    QLineEdit* reply3_field_;    // ed_ans3
    QLineEdit* reply4_field_;    // ed_ans4
    QPushButton* add_button_;    // btn_add
    QPushButton* close_button_;  // btn_cancel
};

}  // namespace shell
