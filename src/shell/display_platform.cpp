#include "shell/display_platform.h"

#include <QGuiApplication>

#include <algorithm>
#include <string_view>

namespace shell {

namespace {

bool set(const char* variable) { return variable && *variable; }

}  // namespace

std::vector<std::string> platform_arguments(std::vector<std::string> arguments,
                                            const char* wayland_display,
                                            const char* session_type, const char* display,
                                            const char* qpa_platform) {
    const bool wayland =
        set(wayland_display) || (set(session_type) && std::string_view(session_type) == "wayland");
    const bool chosen =
        set(qpa_platform) || std::any_of(arguments.begin(), arguments.end(), [](const auto& arg) {
            return arg == "-platform" || arg == "--platform";
        });
    if (wayland && set(display) && !chosen) {
        arguments.insert(arguments.begin() + (arguments.empty() ? 0 : 1), {"-platform", "xcb"});
    }
    return arguments;
}

bool window_positions_known() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace shell
