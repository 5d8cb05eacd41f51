#include "runtime/qt/platform_choice.h"

namespace pigmo::runtime::qt {

std::string PlatformToAsk(const Session& session) {
  if (!session.qt_qpa_platform.empty() || session.display.empty()) return {};
  const bool wayland = !session.wayland_display.empty() || session.session_type == "wayland";
  return wayland ? "xcb;wayland" : std::string();
}

}  // namespace pigmo::runtime::qt
