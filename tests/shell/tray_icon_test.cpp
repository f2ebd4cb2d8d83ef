// The tray icon where the desktop has none (as under offscreen): it says so once and the
// window minimises to the task bar and comes back from there.

#include "shell/tray_icon.h"

#include <QMainWindow>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>

#include <gtest/gtest.h>

#include "shell/fake_dialogs.h"

namespace {

TEST(TrayIcon, WithoutANotificationAreaTheTaskBarTakesOver) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    shell_test::FakeDialogs boxes;
    QMainWindow window;
    QMenu popup(&window);
    TTrayIcon tray(&window, &popup, &window);
    EXPECT_FALSE(tray.available());
    EXPECT_EQ(boxes.errors, QStringList{QStringLiteral("트레이 아이콘을 생성할 수 없습니다 !")});

    window.show();
    QTest::qWait(10);
    tray.HideApplication();
    EXPECT_TRUE(window.isMinimized());
    tray.HideApplication();
    tray.ShowApplication();
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(boxes.errors.size(), 1);
}

}  // namespace
