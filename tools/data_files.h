#pragma once
// Turning the readable data sources of the repository into the files the program reads:
// UTF-8 with LF becomes CP949 with CR LF. A file already in the program folder is never
// overwritten: once installed, it belongs to the user.

#include <filesystem>
#include <string>
#include <string_view>

namespace tools {

// CP949 text with CR LF line ends for a UTF-8 source. Throws std::runtime_error naming the line
// of the first character that has no CP949 form.
std::string convert_source(std::string_view utf8, const std::string& source_name);

// Every modern Hangul syllable without a final consonant (399 of them), one per line, CP949,
// CR LF.
std::string open_syllables();

enum class Installed { written, kept };

// What happens to a file that is already at the destination: a program folder keeps it (it is
// the user's); the folder of defaults that an install copies is brought up to date.
enum class Existing { keep, refresh };

// Writes `bytes` to `destination` unless a file is already there (with `refresh`: unless the file
// there holds exactly these bytes).
Installed install_file(const std::filesystem::path& destination, std::string_view bytes,
                       Existing existing = Existing::keep);

// Copies `source` byte for byte into `program_folder` under its own name unless a file is
// already there (with `refresh`: unless it holds the same bytes). Throws text::FileError when
// `source` cannot be read.
Installed install_asset(const std::filesystem::path& source,
                        const std::filesystem::path& program_folder,
                        Existing existing = Existing::keep);

// Installs every data file of `source_folder` (converted) and the generated vowel.dat into
// `program_folder`. Returns how many files were written.
int install_data_folder(const std::filesystem::path& source_folder,
                        const std::filesystem::path& program_folder,
                        Existing existing = Existing::keep);

}  // namespace tools
