// The personal books from the window: the launcher, its history and the previous command, the
// record entry and deletion dialogs, and the platform side of starting programs.
#include "shell/window/main_window.h"

#include <QAction>
#include <QDir>

#include "books/book_files.h"
#include "books/command_line.h"
#include "books/program_start.h"
#include "shell/dialogs/record_deletion_dialog.h"
#include "shell/dialogs/record_entry_dialog.h"
#include "shell/error_guard.h"
#include "shell/message_boxes.h"
#include "shell/qt_text.h"

namespace shell {

void MainWindow::launch_by_name() {
    books::launch_by_name(program_folder_, *this, launcher_);
    show_history();
    schedule_save();
}

void MainWindow::run_history_item(int index) {
    guarded(this, [&] { books::run_history_item(*this, launcher_, index); });
}

void MainWindow::run_previous_command() {
    guarded(this, [&] { books::run_previous_command(*this, launcher_); });
}

void MainWindow::show_history() {
    for (int i = 0; i < settings::kHistorySize; ++i) {
        // A caption is shown as it is: "&" would otherwise mark a shortcut key.
        QString caption = to_q(launcher_.history[i]);
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        history_items_[i]->setText(caption);
    }
}

void MainWindow::show_record_entry_dialog() {
    engine::Book book;
    if (!books::book_from_kind(entry_book_kind_, book)) return;
    RecordEntryDialog dialog(program_folder_, book, this);
    dialog.exec();
}

void MainWindow::show_record_deletion_dialog() {
    engine::Book book;
    if (!books::book_from_kind(deletion_book_kind_, book)) return;
    RecordDeletionDialog dialog(program_folder_, book, this);
    dialog.exec();
}

void MainWindow::warning_box(const std::string& text) {
    message_boxes().warning(this, caption_text(text));
}

bool MainWindow::change_directory(const std::string& folder) {
    return QDir::setCurrent(to_q(folder));
}

int MainWindow::start_program(const std::string& command_line) {
    // Detached in the current directory, as the file system spells the words.
    std::vector<std::string> words = books::program_and_arguments(command_line);
    for (std::string& word : words) word = to_q(word).toLocal8Bit().toStdString();
    return books::start_detached(words);
}

}  // namespace shell
