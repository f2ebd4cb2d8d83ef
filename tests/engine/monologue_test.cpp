#include <gtest/gtest.h>

#include <set>

#include "engine_test_util.h"

namespace {

using testing_support::EngineFixture;
using testing_support::EngineTest;

struct Monologue : EngineTest {
    std::set<std::string> spoken(int ticks) {
        std::set<std::string> seen;
        for (int i = 0; i < ticks; ++i) {
            engine.say_monologue_line();
            seen.insert(host.speech_utf8());
        }
        return seen;
    }
};

TEST_F(Monologue, DrawsOnlyCountedLines) {
    folder.write("mal.dat", "1\n하나\n둘\n");
    EXPECT_EQ(spoken(20), std::set<std::string>{"하나"});
    EXPECT_TRUE(host.shown);
    folder.write("mal.dat", "3\n하나\n둘\n셋\n넷\n다섯\n");
    EXPECT_EQ(spoken(100), (std::set<std::string>{"하나", "둘", "셋"}));
    folder.write("mal.dat", "3\n하나\n");
    EXPECT_EQ(spoken(100), (std::set<std::string>{"하나", ""}));
    folder.write("mal.dat", "0\n하나\n");
    EXPECT_EQ(spoken(5), std::set<std::string>{"하나"});
}

TEST_F(Monologue, AHugeCountDoesNotHang) {
    folder.write("mal.dat", "2147483647\n하나\n");
    const auto seen = spoken(20);
    EXPECT_TRUE(seen.count(""));  // nearly every draw lands past the end
}

TEST_F(Monologue, ANegativeCountSaysNothing) {
    folder.write("mal.dat", "-2\n하나\n");
    host.speech = "before";
    engine.say_monologue_line();
    EXPECT_EQ(host.speech, "before");
    EXPECT_FALSE(host.shown);
}

TEST_F(Monologue, MissingOrMalformedFilesAreConversionErrors) {
    EXPECT_THROW(engine.say_monologue_line(), text::ConversionError);  // no mal.dat: reads as empty
    folder.write("mal.dat", "셋\n하나\n");
    // The message quotes the CP949 count readably and names the file.
    try {
        engine.say_monologue_line();
        ADD_FAILURE() << "no error";
    } catch (const text::ConversionError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("'셋'은(는) 올바른 정수가 아닙니다."), std::string::npos) << message;
        EXPECT_NE(message.find((folder / "mal.dat").string()), std::string::npos) << message;
    }
    EXPECT_EQ(host.speech_writes, 0);
}

}  // namespace
