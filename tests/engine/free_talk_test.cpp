#include <gtest/gtest.h>

#include <set>

#include "engine_test_util.h"

namespace {

using testing_support::EngineFixture;
using testing_support::EngineTest;
using testing_support::k;

struct FreeTalk : EngineTest {
    bool talk(const char* sentence) { return engine.answer_from_free_talk(k(sentence)); }
    std::set<std::string> replies(const char* sentence, int turns) {
        std::set<std::string> seen;
        for (int i = 0; i < turns; ++i) {
            if (talk(sentence)) seen.insert(host.speech_utf8());
        }
        return seen;
    }
};

TEST_F(FreeTalk, KeysFitAnywhereAndTheFirstEntryWins) {
    folder.write("data4.dat",
                 "머리말은 안 보임\n*안녕\n반가워 $\n*안녕하세요\n네 안녕하세요\n*응\n응응\n");
    EXPECT_TRUE(talk("다들 안녕하세요"));
    EXPECT_EQ(host.speech_utf8(), "반가워 $");  // shown verbatim
    EXPECT_FALSE(talk("머리말은"));
    EXPECT_FALSE(talk("맛있어"));  // 응 only across two syllables: no occurrence
    EXPECT_EQ(host.speech_writes, 1);
}

TEST_F(FreeTalk, RepliesAreDrawnFromTheWholeEntry) {
    folder.write("data4.dat", "*밥\n하나\n둘\n셋\n*빵\n넷\n*끝\n다섯\n여섯");
    EXPECT_EQ(replies("밥 먹자", 80), (std::set<std::string>{"하나", "둘", "셋"}));
    EXPECT_EQ(replies("끝이야", 40), (std::set<std::string>{"다섯", "여섯"}));
}

TEST_F(FreeTalk, KeyLines) {
    // "*" alone is the empty key; the first character of a key line is dropped whatever it is;
    // a key without replies does not fit and the search goes on.
    folder.write("data4.dat", "*\n빈 키\nx*별\n별 키\n*빈\n*빈칸\n다음 항목\n");
    EXPECT_FALSE(talk("아무 말"));
    EXPECT_TRUE(talk("*별이"));
    EXPECT_EQ(host.speech_utf8(), "별 키");
    EXPECT_TRUE(talk("빈칸"));
    EXPECT_EQ(host.speech_utf8(), "다음 항목");
}

TEST_F(FreeTalk, EmptyAndMissingFiles) {
    folder.write("data4.dat", "");
    EXPECT_FALSE(talk("안녕"));
    std::filesystem::remove(folder / "data4.dat");
    EXPECT_THROW(talk("안녕"), text::FileError);
}

}  // namespace
