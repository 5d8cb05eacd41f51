// Which of Qt's window-system plugins the program asks for at start.
//
// In a Wayland session Qt 6.4 draws the window's frame itself: it always
// offers minimise and maximise there, whatever the window asks for, and a
// Wayland client cannot place its window, so it cannot stand centred.
// Through an X server (Xwayland) the window manager offers the close box
// only and honours the asked-for position, as on X11.
#pragma once

#include <string>

namespace pigmo::runtime::qt {

// What the environment tells of the session; an unset variable is empty.
struct Session {
  std::string qt_qpa_platform;  // QT_QPA_PLATFORM: the user's own choice
  std::string display;          // DISPLAY: an X server, maybe Xwayland
  std::string wayland_display;  // WAYLAND_DISPLAY
  std::string session_type;     // XDG_SESSION_TYPE
};

// The QT_QPA_PLATFORM to set before the application starts, or empty to
// leave Qt's own choice. In a Wayland session with an X server named, X11
// comes first and Wayland after it: Qt takes the first plugin that can
// connect, so the program still opens where the X server does not answer.
// The user's own setting always stands.
std::string PlatformToAsk(const Session& session);

}  // namespace pigmo::runtime::qt
