// The personal books from the window: the launcher, its history and the previous command, the
// record entry and deletion dialogs, and the platform side of starting programs.
#include "shell/main_window.h"

#include <QAction>
#include <QDir>

#include "books/book_files.h"
#include "books/command_line.h"
#include "books/program_start.h"
#include "shell/add_form.h"
#include "shell/del_form.h"
#include "shell/dialogs.h"
#include "shell/error_guard.h"
#include "shell/qt_text.h"

using shell::guarded;
using shell::to_q;

void TMainForm::launch_by_name() {
    books::launch_by_name(program_folder_, *this, launcher_);
    show_history();
    schedule_save();
}

void TMainForm::hist_itemClick(int index) {
    guarded(this, [&] { books::run_history_item(*this, launcher_, index); });
}

void TMainForm::p_exeClick() {
    guarded(this, [&] { books::run_previous_command(*this, launcher_); });
}

void TMainForm::show_history() {
    for (int i = 0; i < settings::kHistorySize; ++i) {
        // A caption is shown as it is: "&" would otherwise mark a shortcut key.
        QString caption = to_q(launcher_.history[i]);
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        hist_items[i]->setText(caption);
    }
}

void TMainForm::call_addform() {
    engine::Book book;
    if (!books::book_from_kind(add_book_kind_, book)) return;
    TAddForm form(program_folder_, book, this);
    form.exec();
}

void TMainForm::call_delform() {
    engine::Book book;
    if (!books::book_from_kind(del_book_kind_, book)) return;
    TdelForm form(program_folder_, book, this);
    form.exec();
}

void TMainForm::warning_box(const std::string& text) {
    shell::dialogs().warning(this, shell::caption_text(text));
}

bool TMainForm::change_directory(const std::string& folder) {
    return QDir::setCurrent(to_q(folder));
}

int TMainForm::start_program(const std::string& command_line) {
    // Detached in the current directory, as the file system spells the words.
    std::vector<std::string> words = books::program_and_arguments(command_line);
    for (std::string& word : words) word = to_q(word).toLocal8Bit().toStdString();
    return books::start_detached(words);
}
