#pragma once
// Showing the logo window. The window and Qt Multimedia behind it live in the module dasom_logo
// beside the program, loaded the first time the logo is shown: a program with the logo
// switched off never pays for them.

#include <filesystem>

class QWidget;

namespace shell {

// Shows the logo window for `video` modally over `parent` and returns when it has closed.
using LogoWindow = void (*)(const std::filesystem::path& video, QWidget* parent);

// Runs the logo window: the one a test installed, else the module's. A module that cannot be
// loaded is reported in the error box.
void show_logo_window(const std::filesystem::path& video, QWidget* parent);
// Installs `replacement`; nullptr restores the module's.
void set_logo_window(LogoWindow replacement);

}  // namespace shell
