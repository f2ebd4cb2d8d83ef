#pragma once
// Starting the companion when the user logs in: an XDG autostart entry, the desktop file
// dasom.desktop in $XDG_CONFIG_HOME/autostart (normally ~/.config/autostart). Its presence is the
// switch: there is no setting of its own, so removing the file by hand turns it off too.
//
// The entry is written whole through a temporary file of its own that is renamed over the old
// entry; a symbolic link at the entry's name is replaced, never written through.

#include <filesystem>
#include <string>
#include <vector>

namespace settings {

inline constexpr const char* kLoginEntryName = "dasom.desktop";

// $XDG_CONFIG_HOME/autostart when that is an absolute path, else $HOME/.config/autostart.
// Empty when neither is set.
std::filesystem::path autostart_folder();

// The command that starts this copy of the companion on its program folder: `program_file`
// alone when it would choose that folder by itself (a portable copy, or an installed one on the
// user's folder), else with --folder. UTF-8 words.
std::vector<std::string> login_command(const std::filesystem::path& program_file,
                                       const std::filesystem::path& program_folder);

// The desktop entry that runs `command` (UTF-8 words). Throws std::invalid_argument for a word
// with a control character, which an entry cannot hold.
std::string login_entry_text(const std::vector<std::string>& command);

// Whether `folder` holds the entry (also a dangling link or a file that is no entry).
bool login_entry_present(const std::filesystem::path& folder);

// Writes the entry into `folder`, which is created when missing. Throws text::FileError; the
// old entry, if any, is then unchanged.
void write_login_entry(const std::filesystem::path& folder, const std::vector<std::string>& command);

// Removes the entry; nothing to do when there is none. Throws text::FileError.
void remove_login_entry(const std::filesystem::path& folder);

}  // namespace settings
