#pragma once
// A host without a window, for running the engine in bulk (benchmarks, fuzzing): it keeps the
// last caption, answers every input box with Cancel and opens nothing.

#include <string>

#include "engine/host.h"

namespace engine {

class QuietHost : public Host {
public:
    void set_speech(const std::string& text) override { speech = text; }
    void show_speech() override {}
    std::string input_box(const std::string&, const std::string&,
                          const std::string& default_text) override {
        return default_text;
    }
    void message_box(const std::string&) override {}
    void warning_box(const std::string&) override {}
    void debug_box(const std::string&) override {}
    void open_record_entry(Book) override {}
    void open_record_deletion(Book) override {}
    void open_free_talk_entry() override {}
    void run_launcher() override {}
    void search_addresses() override {}
    void search_words() override {}
    std::string ask_name(Name, const std::string& current) override { return current; }
    void play_animation() override {}
    void close_main_window() override {}
    void minimise() override {}
    bool change_directory(const std::string&) override { return true; }
    void start_program(const std::string&) override {}

    std::string speech;
};

}  // namespace engine
