#pragma once
// The record entry dialog of the three books: two lines typed into two boxes, "추가" appends
// them to the book as one record, and the dialog stays open for the next one. For the command
// book a browse button fills the second line with a program's path. Enter moves the focus on
// as Tab does; it never adds a record.

#include <QDialog>

#include <filesystem>

#include "engine/host.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace shell {

class RecordEntryDialog : public QDialog {
    Q_OBJECT

  public:
    RecordEntryDialog(std::filesystem::path program_folder, engine::Book book,
                      QWidget* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void set_up_for_book();
    void on_add_clicked();
    void add_record();
    void browse_for_program();

    std::filesystem::path program_folder_;
    engine::Book book_;
    std::filesystem::path book_path_;

    // Controls, with their Qt object names.
    QFrame* panel_;               // Panel1
    QLabel* name_label_;          // la_name
    QLabel* mean_label_;          // la_mean
    QLineEdit* name_field_;       // ed_name
    QLineEdit* mean_field_;       // ed_mean
    QPushButton* close_button_;   // btn_cancel
    QPushButton* add_button_;     // btn_add
    QToolButton* browse_button_;  // SpeedButton1
};

}  // namespace shell
