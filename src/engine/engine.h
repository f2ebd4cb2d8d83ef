#pragma once
// The conversation engine: one typed sentence in, one reply in the speech label out.
//
// Every data file is opened, read from its first line and closed within the call that needs
// it; nothing is cached, so an edit to a data file takes effect at the next sentence. A data
// file that cannot be opened throws text::FileError, which ends the turn at that step; what
// changed before stays changed. The engine reaches the window only through `Host`.
//
// All texts are CP949 bytes.

#include <array>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/host.h"
#include "engine/marked_text.h"
#include "engine/sentence.h"

namespace engine {

// One data1.dat section that matched the sentence.
struct MatchedSection {
    std::string item_name;  // the section's label
    std::string word;       // the keyword found in the sentence
};

inline constexpr int kMaxNouns = 10;

// Grammatical person and sentence kinds as question matching finds them.
inline constexpr int kQuestion = 1;
inline constexpr int kStatement = 2;

// How a topic keyword must stand in the sentence.
inline constexpr int kAnywhere = 1;
inline constexpr int kAtStart = 2;
inline constexpr int kAtEnd = 3;

// What one turn found in the sentence, where its reply came from and which particles were put
// in on the way: what the coverage measure of the terminal front end reads. Filled only while
// `Engine::trace` is set.
struct TurnTrace {
    enum class Source { none, reserved, answer, free_talk, question };
    // A data1.dat section that took effect: a topic, abuse, praise or flat-joke section that
    // matched, a person section that set the person, a question section that made the
    // sentence a question. In file order.
    struct Section {
        std::string label;
        std::string keyword;  // the keyword line found in the sentence
        int line = 0;         // the section's header line in data1.dat (1-based)
    };
    struct Particle {
        std::string before;  // the text just before the bracket, after the placeholders
        std::string asked;   // the bracket's text
        std::string form;    // what was put in
    };
    Source source = Source::none;
    // What question matching found; 0 when the sentence was not analysed.
    int person = 0;
    int sentence_kind = 0;
    std::int32_t mood = 0;
    std::vector<Section> sections;
    // Where the reply stands: the file, the line that opens its group (the answer group's
    // header, the free-talk key, the question, the reserved phrase) and the line drawn (the
    // answer line, the free-talk reply, the question, the command); 0 where there is none.
    std::string file;
    int group_line = 0;
    int chosen_line = 0;
    std::vector<Particle> particles;
};

class Engine {
public:
    Engine(std::filesystem::path program_folder, Host& host, std::mt19937& random);

    // The Enter turn: a reserved command, or else question matching and answer selection;
    // then the pending animation. The window hides and shows the label around it.
    void chat_turn(const std::string& sentence);

    // Reserved commands (reserve.dat).
    std::string find_reserved_command(const std::string& sentence);
    void run_reserved_command(const std::string& command);

    // The three keyword tests. Positions are 1-based byte positions; a keyword occurs only
    // as whole characters of the sentence (see Sentence).
    // The position of the first occurrence of a person keyword, or 0.
    static int keyword_position(std::string_view word, const Sentence& sentence);
    // kQuestion when the first occurrence of a question keyword ends the sentence, otherwise
    // kStatement.
    static int sentence_kind_by_ending(std::string_view word, const Sentence& sentence);
    // Sets `result` to `word` when it stands where `match_type` (kAnywhere, kAtStart, kAtEnd)
    // asks, and empties it when not; any other `match_type` leaves `result` as it was.
    static void match_topic_keyword(std::string_view word, const Sentence& sentence, int match_type,
                                    std::string& result);

    // Question matching (data1.dat), then answer selection.
    void match_keyword_sections(const std::string& sentence);
    // Answer selection (data2.dat), falling back to free talk and the computer's questions.
    void select_answer(int person, int sentence_kind, int noun_count, const std::string& sentence);

    // Particles and placeholders (vowel.dat).
    // True unless the last syllable of `word` is listed in vowel.dat as open.
    bool has_final_consonant(std::string_view word);
    // The form of `particle` after a final consonant (`after_final_consonant` 1) or a vowel;
    // empty for a particle the table does not know.
    static std::string particle_for(int after_final_consonant, std::string_view particle);
    // The template with "$", "#", "%2", "%" and particle brackets put in, in that order.
    std::string fill_placeholders(const std::string& template_text);
    // The same for a text of which parts were already put in; those parts are never scanned.
    std::string fill_placeholders(MarkedText& text);

    // A question back when nothing answers: one of data3.dat, its "{label}" placeholders
    // filled with keywords of data1.dat.
    void ask_question_back();
    // A keyword line drawn at random from the first data1.dat section whose header holds
    // `label`; empty when there is none. Lines equal to one of `drawn` are left out of the draw
    // while the section holds any other, so one question never names the same word twice.
    std::string draw_section_keyword(const std::string& label,
                                     const std::vector<std::string>& drawn = {});

    // Free talk (data4.dat). True when a reply was written into the speech label.
    bool answer_from_free_talk(const std::string& sentence);

    // The monologue (mal.dat), called by the idle timer.
    void say_monologue_line();

    const std::filesystem::path& program_folder() const { return program_folder_; }
    std::filesystem::path data_file(const char* name) const { return program_folder_ / name; }

    // Engine state. It lives as long as the window.
    bool debug_mode = false;
    std::int32_t mood = 0;
    int animation_pending = 0;
    std::array<MatchedSection, kMaxNouns> nouns{};
    int noun_count = 0;
    std::string item1_word;
    std::string item2_word;

    // The names put into replies in place of "$" and "#".
    std::string user_name;
    std::string computer_name;

    // The last sentence that got a question back instead of an answer (empty when none yet),
    // so the user can teach the companion an answer to it.
    std::string last_unanswered_sentence;

    // When set, each turn records its reply's source and particles here (cleared per turn).
    TurnTrace* trace = nullptr;

private:
    int draw(int n);
    void trace_section(std::string_view label, std::string_view keyword, int header_line);
    void trace_origin(const char* file, int group_line, int chosen_line);

    std::filesystem::path program_folder_;
    Host& host_;
    std::mt19937& random_;
};

}  // namespace engine
