#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace {

using testing_support::EngineFixture;
using testing_support::EngineTest;
using testing_support::k;

// The shipped data, as a user finds it after installing.
struct ChatTurn : EngineTest {
    ChatTurn() {
        folder.write("reserve.dat", "그만\n[종료]\n");
        folder.write("data1.dat", "*[1]\n나\n*[질문]\n니?\n*[음식]\n밥\n*[썰렁]\n아재\n");
        folder.write("data2.dat", "*[무][음식]의문\n%[을] 먹었어요.\n*[무][썰렁]\n하하\n");
        folder.write("data3.dat", "1\n{음식}[이] 좋아요?\n");
        folder.write("data4.dat", "*안녕\n반가워요.\n");
    }
};

TEST_F(ChatTurn, EveryPathGivesAReply) {
    EXPECT_EQ(say("밥 먹었니?"), "밥을 먹었어요.");
    EXPECT_EQ(say("안녕"), "반가워요.");
    EXPECT_EQ(say("뭐해"), "밥이 좋아요?");
    EXPECT_EQ(say(""), "밥이 좋아요?");  // an empty sentence is no special case
}

TEST_F(ChatTurn, AFlatJokePlaysTheAnimationAfterTheReplyIsWritten) {
    say("아재 개그");
    ASSERT_GE(host.calls.size(), 2u);
    EXPECT_EQ(host.calls[host.calls.size() - 2], "speech:하하");
    EXPECT_EQ(host.calls.back(), "animation");
}

TEST_F(ChatTurn, EditsTakeEffectAtTheNextSentence) {
    EXPECT_EQ(say("안녕"), "반가워요.");
    folder.write("data4.dat", "*안녕\n또 왔네요.\n");
    EXPECT_EQ(say("안녕"), "또 왔네요.");
}

TEST_F(ChatTurn, AMissingFileEndsTheTurnAtThatStep) {
    struct Row {
        const char* file;
        const char* sentence;
    };
    const Row rows[] = {
        {"reserve.dat", "안녕"}, {"data1.dat", "안녕"}, {"data2.dat", "밥 먹었니?"},
        {"vowel.dat", "밥 먹었니?"}, {"data4.dat", "안녕"}, {"data3.dat", "뭐해"},
    };
    for (const Row& row : rows) {
        EngineFixture fresh;
        for (const char* name : {"reserve.dat", "data1.dat", "data2.dat", "data3.dat", "data4.dat"}) {
            fresh.folder.write_bytes(name, folder.read_bytes(name));
        }
        std::filesystem::remove(fresh.folder / row.file);
        fresh.engine.mood = 5;
        EXPECT_THROW(fresh.say(row.sentence), text::FileError) << row.file;
        EXPECT_EQ(fresh.host.speech_writes, 0) << row.file;
        EXPECT_EQ(fresh.engine.mood, 5);
    }
}

TEST_F(ChatTurn, WhatChangedBeforeAFailureStays) {
    folder.write("data1.dat", "*[욕설]\n바보\n");
    std::filesystem::remove(folder / "data2.dat");
    EXPECT_THROW(say("바보"), text::FileError);
    EXPECT_EQ(engine.mood, -1);
}

TEST_F(ChatTurn, AFailedTurnLeavesNoRabbitForTheNextOne) {
    std::filesystem::remove(folder / "data2.dat");
    EXPECT_THROW(say("아재 개그"), text::FileError);
    EXPECT_EQ(engine.animation_pending, 0);
    say("그만");  // a reserved command after it plays nothing
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "animation"), 0);
}

TEST_F(ChatTurn, BytesThatAreNotCp949NeverStopATurn) {
    folder.write_bytes("data4.dat", "*\xFF\xFE\r\n\x80\xB0\r\n");
    engine.chat_turn("\xFF\xFE!");
    EXPECT_EQ(host.speech, "\x80\xB0");
}

}  // namespace
