// Start-up and exit: reading and saving the settings, the window's placement, the set-up
// dialog of the first run.
#include "shell/window/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

#include <chrono>

#include "shell/dialogs/data_file_editor.h"
#include "shell/display_platform.h"
#include "shell/error_guard.h"
#include "shell/media/background_music.h"
#include "shell/message_boxes.h"
#include "shell/qt_text.h"
#include "shell/window/exit_signals.h"
#include "shell/window/setup_dialog.h"
#include "shell/window/tray_icon.h"

namespace shell {

namespace {
constexpr int kPlacementSettle = 300;  // ms
// Long enough to gather a burst of changes into one write, short enough that a change is on
// disk within a second whatever ends the program afterwards.
constexpr int kSaveDelay = 200;  // ms
}  // namespace

void MainWindow::start_up() {
    random_.seed(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    engine_ = std::make_unique<engine::Engine>(program_folder_, *this, random_);

    std::string settings_problem;
    guarded(this, [&] {
        settings_ = settings::read_settings(program_folder_ / settings::kFileName, &settings_problem);
    });
    if (!settings_problem.empty())
        message_boxes().error(this, QString::fromStdString(settings_problem));
    saved_settings_ = settings_;
    save_timer_ = new QTimer(this);
    save_timer_->setSingleShot(true);
    save_timer_->setInterval(kSaveDelay);
    connect(save_timer_, &QTimer::timeout, this, [this] { store_settings(false); });
    engine_->user_name = settings_.user_name;
    engine_->computer_name = settings_.computer_name;
    engine_->mood = settings_.mood;

    // Native Wayland leaves the position to the compositor.
    if (window_positions_known()) move(settings_.left, settings_.top);
    resize(settings_.width, settings_.height);
    placement_ = QRect(settings_.left, settings_.top, settings_.width, settings_.height);
    placement_timer_ = new QTimer(this);
    placement_timer_->setSingleShot(true);
    placement_timer_->setInterval(kPlacementSettle);
    connect(placement_timer_, &QTimer::timeout, this, &MainWindow::take_placement);
    fit_speech_label();  // the label follows the placement at once, shown or not

    launcher_.restore(settings_.history);
    show_history();

    engine_->animation_pending = 0;

    if (settings_.first_run) ask_names_on_first_run();

    update_check_marks();
    // The names of the set-up reach the file before anything else can go wrong.
    store_settings(false);
    load_music();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_once_) return;
    shown_once_ = true;
    // The tray icon before the activation, which may minimise into it.
    QTimer::singleShot(0, tray_icon_, &TrayIcon::install);
    // Activation of the first show only: later returns from dialogs do not minimise again.
    QTimer::singleShot(0, this, &MainWindow::on_first_show);
}

void MainWindow::on_first_show() {
    fit_outer_size();
    report_missing_tray();
    if (destroyed_) return;  // a signal ended the program while the notice was open
    if (settings_.tray_start) minimise();
    background_music_->allow_output();  // the sound font loads once the window is up
    if (settings_.view_logo) show_logo();
}

void MainWindow::fit_outer_size() {
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
    frame_measured_ = true;
    if (!isMaximized()) {
        const QSize client(settings_.width - frame_extra.width(),
                           settings_.height - frame_extra.height());
        resize(client);
    }
}

void MainWindow::note_placement() {
    // Moves and resizes come in bursts while the window manager frames, places or unframes the
    // window, some of them with passing values; the placement is read once they have settled.
    if (placement_timer_) placement_timer_->start();
}

void MainWindow::take_placement() {
    // The placement stored at exit is the last one seen while the window stood on the screen
    // in its normal state. A hidden, minimised or maximised window reports its client area, or
    // an icon's or the screen's bounds, and a window hidden before the window manager framed it
    // has never been placed at all: storing any of those would move or shrink the window a
    // little more on every run.
    if (!isVisible() || (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized |
                                          Qt::WindowFullScreen)))
        return;
    const QRect outer = frameGeometry();
    if (!window_positions_known()) {
        // Native Wayland reports 0,0 and takes no position: the stored one stays.
        placement_.setSize(outer.size());
        return;
    }
    const bool framed = outer.size() != geometry().size();
    if (framed && !frame_seen_) {
        frame_seen_ = true;
        // A window hidden before its first frame (a start into the tray) is framed only when
        // it comes back, around where its client area stood: put the frame where it belongs.
        if (outer.topLeft() != placement_.topLeft()) {
            move(placement_.topLeft());
            return;
        }
    } else if (!framed && (frame_seen_ || frame_measured_)) {
        // Between two frames (a hide, a restore): not where the window stands. A start into
        // the tray may have been framed and hidden again before any placement was read; back
        // from the tray it is unframed for a moment before it is framed again.
        return;
    }
    if (outer == placement_) return;
    placement_ = outer;
    schedule_save();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    fit_speech_label();
    fit_outer_size();
    note_placement();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    fit_outer_size();
    note_placement();
}

