#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace {

using engine::Engine;
using testing_support::EngineFixture;
using testing_support::EngineTest;
using testing_support::k;

TEST(Particles, EveryPairAgreesWhicheverFormTheBracketNames) {
    const std::pair<const char*, const char*> pairs[] = {
        {"은", "는"},     {"을", "를"},         {"이", "가"},     {"으로", "로"},
        {"으로서", "로서"}, {"이라고", "라고"},   {"이라는", "라는"}, {"이라면", "라면"},
        {"아", "야"},     {"이야말로", "야말로"}, {"이다", "다"},    {"과", "와"},
        {"이면", "면"},    {"이냐", "냐"},        {"이었냐", "였냐"}, {"이나", "나"},
    };
    for (const auto& [consonant, vowel] : pairs) {
        for (const char* named : {consonant, vowel}) {
            EXPECT_EQ(Engine::particle_for(1, k(named)), k(consonant)) << named;
            EXPECT_EQ(Engine::particle_for(0, k(named)), k(vowel)) << named;
        }
    }
    EXPECT_EQ(Engine::particle_for(1, k("요")), "");
    EXPECT_EQ(Engine::particle_for(0, ""), "");
}

struct Symbols : EngineTest {
    Symbols() {
        engine.user_name = k("철수");
        engine.computer_name = k("다솜");
    }
    std::string resolve(const char* utf8_template) {
        return text::to_utf8(engine.fill_placeholders(k(utf8_template)));
    }
};

TEST_F(Symbols, FinalConsonantDecision) {
    EXPECT_TRUE(engine.has_final_consonant(k("철수밥")));
    EXPECT_FALSE(engine.has_final_consonant(k("철수")));
    // Latin letters and digits take the consonant form.
    EXPECT_TRUE(engine.has_final_consonant("abc"));
    EXPECT_TRUE(engine.has_final_consonant("7"));
    EXPECT_TRUE(engine.has_final_consonant(""));
}

TEST_F(Symbols, NamesWordsAndParticles) {
    engine.item1_word = k("사과");
    engine.item2_word = k("밥");
    EXPECT_EQ(resolve("$[은] #[을] 좋아해요"), "철수는 다솜을 좋아해요");
    EXPECT_EQ(resolve("%[이] 좋아? %2[가] 좋아?"), "사과가 좋아? 밥이 좋아?");
    EXPECT_EQ(resolve("%2%"), "밥사과");
    EXPECT_EQ(resolve("$ $ $"), "철수 철수 철수");
    EXPECT_EQ(resolve("그냥 문장"), "그냥 문장");
    EXPECT_EQ(resolve("abc[는] 7[와]"), "abc은 7과");
    EXPECT_EQ(resolve("%[요] []끝"), "사과 끝");  // unknown and empty particles vanish
}

TEST_F(Symbols, AnEmptyWordLeavesTheTextBeforeIt) {
    engine.item1_word = "";
    EXPECT_EQ(resolve("밥%[을]"), "밥을");
    EXPECT_EQ(resolve("%[을]"), "을");  // nothing before the bracket: the consonant form
}

TEST_F(Symbols, InsertedTextIsNotScannedAgain) {
    engine.user_name = k("$달러$");
    engine.item1_word = k("%");
    EXPECT_EQ(resolve("$!"), "$달러$!");
    EXPECT_EQ(resolve("%"), "%");
    // Nor by a later loop: names and words holding brackets or placeholders stay as typed,
    // and the particle still agrees with the two bytes before its bracket.
    engine.user_name = k("[민]지");
    engine.item1_word = k("밥");
    EXPECT_EQ(resolve("$[은] 웃어요"), "[민]지는 웃어요");
    engine.user_name = k("100%");
    EXPECT_EQ(resolve("$님, %[을] 먹어요"), "100%님, 밥을 먹어요");
    engine.item1_word = k("[밥]");
    EXPECT_EQ(resolve("%[을] 먹어요"), "[밥]을 먹어요");
}

TEST_F(Symbols, UnclosedBracketsEndTheLoop) {
    engine.item1_word = k("밥");
    EXPECT_EQ(resolve("%[을 먹자"), "밥[을 먹자");
    EXPECT_EQ(resolve("%[을] 먹자 ]x[는"), "밥을 먹자 ]x[는");
    EXPECT_EQ(resolve("a]b%[을]"), "a]b밥을");
}

TEST_F(Symbols, TheOpenSyllableListIsReadEveryTime) {
    engine.item1_word = k("밥");
    EXPECT_EQ(resolve("%[은]"), "밥은");
    folder.write("vowel.dat", "밥\n");
    EXPECT_EQ(resolve("%[은]"), "밥는");
    folder.write("vowel.dat", "밥 \n");  // a trailing blank never matches
    EXPECT_EQ(resolve("%[은]"), "밥은");
    std::filesystem::remove(folder / "vowel.dat");
    EXPECT_THROW(resolve("%[은]"), text::FileError);
    EXPECT_EQ(resolve("%"), "밥");  // without brackets the file is not needed
}

}  // namespace
