#pragma once
// The main window: background, character, speech label and chat line, the menus, the tray
// icon and the monologue timer. It owns the engine and is the engine's host; it reads the
// settings when it is created, saves each change to them a moment after it was made (the
// window's moves once they have settled) and writes them all back when it closes.
//
// Every handler that calls into the core runs through the one error guard, so an error ends
// that handler with a message box and the program keeps running.

#include <QMainWindow>
#include <QRect>

#include <array>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "books/launcher.h"
#include "engine/engine.h"
#include "engine/host.h"
#include "settings/settings.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QTimer;

namespace shell {

class BackgroundMusic;
class ChatWindow;
class Picture;
class TrayIcon;

class MainWindow : public QMainWindow, public engine::Host {
    Q_OBJECT
public:
    // Builds the window and runs the start-up: settings, placement, history, and the set-up
    // dialog on a first run (before the window is shown). `program_folder` holds the data
    // files and dasom.ini.
    explicit MainWindow(std::filesystem::path program_folder, QWidget* parent = nullptr);
    ~MainWindow() override;

    engine::Engine& engine() { return *engine_; }
    // The settings as they stand in memory; the names and the mood live in the engine.
    const settings::Settings& settings() const { return settings_; }
    int entry_book_kind() const { return entry_book_kind_; }
    int deletion_book_kind() const { return deletion_book_kind_; }
    const std::string& previous_command() const { return launcher_.previous_command; }
    TrayIcon* tray_icon() const { return tray_icon_; }

    // Escape, the launcher and tray start: into the tray, or onto the task bar without one.
    void minimise() override;
    // Another start on the folder asks for the window: out of the tray, shown, in front.
    void come_forward();
    // Saves what changed at once, instead of a moment later (the desktop session ends).
    void save_settings_now();
    // The free-talk entry dialog, modal; `key_text` pre-fills its key phrase.
    void show_free_talk_dialog(const QString& key_text = QString());
    // The rabbit over a frozen picture of the screen; returns when a click or a key closed it.
    void play_rabbit();
    // The record entry and deletion dialogs, modal, for the book of entry_book_kind and
    // deletion_book_kind.
    void show_record_entry_dialog();
    void show_record_deletion_dialog();

    // engine::Host
    void set_speech(const std::string& text) override;
    void show_speech() override;
    std::string input_box(const std::string& caption, const std::string& prompt,
                          const std::string& default_text) override;
    void message_box(const std::string& text) override;
    void warning_box(const std::string& text) override;
    void debug_box(const std::string& text) override;
    void open_record_entry(engine::Book book) override;
    void open_record_deletion(engine::Book book) override;
    void open_free_talk_entry() override;
    void run_launcher() override;
    void search_addresses() override;
    void search_words() override;
    // The 설정 menu's name boxes, for the menu and for a reserved command alike.
    std::string ask_name(engine::Name name, const std::string& current) override;
    void play_animation() override;
    void close_main_window() override;
    bool change_directory(const std::string& folder) override;
    int start_program(const std::string& command_line) override;

signals:
    // The settings have been written back: the program may end.
    void finished();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_controls();
    void build_menus();
    void build_tray_menu();

    void start_up();
    void on_first_show();
    void fit_speech_label();
    void fit_outer_size();
    void note_placement();
    void take_placement();
    void shut_down();
    // The settings as they stand now: the menus' switches, the names and the mood of the
    // engine, the launcher's history and the window's placement.
    settings::Settings current_settings() const;
    // A stored value changed: it is saved a moment later, together with whatever else changes
    // meanwhile.
    void schedule_save();
    // Saves what changed since the last save; at exit every key, changed or not.
    void store_settings(bool at_exit);
    void report_missing_tray();
    void ask_names_on_first_run();
    void load_music();
    void switch_music();
    void show_logo();

    void on_key_typed();
    void on_sentence_entered();
    void on_monologue_timer();

    void edit_data_file(const char* name);
    void toggle_tray_start();
    void set_address_search_by_name(bool by_name);
    void set_word_search_by_word(bool by_word);
    void toggle_music();
    void update_check_marks();

    // The launcher and the history (main_window_books.cpp).
    void launch_by_name();
    void run_history_item(int index);
    void run_previous_command();
    void show_history();
    void show_about_box();

    std::filesystem::path program_folder_;
    std::mt19937 random_;
    std::unique_ptr<engine::Engine> engine_;
    settings::Settings settings_;
    // The values as read, then as last saved: a save writes what differs from them.
    settings::Settings saved_settings_;
    QTimer* save_timer_ = nullptr;
    bool save_failure_shown_ = false;  // a failing save is told once, not at every change
    books::LauncherState launcher_;  // history captions and previous_command
    int entry_book_kind_ = 0;
    int deletion_book_kind_ = 0;

    bool shown_once_ = false;
    bool outer_size_fitted_ = false;
    // The outer placement to store at exit, and whether the window manager's frame was seen.
    QRect placement_;
    bool frame_seen_ = false;
    // The window manager's frame was measured (fit_outer_size): a window that later reports
    // no frame is between two frames, wherever it is.
    bool frame_measured_ = false;
    QTimer* placement_timer_ = nullptr;  // reads the placement once moves have settled
    bool destroyed_ = false;
    bool monologue_running_ = false;

    // Controls. Their Qt object names are the designed ones, given in the comments, so that
    // tests and the design find them.
    QWidget* picture_panel_ = nullptr;             // Panel1: the pictures and the speech
    Picture* background_picture_ = nullptr;        // Image1
    Picture* character_picture_ = nullptr;         // Image2, 누리
    QFrame* character_frame_ = nullptr;            // Bevel1
    QLabel* speech_label_ = nullptr;               // Label1
    QFrame* chat_panel_ = nullptr;                 // Panel2: holds the chat line
    ChatWindow* chat_window_ = nullptr;            // chat_window
    QTimer* monologue_timer_ = nullptr;            // Timer1
    BackgroundMusic* background_music_ = nullptr;  // MediaPlayer1
    QMenu* tray_menu_ = nullptr;                   // PopupMenu1
    TrayIcon* tray_icon_ = nullptr;                // TrayIcon1

    // The menu items with a check mark, and the history items of the tray menu.
    QAction* tray_start_item_ = nullptr;          // traystart
    QAction* address_by_name_item_ = nullptr;     // juso_name
    QAction* address_by_address_item_ = nullptr;  // juso_juso
    QAction* word_by_word_item_ = nullptr;        // eng_eng
    QAction* word_by_meaning_item_ = nullptr;     // eng_han
    QAction* music_item_ = nullptr;               // backmusic
    QAction* tray_music_item_ = nullptr;          // pop_backmusic
    std::array<QAction*, settings::kHistorySize> history_items_{};  // hist_item1 ... hist_item8
};

}  // namespace shell
