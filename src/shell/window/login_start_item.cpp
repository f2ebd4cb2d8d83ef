#include "shell/window/login_start_item.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include "settings/login_start.h"
#include "shell/error_guard.h"

namespace shell {

QAction* add_login_start_item(QMenu* menu, QWidget* window,
                              const std::filesystem::path& program_folder) {
    auto* item = new QAction(QStringLiteral("로그인할 때 시작"), menu);
    item->setObjectName(QStringLiteral("login_start"));
    item->setCheckable(true);
    menu->addAction(item);

    const std::filesystem::path folder = settings::autostart_folder();
    // Without a home folder there is nowhere to put the entry.
    item->setEnabled(!folder.empty());
    auto show_state = [item, folder] {
        item->setChecked(!folder.empty() && settings::login_entry_present(folder));
    };
    show_state();
    QObject::connect(menu, &QMenu::aboutToShow, item, show_state);
    QObject::connect(item, &QAction::triggered, item, [=](bool on) {
        guarded(window, [&] {
            if (!on) return settings::remove_login_entry(folder);
            const std::filesystem::path program(
                QCoreApplication::applicationFilePath().toStdU16String());
            settings::write_login_entry(folder, settings::login_command(program, program_folder));
        });
        show_state();
    });
    return item;
}

}  // namespace shell
