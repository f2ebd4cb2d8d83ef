#include "shell/display_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

TEST(DisplayPlatform, XcbOnlyForAWaylandSessionWithX11AndNoChoiceOfTheUsers_NoneWithoutADisplay) {
    const Arguments plain{"dasom", "--folder", "d"};
    const Arguments xcb{"dasom", "-platform", "xcb", "--folder", "d"};
    struct Row {
        const char* wayland_display;
        const char* session_type;
        const char* display;
        const char* qpa_platform;
        Arguments arguments;
        Arguments expected;
        bool window_system = true;
    };
    const Row rows[] = {
        {"wayland-0", nullptr, ":0", nullptr, plain, xcb},
        {nullptr, "wayland", ":0", nullptr, plain, xcb},
        {"wayland-0", nullptr, nullptr, nullptr, plain, plain},  // no X11: native
        {"wayland-0", nullptr, "", nullptr, plain, plain},
        {nullptr, "x11", ":0", nullptr, plain, plain},  // plain X11: Qt's own choice
        {"wayland-0", nullptr, ":0", "wayland", plain, plain},
        {"wayland-0", nullptr, ":0", nullptr, {"dasom", "--platform", "wayland"},
         {"dasom", "--platform", "wayland"}},
        {nullptr, nullptr, nullptr, nullptr, plain, plain, false},  // over ssh: nothing to try
        {nullptr, "tty", "", nullptr, plain, plain, false},
        {nullptr, "wayland", nullptr, nullptr, plain, plain},  // the default socket is tried
        {nullptr, nullptr, nullptr, "offscreen", plain, plain},
        {nullptr, nullptr, nullptr, nullptr, {"dasom", "-platform", "vnc"},
         {"dasom", "-platform", "vnc"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(shell::platform_arguments(row.arguments, row.wayland_display, row.session_type,
                                            row.display, row.qpa_platform),
                  row.expected);
        EXPECT_EQ(shell::window_system_named(row.arguments, row.wayland_display, row.session_type,
                                             row.display, row.qpa_platform),
                  row.window_system);
    }
}

}  // namespace
