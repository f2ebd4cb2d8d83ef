#pragma once
// Which of Qt's window-system platforms the program asks for. The window places itself and the
// animation captures the screen, which a native Wayland session does not allow. Where a Wayland
// session also offers X11 (DISPLAY is set) the program asks for Qt's xcb platform, unless the user
// chose a platform (QT_QPA_PLATFORM, or -platform on the command line). Without X11 it runs
// natively and leaves its window's position to the compositor.

#include <string>
#include <vector>

namespace shell {

// The arguments to hand to QApplication: `arguments` (the program name first) with
// "-platform xcb" added when the rule above asks for it. A null variable counts as not set.
std::vector<std::string> platform_arguments(std::vector<std::string> arguments,
                                            const char* wayland_display,
                                            const char* session_type, const char* display,
                                            const char* qpa_platform);

// False where nothing names a window system to connect to: neither DISPLAY nor WAYLAND_DISPLAY
// is set, the session is not a Wayland one, and the user chose no platform. Qt would abort
// there; the program says so in Korean instead (over ssh, say).
bool window_system_named(const std::vector<std::string>& arguments, const char* wayland_display,
                         const char* session_type, const char* display, const char* qpa_platform);

// False where the window system neither reports nor takes a window's position (native Wayland
// reports 0,0): the stored position is then neither applied nor replaced. Needs the application
// object.
bool window_positions_known();

}  // namespace shell
