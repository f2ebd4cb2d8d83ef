#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace {

using testing_support::EngineFixture;
using testing_support::EngineTest;
using testing_support::k;

// Every sentence below holds a space, which the always-matching section "항상" catches; the
// answer file then tells person and kind apart, and the debug box shows the rest.
constexpr const char* kProbeAnswers =
    "*[1][항상]의문\n1Q\n*[1][항상]\n1S\n"
    "*[2][항상]의문\n2Q\n*[2][항상]\n2S\n"
    "*[3][항상]의문\n3Q\n*[3][항상]\n3S\n";

struct QuestionMatching : EngineTest {
    void keywords(const char* data1) {
        folder.write("data1.dat", std::string(data1) + "*[항상]\n \n");
        folder.write("data2.dat", kProbeAnswers);
        folder.write("data3.dat", "1\n물음\n");
        folder.write("data4.dat", "");
        folder.write("reserve.dat", "");
    }
};

TEST_F(QuestionMatching, PersonComesFromAKeywordAtTheVeryStart) {
    keywords("*[1]\n나\n저\n*[2]\n너\n*[3]\n그\n");
    EXPECT_EQ(say("나 밥 먹었어"), "1S");
    EXPECT_EQ(say(" 저 밥 먹었어"), "1S");       // after one single-byte character
    EXPECT_EQ(say("밥 나 먹었어"), "2S");        // too far from the start: default person
    EXPECT_EQ(say("너 뭐 해"), "2S");
    EXPECT_EQ(say("그 사람 뭐 해"), "3S");
    EXPECT_EQ(say("오늘 날씨"), "2S");
}

TEST_F(QuestionMatching, AnEarlierSectionKeepsAnEqualPosition) {
    keywords("*[1]\n나\n*[3]\n나야\n");
    EXPECT_EQ(say("나야 뭐 해"), "1S");
    keywords("*[3]\n나야\n*[1]\n나\n");
    EXPECT_EQ(say("나야 뭐 해"), "3S");
}

TEST_F(QuestionMatching, AFarPersonKeywordEndsItsSection) {
    // 밥 occurs, too late to count, so 나 at the start is never tried.
    keywords("*[1]\n밥\n나\n");
    EXPECT_EQ(say("나 밥 먹어"), "2S");
}

TEST_F(QuestionMatching, QuestionEndings) {
    keywords("*[질문]\n니?\n까\n");
    EXPECT_EQ(say("밥 먹었니?"), "2Q");
    EXPECT_EQ(say("밥 먹을까"), "2Q");
    EXPECT_EQ(say("밥 먹었니"), "2S");     // a "?" in the keyword must end the sentence too
    EXPECT_EQ(say("밥 먹을까?"), "2S");
    EXPECT_EQ(say("까 먹을까"), "2S");     // first occurrence not at the end
}

TEST_F(QuestionMatching, TheLastQuestionSectionDecides) {
    keywords("*[질문]\n니\n*[질문]\n까\n");
    EXPECT_EQ(say("밥 먹었니"), "2S");
    keywords("*[질문]\n까\n*[질문]\n니\n");
    EXPECT_EQ(say("밥 먹었니"), "2Q");
    keywords("");
    EXPECT_EQ(say("밥 먹었니?"), "2S");   // no question section at all
}

TEST_F(QuestionMatching, AbusePraiseAndFlatJokes) {
    keywords("*[욕설]\n바보\n*[욕설]\n멍청\n*[칭찬]\n착해\n*[썰렁]\n아재\n");
    say("바보 멍청이");
    EXPECT_EQ(engine.mood, -2);
    say("바보지만 착해");
    EXPECT_EQ(engine.mood, -2);
    EXPECT_EQ(engine.animation_pending, 0);
    host.calls.clear();
    say("아재 개그");
    // The chat turn plays the animation and clears the flag.
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "animation"), 1);
    EXPECT_EQ(engine.animation_pending, 0);
    host.calls.clear();
    say("그냥 말");
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "animation"), 0);
}

