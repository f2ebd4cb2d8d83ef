#include "shell/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>

#include "engine/ui/chat_input_form.h"
#include "shell/appearance.h"
#include "shell/chat_window.h"
#include "shell/data_file_editor.h"
#include "shell/dialogs.h"
#include "shell/error_guard.h"
#include "shell/picture.h"
#include "shell/setup_form.h"
#include "shell/tray_icon.h"
#include "text/codec.h"

using shell::dialogs;
using shell::guarded;

namespace {

constexpr int kMonologueInterval = 30000;  // ms
constexpr std::size_t kPreviousCommandLength = 99;  // bytes

QString to_q(const std::string& cp949) {
    return QString::fromStdU16String(text::to_utf16(cp949));
}

// A caption of the core: CR breaks the line.
QString caption_text(const std::string& cp949) {
    QString caption = to_q(cp949);
    caption.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    caption.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return caption;
}

// The CP949 form of a text typed for a name or an input box; false when it has none.
bool to_cp949(const QString& typed, std::string& out) {
    text::Encoded encoded = text::from_utf16(typed.toStdU16String());
    if (!encoded.complete()) return false;
    out = std::move(encoded.bytes);
    return true;
}

const QString kNoCp949Name =
    QStringLiteral("이름에 쓸 수 없는 글자가 들어 있습니다. 이름을 바꾸지 않았습니다.");
const QString kNoCp949Input = QStringLiteral("쓸 수 없는 글자가 들어 있습니다. 입력을 취소합니다.");

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

TMainForm::TMainForm(std::filesystem::path program_folder, QWidget* parent)
    : QMainWindow(parent), program_folder_(std::move(program_folder)) {
    shell::install_font_substitutions();
    shell::init_pictures();
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("다솜 V1.0"));
    setWindowIcon(shell::program_icon());

    build_controls();
    build_menus();
    build_tray_menu();
    // The tray icon registers itself while the window is built, before the start-up runs.
    TrayIcon1 = new TTrayIcon(this, PopupMenu1, this);

    FormCreate();
}

TMainForm::~TMainForm() {
    // A session that ends without closing the window still keeps its settings.
    FormDestroy();
}

// ---------------------------------------------------------------------------------------------
// Controls and menus

