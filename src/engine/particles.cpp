// Particle agreement (vowel.dat) and the placeholders of reply templates.

#include <array>
#include <utility>

#include "engine/data_names.h"
#include "engine/engine.h"
#include "text/line_reader.h"

namespace engine {

namespace {

// Each particle after a final consonant and after a vowel.
using ParticlePair = std::pair<std::string, std::string>;

const std::array<ParticlePair, 16>& particle_table() {
    static const std::array<ParticlePair, 16> table = {{
        {to_cp949("은"), to_cp949("는")},
        {to_cp949("을"), to_cp949("를")},
        {to_cp949("이"), to_cp949("가")},
        {to_cp949("으로"), to_cp949("로")},
        {to_cp949("으로서"), to_cp949("로서")},
        {to_cp949("이라고"), to_cp949("라고")},
        {to_cp949("이라는"), to_cp949("라는")},
        {to_cp949("이라면"), to_cp949("라면")},
        {to_cp949("아"), to_cp949("야")},
        {to_cp949("이야말로"), to_cp949("야말로")},
        {to_cp949("이다"), to_cp949("다")},
        {to_cp949("과"), to_cp949("와")},
        {to_cp949("이면"), to_cp949("면")},
        {to_cp949("이냐"), to_cp949("냐")},
        {to_cp949("이었냐"), to_cp949("였냐")},
        {to_cp949("이나"), to_cp949("나")},
    }};
    return table;
}

}  // namespace

bool Engine::has_final_consonant(std::string_view word) {
    const std::string_view ending = word.size() <= 2 ? word : word.substr(word.size() - 2);
    text::LineReader syllables(data_file(names::kOpenSyllables));
    bool listed = false;
    while (!syllables.at_end()) {
        if (syllables.next_line() == ending) listed = true;
    }
    return !listed;
}

std::string Engine::particle_for(int after_final_consonant, std::string_view particle) {
    for (const auto& [after_consonant, after_vowel] : particle_table()) {
        if (particle == after_consonant || particle == after_vowel) {
            return after_final_consonant == 1 ? after_consonant : after_vowel;
        }
    }
    return {};
}

std::string Engine::fill_placeholders(const std::string& template_text) {
    MarkedText text(template_text);
    return fill_placeholders(text);
}

std::string Engine::fill_placeholders(MarkedText& text) {
    text.replace_each("$", user_name);
    text.replace_each("#", computer_name);
    text.replace_each("%2", item2_word);
    text.replace_each("%", item1_word);

    std::size_t from = 0;
    for (;;) {
        const std::size_t open = text.find_own("[", from);
        if (open == std::string::npos) break;
        const std::size_t close = text.find_own("]", open);
        // A bracket that is never closed leaves the rest of the text as it is.
        if (close == std::string::npos) break;
        const std::string particle = text.text().substr(open + 1, close - open - 1);
        // The particle agrees with the two bytes before the bracket, whoever wrote them.
        const std::string_view before = std::string_view(text.text())
                                            .substr(open >= 2 ? open - 2 : 0, open >= 2 ? 2 : open);
        const std::string form = particle_for(has_final_consonant(before) ? 1 : 0, particle);
        if (trace != nullptr) {
            trace->particles.push_back({text.text().substr(0, open), particle, form});
        }
        text.replace(open, close - open + 1, form);
        from = open + form.size();
    }
    return text.text();
}

}  // namespace engine
