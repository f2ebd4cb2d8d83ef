// The window's media: the background music (opened at the end of the start-up, switched from
// the menus, closed at exit) and the logo video shown after the first show.
#include <QString>

#include "shell/background_music.h"
#include "shell/dialogs.h"
#include "shell/logo_window.h"
#include "shell/main_window.h"

void TMainForm::load_music() {
    if (!background_music_->open(program_folder_ / "music.dat")) {
        // No music for this run; the switch keeps its stored value and still toggles.
        shell::dialogs().message(this, QStringLiteral("music.dat화일이 없네요"));
        return;
    }
    if (settings_.music_on) background_music_->play();
}

void TMainForm::switch_music() {
    if (settings_.music_on) {
        background_music_->play();
    } else {
        background_music_->stop();
    }
}

void TMainForm::show_logo() {
    shell::show_logo_window(program_folder_ / "logo.avi", this);
}
