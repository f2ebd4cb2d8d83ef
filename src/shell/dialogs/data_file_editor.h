#pragma once
// The companion's own plain-text editor for its data files, used where the desktop's editors
// would save UTF-8 and break the CP949 files. One non-modal window per file; the file rules
// (CP949, CR LF, untouched files stay as they were, odd bytes open read-only) live in
// TextDocument.

#include <QMainWindow>
#include <QMessageBox>

#include <filesystem>
#include <functional>

#include "shell/dialogs/text_document.h"

class QAction;
class QCloseEvent;
class QLabel;
class QPlainTextEdit;

namespace shell {

class DataFileFindings;

class DataFileEditor : public QMainWindow {
    Q_OBJECT

  public:
    // Shows an editor window on `file` (or raises the one already open on it) and returns it;
    // the window deletes itself when closed. A missing file opens empty and is created by the
    // first save. A file that cannot be read shows the error and gives nullptr.
    static DataFileEditor* open_file(const std::filesystem::path& file, QWidget* parent);

    // Closes every open editor window, each asking about unsaved changes. False when the user
    // kept one open (the caller should then stay open too).
    static bool close_all();

    // Asks the user a question with the given buttons; the answer is the button pressed
    // (Cancel when the box was dismissed). Tests replace it to answer without a modal box.
    using Question = std::function<QMessageBox::StandardButton(
        QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons)>;
    void set_question(Question question) { question_ = std::move(question); }

    // Writes the text to the file if it changed. True when the file now holds the text. A data
    // file the checker knows is checked after the write and the findings listed below the text.
    bool save();

    const std::filesystem::path& file() const { return file_; }
    bool is_read_only() const { return read_only_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    DataFileEditor(std::filesystem::path file, TextDocument document, QWidget* parent);

    bool save_or_throw();
    bool unsaved() const;
    void update_title();
    void show_position();
    void show_findings(const std::string& bytes);
    void go_to_line(int line);
    QMessageBox::StandardButton ask(const QString& text, QMessageBox::StandardButtons buttons);

    std::filesystem::path file_;
    TextDocument document_;
    Question question_;
    bool read_only_ = false;
    QPlainTextEdit* text_edit_;
    QAction* save_action_;
    QAction* close_action_;
    QLabel* note_;
    QLabel* position_;
    DataFileFindings* findings_;
};

}  // namespace shell
