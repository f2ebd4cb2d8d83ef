#include <gtest/gtest.h>

#include "engine/engine.h"
#include "support/temp_folder.h"

namespace {

using engine::Engine;
using testing_support::k;

engine::Sentence typed(const char* utf8) { return engine::Sentence(k(utf8)); }

TEST(SentenceAnalysis, PersonTestGivesTheBytePosition) {
    EXPECT_EQ(Engine::keyword_position(k("나"), typed("나는 학생")), 1);
    EXPECT_EQ(Engine::keyword_position(k("나"), typed(" 나는")), 2);  // after one space
    EXPECT_EQ(Engine::keyword_position(k("나"), typed("저 나는")), 4);
    EXPECT_EQ(Engine::keyword_position(k("는"), typed("나는")), 3);  // after one syllable
    EXPECT_EQ(Engine::keyword_position(k("너"), typed("나는")), 0);
    EXPECT_EQ(Engine::keyword_position("", typed("나는")), 0);
    EXPECT_EQ(Engine::keyword_position(k("나"), typed("")), 0);
    // 팀장 is C6 C0 C0 E5: 응 (C0 C0) lies across its two syllables, which is no occurrence.
    EXPECT_EQ(Engine::keyword_position(k("응"), typed("팀장")), 0);
    EXPECT_EQ(Engine::keyword_position(k("응"), typed("팀장 응")), 6);
}

TEST(SentenceAnalysis, QuestionEndingUsesOnlyTheFirstOccurrence) {
    EXPECT_EQ(Engine::sentence_kind_by_ending(k("니?"), typed("밥 먹었니?")), 1);
    // The "?" is part of the end.
    EXPECT_EQ(Engine::sentence_kind_by_ending(k("니"), typed("밥 먹었니?")), 2);
    // The first occurrence is not at the end.
    EXPECT_EQ(Engine::sentence_kind_by_ending(k("니"), typed("니가 먹었니")), 2);
    // The whole sentence.
    EXPECT_EQ(Engine::sentence_kind_by_ending(k("먹었니"), typed("먹었니")), 1);
    EXPECT_EQ(Engine::sentence_kind_by_ending(k("까"), typed("")), 2);
    // C6 C0 C0 C0: the first C0 C0 straddles.
    EXPECT_EQ(Engine::sentence_kind_by_ending(k("응"), typed("팀응")), 1);
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
        // Only whole characters: 맛있어 (B8 C0 C0 D6 ..) and 팀장 (C6 C0 C0 E5) hold the bytes
        // of 응 (C0 C0) across two syllables; 갂 (81 41) holds "A" as its trail byte.
        {"응", "맛있어", engine::kAnywhere, false},
        {"응", "맛있어 응", engine::kAnywhere, true},
        {"응", "팀장", engine::kAtStart, false},
        {"응", "팀장 응", engine::kAtStart, false},
        {"A", "갂", engine::kAtEnd, false},
        {"A", "갂A", engine::kAtEnd, true},
        {"A", "A갂", engine::kAtStart, true},
    };
    for (const Row& row : rows) {
        std::string result = "untouched";
        Engine::match_topic_keyword(k(row.word), typed(row.sentence), row.match_type, result);
        EXPECT_EQ(result, row.found ? k(row.word) : "") << row.word << " in " << row.sentence;
    }
}

TEST(SentenceAnalysis, KeywordsAreWholeCharacters) {
    // 가 is B0 A1 and 나 is B3 AA. A lead byte with no trail byte after it is a character by
    // itself, as the window shows it.
    struct Row {
        const char* word;
        const char* sentence;
        int position;
    };
    const Row rows[] = {
        {"\xA1", "\xB0\xA1", 0},                 // a trail byte alone
        {"\xB0", "\xB0\xA1", 0},                 // a lead byte alone ends inside 가
        {"\xB0", "\xB0 ", 1},                     // a lead byte with no trail after it
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Engine::keyword_position(row.word, engine::Sentence(row.sentence)), row.position)
            << testing::PrintToString(row.word) << " in " << testing::PrintToString(row.sentence);
    }
}

TEST(SentenceAnalysis, UnknownRuleLeavesTheResult) {
    std::string result = "before";
    Engine::match_topic_keyword(k("밥"), typed("밥"), 7, result);
    EXPECT_EQ(result, "before");
}

}  // namespace
