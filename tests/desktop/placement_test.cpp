// The stored window placement under a real window manager (openbox under Xvfb), on every way a
// run can start and end: whatever the path, three runs in a row leave the placement they found.
// Run by run_on_desktop.sh, once with a notification area (trayer) and once without.

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "shell/window/main_window.h"
#include "shell/window/tray_icon.h"
#include "support/fake_message_boxes.h"
#include "support/temp_folder.h"

using shell::MainWindow;

namespace {

// Long enough for the window manager to frame, place and unframe the window.
constexpr int kSettle = 1200;  // ms

struct Path {
    const char* name;
    const char* settings;  // besides 처음실행=0
    std::function<void(MainWindow&)> run;
};

void settle() { QTest::qWait(kSettle); }

const Path kPaths[] = {
    {"tray start, ended from the tray", "", [](MainWindow&) {}},
    {"tray start, brought back, Escape, ended", "",
     [](MainWindow& window) {
         window.tray_icon()->show_application();
         settle();
         window.minimise();
         settle();
     }},
    {"shown, Escape, ended", "TrayStart=0\n",
     [](MainWindow& window) {
         window.minimise();
         settle();
     }},
    {"shown, maximised, ended", "TrayStart=0\n",
     [](MainWindow& window) {
         window.showMaximized();
         settle();
     }},
    {"shown, moved by the user, ended", "TrayStart=0\n",
     [](MainWindow& window) {
         window.move(300, 200);
         settle();
     }},
};

TEST(Placement, ThreeRunsLeaveTheStoredPlacementAsTheyFoundIt) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    testing_support::FakeMessageBoxes boxes;  // the no-tray notice, when there is no tray
    for (const Path& path : kPaths) {
        testing_support::TempFolder folder;
        folder.write("dasom.ini", std::string("[일반정보]\n처음실행=0\nviewlogo=0\n") +
                                      path.settings +
                                      "[Window]\nLeft=200\nTop=110\nWidth=430\nHeight=320\n");
        const bool moved = std::string(path.name).find("moved") != std::string::npos;
        for (int run = 1; run <= 3; ++run) {
            {
                MainWindow window(folder.path());
                window.show();
                settle();
                path.run(window);
                window.close();
            }
            const std::string saved = folder.read("dasom.ini");
            const char* expected = moved ? "Left=300\nTop=200\nWidth=430\nHeight=320"
                                         : "Left=200\nTop=110\nWidth=430\nHeight=320";
            EXPECT_NE(saved.find(expected), std::string::npos)
                << path.name << ", run " << run << (QSystemTrayIcon::isSystemTrayAvailable()
                                                       ? " (tray)"
                                                       : " (no tray)")
                << ":\n"
                << saved;
        }
    }
}

}  // namespace
