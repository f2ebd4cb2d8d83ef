// The terminal companion, run as a user or a script would run it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "data_files.h"
#include "settings/settings.h"
#include "support/temp_folder.h"

namespace {

using testing_support::k;
using testing_support::TempFolder;

std::string slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct ChatRun {
    int status;
    std::string out;
    std::string err;
};

// Runs dasom-chat on `folder` with `input` (UTF-8) as its standard input.
ChatRun chat(const TempFolder& folder, const std::string& input, const std::string& arguments = "") {
    const auto work = folder.path().parent_path() / (folder.path().filename().string() + ".io");
    std::filesystem::create_directories(work);
    { std::ofstream(work / "in", std::ios::binary) << input; }
    const std::string command = std::string("'") + DASOM_PROGRAM_DIR + "/dasom-chat' --folder '" +
                                folder.path().string() + "' " + arguments + " < '" +
                                (work / "in").string() + "' > '" + (work / "out").string() +
                                "' 2> '" + (work / "err").string() + "'";
    ChatRun run{std::system(command.c_str()), slurp(work / "out"), slurp(work / "err")};
    std::filesystem::remove_all(work);
    return run;
}

std::string file_text(const char* name) {
    return slurp(std::filesystem::path(DASOM_TEST_DATA) / name);
}

struct DasomChat : ::testing::Test {
    TempFolder folder;
    void scenario() {
        folder.copy_fixture("conversation_basic");
        folder.write_bytes("vowel.dat", tools::open_syllables());
    }
};

TEST_F(DasomChat, GoldenConversation) {
    scenario();
    const ChatRun run = chat(folder, file_text("conversation_basic.input"), "--seed 7");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, file_text("conversation_basic.expected"));
    // Notices go to standard error: the rabbit, the debug box.
    EXPECT_NE(run.err.find("토끼"), std::string::npos);
    EXPECT_NE(run.err.find("질문의 명사개수=1"), std::string::npos);
}

