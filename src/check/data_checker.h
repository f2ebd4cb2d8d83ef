#pragma once
// The data checker: reads the data files of a program folder and lists every place where the
// format lets a hand edit go wrong (a blank line that shifts pairs, a keyword hidden behind an
// empty line, a header that can never fit, a count that does not match, a file saved as
// UTF-8, ...). Used by dasom-check and by the data-file editor after a save.
//
// Findings are plain Korean text (UTF-8). Nothing here throws for bad content; a file that
// cannot be read is itself a finding.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace check {

enum class Severity {
    // The file works but probably not as meant (a cut line, a group that is never reached).
    warning,
    // The program will misbehave or ignore part of the file (shifted pairs, wrong counts).
    error,
};

struct Finding {
    std::string file;  // bare file name, such as "data2.dat"
    int line = 0;      // 1-based; 0 for the file as a whole
    Severity severity = Severity::warning;
    std::string message;  // Korean, UTF-8
};

// "data2.dat:12: 오류: ..." (without the line number when it is 0).
std::string format(const Finding& finding);

// True when `name` is a file the checker knows (reserve.dat, data1.dat ... eng.dat).
bool knows_file(std::string_view name);

// Checks the CP949 bytes of one data file as if they were `folder`/`name`; other files of the
// folder are read where a check needs them (the labels of data1.dat).
std::vector<Finding> check_file(const std::filesystem::path& folder, const std::string& name,
                                std::string_view bytes);

// Checks every data file of the folder, in a fixed order; a missing file is a finding too.
std::vector<Finding> check_folder(const std::filesystem::path& folder);

}  // namespace check
