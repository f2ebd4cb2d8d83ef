#pragma once
// What the checks of the single files share: the file cut into lines, the list the findings
// go into, and the labels of the keyword file.

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "check/data_checker.h"

namespace check {

// A file's lines as the program reads them: split at LF, a CR before the LF dropped, the last
// line counted even without a line end.
std::vector<std::string_view> split_lines(std::string_view bytes);

class Report {
  public:
    Report(std::string file, std::vector<Finding>& out) : file_(std::move(file)), out_(out) {}
    void error(int line, std::string message) { add(line, Severity::error, std::move(message)); }
    void warning(int line, std::string message) {
        add(line, Severity::warning, std::move(message));
    }

  private:
    void add(int line, Severity severity, std::string message) {
        out_.push_back({file_, line, severity, std::move(message)});
    }
    std::string file_;
    std::vector<Finding>& out_;
};

// A file text (CP949) quoted in a message: UTF-8, cut to a readable length.
std::string quote(std::string_view cp949);

// The header lines of data1.dat and how many sections carry each label.
struct KeywordLabels {
    bool available = false;  // false when data1.dat could not be read
    std::vector<std::string> header_lines;
    std::map<std::string, int> sections;  // label -> number of sections with it
    // True when a section with this label can put an entry into the sentence's nouns (every
    // label but the person and question-ending sections).
    bool names_a_noun(const std::string& label) const;
};
KeywordLabels read_keyword_labels(const std::filesystem::path& folder);
KeywordLabels keyword_labels_of(std::string_view bytes);

// Particle brackets of a template line (data2.dat, data3.dat): unclosed brackets and
// particles the program does not know.
void check_particles(std::string_view line, int number, Report& report);

void check_reserve(const std::vector<std::string_view>& lines, Report& report);
void check_book(const std::vector<std::string_view>& lines, bool commands, Report& report);
void check_keywords(const std::vector<std::string_view>& lines, Report& report);
void check_answers(const std::vector<std::string_view>& lines, const KeywordLabels& labels,
                   Report& report);
void check_questions(const std::vector<std::string_view>& lines, const KeywordLabels& labels,
                     Report& report);
void check_monologue(const std::vector<std::string_view>& lines, Report& report);
void check_free_talk(const std::vector<std::string_view>& lines, Report& report);
void check_open_syllables(const std::vector<std::string_view>& lines, Report& report);

}  // namespace check
