// Whether the program can open a window, decided before Qt would abort trying.
#include "system/Display.h"

#include <gtest/gtest.h>

TEST(Display, UsableOnlyWhereAWindowCanOpen)
{
    const struct {
        const char* platform;
        const char* display;
        const char* wayland;
        int answering; // the local X display whose server answers; -1 none
        bool usable;
    } cases[] = {
        {"", "", "", -1, false},               // nothing at all
        {"", ":99", "", -1, false},            // a display nobody serves
        {"", ":99", "", 99, true},
        {"", ":99.0", "", 99, true},           // with a screen number
        {"", "unix:7", "", 7, true},
        {"", ":x", "", 0, false},              // not a display name
        {"", "other.host:0", "", -1, true},    // remote: Qt's to try
        {"", "", "wayland-0", -1, true},
        {"xcb", "", "wayland-0", -1, false},   // X11 asked for, none given
        {"xcb:nomitshm", ":5", "", 5, true},   // platform options
        {"wayland", ":1", "", 1, false},
        {"wayland;xcb", "", "wayland-1", -1, true},
        {"offscreen", "", "", -1, true},       // needs no display
        {"minimal", ":3", "", -1, true},
    };
    for (const auto& c : cases) {
        const sys::DisplaySettings settings{c.platform, c.display, c.wayland};
        EXPECT_EQ(sys::displayUsable(settings, [&](int n) { return n == c.answering; }), c.usable)
            << c.platform << " / " << c.display << " / " << c.wayland;
    }
    // Nothing serves display 65000 here.
    EXPECT_FALSE(sys::localXServerAnswers(65000));
}