void TMainForm::build_controls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("client"));
    auto* rows = new QVBoxLayout(central);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);

    Panel1 = new QWidget(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->installEventFilter(this);  // Image1 follows its size
    rows->addWidget(Panel1, 1);

    // Created in painting order: background, character, frame, speech on top.
    Image1 = new shell::Picture(shell::kBackgroundPicture, Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));

    Image2 = new shell::Picture(shell::kCharacterPicture, Panel1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(8, 100, 100, 120);
    Image2->setToolTip(QStringLiteral("누리"));

    Bevel1 = new QFrame(Panel1);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(9, 99, 102, 122);
    Bevel1->hide();

    Label1 = new QLabel(QStringLiteral("전 누리에요."), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);  // replies are user data, never markup
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setGeometry(125, 129, 281, 84);
    QFont speech_font(QStringLiteral("굴림체"));
    speech_font.setPixelSize(16);
    speech_font.setBold(true);
    Label1->setFont(speech_font);
    QPalette speech_colours = Label1->palette();
    speech_colours.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(speech_colours);
    Label1->setAutoFillBackground(false);
    Label1->hide();

    // (MediaPlayer1, the background music, joins Panel1 with the music.)

    Panel2 = new QFrame(central);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setLineWidth(2);
    Panel2->setFixedHeight(35);
    auto* line_box = new QVBoxLayout(Panel2);
    line_box->setContentsMargins(4, 4, 4, 4);  // inside the 2-pixel bevel
    rows->addWidget(Panel2, 0);

    chat_window = new shell::ChatWindow(Panel2);
    chat_window->setObjectName(QStringLiteral("chat_window"));
    line_box->addWidget(chat_window);
    connect(chat_window, &shell::ChatWindow::character_typed, this,
            &TMainForm::chat_windowKeyPress);
    connect(chat_window, &shell::ChatWindow::enter_pressed, this, &TMainForm::chat_windowEnter);
    connect(chat_window, &shell::ChatWindow::escape_pressed, this, &TMainForm::minimise);

    setCentralWidget(central);
    chat_window->setFocus();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kMonologueInterval);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    Timer1->start();
}

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
                ask_name(engine_->computer_name, QStringLiteral("컴퓨터의 이름"),
                         QStringLiteral("컴퓨터의 이름을 입력하세요"));
            });
    connect(add_item(setup, "m_human_name", QStringLiteral("사람의 이름")), &QAction::triggered,
            this, [this] {
                ask_name(engine_->user_name, QStringLiteral("사용자의 이름"),
                         QStringLiteral("사용자의 이름을 입력하세요"));
            });
    add_separator(setup, "seperator2");
    traystart = add_check_item(setup, "traystart", QStringLiteral("트레이시작"));
    connect(traystart, &QAction::triggered, this, &TMainForm::traystartClick);
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
            &TMainForm::run_launcher);
    QMenu* m_juso = add_submenu(sub_func, "m_juso", QStringLiteral("주소록"));
    connect(add_item(m_juso, "juso_add", QStringLiteral("추가")), &QAction::triggered, this,
            [this] { add_book(engine::Book::addresses); });
    connect(add_item(m_juso, "juso_del", QStringLiteral("삭제")), &QAction::triggered, this,
            [this] { delete_book(engine::Book::addresses); });
    connect(add_item(m_juso, "juso_search", QStringLiteral("검색")), &QAction::triggered, this,
            &TMainForm::search_addresses);
    QMenu* m_eng = add_submenu(sub_func, "m_eng", QStringLiteral("단어장"));
    connect(add_item(m_eng, "eng_add", QStringLiteral("추가")), &QAction::triggered, this,
            [this] { add_book(engine::Book::words); });
    connect(add_item(m_eng, "eng_del", QStringLiteral("삭제")), &QAction::triggered, this,
            [this] { delete_book(engine::Book::words); });
    connect(add_item(m_eng, "eng_search", QStringLiteral("검색")), &QAction::triggered, this,
            &TMainForm::search_words);

    QMenu* Help1 = add_submenu(MainMenu1, "Help1", QStringLiteral("도움말"));
    connect(add_item(Help1, "content", QStringLiteral("다솜란?")), &QAction::triggered, this,
            [this] { edit_data_file("readme.txt"); });
    add_separator(Help1, "seperator4");
    // The about box comes with its own window.
    connect(add_item(Help1, "about", QStringLiteral("만든이")), &QAction::triggered, this,
            &TMainForm::later_work);
}

void TMainForm::build_tray_menu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));

    QMenu* pop_hist = add_submenu(PopupMenu1, "pop_hist", QStringLiteral("히스토리"));
    static const char* const names[settings::kHistorySize] = {
        "hist_item1", "hist_item2", "hist_item3", "hist_item4",
        "hist_item5", "hist_item6", "hist_item7", "hist_item8"};
    for (int i = 0; i < settings::kHistorySize; ++i) {
        hist_items[i] = add_item(pop_hist, names[i], QStringLiteral("없음"));
        // Running a history entry belongs to the launcher.
        connect(hist_items[i], &QAction::triggered, this, &TMainForm::later_work);
    }
    connect(add_item(PopupMenu1, "p_exe", QStringLiteral("이전명령실행")), &QAction::triggered,
            this, &TMainForm::later_work);
    connect(add_item(PopupMenu1, "pop_exec", QStringLiteral("화일실행")), &QAction::triggered,
            this, &TMainForm::run_launcher);
    connect(add_item(PopupMenu1, "popup_talk", QStringLiteral("이야기하기")),
            &QAction::triggered, this, [this] { TrayIcon1->ShowApplication(); });
    add_separator(PopupMenu1, "divide1");
    pop_backmusic = add_check_item(PopupMenu1, "pop_backmusic", QStringLiteral("배경음악"));
    connect(pop_backmusic, &QAction::triggered, this, &TMainForm::backmusicClick);
    add_separator(PopupMenu1, "divide2");
    connect(add_item(PopupMenu1, "popup_exit", QStringLiteral("그만하기")), &QAction::triggered,
            this, &QWidget::close);
}

