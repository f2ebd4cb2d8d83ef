#pragma once
// The record deletion dialog of the three books. "찾기" walks the book forward to the next
// record whose name matches, copying the records it passes; the found record waits in the two
// boxes, where the user may correct it or empty it ("삭제"). "확인" writes what the boxes hold
// and puts the rebuilt book in place; "취소", Esc and the close box leave the book unchanged.

#include <QDialog>

#include <filesystem>
#include <memory>
#include <string>

#include "books/record_deletion.h"
#include "engine/host.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TdelForm : public QDialog {
    Q_OBJECT

  public:
    TdelForm(std::filesystem::path program_folder, engine::Book book, QWidget* parent = nullptr);
    ~TdelForm() override;

    // Cancel, Esc and the close box: the book stays as it was.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormActivate();
    void btn_findClick();
    void btn_delClick();
    void btn_closeClick();
    // What the two boxes hold, as the book's bytes; false when it cannot be written.
    bool boxes(books::Record& record);
    void show_record(const books::Record& record);

    std::filesystem::path program_folder_;
    engine::Book book_;
    std::filesystem::path del_book_path_;
    std::unique_ptr<books::RecordDeletion> walk_;
    bool set_up_ = false;
    // The record last put into the boxes: lines shown unchanged are written back byte for byte,
    // even where the book held bytes that have no character.
    books::Record shown_bytes_;

    QFrame* Panel1;
    QLineEdit* ed_find;
    QLineEdit* ed_name;
    QLineEdit* ed_mean;
    QPushButton* btn_close;
    QLabel* La_find;
    QLabel* La_name;
    QLabel* La_mean;
    QPushButton* btn_find;
    QPushButton* btn_del;
    QPushButton* btn_cancel;
};
