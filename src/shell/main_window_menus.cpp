// The menu bar, the tray menu and their handlers.
#include "shell/main_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>

#include "shell/chat_input_form.h"
#include "shell/data_file_editor.h"
#include "shell/dialogs.h"
#include "shell/error_guard.h"
#include "shell/login_start_item.h"
#include "shell/qt_text.h"
#include "shell/tray_icon.h"

using shell::dialogs;
using shell::guarded;
using shell::to_q;

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

void TMainForm::build_menus() {
    QMenuBar* MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* m_chat = add_submenu(MainMenu1, "m_chat", QStringLiteral("대화"));
    QMenu* chat_item = add_submenu(m_chat, "chat_item", QStringLiteral("대화파일편집"));
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
        connect(add_item(chat_item, f.name, f.caption), &QAction::triggered, this,
                [this, file] { edit_data_file(file); });
    }
    connect(add_item(m_chat, "chat_content", QStringLiteral("대화입력")), &QAction::triggered,
            this, [this] { call_ChatInputForm(); });
    // Teaching an answer to the sentence the companion could only answer with a question.
    connect(add_item(m_chat, "teach_last", QStringLiteral("방금 문장 가르치기")),
            &QAction::triggered, this,
            [this] { call_ChatInputForm(to_q(engine_->last_unanswered_sentence)); });
    add_separator(m_chat, "seperator1");
    connect(add_item(m_chat, "Exit1", QStringLiteral("그만하기")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* setup = add_submenu(MainMenu1, "setup", QStringLiteral("설정"));
    connect(add_item(setup, "m_dasom_name", QStringLiteral("다솜의 이름")), &QAction::triggered,
            this, [this] {
                engine_->computer_name = ask_name(engine::Name::computer, engine_->computer_name);
            });
    connect(add_item(setup, "m_human_name", QStringLiteral("사람의 이름")), &QAction::triggered,
            this, [this] {
                engine_->user_name = ask_name(engine::Name::user, engine_->user_name);
            });
    add_separator(setup, "seperator2");
    traystart = add_check_item(setup, "traystart", QStringLiteral("트레이시작"));
    connect(traystart, &QAction::triggered, this, &TMainForm::traystartClick);
    shell::add_login_start_item(setup, this, program_folder_);
    QMenu* JusoMode = add_submenu(setup, "JusoMode", QStringLiteral("주소검색방법"));
    juso_name = add_check_item(JusoMode, "juso_name", QStringLiteral("이름"));
    juso_juso = add_check_item(JusoMode, "juso_juso", QStringLiteral("주소"));
    connect(juso_name, &QAction::triggered, this, [this] { set_juso_mode(true); });
    connect(juso_juso, &QAction::triggered, this, [this] { set_juso_mode(false); });
    QMenu* EngMode = add_submenu(setup, "EngMode", QStringLiteral("단어검색방법"));
    eng_eng = add_check_item(EngMode, "eng_eng", QStringLiteral("단어로"));
    eng_han = add_check_item(EngMode, "eng_han", QStringLiteral("뜻으로"));
    connect(eng_eng, &QAction::triggered, this, [this] { set_eng_mode(true); });
    connect(eng_han, &QAction::triggered, this, [this] { set_eng_mode(false); });
    add_separator(setup, "seperator3");
    backmusic = add_check_item(setup, "backmusic", QStringLiteral("배경음악"));
    connect(backmusic, &QAction::triggered, this, &TMainForm::backmusicClick);

    QMenu* sub_func = add_submenu(MainMenu1, "sub_func", QStringLiteral("보조"));
    QMenu* m_exec = add_submenu(sub_func, "m_exec", QStringLiteral("명령어"));
    connect(add_item(m_exec, "exec_add", QStringLiteral("추가")), &QAction::triggered, this,
            [this] { add_book(engine::Book::commands); });
    connect(add_item(m_exec, "exec_del", QStringLiteral("삭제")), &QAction::triggered, this,
            [this] { delete_book(engine::Book::commands); });
    connect(add_item(m_exec, "exec_com", QStringLiteral("실행")), &QAction::triggered, this,
            [this] { guarded(this, [this] { launch_by_name(); }); });
    QMenu* m_juso = add_submenu(sub_func, "m_juso", QStringLiteral("주소록"));
    connect(add_item(m_juso, "juso_add", QStringLiteral("추가")), &QAction::triggered, this,
            [this] { add_book(engine::Book::addresses); });
    connect(add_item(m_juso, "juso_del", QStringLiteral("삭제")), &QAction::triggered, this,
            [this] { delete_book(engine::Book::addresses); });
    connect(add_item(m_juso, "juso_search", QStringLiteral("검색")), &QAction::triggered, this,
            [this] { guarded(this, [this] { search_addresses(); }); });
    QMenu* m_eng = add_submenu(sub_func, "m_eng", QStringLiteral("단어장"));
    connect(add_item(m_eng, "eng_add", QStringLiteral("추가")), &QAction::triggered, this,
            [this] { add_book(engine::Book::words); });
    connect(add_item(m_eng, "eng_del", QStringLiteral("삭제")), &QAction::triggered, this,
            [this] { delete_book(engine::Book::words); });
    connect(add_item(m_eng, "eng_search", QStringLiteral("검색")), &QAction::triggered, this,
            [this] { guarded(this, [this] { search_words(); }); });

    QMenu* Help1 = add_submenu(MainMenu1, "Help1", QStringLiteral("도움말"));
    connect(add_item(Help1, "content", QStringLiteral("다솜란?")), &QAction::triggered, this,
            [this] { edit_data_file("readme.txt"); });
    add_separator(Help1, "seperator4");
    connect(add_item(Help1, "about", QStringLiteral("만든이")), &QAction::triggered, this,
            &TMainForm::aboutClick);
}

void TMainForm::build_tray_menu() {
    tray_menu_ = new QMenu(this);
    tray_menu_->setObjectName(QStringLiteral("PopupMenu1"));

    QMenu* pop_hist = add_submenu(tray_menu_, "pop_hist", QStringLiteral("히스토리"));
    static const char* const names[settings::kHistorySize] = {
        "hist_item1", "hist_item2", "hist_item3", "hist_item4",
        "hist_item5", "hist_item6", "hist_item7", "hist_item8"};
    for (int i = 0; i < settings::kHistorySize; ++i) {
        hist_items[i] = add_item(pop_hist, names[i], QStringLiteral("없음"));
        connect(hist_items[i], &QAction::triggered, this, [this, i] { hist_itemClick(i); });
    }
    connect(add_item(tray_menu_, "p_exe", QStringLiteral("이전명령실행")), &QAction::triggered,
            this, &TMainForm::p_exeClick);
    connect(add_item(tray_menu_, "pop_exec", QStringLiteral("화일실행")), &QAction::triggered, this,
            [this] { guarded(this, [this] { launch_by_name(); }); });
    connect(add_item(tray_menu_, "popup_talk", QStringLiteral("이야기하기")),
            &QAction::triggered, this, [this] { tray_icon_->ShowApplication(); });
    add_separator(tray_menu_, "divide1");
    pop_backmusic = add_check_item(tray_menu_, "pop_backmusic", QStringLiteral("배경음악"));
    connect(pop_backmusic, &QAction::triggered, this, &TMainForm::backmusicClick);
    add_separator(tray_menu_, "divide2");
    connect(add_item(tray_menu_, "popup_exit", QStringLiteral("그만하기")), &QAction::triggered,
            this, &QWidget::close);
}

void TMainForm::edit_data_file(const char* name) {
    const std::filesystem::path file = program_folder_ / name;
#ifdef _WIN32
    QProcess::startDetached(QStringLiteral("notepad"),
                            {QString::fromStdWString(file.wstring())});
#else
    // Editors here would save UTF-8; the program's own editor keeps CP949 with CR LF.
    guarded(this, [&] { shell::DataFileEditor::open_file(file, this); });
#endif
}

void TMainForm::call_ChatInputForm(const QString& key_text) {
    guarded(this, [&] {
        TChat_InputForm form(program_folder_ / "data4.dat", this);
        if (!key_text.isEmpty()) form.set_key_text(key_text);
        form.exec();
    });
}

std::string TMainForm::ask_name(engine::Name which, const std::string& current) {
    const bool user = which == engine::Name::user;
    std::string name = current;
    guarded(this, [&] {
        const QString answer = dialogs().input_box(
            this, user ? QStringLiteral("사용자의 이름") : QStringLiteral("컴퓨터의 이름"),
            user ? QStringLiteral("사용자의 이름을 입력하세요")
                 : QStringLiteral("컴퓨터의 이름을 입력하세요"),
            to_q(current));
        std::string bytes;
        if (!shell::to_cp949(answer, bytes)) {
            dialogs().message(this, shell::no_cp949_name_text());
            return;
        }
        name = std::move(bytes);
    });
    schedule_save();
    return name;
}

void TMainForm::traystartClick() {
    settings_.tray_start = !settings_.tray_start;
    update_check_marks();
    schedule_save();
}

void TMainForm::set_juso_mode(bool by_name) {
    settings_.address_search_by_name = by_name;
    update_check_marks();  // also puts back the mark Qt took off a checked item
    schedule_save();
}

void TMainForm::set_eng_mode(bool by_word) {
    settings_.word_search_by_word = by_word;
    update_check_marks();
    schedule_save();
}

void TMainForm::backmusicClick() {
    settings_.music_on = !settings_.music_on;
    switch_music();
    update_check_marks();
    schedule_save();
}

void TMainForm::update_check_marks() {
    traystart->setChecked(settings_.tray_start);
    juso_name->setChecked(settings_.address_search_by_name);
    juso_juso->setChecked(!settings_.address_search_by_name);
    eng_eng->setChecked(settings_.word_search_by_word);
    eng_han->setChecked(!settings_.word_search_by_word);
    backmusic->setChecked(settings_.music_on);
    pop_backmusic->setChecked(settings_.music_on);
}

void TMainForm::add_book(engine::Book book) {
    add_book_kind_ = static_cast<int>(book);
    call_addform();
}

void TMainForm::delete_book(engine::Book book) {
    del_book_kind_ = static_cast<int>(book);
    call_delform();
}
