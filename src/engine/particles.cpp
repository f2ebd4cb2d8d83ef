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

// Replaces every occurrence of `placeholder` by `replacement`, first to last. The scan goes on
// after the inserted text, so a replacement that holds the placeholder is not replaced again.
void replace_each(std::string& text, std::string_view placeholder, const std::string& replacement) {
    std::size_t at = 0;
    while ((at = text.find(placeholder, at)) != std::string::npos) {
        text.replace(at, placeholder.size(), replacement);
        at += replacement.size();
    }
}

}  // namespace

bool Engine::jong_decision(std::string_view word) {
    const std::string_view ending = word.size() <= 2 ? word : word.substr(word.size() - 2);
    text::LineReader syllables(data_file(names::kOpenSyllables));
    bool listed = false;
    while (!syllables.at_end()) {
        if (syllables.next_line() == ending) listed = true;
    }
    return !listed;
}

std::string Engine::proc_josa(int has_final_consonant, std::string_view particle) {
    for (const auto& [after_consonant, after_vowel] : particle_table()) {
        if (particle == after_consonant || particle == after_vowel) {
            return has_final_consonant == 1 ? after_consonant : after_vowel;
        }
    }
    return {};
}

std::string Engine::proc_symbol(const std::string& template_text) {
    std::string text = template_text;
    replace_each(text, "$", user_name);
    replace_each(text, "#", computer_name);
    replace_each(text, "%2", item2_word);
    replace_each(text, "%", item1_word);

    std::size_t from = 0;
    for (;;) {
        const std::size_t open = text.find('[', from);
        if (open == std::string::npos) break;
        const std::size_t close = text.find(']', open);
        // A bracket that is never closed leaves the rest of the text as it is.
        if (close == std::string::npos) break;
        const std::string particle = text.substr(open + 1, close - open - 1);
        text.erase(open, close - open + 1);
        const std::string_view before =
            std::string_view(text).substr(open >= 2 ? open - 2 : 0, open >= 2 ? 2 : open);
        const std::string form = proc_josa(jong_decision(before) ? 1 : 0, particle);
        text.insert(open, form);
        from = open + form.size();
    }
    return text;
}

}  // namespace engine
