#pragma once
// Showing the logo window. The window and Qt Multimedia behind it run in the helper program
// dasom-logo (logo_main.cpp), a short-lived process of its own: its media libraries (about
// ninety megabytes of them) never stay in the companion, with the logo on or off.

#include <filesystem>

class QWidget;

namespace shell {

// Shows the logo window for `video` over `parent` and returns when it has closed.
using LogoWindow = void (*)(const std::filesystem::path& video, QWidget* parent);

// Runs the logo window: the one a test installed, else the helper's, waited for the way a modal
// window is (events go on; the user's input waits until the logo has gone). A helper that
// cannot be started is reported in the error box.
void show_logo_window(const std::filesystem::path& video, QWidget* parent);
// Installs `replacement`; nullptr restores the helper's.
void set_logo_window(LogoWindow replacement);

}  // namespace shell
