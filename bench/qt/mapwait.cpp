// pigmo_mapwait PROGRAM [ARGS...]: times PROGRAM from just before fork()
// to the MapNotify of its window captioned "Pigmo" (the root window is
// watched before the start), then, 500 ms later with the first paint done,
// reads VmRSS and VmHWM from /proc, kills it and adds up the CPU time of
// all its threads, a steadier companion to the clock on a loaded machine.
// Prints: startup_us=<n> rss_kb=<n> hwm_kb=<n> cpu_us=<n>. Exit status 2
// when no window was mapped within 60 s, 1 on other failures.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Qt writes the caption to _NET_WM_NAME as UTF-8; other programs may write
// only WM_NAME.
bool CaptionedPigmo(Display* display, Window window) {
  for (const Atom property : {XInternAtom(display, "_NET_WM_NAME", False), Atom{XA_WM_NAME}}) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, window, property, 0, 64, False, AnyPropertyType, &type, &format, &count, &after, &data);
    const bool pigmo = data && std::string(reinterpret_cast<char*>(data), count) == "Pigmo";
    if (data) XFree(data);
    if (pigmo) return true;
  }
  return false;
}

long StatusKb(pid_t pid, const std::string& field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(field + ":", 0) == 0) return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
  }
  return -1;
}

// Ends the program; returns the CPU time it used in all, in microseconds.
long long Stop(pid_t pid) {
  rusage usage{};
  kill(pid, SIGKILL);
  wait4(pid, nullptr, 0, &usage);
  const auto us = [](const timeval& t) { return t.tv_sec * 1000000LL + t.tv_usec; };
  return us(usage.ru_utime) + us(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
  Display* display = argc > 1 ? XOpenDisplay(nullptr) : nullptr;
  if (!display) {
    std::fprintf(stderr, "usage: pigmo_mapwait PROGRAM [ARGS...] (on an X display)\n");
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid < 0) return 1;
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execvp(argv[1], argv + 1);
    _exit(127);
  }

  const auto deadline = start + std::chrono::seconds(60);
  Clock::time_point mapped{};
  while (mapped == Clock::time_point{}) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      const auto seen = Clock::now();
      if (event.type == MapNotify && !event.xmap.override_redirect && CaptionedPigmo(display, event.xmap.window)) {
        mapped = seen;
        break;
      }
    }
    if (mapped != Clock::time_point{}) break;
    if (Clock::now() > deadline || waitpid(pid, nullptr, WNOHANG) == pid) {
      std::fprintf(stderr, "pigmo_mapwait: no window mapped\n");
      Stop(pid);
      return 2;
    }
    pollfd p{ConnectionNumber(display), POLLIN, 0};
    poll(&p, 1, 100);
  }

  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const long rss = StatusKb(pid, "VmRSS");
  const long hwm = StatusKb(pid, "VmHWM");
  const long long cpu_us = Stop(pid);
  XCloseDisplay(display);
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(mapped - start).count();
  std::printf("startup_us=%lld rss_kb=%ld hwm_kb=%ld cpu_us=%lld\n", static_cast<long long>(us), rss, hwm, cpu_us);
  return 0;
}
