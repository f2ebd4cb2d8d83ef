#pragma once
// The engine's window, played by a terminal: the speech label is remembered and printed after
// each turn, input boxes read the next input line, boxes and notices go to standard error.

#include <filesystem>
#include <iosfwd>
#include <string>

#include "books/launcher.h"
#include "engine/host.h"

namespace console {

class ConsoleHost : public engine::Host {
public:
    ConsoleHost(std::istream& in, std::ostream& out, std::ostream& err);

    // The books of `program_folder` answer the launcher and the lookups. Without `launch`,
    // programs are not started: "started: " and the command line go to standard error.
    void use_books(std::filesystem::path program_folder, bool launch);

    // Kept in dasom.ini between runs, as the window keeps them.
    books::LauncherState launcher;
    bool address_search_by_name = true;
    bool word_search_by_word = true;

    // The caption the speech label holds now (CP949).
    const std::string& speech() const { return speech_; }
    bool close_requested() const { return close_requested_; }

    // Reads one input line as UTF-8 without its line end; false at the end of input.
    bool read_line(std::string& utf8_line);

    // Writes a CP949 text to a stream as UTF-8, each CR as a line break.
    static void print(std::ostream& stream, const std::string& cp949_text);

    void set_speech(const std::string& text) override;
    void show_speech() override {}
    std::string input_box(const std::string& caption, const std::string& prompt,
                          const std::string& default_text) override;
    void message_box(const std::string& text) override;
    void warning_box(const std::string& text) override { message_box(text); }
    void debug_box(const std::string& text) override;
    void open_record_entry(engine::Book book) override;
    void open_record_deletion(engine::Book book) override;
    void open_free_talk_entry() override;
    void run_launcher() override;
    void search_addresses() override;
    void search_words() override;
    // The next input line is the name.
    std::string ask_name(engine::Name name, const std::string& current) override;
    void play_animation() override;
    void close_main_window() override { close_requested_ = true; }
    void minimise() override {}
    bool change_directory(const std::string& folder) override;
    int start_program(const std::string& command_line) override;

private:
    void needs_window(const char* what);
    // Shows a box's caption and prompt on standard error and reads the answer; false at the
    // end of input, which is the Cancel button.
    bool ask(const std::string& caption, const std::string& prompt, std::string& utf8_answer);

    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    std::string speech_;
    bool close_requested_ = false;
    std::filesystem::path program_folder_;
    bool launch_ = true;
};

}  // namespace console
