#pragma once
// What the conversation engine needs of the window around it. The window implements it with
// widgets, the terminal front end with prompts, the tests with a recording fake.
//
// Every text crossing this interface is CP949 bytes.

#include <string>

namespace engine {

// The three personal books, in the order of their selector values.
enum class Book { commands = 0, addresses = 1, words = 2 };

// The two names the user sets: their own and the companion's.
enum class Name { user, computer };

class Host {
public:
    virtual ~Host() = default;

    // The caption of the speech label. The label's visibility belongs to the window.
    virtual void set_speech(const std::string& text) = 0;
    // Shows the speech label (the monologue shows what it has written at once).
    virtual void show_speech() = 0;

    // A modal input box; Cancel returns `default_text`.
    virtual std::string input_box(const std::string& caption, const std::string& prompt,
                                  const std::string& default_text) = 0;
    // A plain modal message box with an OK button.
    virtual void message_box(const std::string& text) = 0;
    // A modal message box with the warning icon and an OK button.
    virtual void warning_box(const std::string& text) = 0;
    // The modal information box of the debug mode, placed at the main window's left edge plus
    // 300 and its top edge plus 80. Lines are separated by CR.
    virtual void debug_box(const std::string& text) = 0;

    // Tools opened by reserved commands; each returns when its dialog or search is done.
    virtual void open_record_entry(Book book) = 0;
    virtual void open_record_deletion(Book book) = 0;
    virtual void open_free_talk_entry() = 0;
    virtual void run_launcher() = 0;
    virtual void search_addresses() = 0;
    virtual void search_words() = 0;
    // The settings menu's box for one of the names, holding `current`: returns the name
    // confirmed, or `current` when the box was cancelled or its text could not be taken.
    virtual std::string ask_name(Name name, const std::string& current) = 0;

    // The screen animation after a flat joke; returns when the user has closed it.
    virtual void play_animation() = 0;

    // Closes the main window, which ends the program through its normal exit.
    virtual void close_main_window() = 0;
    // Minimises the application.
    virtual void minimise() = 0;

    // Makes `folder` the process's current directory; false when it cannot be.
    virtual bool change_directory(const std::string& folder) = 0;
    // Starts the program of `command_line` in the current directory without a shell (see
    // books::split_command_line), detached; returns at once, never waits and reports nothing,
    // also when the program does not exist.
    virtual void start_program(const std::string& command_line) = 0;
};

}  // namespace engine
