#pragma once
// The command launcher: a command book (exec.dat) of names and command lines, an eight-entry
// history of launched command lines, newest first, and the previous command.
//
// Programs are started through engine::Host::start_program, which never waits. A program that
// cannot be started is told as such in the speech label (with the reason, in Korean), and
// changes neither the history nor the previous command. exec.dat missing or unreadable throws
// text::FileError before anything changes. Cuts at the byte limits below never split a
// two-byte character. All texts are CP949 bytes.

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/host.h"

namespace books {

inline constexpr int kHistorySize = 8;
// previous_command and a command line read from the book hold at most this many bytes.
inline constexpr std::size_t kCommandLength = 99;
// A command line taken from a history caption holds at most this many bytes.
inline constexpr std::size_t kHistoryCommandLength = 255;

// What the launcher remembers between launches; the window shows `history` as the captions of
// its history menu items.
struct LauncherState {
    LauncherState();  // every history slot empty ("없음"), no previous command

    // Slots from the settings file (unchecked, so possibly long); previous_command becomes
    // slot 1, cut to kCommandLength bytes.
    void restore(const std::array<std::string, kHistorySize>& stored);

    std::array<std::string, kHistorySize> history;
    std::string previous_command;
};

// Asks for a text, starts the first record whose name contains it, then tells so in the speech
// label, minimises, remembers the command and shifts it into the history. "." alone reruns the
// previous command and minimises, changing nothing else (when the book holds at least one line).
void launch_by_name(const std::filesystem::path& program_folder, engine::Host& host,
                    LauncherState& state);

// Runs history slot `index` (0 to 7): its folder becomes the current directory, it is started
// and, once it runs, it becomes the previous command (cut to kCommandLength bytes); the history
// keeps its order.
void run_history_item(engine::Host& host, LauncherState& state, int index);

// Starts the previous command again, from the current directory.
void run_previous_command(engine::Host& host, const LauncherState& state);

// The folder part of a command line: everything up to and including the last separator before
// the first ":" that follows a separator (so a drive-qualified argument does not count).
std::string command_folder(std::string_view command_line, char separator);

// The platform's folder separator for command_folder.
#ifdef _WIN32
inline constexpr char kFolderSeparator = '\\';
#else
inline constexpr char kFolderSeparator = '/';
#endif

// Makes the command's folder the current directory; a folder that cannot be entered shows the
// warning "디렉토리가 잘못되었습니다.". A command line without a folder changes nothing.
void enter_command_folder(engine::Host& host, std::string_view command_line);

}  // namespace books
