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

class TAddForm : public QDialog {
    Q_OBJECT

  public:
    TAddForm(std::filesystem::path program_folder, engine::Book book, QWidget* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormActivate();
    void btn_addClick();
    void add_record();
    void SpeedButton1Click();

    std::filesystem::path program_folder_;
    engine::Book book_;
    std::filesystem::path add_book_path_;

    QFrame* Panel1;
    QLabel* la_name;
    QLabel* la_mean;
    QLineEdit* ed_name;
    QLineEdit* ed_mean;
    QPushButton* btn_cancel;
    QPushButton* btn_add;
    QToolButton* SpeedButton1;
};