TEST_F(QuestionMatching, MatchedSectionsInFileOrderAreHandedToTheAnswer) {
    keywords("*[음식]\n밥\n*[날씨]\n비\n*[썰렁]\n아재\n");
    engine.debug_mode = true;
    say("비 오는 날 밥 먹고 아재 개그");
    const std::string box = last_debug(host);
    EXPECT_NE(box.find("질문의 명사개수=4"), std::string::npos);
    // The first section in the file wins the "%" word, not the first word in the sentence.
    folder.write("data2.dat", "*[무][음식]&[날씨]\n%/%2\n");
    EXPECT_EQ(say("비 오는 날 밥 먹고"), "밥/비");
    // Item names are cleared after the answer; the words stay until overwritten.
    EXPECT_TRUE(engine.nouns[0].item_name.empty());
    EXPECT_EQ(engine.nouns[0].word, k("밥"));
}

TEST_F(QuestionMatching, OnlyTheFirstKeywordThatPassesCounts) {
    keywords("*[음식]\n밥\n빵\n");
    engine.debug_mode = true;
    say("밥 빵");
    EXPECT_NE(last_debug(host).find("질문의 명사개수=2"), std::string::npos);  // 음식 + 항상
}

TEST_F(QuestionMatching, SectionBoundaries) {
    // An empty line hides the rest of the section; "//" inside a section is a keyword.
    keywords("*[음식]\n밥\n\n빵\n*[주석]\n//\n");
    engine.debug_mode = true;
    say("빵 먹자");
    EXPECT_NE(last_debug(host).find("질문의 명사개수=1"), std::string::npos);
    say("// 주석");
    EXPECT_NE(last_debug(host).find("질문의 명사개수=2"), std::string::npos);
}

TEST_F(QuestionMatching, KeywordLinesCountByTheirFirst99Bytes) {
    const std::string long_keyword(120, 'x');
    keywords(("*[길이]\n" + long_keyword + "\n").c_str());
    engine.debug_mode = true;
    say(std::string(99, 'x') + " ");
    EXPECT_NE(last_debug(host).find("질문의 명사개수=2"), std::string::npos);
}

TEST_F(QuestionMatching, MarkersChooseTheRule) {
    keywords("*[시작]!\n밥\n*[끝]&\n자\n*[어디]@!\n빵\n");
    engine.debug_mode = true;
    say("밥 먹자 빵");  // 시작 yes, 끝 no, 어디 (marked @, anywhere) yes
    EXPECT_NE(last_debug(host).find("질문의 명사개수=3"), std::string::npos);
}

TEST_F(QuestionMatching, HeadersWithoutBrackets) {
    // No "[": everything before "]" is the label, "*" included; no "]": an empty label.
    keywords("*라벨]\n밥\n*[빈 라벨\n빵\n");
    folder.write("data2.dat", "*[무][*라벨]\nA\n*[무][]\nB\n");
    EXPECT_EQ(say("밥"), "A");
    EXPECT_EQ(say("빵"), "B");
}

TEST_F(QuestionMatching, MoreThanTenSectionsStopRecording) {
    keywords("");
    std::string many = "*[항상]\n \n";
    for (int i = 0; i < 14; ++i) many += "*[욕설]\n바보\n";
    folder.write("data1.dat", many);
    engine.debug_mode = true;
    say("바보 ");
    EXPECT_NE(last_debug(host).find("질문의 명사개수=10"), std::string::npos);
    EXPECT_EQ(engine.mood, -9);  // sections past the tenth change nothing
}

TEST_F(QuestionMatching, MoodStopsAtTheEndsOfItsRange) {
    keywords("*[칭찬]\n착해\n*[칭찬]\n예뻐\n");
    engine.mood = 2147483646;
    say("착해 예뻐");
    EXPECT_EQ(engine.mood, 2147483647);
}

}  // namespace
