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

namespace shell {

class RecordDeletionDialog : public QDialog {
    Q_OBJECT

  public:
    RecordDeletionDialog(std::filesystem::path program_folder, engine::Book book,
                         QWidget* parent = nullptr);
    ~RecordDeletionDialog() override;

    // Cancel, Esc and the close box: the book stays as it was.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void set_up_for_book();
    void find_next_record();
    void empty_fields();
    void confirm();
    // What the two boxes hold, as the book's bytes; false when it cannot be written.
    bool fields_as_record(books::Record& record);
    void show_record(const books::Record& record);

    std::filesystem::path program_folder_;
    engine::Book book_;
    std::filesystem::path book_path_;
    std::unique_ptr<books::RecordDeletion> walk_;
    bool set_up_ = false;
    // The record last put into the boxes: lines shown unchanged are written back byte for byte,
    // even where the book held bytes that have no character.
    books::Record shown_bytes_;

    // Controls, with their Qt object names.
    QFrame* panel_;                // Panel1
    QLineEdit* search_field_;      // ed_find
    QLineEdit* name_field_;        // ed_name
    QLineEdit* mean_field_;        // ed_mean
    QPushButton* confirm_button_;  // btn_close
    QLabel* search_label_;         // La_find
    QLabel* name_label_;           // La_name
    QLabel* mean_label_;           // La_mean
    QPushButton* find_button_;     // btn_find
    QPushButton* delete_button_;   // btn_del
    QPushButton* cancel_button_;   // btn_cancel
};

}  // namespace shell
