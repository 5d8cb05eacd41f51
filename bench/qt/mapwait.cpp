// Starts a program and times it until its top-level window is mapped on
// the X server, then reports its memory once the window is up.
//
//   pigmo_mapwait [--caption TEXT] [--settle-ms N] [--timeout-ms N] -- PROGRAM [ARGS...]
//
// The root window is watched with SubstructureNotifyMask before the program
// starts, so the MapNotify of its first top-level window (not an
// override-redirect one; with --caption, one whose _NET_WM_NAME or WM_NAME
// is TEXT) is seen as the server processes the map. The clock runs from
// just before fork() to the moment that event is read. After --settle-ms
// (default 500) VmRSS and VmHWM are read from /proc/PID/status, and the
// program is ended with SIGTERM (SIGKILL if it lingers). The CPU time it
// used in all (it sits idle after its first paint, and SIGTERM ends a Qt
// program without any clean-up) is a steadier companion to the clock time
// on a loaded machine.
//
// Prints one line: startup_us=<n> rss_kb=<n> hwm_kb=<n> cpu_us=<n>
// Exit status 0 on success, 2 on a time-out, 1 on other failures.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::optional<std::string> WindowName(Display* display, Window window) {
  Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, net_wm_name, 0, 1024, False, utf8, &type, &format,
                         &count, &after, &data) == Success &&
      data) {
    std::string name(reinterpret_cast<char*>(data), count);
    XFree(data);
    if (type == utf8) return name;
  }
  char* legacy = nullptr;
  if (XFetchName(display, window, &legacy) && legacy) {
    std::string name(legacy);
    XFree(legacy);
    return name;
  }
  return std::nullopt;
}

long StatusKb(pid_t pid, const char* field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
  }
  return -1;
}

// Ends the program; returns the CPU time it used in all (user and system,
// all threads), in microseconds.
long long Stop(pid_t pid) {
  kill(pid, SIGTERM);
  rusage usage{};
  bool ended = false;
  for (int i = 0; i < 200 && !ended; ++i) {
    ended = wait4(pid, nullptr, WNOHANG, &usage) == pid;
    if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!ended) {
    kill(pid, SIGKILL);
    wait4(pid, nullptr, 0, &usage);
  }
  const auto us = [](const timeval& t) { return t.tv_sec * 1000000LL + t.tv_usec; };
  return us(usage.ru_utime) + us(usage.ru_stime);
}

int Usage() {
  std::fprintf(stderr,
               "usage: pigmo_mapwait [--caption TEXT] [--settle-ms N] [--timeout-ms N] -- PROGRAM "
               "[ARGS...]\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<std::string> caption;
  long settle_ms = 500;
  long timeout_ms = 30000;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--") {
      ++i;
      break;
    }
    if (i + 1 >= argc) return Usage();
    if (arg == "--caption") {
      caption = argv[++i];
    } else if (arg == "--settle-ms") {
      settle_ms = std::strtol(argv[++i], nullptr, 10);
    } else if (arg == "--timeout-ms") {
      timeout_ms = std::strtol(argv[++i], nullptr, 10);
    } else {
      return Usage();
    }
  }
  if (i >= argc) return Usage();

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "pigmo_mapwait: cannot open the display\n");
    return 1;
  }
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid < 0) return 1;
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
    }
    execvp(argv[i], argv + i);
    _exit(127);
  }

  const int fd = ConnectionNumber(display);
  const auto deadline = start + std::chrono::milliseconds(timeout_ms);
  std::optional<Clock::time_point> mapped;
  while (!mapped) {
    while (!mapped && XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != MapNotify || event.xmap.override_redirect) continue;
      const auto seen = Clock::now();
      if (caption) {
        const std::optional<std::string> name = WindowName(display, event.xmap.window);
        if (!name || *name != *caption) continue;
      }
      mapped = seen;
    }
    if (mapped) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0 || waitpid(pid, nullptr, WNOHANG) == pid) {
      std::fprintf(stderr, "pigmo_mapwait: no window mapped\n");
      Stop(pid);
      return 2;
    }
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, static_cast<int>(std::min<long>(left.count(), 100)));
  }

  std::this_thread::sleep_for(std::chrono::milliseconds(settle_ms));
  const long rss = StatusKb(pid, "VmRSS");
  const long hwm = StatusKb(pid, "VmHWM");
  const long long cpu_us = Stop(pid);
  XCloseDisplay(display);
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(*mapped - start).count();
  std::printf("startup_us=%lld rss_kb=%ld hwm_kb=%ld cpu_us=%lld\n", static_cast<long long>(us), rss,
              hwm, cpu_us);
  return 0;
}
