#include "runtime/qt/platform_choice.h"

#include <gtest/gtest.h>

namespace pigmo::runtime::qt {
namespace {

TEST(PlatformToAsk, ThroughXwaylandUnlessTheUserChoseOrNoXServerIsNamed) {
  struct Case {
    Session session;
    const char* asked;
  };
  const Case cases[] = {
      {{"", ":1", "wayland-0", "wayland"}, "xcb;wayland"},
      {{"", ":1", "", "wayland"}, "xcb;wayland"},  // the session type alone says Wayland
      {{"", ":1", "wayland-0", ""}, "xcb;wayland"},
      {{"wayland", ":1", "wayland-0", "wayland"}, ""},  // the user's own choice
      {{"", "", "wayland-0", "wayland"}, ""},           // no X server: Wayland it is
      {{"", ":0", "", "x11"}, ""},                      // X11 already
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlatformToAsk(c.session), c.asked)
        << "QT_QPA_PLATFORM=" << c.session.qt_qpa_platform << " DISPLAY=" << c.session.display
        << " WAYLAND_DISPLAY=" << c.session.wayland_display << " XDG_SESSION_TYPE=" << c.session.session_type;
  }
}

}  // namespace
}  // namespace pigmo::runtime::qt