// ---------------------------------------------------------------------------------------------
// Start-up and exit

void TMainForm::FormCreate() {
    random_.seed(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    // (The music device is prepared here with the music.)
    engine_ = std::make_unique<engine::Engine>(program_folder_, *this, random_);

    guarded(this, [&] { settings_ = settings::read_settings(program_folder_ / settings::kFileName); });
    engine_->user_name = settings_.user_name;
    engine_->computer_name = settings_.computer_name;
    engine_->mood = settings_.mood;

    move(settings_.left, settings_.top);
    resize(settings_.width, settings_.height);
    FormResize();  // the label follows the placement at once, shown or not

    for (int i = 0; i < settings::kHistorySize; ++i)
        hist_items[i]->setText(to_q(settings_.history[i]));
    previous_command_ = settings_.history[0].substr(0, kPreviousCommandLength);

    engine_->animation_pending = 0;

    if (settings_.first_run) dasom_setup();

    update_check_marks();
    // (The background music is loaded and started here with the music.)
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_once_) return;
    shown_once_ = true;
    // Activation of the first show only: later returns from dialogs do not minimise again.
    QTimer::singleShot(0, this, &TMainForm::FormActivate);
}

void TMainForm::FormActivate() {
    fit_outer_size();
    if (settings_.tray_start) minimise();
    // (The logo plays here when view_logo is on, with the logo window.)
}

void TMainForm::fit_outer_size() {
    // The stored width and height are the outer size, as the window stores them at exit. The
    // frame is known only once the window manager has framed the window, which may come after
    // the first show; until then every move or resize looks again. Without this the window
    // would grow by its frame on every run.
    if (outer_size_fitted_ || !shown_once_) return;
    if (size() != QSize(settings_.width, settings_.height)) {
        outer_size_fitted_ = true;  // resized meanwhile: the user's size wins
        return;
    }
    const QSize frame_extra = frameGeometry().size() - geometry().size();
    if (frame_extra == QSize(0, 0)) return;
    outer_size_fitted_ = true;
    if (!isMaximized())
        resize(settings_.width - frame_extra.width(), settings_.height - frame_extra.height());
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
    fit_outer_size();
}

void TMainForm::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    fit_outer_size();
}

void TMainForm::FormResize() {
    const QRect outer = frameGeometry();
    Label1->resize(outer.width() / 2, outer.height() / 2);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // An editor window with unsaved changes asks first; keeping it keeps the program open.
    if (!destroyed_ && !shell::DataFileEditor::close_all()) {
        event->ignore();
        return;
    }
    FormDestroy();
    event->accept();
    emit finished();
}

void TMainForm::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    Timer1->stop();

    settings::Settings values = settings_;
    values.user_name = engine_->user_name;
    values.computer_name = engine_->computer_name;
    values.mood = engine_->mood;
    // A maximised window keeps its maximised bounds; the next start opens a normal window of
    // that size.
    const QRect outer = frameGeometry();
    values.left = outer.x();
    values.top = outer.y();
    values.width = outer.width();
    values.height = outer.height();
    guarded(this, [&] { settings::write_settings(program_folder_ / settings::kFileName, values); });
}

void TMainForm::dasom_setup() {
    TSetupForm form(this);
    // A name with no CP949 form is not taken; the user hears about it once, at the end.
    bool user_refused = false;
    bool computer_refused = false;
    connect(&form, &TSetupForm::user_name_changed, this, [&](const QString& name) {
        user_refused = !to_cp949(name, engine_->user_name);
    });
    connect(&form, &TSetupForm::computer_name_changed, this, [&](const QString& name) {
        computer_refused = !to_cp949(name, engine_->computer_name);
    });
    form.exec();
    if (user_refused || computer_refused) dialogs().message(this, kNoCp949Name);
}

