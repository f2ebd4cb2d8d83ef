#include "shell/window/tray_icon.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDialog>
#include <QMainWindow>
#include <QMenu>
#include <QWidget>

#include "shell/appearance.h"
#include "shell/message_boxes.h"

namespace shell {

namespace {

// Qt shows the icon through the StatusNotifierItem protocol where a desktop offers it (KDE
// Plasma; GNOME with the AppIndicator extension) and through the older X11 tray otherwise.
bool status_notifier_desktop() {
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

}  // namespace

TrayIcon::TrayIcon(QWidget* window, QMenu* popup, QObject* parent)
    : QObject(parent), window_(window), popup_(popup) {
    setObjectName(QStringLiteral("TrayIcon1"));
}

void TrayIcon::install() {
    if (installed_) return;
    installed_ = true;
    // No notification area: the window keeps the task bar, and says so once it is shown.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    icon_ = new QSystemTrayIcon(program_icon(), this);
    icon_->setToolTip(QStringLiteral("다솜 V1.0"));
    // No context menu of Qt's own: the tray menu opens only while the window is hidden. That
    // protocol knows no double click, and some of its desktops show only a menu the icon
    // publishes: there the menu is published and a click on the icon brings the window back.
    status_notifier_ = status_notifier_desktop();
    if (status_notifier_) icon_->setContextMenu(popup_);
    connect(icon_, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
    icon_->show();
}

TrayIcon::~TrayIcon() {
    if (icon_) icon_->hide();
}

QString TrayIcon::hint() const { return icon_ ? icon_->toolTip() : QString(); }

void TrayIcon::report_unavailable() {
    if (available() || unavailable_reported_) return;
    unavailable_reported_ = true;
    // A notice, not an error: the program goes on, on the task bar.
    message_boxes().message(window_, QStringLiteral("트레이 아이콘을 생성할 수 없습니다 !"));
}

void TrayIcon::hide_application() {
    // The program's other windows (an open editor, say) go with the main window.
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window_ || !other->isVisible() || other->isMinimized()) continue;
        // Only the program's own windows: not menus, tool tips or the tray icon's window.
        if (!qobject_cast<QMainWindow*>(other) && !qobject_cast<QDialog*>(other)) continue;
        if (available()) {
            hidden_with_it_.append(other);
            other->hide();
        } else {
            other->showMinimized();
        }
    }
    if (!available()) {
        window_->showMinimized();
        return;
    }
    window_->hide();
}

void TrayIcon::show_application() {
    window_->showNormal();
    for (const QPointer<QWidget>& other : std::as_const(hidden_with_it_)) {
        if (other) other->show();
    }
    hidden_with_it_.clear();
    window_->raise();
    window_->activateWindow();
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Context:
        show_menu();
        break;
    case QSystemTrayIcon::DoubleClick:
        show_application();
        break;
    case QSystemTrayIcon::Trigger:
        if (status_notifier_ && !window_->isVisible()) show_application();
        break;
    default:  // elsewhere a left click does nothing
        break;
    }
}

void TrayIcon::show_menu() {
    if (!popup_ || window_->isVisible()) return;
    popup_->popup(QCursor::pos());
}

}  // namespace shell
