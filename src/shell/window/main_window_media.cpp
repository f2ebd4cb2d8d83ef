// The window's media: the background music (opened at the end of the start-up, switched from
// the menus, closed at exit), the logo video shown after the first show and the rabbit after a
// flat joke.
#include <QString>

#include "shell/media/background_music.h"
#include "shell/media/logo_window.h"
#include "shell/media/rabbit_window.h"
#include "shell/message_boxes.h"
#include "shell/window/main_window.h"

namespace shell {

void MainWindow::load_music() {
    if (!background_music_->open(program_folder_ / "music.dat")) {
        // No music for this run; the switch keeps its stored value and still toggles.
        message_boxes().message(this, QStringLiteral("music.dat화일이 없네요"));
        return;
    }
    if (settings_.music_on) background_music_->play();
}

void MainWindow::switch_music() {
    if (settings_.music_on) {
        background_music_->play();
    } else {
        background_music_->stop();
    }
}

void MainWindow::show_logo() {
    show_logo_window(program_folder_ / "logo.avi", this);
}

void MainWindow::play_rabbit() {
    RabbitWindow rabbit(program_folder_ / "rabbit.dat", this);
    rabbit.exec();
}

}  // namespace shell
