#include <gtest/gtest.h>

#include <set>

#include "engine_test_util.h"

namespace {

using testing_support::EngineFixture;
using testing_support::EngineTest;
using testing_support::k;

struct ComputerQuestions : EngineTest {
    ComputerQuestions() {
        folder.write("data1.dat",
                     "// 주석\n*[음식]!\n밥\n빵\n\n*[동물]\n고양이\n*[빈칸]\n*[끝]\n하나\n둘\n");
    }
    std::set<std::string> asked(int turns) {
        std::set<std::string> seen;
        for (int i = 0; i < turns; ++i) {
            engine.ask_question_back();
            seen.insert(host.speech_utf8());
        }
        return seen;
    }
};

TEST_F(ComputerQuestions, CountsAndDraws) {
    folder.write("data3.dat", "1\n첫 질문\n둘째 질문\n");
    EXPECT_EQ(asked(20), std::set<std::string>{"첫 질문"});
    folder.write("data3.dat", "0\n첫 질문\n둘째 질문\n");
    EXPECT_EQ(asked(20), std::set<std::string>{"첫 질문"});
    folder.write("data3.dat", "-4\n첫 질문\n");
    EXPECT_EQ(asked(5), std::set<std::string>{"첫 질문"});
    folder.write("data3.dat", "3\n가\n나\n다\n라\n");
    EXPECT_EQ(asked(100), (std::set<std::string>{"가", "나", "다"}));
    folder.write("data3.dat", "3\n가\n");
    EXPECT_EQ(asked(100), (std::set<std::string>{"가", ""}));  // past the end: an empty question
}

TEST_F(ComputerQuestions, OnlyTheFirst256QuestionsCanBeAsked) {
    std::string file = "300\n";
    for (int i = 1; i <= 300; ++i) file += "Q" + std::to_string(i) + "\n";
    folder.write("data3.dat", file);
    const auto seen = asked(3000);
    EXPECT_TRUE(seen.count("Q256"));
    EXPECT_FALSE(seen.count("Q257"));
    EXPECT_FALSE(seen.count("Q300"));
}

TEST_F(ComputerQuestions, ItemPlaceholders) {
    folder.write("data3.dat", "1\n{동물}[을] 좋아해요? {}끝\n");
    EXPECT_EQ(asked(5), std::set<std::string>{"고양이를 좋아해요? 끝"});
    // The label need only be part of the header; a header line is searched whole.
    folder.write("data3.dat", "1\n{물}\n");
    EXPECT_EQ(asked(5), std::set<std::string>{"고양이"});
    folder.write("data3.dat", "1\n[{없는}]\n");
    EXPECT_EQ(asked(5), std::set<std::string>{""});
}

TEST_F(ComputerQuestions, DrawsFromTheWholeSection) {
    // Empty lines count in a draw; the first matching header wins; the last section reaches
    // the end of the file; a section without lines gives nothing.
    folder.write("data3.dat", "1\n<{음식}>\n");
    EXPECT_EQ(asked(100), (std::set<std::string>{"<밥>", "<빵>", "<>"}));
    folder.write("data3.dat", "1\n<{끝}>\n");
    EXPECT_EQ(asked(100), (std::set<std::string>{"<하나>", "<둘>"}));
    folder.write("data3.dat", "1\n<{빈칸}>\n");
    EXPECT_EQ(asked(5), std::set<std::string>{"<>"});
}

TEST_F(ComputerQuestions, TwoPlaceholdersDrawTwoDifferentWords) {
    // 음식 holds 밥, 빵 and an empty line; 동물 only 고양이.
    folder.write("data3.dat", "1\n{음식}/{음식}\n");
    const auto seen = asked(200);
    EXPECT_TRUE(seen.count("밥/빵") && seen.count("빵/밥"));
    EXPECT_FALSE(seen.count("밥/밥") || seen.count("빵/빵") || seen.count("/"));
    folder.write("data3.dat", "1\n{동물}/{물}/{동물}\n");
    EXPECT_EQ(asked(5), std::set<std::string>{"고양이/고양이/고양이"});
}

TEST_F(ComputerQuestions, PlaceholdersThatCouldLoop) {
    folder.write("data1.dat", "*[괄호]\n{괄호}\n");
    folder.write("data3.dat", "1\n{괄호} 그리고 {열림\n");
    EXPECT_EQ(asked(3), std::set<std::string>{"{괄호} 그리고 {열림"});
    folder.write("data1.dat", "*[괄호]\n[밥]\n");  // a keyword is not read as a particle
    folder.write("data3.dat", "1\n{괄호}[을] 먹어요\n");
    EXPECT_EQ(asked(3), std::set<std::string>{"[밥]을 먹어요"});
}

TEST_F(ComputerQuestions, BadFiles) {
    folder.write("data3.dat", "다섯\n가\n");
    EXPECT_THROW(engine.ask_question_back(), text::ConversionError);
    folder.write("data3.dat", "");
    EXPECT_THROW(engine.ask_question_back(), text::ConversionError);
    std::filesystem::remove(folder / "data3.dat");
    EXPECT_THROW(engine.ask_question_back(), text::FileError);
    folder.write("data3.dat", "1\n{음식}\n");
    std::filesystem::remove(folder / "data1.dat");
    EXPECT_THROW(engine.ask_question_back(), text::FileError);
    EXPECT_EQ(host.speech_writes, 0);
}

}  // namespace
