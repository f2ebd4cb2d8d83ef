#pragma once
// The check item "로그인할 때 시작" of the 설정 menu: checked while the desktop's autostart entry
// for the companion exists; choosing it writes the entry (which starts this program on
// `program_folder`) or removes it. Its mark is read again from the file each time the menu opens.

#include <filesystem>

class QAction;
class QMenu;
class QWidget;

namespace shell {

QAction* add_login_start_item(QMenu* menu, QWidget* window,
                              const std::filesystem::path& program_folder);

}  // namespace shell
