// The window itself: its controls, the chat line and the monologue.
#include "shell/window/main_window.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "shell/appearance.h"
#include "shell/error_guard.h"
#include "shell/media/background_music.h"
#include "shell/picture.h"
#include "shell/window/chat_window.h"
#include "shell/window/tray_icon.h"
#include "text/codec.h"

namespace shell {

namespace {
constexpr int kMonologueInterval = 30000;  // ms
}  // namespace

MainWindow::MainWindow(std::filesystem::path program_folder, QWidget* parent)
    : QMainWindow(parent), program_folder_(std::move(program_folder)) {
    install_font_substitutions();
    init_pictures();
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("다솜 V1.0"));
    setWindowIcon(program_icon());

    build_controls();
    build_menus();
    build_tray_menu();
    tray_icon_ = new TrayIcon(this, tray_menu_, this);

    start_up();
    // A start into the tray needs the icon before the window is first shown (a window hidden
    // while the window manager frames it must be framed in step); otherwise it comes once the
    // window is up (showEvent).
    if (settings_.tray_start) tray_icon_->install();
}

MainWindow::~MainWindow() {
    // A session that ends without closing the window still keeps its settings.
    shut_down();
}

void MainWindow::build_controls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("client"));
    auto* rows = new QVBoxLayout(central);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);

    picture_panel_ = new QWidget(central);
    picture_panel_->setObjectName(QStringLiteral("Panel1"));
    picture_panel_->installEventFilter(this);  // background_picture_ follows its size
    rows->addWidget(picture_panel_, 1);

    // Created in painting order: background, character, frame, speech on top.
    background_picture_ = new Picture(kBackgroundPicture, picture_panel_);
    background_picture_->setObjectName(QStringLiteral("Image1"));

    character_picture_ = new Picture(kCharacterPicture, picture_panel_);
    character_picture_->setObjectName(QStringLiteral("Image2"));
    character_picture_->setGeometry(8, 100, 100, 120);
    character_picture_->setToolTip(QStringLiteral("누리"));

    character_frame_ = new QFrame(picture_panel_);
    character_frame_->setObjectName(QStringLiteral("Bevel1"));
    character_frame_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    character_frame_->setGeometry(9, 99, 102, 122);
    character_frame_->hide();

    speech_label_ = new QLabel(QStringLiteral("전 누리에요."), picture_panel_);
    speech_label_->setObjectName(QStringLiteral("Label1"));
    speech_label_->setTextFormat(Qt::PlainText);  // replies are user data, never markup
    speech_label_->setWordWrap(true);
    speech_label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    speech_label_->setGeometry(125, 129, 281, 84);
    QFont speech_font(QStringLiteral("굴림체"));
    speech_font.setPixelSize(16);
    speech_font.setBold(true);
    speech_label_->setFont(speech_font);
    QPalette speech_colours = speech_label_->palette();
    speech_colours.setColor(QPalette::WindowText, Qt::white);
    speech_label_->setPalette(speech_colours);
    speech_label_->setAutoFillBackground(false);
    speech_label_->hide();

    background_music_ = new BackgroundMusic(picture_panel_);

    chat_panel_ = new QFrame(central);
    chat_panel_->setObjectName(QStringLiteral("Panel2"));
    chat_panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    chat_panel_->setLineWidth(2);
    chat_panel_->setFixedHeight(35);
    auto* line_box = new QVBoxLayout(chat_panel_);
    line_box->setContentsMargins(4, 4, 4, 4);  // inside the 2-pixel bevel
    rows->addWidget(chat_panel_, 0);

    chat_window_ = new ChatWindow(chat_panel_);
    chat_window_->setObjectName(QStringLiteral("chat_window"));
    line_box->addWidget(chat_window_);
    connect(chat_window_, &ChatWindow::character_typed, this, &MainWindow::on_key_typed);
    connect(chat_window_, &ChatWindow::enter_pressed, this, &MainWindow::on_sentence_entered);
    connect(chat_window_, &ChatWindow::escape_pressed, this, &MainWindow::minimise);

    setCentralWidget(central);
    chat_window_->setFocus();

    monologue_timer_ = new QTimer(this);
    monologue_timer_->setObjectName(QStringLiteral("Timer1"));
    monologue_timer_->setInterval(kMonologueInterval);
    connect(monologue_timer_, &QTimer::timeout, this, &MainWindow::on_monologue_timer);
    monologue_timer_->start();
}

void MainWindow::on_key_typed() {
    speech_label_->hide();
    monologue_timer_->stop();
}

void MainWindow::on_sentence_entered() {
    const std::string sentence =
        text::sentence_from_utf16(chat_window_->toPlainText().toStdU16String());
    // A failed turn keeps the label hidden, the timer stopped and the text for another try.
    const bool completed = guarded(this, [&] { engine_->chat_turn(sentence); });
    // The mood, the history, anything the turn set, also in a turn that failed half-way.
    schedule_save();
    if (!completed || destroyed_) return;  // destroyed_: the turn closed the program
    speech_label_->show();
    monologue_timer_->start();
    chat_window_->clear();
}

void MainWindow::on_monologue_timer() {
    // While an error box of an earlier tick is open, the ticks wait instead of stacking boxes.
    if (monologue_running_) return;
    monologue_running_ = true;
    guarded(this, [&] { engine_->say_monologue_line(); });
    monologue_running_ = false;
}

void MainWindow::minimise() {
    tray_icon_->hide_application();
}

void MainWindow::come_forward() {
    // On the task bar with a modal box open (the logo at start), a window manager may keep the
    // window iconic however it is asked to restore it; unmapped and mapped again, it comes back.
    if (isMinimized()) hide();
    tray_icon_->show_application();
    // A box that went onto the task bar with the window comes back with it.
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other != this && other->isVisible() && other->isMinimized() && qobject_cast<QDialog*>(other))
            other->showNormal();
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The title bar's minimise button also goes into the tray.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && tray_icon_ &&
        tray_icon_->available()) {
        QTimer::singleShot(0, this, [this] {
            if (isMinimized()) tray_icon_->hide_application();
        });
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_panel_ && background_picture_ && event->type() == QEvent::Resize) background_picture_->setGeometry(picture_panel_->rect());
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace shell
