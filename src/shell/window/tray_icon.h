#pragma once
// The program's icon in the notification area. While it exists, minimising the window hides it
// from the task bar: only the tray icon is left, whose right click opens the tray menu and
// whose double click brings the window back.
//
// Where the desktop has no notification area the icon stays inert and the window minimises to
// the task bar as usual; the window has the icon say so the first time in a program folder. On desktops that speak the StatusNotifierItem protocol
// (no double click there) the menu is published with the icon and a click brings the window back.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

class QMenu;
class QWidget;

namespace shell {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    // `window` is the application's window, `popup` the tray menu (not owned). The icon is
    // put into the notification area by install().
    TrayIcon(QWidget* window, QMenu* popup, QObject* parent);
    ~TrayIcon() override;

    // Puts the icon into the notification area, if there is one; only the first call counts.
    // A window that starts shown calls it once it is up: asking the desktop for its tray takes
    // a few milliseconds the window need not wait for. Until then it minimises onto the task
    // bar. A start into the tray calls it before the window is first shown.
    void install();

    bool available() const { return icon_ != nullptr; }
    QString hint() const;

    // Says, once a run, that there is no notification area. Called when the window is first
    // shown, so that the box stands above it instead of being covered by it.
    void report_unavailable();

    // Minimise the application, every window of it, into the notification area, or onto the
    // task bar where there is none.
    void hide_application();
    // Back from the notification area: shown, restored, in front, with the windows that were
    // hidden with it.
    void show_application();

private:
    void activated(QSystemTrayIcon::ActivationReason reason);
    void show_menu();

    QWidget* window_;
    QMenu* popup_;
    QSystemTrayIcon* icon_ = nullptr;
    bool installed_ = false;
    bool status_notifier_ = false;
    bool unavailable_reported_ = false;
    // The program's other windows that went into the tray with the main window.
    QList<QPointer<QWidget>> hidden_with_it_;
};

}  // namespace shell
