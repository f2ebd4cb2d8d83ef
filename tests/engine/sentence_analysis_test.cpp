#include <gtest/gtest.h>

#include "engine/engine.h"
#include "support/temp_folder.h"

namespace {

using engine::Engine;
using testing_support::k;

TEST(SentenceAnalysis, PersonTestGivesTheBytePosition) {
    EXPECT_EQ(Engine::set_inching(k("나"), k("나는 학생")), 1);
    EXPECT_EQ(Engine::set_inching(k("나"), k(" 나는")), 2);        // after one space
    EXPECT_EQ(Engine::set_inching(k("나"), k("저 나는")), 4);
    EXPECT_EQ(Engine::set_inching(k("는"), k("나는")), 3);         // after one syllable
    EXPECT_EQ(Engine::set_inching(k("너"), k("나는")), 0);
    EXPECT_EQ(Engine::set_inching("", k("나는")), 0);
    EXPECT_EQ(Engine::set_inching(k("나"), ""), 0);
}

TEST(SentenceAnalysis, QuestionEndingUsesOnlyTheFirstOccurrence) {
    EXPECT_EQ(Engine::search_ask(k("니?"), k("밥 먹었니?")), 1);
    EXPECT_EQ(Engine::search_ask(k("니"), k("밥 먹었니?")), 2);  // the "?" is part of the end
    EXPECT_EQ(Engine::search_ask(k("니"), k("니가 먹었니")), 2);  // first occurrence is not at the end
    EXPECT_EQ(Engine::search_ask(k("먹었니"), k("먹었니")), 1);    // the whole sentence
    EXPECT_EQ(Engine::search_ask(k("까"), ""), 2);
}

TEST(SentenceAnalysis, NounRules) {
    struct Row {
        const char* word;
        const char* sentence;
        int match_type;
        bool found;
    };
    const Row rows[] = {
        {"밥", "오늘 밥 먹자", engine::kAnywhere, true},
        {"빵", "오늘 밥 먹자", engine::kAnywhere, false},
        {"ab", "abcd", engine::kAtStart, true},     // position 1
        {"ab", " abcd", engine::kAtStart, true},    // position 2
        {"ab", "  abcd", engine::kAtStart, true},   // position 3
        {"ab", "   abcd", engine::kAtStart, false}, // position 4
        {"밥", "밥 먹자", engine::kAtStart, true},
        {"밥", "김밥 먹자", engine::kAtStart, true}, // one leading syllable still counts
        {"자", "밥 먹자", engine::kAtEnd, true},
        {"자", "자 밥 먹자", engine::kAtEnd, false}, // only the first occurrence counts
        {"밥 먹자", "밥 먹자", engine::kAtEnd, true},
        {"밥 먹자", "밥 먹자", engine::kAtStart, true},
    };
    for (const Row& row : rows) {
        std::string result = "untouched";
        Engine::search_noun(k(row.word), k(row.sentence), row.match_type, result);
        EXPECT_EQ(result, row.found ? k(row.word) : "") << row.word << " in " << row.sentence;
    }
}

TEST(SentenceAnalysis, MatchingIsByteWiseAcrossSyllables) {
    // 가 is B0 A1 and 나 is B3 AA: the bytes A1 B3 straddle the two syllables.
    std::string result;
    Engine::search_noun("\xA1\xB3", k("가나"), engine::kAnywhere, result);
    EXPECT_EQ(result, "\xA1\xB3");
    EXPECT_EQ(Engine::set_inching("\xA1", k("가")), 2);  // a trail byte alone is found too
}

TEST(SentenceAnalysis, UnknownRuleLeavesTheResult) {
    std::string result = "before";
    Engine::search_noun(k("밥"), k("밥"), 7, result);
    EXPECT_EQ(result, "before");
}

}  // namespace
