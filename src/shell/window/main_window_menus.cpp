// The menu bar, the tray menu and their handlers.
#include "shell/window/main_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>

#include "shell/dialogs/about_box.h"
#include "shell/dialogs/data_file_editor.h"
#include "shell/dialogs/free_talk_dialog.h"
#include "shell/error_guard.h"
#include "shell/message_boxes.h"
#include "shell/qt_text.h"
#include "shell/window/login_start_item.h"
#include "shell/window/tray_icon.h"

namespace shell {

namespace {

QMenu* add_submenu(QWidget* owner, const char* name, const QString& caption) {
    auto* menu = new QMenu(caption, owner);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    if (auto* bar = qobject_cast<QMenuBar*>(owner))
        bar->addMenu(menu);
    else if (auto* parent_menu = qobject_cast<QMenu*>(owner))
        parent_menu->addMenu(menu);
    return menu;
}

QAction* add_item(QMenu* menu, const char* name, const QString& caption) {
    auto* action = new QAction(caption, menu);
    action->setObjectName(QLatin1String(name));
    menu->addAction(action);
    return action;
}

QAction* add_check_item(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = add_item(menu, name, caption);
    action->setCheckable(true);
    return action;
}

void add_separator(QMenu* menu, const char* name) {
    auto* action = new QAction(menu);
    action->setSeparator(true);
    action->setObjectName(QLatin1String(name));
    menu->addAction(action);
}

}  // namespace

void MainWindow::build_menus() {
    QMenuBar* menu_bar = menuBar();
    menu_bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* chat_menu = add_submenu(menu_bar, "m_chat", QStringLiteral("대화"));
    QMenu* data_files_menu = add_submenu(chat_menu, "chat_item", QStringLiteral("대화파일편집"));
    const struct {
        const char* name;
        const char* file;
        QString caption;
    } files[] = {
        {"data1", "data1.dat", QStringLiteral("data1.dat")},
        {"data2", "data2.dat", QStringLiteral("data2.dat")},
        {"data3", "data3.dat", QStringLiteral("data3.dat")},
        {"data4", "data4.dat", QStringLiteral("data4.dat")},
        {"hojamal", "mal.dat", QStringLiteral("혼자말")},
        {"reserve", "reserve.dat", QStringLiteral("예약어파일")},
    };
    for (const auto& f : files) {
        const char* file = f.file;
        connect(add_item(data_files_menu, f.name, f.caption), &QAction::triggered, this,
                [this, file] { edit_data_file(file); });
    }
    connect(add_item(chat_menu, "chat_content", QStringLiteral("대화입력")), &QAction::triggered,
            this, [this] { show_free_talk_dialog(); });
    // Teaching an answer to the sentence the companion could only answer with a question.
    connect(add_item(chat_menu, "teach_last", QStringLiteral("방금 문장 가르치기")),
            &QAction::triggered, this,
            [this] { show_free_talk_dialog(to_q(engine_->last_unanswered_sentence)); });
    add_separator(chat_menu, "seperator1");
    connect(add_item(chat_menu, "Exit1", QStringLiteral("그만하기")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* settings_menu = add_submenu(menu_bar, "setup", QStringLiteral("설정"));
    connect(add_item(settings_menu, "m_dasom_name", QStringLiteral("다솜의 이름")),
            &QAction::triggered, this, [this] {
                engine_->computer_name = ask_name(engine::Name::computer, engine_->computer_name);
            });
    connect(add_item(settings_menu, "m_human_name", QStringLiteral("사람의 이름")),
            &QAction::triggered, this,
            [this] { engine_->user_name = ask_name(engine::Name::user, engine_->user_name); });
    add_separator(settings_menu, "seperator2");
    tray_start_item_ = add_check_item(settings_menu, "traystart", QStringLiteral("트레이시작"));
    connect(tray_start_item_, &QAction::triggered, this, &MainWindow::toggle_tray_start);
    add_login_start_item(settings_menu, this, program_folder_);
    QMenu* address_search_menu =
        add_submenu(settings_menu, "JusoMode", QStringLiteral("주소검색방법"));
    address_by_name_item_ =
        add_check_item(address_search_menu, "juso_name", QStringLiteral("이름"));
    address_by_address_item_ =
        add_check_item(address_search_menu, "juso_juso", QStringLiteral("주소"));
    connect(address_by_name_item_, &QAction::triggered, this,
            [this] { set_address_search_by_name(true); });
    connect(address_by_address_item_, &QAction::triggered, this,
            [this] { set_address_search_by_name(false); });
    QMenu* word_search_menu = add_submenu(settings_menu, "EngMode", QStringLiteral("단어검색방법"));
    word_by_word_item_ = add_check_item(word_search_menu, "eng_eng", QStringLiteral("단어로"));
    word_by_meaning_item_ = add_check_item(word_search_menu, "eng_han", QStringLiteral("뜻으로"));
    connect(word_by_word_item_, &QAction::triggered, this,
            [this] { set_word_search_by_word(true); });
    connect(word_by_meaning_item_, &QAction::triggered, this,
            [this] { set_word_search_by_word(false); });
    add_separator(settings_menu, "seperator3");
    music_item_ = add_check_item(settings_menu, "backmusic", QStringLiteral("배경음악"));
    connect(music_item_, &QAction::triggered, this, &MainWindow::toggle_music);

    QMenu* tools_menu = add_submenu(menu_bar, "sub_func", QStringLiteral("보조"));
    QMenu* commands_menu = add_submenu(tools_menu, "m_exec", QStringLiteral("명령어"));
    connect(add_item(commands_menu, "exec_add", QStringLiteral("추가")), &QAction::triggered, this,
            [this] { open_record_entry(engine::Book::commands); });
    connect(add_item(commands_menu, "exec_del", QStringLiteral("삭제")), &QAction::triggered, this,
            [this] { open_record_deletion(engine::Book::commands); });
    connect(add_item(commands_menu, "exec_com", QStringLiteral("실행")), &QAction::triggered, this,
            [this] { guarded(this, [this] { launch_by_name(); }); });
    QMenu* addresses_menu = add_submenu(tools_menu, "m_juso", QStringLiteral("주소록"));
    connect(add_item(addresses_menu, "juso_add", QStringLiteral("추가")), &QAction::triggered, this,
            [this] { open_record_entry(engine::Book::addresses); });
    connect(add_item(addresses_menu, "juso_del", QStringLiteral("삭제")), &QAction::triggered, this,
            [this] { open_record_deletion(engine::Book::addresses); });
    connect(add_item(addresses_menu, "juso_search", QStringLiteral("검색")), &QAction::triggered,
            this, [this] { guarded(this, [this] { search_addresses(); }); });
    QMenu* words_menu = add_submenu(tools_menu, "m_eng", QStringLiteral("단어장"));
    connect(add_item(words_menu, "eng_add", QStringLiteral("추가")), &QAction::triggered, this,
            [this] { open_record_entry(engine::Book::words); });
    connect(add_item(words_menu, "eng_del", QStringLiteral("삭제")), &QAction::triggered, this,
            [this] { open_record_deletion(engine::Book::words); });
    connect(add_item(words_menu, "eng_search", QStringLiteral("검색")), &QAction::triggered, this,
            [this] { guarded(this, [this] { search_words(); }); });

    QMenu* help_menu = add_submenu(menu_bar, "Help1", QStringLiteral("도움말"));
    connect(add_item(help_menu, "content", QStringLiteral("다솜란?")), &QAction::triggered, this,
            [this] { edit_data_file("readme.txt"); });
    add_separator(help_menu, "seperator4");
    connect(add_item(help_menu, "about", QStringLiteral("만든이")), &QAction::triggered, this,
            &MainWindow::show_about_box);
}

void MainWindow::build_tray_menu() {
    tray_menu_ = new QMenu(this);
    tray_menu_->setObjectName(QStringLiteral("PopupMenu1"));

    QMenu* history_menu = add_submenu(tray_menu_, "pop_hist", QStringLiteral("히스토리"));
    static const char* const names[settings::kHistorySize] = {
        "hist_item1", "hist_item2", "hist_item3", "hist_item4",
        "hist_item5", "hist_item6", "hist_item7", "hist_item8"};
    for (int i = 0; i < settings::kHistorySize; ++i) {
        history_items_[i] = add_item(history_menu, names[i], QStringLiteral("없음"));
        connect(history_items_[i], &QAction::triggered, this, [this, i] { run_history_item(i); });
    }
    connect(add_item(tray_menu_, "p_exe", QStringLiteral("이전명령실행")), &QAction::triggered,
            this, &MainWindow::run_previous_command);
    connect(add_item(tray_menu_, "pop_exec", QStringLiteral("화일실행")), &QAction::triggered, this,
            [this] { guarded(this, [this] { launch_by_name(); }); });
    connect(add_item(tray_menu_, "popup_talk", QStringLiteral("이야기하기")), &QAction::triggered,
            this, [this] { tray_icon_->show_application(); });
    add_separator(tray_menu_, "divide1");
    tray_music_item_ = add_check_item(tray_menu_, "pop_backmusic", QStringLiteral("배경음악"));
    connect(tray_music_item_, &QAction::triggered, this, &MainWindow::toggle_music);
    add_separator(tray_menu_, "divide2");
    connect(add_item(tray_menu_, "popup_exit", QStringLiteral("그만하기")), &QAction::triggered,
            this, &QWidget::close);
}

void MainWindow::edit_data_file(const char* name) {
    const std::filesystem::path file = program_folder_ / name;
#ifdef _WIN32
    QProcess::startDetached(QStringLiteral("notepad"),
                            {QString::fromStdWString(file.wstring())});
#else
    // Editors here would save UTF-8; the program's own editor keeps CP949 with CR LF.
    guarded(this, [&] { DataFileEditor::open_file(file, this); });
#endif
}

void MainWindow::show_free_talk_dialog(const QString& key_text) {
    guarded(this, [&] {
        FreeTalkDialog dialog(program_folder_ / "data4.dat", this);
        if (!key_text.isEmpty()) dialog.set_key_text(key_text);
        dialog.exec();
    });
}

std::string MainWindow::ask_name(engine::Name which, const std::string& current) {
    const bool user = which == engine::Name::user;
    std::string name = current;
    guarded(this, [&] {
        const QString answer = message_boxes().input_box(
            this, user ? QStringLiteral("사용자의 이름") : QStringLiteral("컴퓨터의 이름"),
            user ? QStringLiteral("사용자의 이름을 입력하세요")
                 : QStringLiteral("컴퓨터의 이름을 입력하세요"),
            to_q(current));
        std::string bytes;
        if (!to_cp949(answer, bytes)) {
            message_boxes().message(this, no_cp949_name_text());
            return;
        }
        name = std::move(bytes);
    });
    schedule_save();
    return name;
}

void MainWindow::toggle_tray_start() {
    settings_.tray_start = !settings_.tray_start;
    update_check_marks();
    schedule_save();
}

void MainWindow::set_address_search_by_name(bool by_name) {
    settings_.address_search_by_name = by_name;
    update_check_marks();  // also puts back the mark Qt took off a checked item
    schedule_save();
}

void MainWindow::set_word_search_by_word(bool by_word) {
    settings_.word_search_by_word = by_word;
    update_check_marks();
    schedule_save();
}

void MainWindow::toggle_music() {
    settings_.music_on = !settings_.music_on;
    switch_music();
    update_check_marks();
    schedule_save();
}

void MainWindow::update_check_marks() {
    tray_start_item_->setChecked(settings_.tray_start);
    address_by_name_item_->setChecked(settings_.address_search_by_name);
    address_by_address_item_->setChecked(!settings_.address_search_by_name);
    word_by_word_item_->setChecked(settings_.word_search_by_word);
    word_by_meaning_item_->setChecked(!settings_.word_search_by_word);
    music_item_->setChecked(settings_.music_on);
    tray_music_item_->setChecked(settings_.music_on);
}

void MainWindow::show_about_box() {
    AboutBox about(this);
    about.exec();
}

}  // namespace shell
