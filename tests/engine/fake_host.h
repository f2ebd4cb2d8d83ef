#pragma once
// A recording window for engine tests: every call is logged, input boxes answer from a queue.

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

#include "data_files.h"
#include "engine/engine.h"
#include "engine/host.h"
#include "support/temp_folder.h"
#include "text/codec.h"

namespace testing_support {

class FakeHost : public engine::Host {
public:
    std::string speech;                // CP949, as the label would hold it
    std::vector<std::string> calls;    // UTF-8 log: "speech:...", "debug:...", "open:..."
    std::deque<std::string> answers;   // CP949 answers for input boxes
    int speech_writes = 0;
    bool shown = false;

    std::string speech_utf8() const { return text::to_utf8(speech); }

    void set_speech(const std::string& text) override {
        speech = text;
        ++speech_writes;
        calls.push_back("speech:" + text::to_utf8(text));
    }
    void show_speech() override { shown = true; }
    std::string input_box(const std::string&, const std::string&,
                          const std::string& default_text) override {
        if (answers.empty()) return default_text;
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void message_box(const std::string& text) override {
        calls.push_back("message:" + text::to_utf8(text));
    }
    void warning_box(const std::string& text) override {
        calls.push_back("warning:" + text::to_utf8(text));
    }
    void debug_box(const std::string& text) override {
        calls.push_back("debug:" + text::to_utf8(text));
    }
    void open_record_entry(engine::Book book) override {
        calls.push_back("add:" + std::to_string(static_cast<int>(book)));
    }
    void open_record_deletion(engine::Book book) override {
        calls.push_back("delete:" + std::to_string(static_cast<int>(book)));
    }
    void open_free_talk_entry() override { calls.push_back("free-talk"); }
    void run_launcher() override { calls.push_back("launcher"); }
    void search_addresses() override { calls.push_back("search-addresses"); }
    void search_words() override { calls.push_back("search-words"); }
    std::string ask_name(engine::Name name, const std::string& current) override {
        calls.push_back(std::string(name == engine::Name::user ? "name:user:" : "name:computer:") +
                        text::to_utf8(current));
        return input_box("", "", current);
    }
    void play_animation() override { calls.push_back("animation"); }
    void close_main_window() override { calls.push_back("close"); }
    void minimise() override { calls.push_back("minimise"); }
    bool change_directory(const std::string& folder) override {
        calls.push_back("chdir:" + text::to_utf8(folder));
        return directory_exists;
    }
    void start_program(const std::string& command_line) override {
        calls.push_back("start:" + text::to_utf8(command_line));
    }

    bool directory_exists = true;  // what change_directory answers
};

// An engine over a fresh folder, with a fixed seed.
struct EngineFixture {
    TempFolder folder;
    FakeHost host;
    std::mt19937 random{12345};
    engine::Engine engine{folder.path(), host, random};

    EngineFixture() { folder.write_bytes("vowel.dat", open_syllables_file()); }

    // Runs a turn for a UTF-8 sentence and returns the speech label as UTF-8.
    std::string say(std::string_view utf8_sentence) {
        engine.chat_turn(text::cp949(utf8_sentence));
        return host.speech_utf8();
    }

    static std::string open_syllables_file() { return tools::open_syllables(); }
};

struct EngineTest : ::testing::Test, EngineFixture {};

}  // namespace testing_support
