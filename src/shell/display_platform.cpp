#include "shell/display_platform.h"

#include <QGuiApplication>

#include <algorithm>
#include <string_view>

namespace shell {

namespace {

bool set(const char* variable) { return variable && *variable; }

bool wayland_session(const char* wayland_display, const char* session_type) {
    return set(wayland_display) || (set(session_type) && std::string_view(session_type) == "wayland");
}

bool platform_chosen(const std::vector<std::string>& arguments, const char* qpa_platform) {
    return set(qpa_platform) || std::any_of(arguments.begin(), arguments.end(), [](const auto& arg) {
               return arg == "-platform" || arg == "--platform";
           });
}

}  // namespace

std::vector<std::string> platform_arguments(std::vector<std::string> arguments,
                                            const char* wayland_display,
                                            const char* session_type, const char* display,
                                            const char* qpa_platform) {
    if (wayland_session(wayland_display, session_type) && set(display) &&
        !platform_chosen(arguments, qpa_platform)) {
        arguments.insert(arguments.begin() + (arguments.empty() ? 0 : 1), {"-platform", "xcb"});
    }
    return arguments;
}

bool window_system_named(const std::vector<std::string>& arguments, const char* wayland_display,
                         const char* session_type, const char* display, const char* qpa_platform) {
    return set(display) || wayland_session(wayland_display, session_type) ||
           platform_chosen(arguments, qpa_platform);
}

bool window_positions_known() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace shell
