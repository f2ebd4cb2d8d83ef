// The window's side of the engine: what the engine asks of the window in a chat turn.
#include "shell/main_window.h"

#include <QLabel>

#include "books/lookup.h"
#include "shell/dialogs.h"
#include "shell/qt_text.h"

using shell::caption_text;
using shell::dialogs;
using shell::to_q;

void TMainForm::set_speech(const std::string& text) { speech_label_->setText(caption_text(text)); }

void TMainForm::show_speech() { speech_label_->show(); }

std::string TMainForm::input_box(const std::string& caption, const std::string& prompt,
                                 const std::string& default_text) {
    const QString answer =
        dialogs().input_box(this, to_q(caption), to_q(prompt), to_q(default_text));
    std::string bytes;
    if (!shell::to_cp949(answer, bytes)) {
        dialogs().message(this, shell::no_cp949_input_text());
        return default_text;
    }
    return bytes;
}

void TMainForm::message_box(const std::string& text) {
    dialogs().message(this, caption_text(text));
}

void TMainForm::debug_box(const std::string& text) {
    dialogs().information_at(this, caption_text(text), pos() + QPoint(300, 80));
}

void TMainForm::open_record_entry(engine::Book book) { add_book(book); }

void TMainForm::open_record_deletion(engine::Book book) { delete_book(book); }

void TMainForm::open_free_talk_entry() { call_ChatInputForm(); }

void TMainForm::run_launcher() { launch_by_name(); }

void TMainForm::search_addresses() {
    books::search_address_book(program_folder_, *this, settings_.address_search_by_name);
}

void TMainForm::search_words() {
    books::search_word_book(program_folder_, *this, settings_.word_search_by_word);
}

void TMainForm::play_animation() { move_penguin(); }

void TMainForm::close_main_window() { close(); }
