#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace {

using testing_support::EngineFixture;
using testing_support::EngineTest;
using testing_support::k;

struct ReservedCommands : EngineTest {
    ReservedCommands() {
        folder.write("data1.dat", "*[음식]\n밥\n");
        folder.write("data2.dat", "*[무][음식]\n밥 좋아\n");
        folder.write("data3.dat", "1\n무슨 말이에요?\n");
        folder.write("data4.dat", "");
    }
    std::string command_for(const char* sentence) {
        return text::to_utf8(engine.find_reserved_command(k(sentence)));
    }
};

TEST_F(ReservedCommands, PairsAreTriedInFileOrder) {
    folder.write("reserve.dat", "주소\n[주소검색]\n주소 추가\n[주소추가]\n응\n[종료]\n");
    EXPECT_EQ(command_for("주소 추가해 줘"), "[주소검색]");
    EXPECT_EQ(command_for("전화번호주소록"), "[주소검색]");  // inside a longer word
    EXPECT_EQ(command_for("밥"), "");
    EXPECT_EQ(command_for("맛있어"), "");  // only across two syllables: no occurrence
    EXPECT_EQ(command_for(""), "");
}

TEST_F(ReservedCommands, OddFilesAndEmptyLines) {
    folder.write("reserve.dat", "끝\n");  // the command line is past the end
    EXPECT_EQ(command_for("끝"), "");
    folder.write("reserve.dat", "\n[종료]\n끝\n\n");  // an empty phrase never matches
    EXPECT_EQ(command_for("끝"), "");
    // An empty line shifts the pairing: "[종료]" is now read as a phrase.
    folder.write("reserve.dat", "안녕\n\n[종료]\n잘 가\n");
    EXPECT_EQ(command_for("[종료] 해"), "잘 가");
    folder.write("reserve.dat", "");
    EXPECT_EQ(command_for("끝"), "");
}

TEST_F(ReservedCommands, EchoesAndTools) {
    struct Row {
        const char* command;
        const char* echo;  // nullptr: the label keeps its caption
        const char* call;
    };
    const Row rows[] = {
        {"[종료]", nullptr, "close"},
        {"[실행추가]", nullptr, "add:0"},
        {"[실행삭제]", nullptr, "delete:0"},
        {"[실행]", "무엇을 실행을 할까요.", "launcher"},
        {"[주소추가]", nullptr, "add:1"},
        {"[주소삭제]", nullptr, "delete:1"},
        {"[주소검색]", "주소록을 실행 합니다.", "search-addresses"},
        {"[단어추가]", nullptr, "add:2"},
        {"[단어삭제]", nullptr, "delete:2"},
        {"[단어검색]", "단어장을 실행 합니다.", "search-words"},
        {"[대화추가]", "대화입력기를 실행합니다.", "free-talk"},
        {"[종료] ", "[종료]  을 실행합니다.", nullptr},
        {"[모름]", "[모름] 을 실행합니다.", nullptr},
    };
    for (const Row& row : rows) {
        host.speech = k("이전 대답");
        host.calls.clear();
        engine.run_reserved_command(k(row.command));
        EXPECT_EQ(host.speech_utf8(), row.echo ? row.echo : "이전 대답") << row.command;
        if (row.call) {
            ASSERT_FALSE(host.calls.empty()) << row.command;
            EXPECT_EQ(host.calls.back(), row.call) << row.command;
        } else {
            EXPECT_EQ(host.calls.size(), 1u) << row.command;  // the echo only
        }
    }
}

TEST_F(ReservedCommands, NameCommandsOpenTheNameBoxes) {
    host.answers = {k("민수"), k("별이"), k("별이")};
    engine.run_reserved_command(k("[사람이름]"));
    EXPECT_EQ(engine.user_name, k("민수"));
    EXPECT_EQ(host.speech_utf8(), "알겠어요! 앞으로 민수님이라고 부를게요.");
    engine.run_reserved_command(k("[컴퓨터이름]"));
    EXPECT_EQ(engine.computer_name, k("별이"));
    EXPECT_EQ(host.speech_utf8(), "좋아요! 앞으로 저를 별이라고 불러 주세요.");
    engine.run_reserved_command(k("[컴퓨터이름]"));  // the same name again
    EXPECT_EQ(host.speech_utf8(), "이름은 그대로 둘게요.");
    engine.run_reserved_command(k("[사람이름]"));  // cancelled
    EXPECT_EQ(engine.user_name, k("민수"));
    EXPECT_EQ(host.speech_utf8(), "이름은 그대로 둘게요.");
    host.answers = {""};
    engine.run_reserved_command(k("[사람이름]"));
    EXPECT_EQ(engine.user_name, "");
    EXPECT_EQ(host.speech_utf8(), "이름을 비워 둘게요.");
    // Each box showed the name as it was.
    std::vector<std::string> names;
    for (const std::string& call : host.calls) {
        if (call.rfind("name:", 0) == 0) names.push_back(call);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"name:user:사람", "name:computer:다솜",
                                               "name:computer:별이", "name:user:민수",
                                               "name:user:민수"}));
}

TEST_F(ReservedCommands, TheDefaultPhrasesForTheNames) {
    tools::install_data_folder(DASOM_SOURCE_DATA, folder.path());
    const std::pair<const char*, const char*> rows[] = {
        {"내 이름은 민수야", "[사람이름]"},
        {"제 이름은 김민수입니다", "[사람이름]"},
        {"나를 민수라고 불러 줘", "[사람이름]"},
        {"앞으로 민수라고 불러 주세요", "[사람이름]"},
        {"민수라고 불러 줄래?", "[사람이름]"},
        {"내 이름 바꿀래", "[사람이름]"},
        {"너를 별이라고 부를게", "[컴퓨터이름]"},
        {"별이라고 불러 줄게", "[컴퓨터이름]"},
        {"네 이름 바꿔도 돼?", "[컴퓨터이름]"},
        {"이제 네 이름은 별이야", "[컴퓨터이름]"},
        // Ordinary sentences about names stay conversation.
        {"네 이름은 뭐야?", ""},
        {"네 이름이 뭐야", ""},
        {"내 이름 알아?", ""},
        {"너를 뭐라고 불러?", ""},
        {"이름이 예쁘다", ""},
    };
    for (const auto& [sentence, command] : rows) {
        EXPECT_EQ(command_for(sentence), command) << sentence;
    }
}

TEST_F(ReservedCommands, DebugSwitch) {
    folder.write("reserve.dat", "디버그 켜\n[디버깅모드설정]\n디버그 꺼\n[디버깅모드해제]\n");
    EXPECT_EQ(say("디버그 켜"), "Debug mode로 설정했습니다.");
    EXPECT_TRUE(engine.debug_mode);
    say("밥 먹자");
    EXPECT_FALSE(testing_support::last_debug(host).empty());
    EXPECT_EQ(say("디버그 꺼"), "Debug mode를 해제합니다.");
    host.calls.clear();
    say("밥 먹자");
    EXPECT_TRUE(testing_support::last_debug(host).empty());
}

TEST_F(ReservedCommands, ACommandWinsOverConversation) {
    folder.write("reserve.dat", "밥\n[실행추가]\n");
    host.speech = k("이전 대답");
    EXPECT_EQ(say("밥 먹자"), "이전 대답");
    EXPECT_EQ(host.calls.back(), "add:0");
}

}  // namespace
