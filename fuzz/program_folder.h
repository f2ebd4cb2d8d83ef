#pragma once
// A program folder for the fuzz targets: the default data files installed once per process into
// a temporary folder (removed at exit). A target replaces the one file it fuzzes and puts the
// default back afterwards, so every other reader sees sound data.

#include <filesystem>
#include <string>
#include <string_view>

namespace fuzzing {

const std::filesystem::path& program_folder();

// Writes `bytes` as `name` in the program folder.
void put_file(const std::string& name, std::string_view bytes);

// Puts the default contents of `name` back (or removes it when there is no default).
void restore_file(const std::string& name);

// True when `name` still holds its default contents.
bool is_default(const std::string& name);

}  // namespace fuzzing
