#include <gtest/gtest.h>

#include <set>

#include "engine_test_util.h"

namespace {

using testing_support::EngineFixture;
using testing_support::EngineTest;
using testing_support::k;

struct AnswerSelection : EngineTest {
    AnswerSelection() {
        folder.write("data1.dat", "*[날씨]\n비\n");
        folder.write("data3.dat", "1\n물음\n");
        folder.write("data4.dat", "*안녕\n반가워\n");
    }

    // Fills the matched sections directly, as question matching would.
    void nouns(std::initializer_list<std::pair<const char*, const char*>> entries) {
        engine.noun_count = 0;
        for (const auto& [label, word] : entries) {
            engine.nouns[engine.noun_count].item_name = k(label);
            engine.nouns[engine.noun_count].word = k(word);
            ++engine.noun_count;
        }
    }

    std::string answer(int person, int kind, const char* sentence = "") {
        engine.select_answer(person, kind, engine.noun_count, k(sentence));
        return host.speech_utf8();
    }
};

TEST_F(AnswerSelection, PersonKindAndMoodMarks) {
    folder.write("data2.dat",
                 "*[1][음식]\n일인칭\n"
                 "*[무][음식]의문좋음\n좋은 질문\n"
                 "*[무][음식]의문나쁨\n나쁜 질문\n"
                 "*[무][음식]평서\n평서문\n"
                 "*[무][음식]\n아무거나\n");
    nouns({{"음식", "밥"}});
    EXPECT_EQ(answer(1, engine::kStatement), "일인칭");
    EXPECT_EQ(answer(2, engine::kQuestion), "좋은 질문");  // mood 0 counts as good
    engine.mood = -1;
    EXPECT_EQ(answer(3, engine::kQuestion), "나쁜 질문");
    EXPECT_EQ(answer(2, engine::kStatement), "평서문");
}

TEST_F(AnswerSelection, TheFirstMarkOfEachPairWins) {
    folder.write("data2.dat", "*[무][음식]평서의문나쁨좋음\n질문이고 좋음\n*[무][음식]\n기타\n");
    nouns({{"음식", "밥"}});
    engine.mood = -5;
    EXPECT_EQ(answer(2, engine::kQuestion), "기타");
    engine.mood = 5;
    EXPECT_EQ(answer(2, engine::kQuestion), "질문이고 좋음");
    EXPECT_EQ(answer(2, engine::kStatement), "기타");
}

TEST_F(AnswerSelection, OperatorsCountHits) {
    folder.write("data2.dat",
                 "*[무][음식]&[날씨]\n둘 다: %, %2\n"
                 "*[무][음악]|[영화]\n하나: %%2\n");
    nouns({{"음식", "밥"}, {"음식", "빵"}});
    EXPECT_EQ(answer(2, 2), "둘 다: 밥, ");  // two hits of item 1 are enough for "and"
    nouns({{"영화", "극장"}});
    EXPECT_EQ(answer(2, 2), "하나: 밥극장");  // item1_word kept its old value
}

TEST_F(AnswerSelection, WhichWordStays) {
    folder.write("data2.dat", "*[무][음식]\n%\n");
    nouns({{"날씨", "비"}, {"음식", "밥"}, {"날씨", "눈"}, {"음식", "빵"}});
    EXPECT_EQ(answer(2, 2), "빵");  // no operator: the highest-numbered match
    folder.write("data2.dat", "*[무][음식]|[없음]\n%\n");
    EXPECT_EQ(answer(2, 2), "밥");  // with an operator every hit overwrites: the lowest stays
}

TEST_F(AnswerSelection, ARejectedHeaderStillChangesTheWords) {
    folder.write("data2.dat", "*[무][음식]&[날씨]\n안 나옴\n*[무][음악]\n%\n");
    nouns({{"음식", "밥"}, {"음악", "노래"}});
    answer(2, 2);
    EXPECT_EQ(host.speech_utf8(), "노래");
    nouns({{"음식", "떡"}, {"영화", "극장"}});
    folder.write("data2.dat", "*[무][음식]&[날씨]\n안 나옴\n*[무][영화]|[없음]\n%2\n");
    answer(2, 2);
    EXPECT_EQ(engine.item1_word, k("극장"));
}

TEST_F(AnswerSelection, AMarkInsideABracketCounts) {
    folder.write("data2.dat", "*[무][a|b]\n%2 뒤에 %\n");
    nouns({{"a|b", "x"}, {"b]", "y"}});
    // "|" makes it an or-header; item name 2 is the text before the next "]".
    EXPECT_EQ(answer(2, 2), " 뒤에 x");
}

TEST_F(AnswerSelection, HeadersThatNeverFit) {
    folder.write("data2.dat", "*무 음식\n괄호 없음\n*[][음식]\n빈 인칭\n// *[무][음식]\n주석\n");
    nouns({{"음식", "밥"}});
    EXPECT_EQ(answer(2, 2, "안녕"), "반가워");  // handed to free talk
}

TEST_F(AnswerSelection, NoNounsGoesToFreeTalkThenToAQuestion) {
    folder.write("data2.dat", "*[무][음식]\n밥\n");
    nouns({});
    EXPECT_EQ(answer(2, 2, "안녕 친구"), "반가워");
    EXPECT_TRUE(engine.last_unanswered_sentence.empty());
    EXPECT_EQ(answer(2, 2, "뭐라고"), "물음");
    EXPECT_EQ(engine.last_unanswered_sentence, k("뭐라고"));
}

TEST_F(AnswerSelection, AnswerLines) {
    // A header right after a header has no lines: an empty reply. A "//" line inside a group
    // is an answer, and the last group reaches the end of the file.
    folder.write("data2.dat", "*[무][빈]\n*[무][주석]\n// 나도 답\n*[무][끝]\n하나\n둘\n셋");
    nouns({{"빈", "x"}});
    EXPECT_EQ(answer(2, 2), "");
    nouns({{"주석", "x"}});
    EXPECT_EQ(answer(2, 2), "// 나도 답");
    nouns({{"끝", "x"}});
    std::set<std::string> seen;
    for (int i = 0; i < 60; ++i) seen.insert(answer(2, 2));
    EXPECT_EQ(seen, (std::set<std::string>{"하나", "둘", "셋"}));
}

TEST_F(AnswerSelection, LongLinesAreCutAt99BytesAtAWholeCharacter) {
    const std::string line(120, 'a');
    folder.write("data2.dat", "*[무][음식]\n" + line + "\n");
    nouns({{"음식", "밥"}});
    EXPECT_EQ(answer(2, 2), std::string(99, 'a'));
    // 98 bytes, then a two-byte character across the limit.
    folder.write("data2.dat", "*[무][음식]\n" + std::string(98, 'a') + "가나\n");
    EXPECT_EQ(answer(2, 2), std::string(98, 'a'));
}

TEST_F(AnswerSelection, DebugBox) {
    folder.write("data2.dat", "*[무][음식]|[날씨]좋음\n네\n");
    nouns({{"음식", "밥"}, {"날씨", "비"}, {"음악", "노래"}});
    engine.debug_mode = true;
    engine.mood = 3;
    answer(1, engine::kQuestion);
    EXPECT_EQ(testing_support::last_debug(host),
              "질문\r질문한 인칭=1\r질문의 명사개수=3\r항목1=밥\r항목2=비\r"
              "질문의 의문/평서(0/1)=1\r현재기분=3\r\r대답\r인칭=무\r항목명1=음식\r"
              "항목명2=날씨\r연산자(or,and,없음)=1\r의문/평서=0\r기분=1");
    engine.debug_mode = false;
    host.calls.clear();
    answer(1, engine::kQuestion);
    EXPECT_TRUE(testing_support::last_debug(host).empty());
}

TEST_F(AnswerSelection, MissingAnswerFileEndsTheTurnWithoutFallback) {
    nouns({});
    EXPECT_THROW(answer(2, 2, "안녕"), text::FileError);
    EXPECT_EQ(host.speech_writes, 0);
}

}  // namespace
