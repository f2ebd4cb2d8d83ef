// The window's side of the engine: what the engine asks of the window in a chat turn.
#include "shell/window/main_window.h"

#include <QLabel>

#include "books/lookup.h"
#include "shell/message_boxes.h"
#include "shell/qt_text.h"

namespace shell {

void MainWindow::set_speech(const std::string& text) { speech_label_->setText(caption_text(text)); }

void MainWindow::show_speech() { speech_label_->show(); }

std::string MainWindow::input_box(const std::string& caption, const std::string& prompt,
                                  const std::string& default_text) {
    const QString answer =
        message_boxes().input_box(this, to_q(caption), to_q(prompt), to_q(default_text));
    std::string bytes;
    if (!to_cp949(answer, bytes)) {
        message_boxes().message(this, no_cp949_input_text());
        return default_text;
    }
    return bytes;
}

void MainWindow::message_box(const std::string& text) {
    message_boxes().message(this, caption_text(text));
}

void MainWindow::debug_box(const std::string& text) {
    message_boxes().information_at(this, caption_text(text), pos() + QPoint(300, 80));
}

void MainWindow::open_record_entry(engine::Book book) {
    entry_book_kind_ = static_cast<int>(book);
    show_record_entry_dialog();
}

void MainWindow::open_record_deletion(engine::Book book) {
    deletion_book_kind_ = static_cast<int>(book);
    show_record_deletion_dialog();
}

void MainWindow::open_free_talk_entry() { show_free_talk_dialog(); }

void MainWindow::run_launcher() { launch_by_name(); }

void MainWindow::search_addresses() {
    books::search_address_book(program_folder_, *this, settings_.address_search_by_name);
}

void MainWindow::search_words() {
    books::search_word_book(program_folder_, *this, settings_.word_search_by_word);
}

void MainWindow::play_animation() { play_rabbit(); }

void MainWindow::close_main_window() { close(); }

}  // namespace shell