TEST_F(DasomChat, TraceTellsWhatMatchedAndWhereEachReplyCameFrom) {
    scenario();
    const std::string input = "나 김밥 먹었니?\n뭐해\n말 가르쳐\n잘 자\n";
    const ChatRun run = chat(folder, input, "--seed 1 --trace");
    EXPECT_EQ(run.out, chat(folder, input, "--seed 1").out);
    EXPECT_EQ(run.out.rfind("사람님도 김밥을 먹었나요?\n", 0), 0u) << run.out;
    EXPECT_NE(run.err.find("trace\tsource\tanswer\n"
                           "trace\tsentence\t1\tquestion\t0\n"
                           "trace\tsection\t1\t나 \t2\n"
                           "trace\tsection\t질문\t니?\t7\n"
                           "trace\tsection\t음식\t김밥\t16\n"
                           "trace\tfrom\tdata2.dat\t9\t10\n"
                           "trace\tparticle\t사람님도 김밥\t을\t을\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("trace\tsource\tquestion\ntrace\tsentence\t2\tstatement\t0\n"
                           "trace\tfrom\tdata3.dat\t"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("trace\tsource\treserved\ntrace\tfrom\treserve.dat\t5\t6\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("trace\tsource\tfree_talk\ntrace\tsentence\t2\tstatement\t0\n"
                           "trace\tfrom\tdata4.dat\t4\t5\n"),
              std::string::npos)
        << run.err;
}

TEST_F(DasomChat, ANameCommandTakesTheNextLineAsTheName) {
    scenario();
    folder.write("reserve.dat", "내 이름은\n[사람이름]\n네 이름 바꾸\n[컴퓨터이름]\n");
    // A character with no CP949 form is refused; an empty line keeps the name.
    const ChatRun run =
        chat(folder, "내 이름은 민수야\n민수\n네 이름 바꾸자\n별😀\n김밥\n내 이름은?\n\n");
    EXPECT_EQ(run.out, "알겠어요! 앞으로 민수님이라고 부를게요.\n이름은 그대로 둘게요.\n"
                       "김밥은 맛있죠.\n이름은 그대로 둘게요.\n");
    EXPECT_NE(run.err.find("[사용자의 이름] 사용자의 이름을 입력하세요 (빈 줄이면 지금 이름 \"사람\" 그대로)\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("이름에 쓸 수 없는 글자"), std::string::npos) << run.err;
    const auto stored = settings::read_settings(folder / "dasom.ini");
    EXPECT_EQ(stored.user_name, k("민수"));
    EXPECT_EQ(stored.computer_name, k("다솜"));
}

TEST_F(DasomChat, TheMoodCarriesOverAndEverythingElseStaysAsItWas) {
    scenario();
    // A conversation that changes nothing writes nothing: the window's first run is still to come.
    chat(folder, "안녕\n", "--seed 1");
    EXPECT_FALSE(std::filesystem::exists(folder / "dasom.ini"));

    const std::string before = "; 내 메모\n[Window]\nLeft=33\n[일반정보]\nTrayStart=2\n"
                               "[다른 프로그램]\n값=그대로\n";
    folder.write("dasom.ini", before);
    chat(folder, "바보\n", "--seed 1");
    const auto stored = settings::read_settings(folder / "dasom.ini");
    EXPECT_EQ(stored.mood, -1);
    EXPECT_TRUE(stored.first_run);
    // Only the mood was added; every line it found stays as it was.
    EXPECT_EQ(folder.read("dasom.ini"), before + "\n[컴퓨터정보]\n기분값=-1\n");

    // The second run starts from the stored mood: abuse answers from the bad-mood group.
    const ChatRun second = chat(folder, "착해\n너 바보\n", "--seed 1");
    EXPECT_EQ(second.out, "고마워요, 사람님!\n사람님 미워요.\n");
    EXPECT_EQ(settings::read_settings(folder / "dasom.ini").mood, -1);
}

TEST_F(DasomChat, ANamedUserIsAddressedByName) {
    scenario();
    folder.write("dasom.ini", "[사용자정보]\n사람이름=민지\n");
    EXPECT_EQ(chat(folder, "착해\n").out, "고마워요, 민지님!\n");
}

TEST_F(DasomChat, AMissingFileEndsEachTurnThatNeedsIt) {
    scenario();
    std::filesystem::remove(folder / "data2.dat");
    // Every ordinary turn needs data2.dat: each prints an empty line and the error, and the
    // program goes on with the next sentence.
    const ChatRun run = chat(folder, "김밥\r\n안녕\r\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "\n\n");
    EXPECT_NE(run.err.find("data2.dat"), std::string::npos);
    folder.write("data2.dat", "");
    const std::string out = chat(folder, "안녕\r\n").out;
    EXPECT_TRUE(out == "안녕하세요!\n" || out == "반가워요.\n") << out;
}

TEST_F(DasomChat, SameSeedSameConversationOnTheShippedData) {
    tools::install_data_folder(DASOM_SOURCE_DATA, folder.path());
    const std::string input = "안녕\n밥 먹었니?\n너 누구야?\n심심해\n오늘 날씨 어때\n뭐해\n\n😀\n";
    const ChatRun first = chat(folder, input, "--seed 42");
    std::filesystem::remove(folder / "dasom.ini");
    const ChatRun second = chat(folder, input, "--seed 42");
    EXPECT_EQ(first.out, second.out);
    EXPECT_EQ(first.status, 0);
    // One reply per sentence, and every one has something to say.
    std::istringstream lines(first.out);
    std::string line;
    int replies = 0;
    while (std::getline(lines, line)) {
        EXPECT_FALSE(line.empty()) << "reply " << replies;
        ++replies;
    }
    EXPECT_EQ(replies, 8);
}

TEST_F(DasomChat, MonologueAndToolsThatNeedTheWindow) {
    scenario();
    const ChatRun monologue = chat(folder, "", "--seed 3 --monologue");
    EXPECT_TRUE(monologue.out == "심심해요.\n" || monologue.out == "뭐 하세요?\n") << monologue.out;
    const ChatRun teach = chat(folder, "말 가르쳐\n");
    EXPECT_EQ(teach.out, "대화입력기를 실행합니다.\n");
    EXPECT_NE(teach.err.find("창 프로그램"), std::string::npos);
    std::filesystem::remove(folder / "mal.dat");
    const ChatRun broken = chat(folder, "", "--monologue");
    EXPECT_NE(broken.status, 0);
    EXPECT_EQ(broken.out, "\n");
}

TEST_F(DasomChat, BooksAnswerFromInputLinesAndTheHistoryIsKept) {
    scenario();
    folder.write("reserve.dat",
                 "실행해\n[실행]\n주소 찾아\n[주소검색]\n단어 찾아\n[단어검색]\n단어 넣어\n[단어추가]\n");
    folder.write("exec.dat", "눈\n/usr/bin/xeyes -g 9x9; rm -rf \"$(id)\"\n");
    folder.write("juso.dat", "우리집\n서울시 종로구\n");
    folder.write("eng.dat", "apple\n사과\n");
    folder.write("dasom.ini", "[일반정보]\n단어검색모드=0\n");
    const std::string command = "/usr/bin/xeyes -g 9x9; rm -rf \"$(id)\"";
    const ChatRun run = chat(
        folder, "실행해\n눈\n실행해\n.\n주소 찾아\n집\n단어 찾아\n사과\n단어 넣어\n", "--no-launch");
    EXPECT_EQ(run.out, command + " 를 실행합니다.\n무엇을 실행을 할까요.\n우리집\n서울시 종로구\n"
                       "apple\n사과\napple\n사과\n");
    const std::size_t first = run.err.find("started: " + command + "\n");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(run.err.find("started: " + command + "\n", first + 1), std::string::npos);
    EXPECT_NE(run.err.find("창 프로그램"), std::string::npos);
    const auto stored = settings::read_settings(folder / "dasom.ini");
    EXPECT_EQ(stored.history[0], k(command));
    EXPECT_EQ(stored.history[1], k("없음"));
    EXPECT_FALSE(stored.word_search_by_word);

    // The next run reruns the stored command; the end of input cancels a box.
    EXPECT_NE(chat(folder, "실행해\n.\n", "--no-launch").err.find("started: " + command),
              std::string::npos);
    EXPECT_EQ(chat(folder, "실행해\n", "--no-launch").out, "그런거 없는데요\n");
}

// Programs start detached; a program whose path holds a blank is found; one that cannot be
// started is told and stays out of the history.
TEST_F(DasomChat, Launches) {
    scenario();
    folder.write("reserve.dat", "실행해\n[실행]\n");
    const auto made = folder / "made";
    std::filesystem::create_directory(folder / "my prog");
    folder.write_bytes("my prog/run.sh", "#!/bin/sh\ntouch \"$1\"\n");
    std::filesystem::permissions(folder / "my prog/run.sh", std::filesystem::perms::owner_all);
    folder.write_bytes("my prog/not a program", "text\n");
    const std::string blank_path = (folder / "my prog/run.sh").string() + " made2";
    const std::string not_executable = (folder / "my prog/not a program").string();
    folder.write("exec.dat", "만들기\ntouch " + made.string() + "\n없는것\n/없는/프로그램\n빈칸\n" +
                                 blank_path + "\n글\n" + not_executable + "\n");
    const ChatRun run =
        chat(folder, "실행해\n만들기\n실행해\n없는것\n실행해\n빈칸\n실행해\n글\n");
    EXPECT_EQ(run.status, 0);
    // "touch /tmp/.../" is no folder: the warning, and the launch all the same.
    EXPECT_NE(run.err.find("디렉토리가 잘못되었습니다."), std::string::npos);
    const auto made2 = folder / "my prog" / "made2";  // run in its own folder
    for (int i = 0; i < 100 && !(std::filesystem::exists(made) && std::filesystem::exists(made2));
         ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(std::filesystem::exists(made));
    EXPECT_TRUE(std::filesystem::exists(made2));
    EXPECT_EQ(run.out, "touch " + made.string() + " 를 실행합니다.\n" +
                           "/없는/프로그램 를 실행하지 못했습니다 (파일이나 폴더가 없습니다).\n" +
                           blank_path + " 를 실행합니다.\n" + not_executable +
                           " 를 실행하지 못했습니다 (권한이 없습니다).\n");
    const auto stored = settings::read_settings(folder / "dasom.ini");
    EXPECT_EQ(stored.history[0], k(blank_path));
    EXPECT_EQ(stored.history[1], k("touch " + made.string()));
    EXPECT_EQ(stored.history[2], k("없음"));
}

TEST_F(DasomChat, BadArguments) {
    scenario();
    EXPECT_NE(chat(folder, "", "--seed abc").status, 0);
    EXPECT_NE(chat(folder, "", "--unknown").status, 0);
}

}  // namespace
