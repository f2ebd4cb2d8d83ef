// The window's media, headless: the background music behind the menu switch and the logo
// window. No audio output is opened (DASOM_AUDIO_DRIVER=none in the test environment).

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMediaPlayer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "shell/media/background_music.h"
#include "shell/media/logo_video_window.h"
#include "shell/media/logo_window.h"
#include "shell/window/main_window.h"
#include "support/fake_message_boxes.h"
#include "support/temp_folder.h"

using shell::LogoVideoWindow;
using shell::MainWindow;

namespace {

const QString kNoMusic = QStringLiteral("music.dat화일이 없네요");

// A file as the build installed it into the program folder.
std::string shipped(const char* name) {
    std::ifstream in(std::filesystem::path(DASOM_PROGRAM_DIR) / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(BackgroundMusic, TheSwitchDrivesThePlayerAndABadFileIsToldOnce) {
    struct Row {
        const char* name;
        std::string music;  // empty: no music.dat at all
        bool music_on;
        bool loads;
    };
    const std::string good = shipped("music.dat");
    ASSERT_FALSE(good.empty());
    const Row rows[] = {
        {"playing at start", good, true, true},
        {"silent until switched on", good, false, true},
        {"missing", "", true, false},
        {"not a MIDI file", "[일반정보]\r\n", true, false},
        {"a piece of nothing but its end",
         std::string("MThd\0\0\0\6\0\0\0\1\1\xE0MTrk\0\0\0\4\0\xFF\x2F\0", 26), true, false},
        {"missing, switched off", "", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testing_support::TempFolder folder;
        testing_support::FakeMessageBoxes boxes;
        folder.write("dasom.ini", std::string("[일반정보]\n처음실행=0\nTrayStart=0\nviewlogo=0\n") +
                                      "배경음악=" + (row.music_on ? "1" : "0") + "\n");
        if (!row.music.empty()) folder.write_bytes("music.dat", row.music);

        MainWindow window(folder.path());
        auto* music = window.findChild<shell::BackgroundMusic*>(QStringLiteral("MediaPlayer1"));
        ASSERT_NE(music, nullptr);
        EXPECT_EQ(music->loaded(), row.loads);
        EXPECT_EQ(boxes.messages.count(kNoMusic), row.loads ? 0 : 1);
        EXPECT_EQ(music->playing(), row.loads && row.music_on);

        auto* item = window.findChild<QAction*>(QStringLiteral("backmusic"));
        auto* tray_item = window.findChild<QAction*>(QStringLiteral("pop_backmusic"));
        for (QAction* toggle : {item, tray_item, item}) {
            const bool before = window.settings().music_on;
            toggle->trigger();
            EXPECT_NE(window.settings().music_on, before);
            EXPECT_EQ(item->isChecked(), window.settings().music_on);
            EXPECT_EQ(tray_item->isChecked(), window.settings().music_on);
            EXPECT_EQ(music->playing(), row.loads && window.settings().music_on);
        }
        EXPECT_EQ(boxes.messages.count(kNoMusic), row.loads ? 0 : 1);
        window.close();
        EXPECT_FALSE(music->loaded());  // closed with the window
    }
}

// Runs the logo window as the main window does; a stuck window fails instead of hanging.
int run_logo(const std::filesystem::path& video, bool& stuck) {
    LogoVideoWindow form(video, nullptr);
    stuck = false;
    QTimer::singleShot(20000, &form, [&] {
        stuck = true;
        form.done(-1);
    });
    return form.exec();
}

TEST(LogoVideoWindow, ClosesAfterTheVideoEndsOrAfterItsErrorIsDismissed) {
    testing_support::FakeMessageBoxes boxes;
    bool stuck = false;
    EXPECT_EQ(run_logo(DASOM_PROGRAM_DIR "/logo.avi", stuck), QDialog::Accepted);
    EXPECT_FALSE(stuck);
    EXPECT_TRUE(boxes.errors.isEmpty()) << boxes.errors.join(u'\n').toStdString();

    testing_support::TempFolder folder;
    folder.write_bytes("logo.avi", "RIFF but not a video at all");
    for (const auto& video : {folder / "missing.avi", folder / "logo.avi"}) {
        boxes.errors.clear();
        EXPECT_EQ(run_logo(video, stuck), QDialog::Rejected);
        EXPECT_FALSE(stuck);
        ASSERT_EQ(boxes.errors.size(), 1);
        EXPECT_TRUE(boxes.errors[0].startsWith(QStringLiteral("logo.avi를 재생할 수 없습니다.")));
    }
}

TEST(LogoVideoWindow, AClickClosesItAndSoDoesAMediaLayerThatNeverTellsTheEnd) {
    testing_support::FakeMessageBoxes boxes;
    bool stuck = false;
    QElapsedTimer clock;
    {
        LogoVideoWindow form(DASOM_PROGRAM_DIR "/logo.avi", nullptr);
        QTimer::singleShot(300, &form, [&] {
            QTest::mouseClick(form.findChild<QWidget*>(QStringLiteral("Panel1")), Qt::LeftButton);
        });
        QTimer::singleShot(20000, &form, [&] {
            stuck = true;
            form.done(-1);
        });
        clock.start();
        EXPECT_EQ(form.exec(), QDialog::Accepted);
        EXPECT_FALSE(stuck);
        EXPECT_LT(clock.elapsed(), 1500);
    }
    {
        // Once the clip's length is known the player falls silent: no end ever comes.
        LogoVideoWindow form(DASOM_PROGRAM_DIR "/logo.avi", nullptr);
        auto* player = form.findChild<QMediaPlayer*>(QStringLiteral("logo_player"));
        ASSERT_NE(player, nullptr);
        qint64 length = 0;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (player->duration() <= 0) return;
            length = player->duration();
            player->blockSignals(true);
            watch.stop();
        });
        watch.start(1);
        QTimer::singleShot(20000, &form, [&] {
            stuck = true;
            form.done(-1);
        });
        clock.start();
        EXPECT_EQ(form.exec(), QDialog::Accepted);
        EXPECT_FALSE(stuck);
        EXPECT_GT(length, 0);
        EXPECT_GE(clock.elapsed(), length);
        EXPECT_LT(clock.elapsed(), length + LogoVideoWindow::kLateMs + 1000);
        EXPECT_TRUE(boxes.errors.isEmpty());
    }
}

TEST(LogoVideoWindow, PlaysOnceAfterTheFirstShowOnly) {
    testing_support::TempFolder folder;
    testing_support::FakeMessageBoxes boxes;
    folder.write("dasom.ini", "[일반정보]\n처음실행=0\nTrayStart=0\n배경음악=0\n");
    folder.write_bytes("logo.avi", shipped("logo.avi"));
    // The program loads the logo window from its module; here it is linked in.
    shell::set_logo_window([](const std::filesystem::path& video, QWidget* parent) {
        LogoVideoWindow form(video, parent);
        form.exec();
    });
    MainWindow window(folder.path());
    int logos = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* logo = qobject_cast<LogoVideoWindow*>(QApplication::activeModalWidget())) {
            ++logos;
            logo->reject();
        }
    });
    watch.start(5);
    window.show();
    QTest::qWait(100);
    window.hide();
    window.show();
    QTest::qWait(100);
    EXPECT_EQ(logos, 1);
    shell::set_logo_window(nullptr);
}

}  // namespace