// ---------------------------------------------------------------------------------------------
// The chat line and the monologue

void TMainForm::chat_windowKeyPress() {
    Label1->hide();
    Timer1->stop();
}

void TMainForm::chat_windowEnter() {
    const std::string sentence =
        text::sentence_from_utf16(chat_window->toPlainText().toStdU16String());
    // A failed turn keeps the label hidden, the timer stopped and the text for another try.
    if (!guarded(this, [&] { engine_->chat_turn(sentence); })) return;
    if (destroyed_) return;  // the turn closed the program
    Label1->show();
    Timer1->start();
    chat_window->clear();
}

void TMainForm::Timer1Timer() {
    // While an error box of an earlier tick is open, the ticks wait instead of stacking boxes.
    if (monologue_running_) return;
    monologue_running_ = true;
    guarded(this, [&] { engine_->mal(); });
    monologue_running_ = false;
}

void TMainForm::minimise() {
    TrayIcon1->HideApplication();
}

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The title bar's minimise button also goes into the tray.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && TrayIcon1 &&
        TrayIcon1->available()) {
        QTimer::singleShot(0, this, [this] {
            if (isMinimized()) TrayIcon1->HideApplication();
        });
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1 && Image1 && event->type() == QEvent::Resize) Image1->setGeometry(Panel1->rect());
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Menu handlers

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

void TMainForm::ask_name(std::string& name, const QString& caption, const QString& prompt) {
    guarded(this, [&] {
        const QString answer = dialogs().input_box(this, caption, prompt, to_q(name));
        std::string bytes;
        if (!to_cp949(answer, bytes)) {
            dialogs().message(this, kNoCp949Name);
            return;
        }
        name = std::move(bytes);
    });
}

void TMainForm::traystartClick() {
    settings_.tray_start = !settings_.tray_start;
    update_check_marks();
}

void TMainForm::set_juso_mode(bool by_name) {
    settings_.juso_mode = by_name;
    update_check_marks();  // also puts back the mark Qt took off a checked item
}

void TMainForm::set_eng_mode(bool by_word) {
    settings_.eng_mode = by_word;
    update_check_marks();
}

void TMainForm::backmusicClick() {
    settings_.music_on = !settings_.music_on;
    update_check_marks();
    // (Starting and stopping the music comes with the music.)
}

void TMainForm::update_check_marks() {
    traystart->setChecked(settings_.tray_start);
    juso_name->setChecked(settings_.juso_mode);
    juso_juso->setChecked(!settings_.juso_mode);
    eng_eng->setChecked(settings_.eng_mode);
    eng_han->setChecked(!settings_.eng_mode);
    backmusic->setChecked(settings_.music_on);
    pop_backmusic->setChecked(settings_.music_on);
}

void TMainForm::add_book(engine::Book book) {
    add_book_kind_ = static_cast<int>(book);
    // (call_addform: the record entry dialog comes with the books.)
}

void TMainForm::delete_book(engine::Book book) {
    del_book_kind_ = static_cast<int>(book);
    // (call_delform: the record deletion dialog comes with the books.)
}

void TMainForm::later_work() {
    // Not built yet: the launcher, the history and the about box come with their own parts.
}

// ---------------------------------------------------------------------------------------------
// engine::Host

void TMainForm::set_speech(const std::string& text) { Label1->setText(caption_text(text)); }

void TMainForm::show_speech() { Label1->show(); }

std::string TMainForm::input_box(const std::string& caption, const std::string& prompt,
                                 const std::string& default_text) {
    const QString answer =
        dialogs().input_box(this, to_q(caption), to_q(prompt), to_q(default_text));
    std::string bytes;
    if (!to_cp949(answer, bytes)) {
        dialogs().message(this, kNoCp949Input);
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

void TMainForm::run_launcher() { later_work(); }

void TMainForm::search_addresses() { later_work(); }

void TMainForm::search_words() { later_work(); }

void TMainForm::play_animation() {
    // (The screen animation comes with the animation window.)
}

void TMainForm::close_main_window() { close(); }
