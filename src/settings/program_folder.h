#pragma once
// Where the companion keeps its files. The folder of the program file is the program folder when
// it holds the data files and can take new ones (a portable copy, the build folder). An installed
// copy (programs in bin/, defaults in share/dasom/) uses the user's own folder under the XDG data
// directory instead, and fills it with every default file it lacks: a file that is already there
// is never replaced. A folder named on the command line always wins and is used as it is.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace settings {

// The file whose presence marks a folder as one that holds the data files.
inline constexpr const char* kDataMarker = "data1.dat";

// The folder of the running program file, symbolic links resolved; `argv0` only when the system
// cannot tell.
std::filesystem::path executable_folder(const char* argv0);

// $XDG_DATA_HOME/dasom when that is an absolute path, else $HOME/.local/share/dasom (on Windows
// %APPDATA%\dasom). Empty when none of them is set.
std::filesystem::path user_data_folder();

// The installed default files for a program in `executable_folder`: ../share/dasom.
std::filesystem::path installed_defaults(const std::filesystem::path& executable_folder);

// Whether new files can be created in `folder`: tried by creating and removing a file, so
// read-only mounts and access rules count too.
bool folder_writable(const std::filesystem::path& folder);

// Copies every regular file of `defaults` that `folder` lacks, creating `folder` if needed. A file
// already in `folder` stays as it is; each copy appears whole or not at all. Returns how many files
// were copied. Throws text::FileError.
int fill_folder(const std::filesystem::path& defaults, const std::filesystem::path& folder);

struct FolderPlaces {
    std::optional<std::filesystem::path> requested;  // --folder DIR
    std::filesystem::path executable_folder;
    std::filesystem::path user_folder;  // user_data_folder(); may be empty
};

struct ProgramFolder {
    std::filesystem::path folder;  // absolute
    // Why the user's folder could not be made or filled, in Korean (UTF-8); empty if it could.
    std::string problem;
    // `folder` is the installed defaults, read where they lie because the user has no folder of
    // their own: nothing may be written into it (as root nothing would stop it, and a purge of
    // the package would leave the files behind).
    bool defaults_only = false;
};

// The program folder by the rule above. When the user's folder cannot be made (no HOME nor
// XDG_DATA_HOME, or the folder cannot be created) or a default file cannot be copied, `problem`
// says why; the user's folder is still used if it holds the data files, else the installed
// defaults are read where they lie, marked `defaults_only`. Never throws.
ProgramFolder choose_program_folder(
    const FolderPlaces& places,
    const std::function<bool(const std::filesystem::path&)>& writable = folder_writable);

}  // namespace settings
