#pragma once
// The engine's window, played by a terminal: the speech label is remembered and printed after
// each turn, input boxes read the next input line, boxes and notices go to standard error.

#include <iosfwd>
#include <string>

#include "engine/host.h"

namespace console {

class ConsoleHost : public engine::Host {
public:
    ConsoleHost(std::istream& in, std::ostream& out, std::ostream& err);

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
    void debug_box(const std::string& text) override;
    void open_record_entry(engine::Book book) override;
    void open_record_deletion(engine::Book book) override;
    void open_free_talk_entry() override;
    void run_launcher() override;
    void search_addresses() override;
    void search_words() override;
    void play_animation() override;
    void close_main_window() override { close_requested_ = true; }
    void minimise() override {}

private:
    void needs_window(const char* what);

    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    std::string speech_;
    bool close_requested_ = false;
};

}  // namespace console