void MainWindow::fit_speech_label() {
    const QRect outer = frameGeometry();
    speech_label_->resize(outer.width() / 2, outer.height() / 2);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // An editor window with unsaved changes asks first; keeping it keeps the program open.
    if (!destroyed_ && !DataFileEditor::close_all()) {
        event->ignore();
        return;
    }
    shut_down();
    event->accept();
    emit finished();
}

void MainWindow::shut_down() {
    if (destroyed_) return;
    destroyed_ = true;
    monologue_timer_->stop();
    // A window that was never shown (the program ended during the set-up) is where it was put.
    if (!shown_once_ && window_positions_known()) placement_ = frameGeometry();
    if (placement_timer_->isActive()) take_placement();  // a change the user has just made
    // The settings first: closing an audio device can take its time, or never end.
    store_settings(true);
    background_music_->close();
}

settings::Settings MainWindow::current_settings() const {
    settings::Settings values = settings_;
    values.user_name = engine_->user_name;
    values.computer_name = engine_->computer_name;
    values.mood = engine_->mood;
    values.history = launcher_.history;
    // A maximised, minimised or hidden window keeps the placement it last had on the screen.
    values.left = placement_.x();
    values.top = placement_.y();
    values.width = placement_.width();
    values.height = placement_.height();
    return values;
}

void MainWindow::schedule_save() {
    if (save_timer_ && !destroyed_) save_timer_->start();
}

void MainWindow::save_settings_now() {
    if (!destroyed_) store_settings(false);
}

void MainWindow::store_settings(bool at_exit) {
    save_timer_->stop();
    const settings::Settings now = current_settings();
    // An exit writes every key even when nothing changed, as it always has: the file then
    // holds the whole set.
    if (now == saved_settings_ && !at_exit) return;
    try {
        settings::save_settings(program_folder_ / settings::kFileName, saved_settings_, now,
                                settings::SaveKeys::every);
        saved_settings_ = now;
        save_failure_shown_ = false;
    } catch (...) {
        // Told once; every later change tries again, silently, until a save succeeds. Marked
        // before the box opens: a save tried while it is open is not told again.
        const bool told = save_failure_shown_;
        save_failure_shown_ = true;
        if (!told) show_current_error(this);
    }
}

void MainWindow::report_missing_tray() {
    if (tray_icon_->available() || settings_.no_tray_notice_given) return;
    settings_.no_tray_notice_given = true;
    // Remembered before the box opens: a session that ends meanwhile has shown it all the same.
    store_settings(false);
    tray_icon_->report_unavailable();
}

void MainWindow::ask_names_on_first_run() {
    SetupDialog dialog(this);
    // A name with no CP949 form is not taken; the user hears about it once, at the end.
    bool user_refused = false;
    bool computer_refused = false;
    connect(&dialog, &SetupDialog::user_name_changed, this,
            [&](const QString& name) { user_refused = !to_cp949(name, engine_->user_name); });
    connect(&dialog, &SetupDialog::computer_name_changed, this, [&](const QString& name) {
        computer_refused = !to_cp949(name, engine_->computer_name);
    });
    dialog.exec();
    // The set-up has had its chance, unless the session ended while it was open: then it comes
    // again at the next start.
    if (!ExitSignals::arrived()) settings_.first_run = false;
    if (user_refused || computer_refused) message_boxes().message(this, no_cp949_name_text());
}

}  // namespace shell
