// Runs the real pigmo program on a private Xvfb server and checks its
// window from outside, the way a window manager sees it: caption, mapped
// state, client size, size hints, frame decorations, position and icon.
// No window manager runs on the bare server, so the client area is the
// whole X window.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// How long the server and the program may take to come up on a loaded machine.
constexpr auto kStartLimit = 30s;
constexpr auto kPollStep = 50ms;

std::optional<std::string> FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// A child process that is ended (SIGTERM, then SIGKILL) when this goes.
class Child {
 public:
  Child(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Keep the test output readable: the children's chatter goes nowhere.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Child() { Stop(); }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return pid_ > 0; }
  bool Running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return false;
    }
    return true;
  }
  void Stop() {
    if (!Running()) return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 100; ++i) {
      if (!Running()) return;
      std::this_thread::sleep_for(kPollStep);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

struct Output {
  int status = -1;
  std::string text;
};

// Runs a shell command and returns its exit status and standard output.
Output RunCommand(const std::string& command) {
  Output out;
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.text.append(buffer, n);
  const int status = pclose(pipe);
  out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

template <class Predicate>
bool WaitFor(Predicate ready) {
  const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (ready()) return true;
    std::this_thread::sleep_for(kPollStep);
  }
  return false;
}

std::vector<std::string> Environment(const std::string& display) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry(*e);
    if (entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("QT_QPA_PLATFORM=", 0) == 0 ||
        entry.rfind("WAYLAND_DISPLAY=", 0) == 0 || entry.rfind("QT_SCALE_FACTOR", 0) == 0 ||
        entry.rfind("QT_SCREEN_SCALE_FACTORS=", 0) == 0) {
      continue;
    }
    env.push_back(entry);
  }
  env.push_back("DISPLAY=" + display);
  env.push_back("QT_QPA_PLATFORM=xcb");
  return env;
}

std::optional<int> Field(const std::string& text, const std::string& pattern) {
  std::smatch match;
  if (!std::regex_search(text, match, std::regex(pattern))) return std::nullopt;
  return std::stoi(match[1].str());
}

class RealWindowTest : public ::testing::Test {
 protected:
  static constexpr int kScreenWidth = 1024;
  static constexpr int kScreenHeight = 768;

  void SetUp() override {
    const auto xvfb = FindOnPath("Xvfb");
    if (!xvfb) GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_TRUE(FindOnPath("xwininfo") && FindOnPath("xprop")) << "x11-utils is missing";

    for (int n = 91; n <= 99 && !server_; ++n) {
      if (Exists("/tmp/.X" + std::to_string(n) + "-lock") ||
          Exists("/tmp/.X11-unix/X" + std::to_string(n))) {
        continue;
      }
      const std::string display = ":" + std::to_string(n);
      const std::string screen = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
      auto server = std::make_unique<Child>(
          std::vector<std::string>{*xvfb, display, "-screen", "0", screen, "-nolisten", "tcp"},
          Environment(display));
      if (!server->Started()) continue;
      const bool answers = WaitFor([&] {
        return !server->Running() || RunCommand("xwininfo -root -display " + display).status == 0;
      });
      if (answers && server->Running()) {
        server_ = std::move(server);
        display_ = display;
      }
    }
    ASSERT_TRUE(server_) << "no Xvfb could be started on :91 to :99";

    program_ = std::make_unique<Child>(std::vector<std::string>{PIGMO_EXECUTABLE}, Environment(display_));
    ASSERT_TRUE(program_->Started()) << "could not start " << PIGMO_EXECUTABLE;
    const bool mapped = WaitFor([&] {
      window_ = FindMappedWindow("Pigmo");
      return window_.has_value() || !program_->Running();
    });
    ASSERT_TRUE(mapped && window_) << "no mapped window with the caption \"Pigmo\" appeared";
  }

  void TearDown() override {
    program_.reset();
    server_.reset();
  }

  // The id of a viewable window with exactly this WM_NAME.
  std::optional<std::string> FindMappedWindow(const std::string& caption) {
    const Output tree = RunCommand("xwininfo -root -tree -display " + display_);
    std::regex line("(0x[0-9a-f]+) \"" + caption + "\":");
    for (auto it = std::sregex_iterator(tree.text.begin(), tree.text.end(), line);
         it != std::sregex_iterator(); ++it) {
      const std::string id = (*it)[1].str();
      if (Info(id).find("Map State: IsViewable") != std::string::npos) return id;
    }
    return std::nullopt;
  }
  std::string Info(const std::string& id) {
    return RunCommand("xwininfo -display " + display_ + " -id " + id).text;
  }
  std::string Property(const std::string& names) {
    return RunCommand("xprop -display " + display_ + " -id " + *window_ + " " + names).text;
  }

  std::unique_ptr<Child> server_;
  std::unique_ptr<Child> program_;
  std::string display_;
  std::optional<std::string> window_;
};

TEST_F(RealWindowTest, ShowsAFixedSizeWindowWithTheCaptionAndClientArea) {
  const std::string info = Info(*window_);
  EXPECT_EQ(Field(info, R"(Width: (\d+))"), 243) << info;
  EXPECT_EQ(Field(info, R"(Height: (\d+))"), 237) << info;

  const std::string names = Property("WM_NAME _NET_WM_NAME");
  EXPECT_NE(names.find("WM_NAME(STRING) = \"Pigmo\""), std::string::npos) << names;
  EXPECT_NE(names.find("_NET_WM_NAME(UTF8_STRING) = \"Pigmo\""), std::string::npos) << names;

  const std::string hints = Property("WM_NORMAL_HINTS");
  const auto min_w = Field(hints, R"(minimum size: (\d+) by \d+)");
  const auto min_h = Field(hints, R"(minimum size: \d+ by (\d+))");
  const auto max_w = Field(hints, R"(maximum size: (\d+) by \d+)");
  const auto max_h = Field(hints, R"(maximum size: \d+ by (\d+))");
  ASSERT_TRUE(min_w && min_h && max_w && max_h) << hints;
  EXPECT_EQ(*min_w, *max_w);
  EXPECT_EQ(*min_h, *max_h);
  EXPECT_EQ(*min_w, 243);
  EXPECT_EQ(*min_h, 237);
  EXPECT_TRUE(program_->Running());
}

TEST_F(RealWindowTest, TitleBarHasNoMinimiseOrMaximiseAndTheWindowIsANormalTopLevel) {
  // _MOTIF_WM_HINTS = flags, functions, decorations, ...
  const std::string motif = Property("_MOTIF_WM_HINTS");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(motif, m, std::regex(R"(= (0x[0-9a-f]+|\d+), (0x[0-9a-f]+|\d+), (0x[0-9a-f]+|\d+))")))
      << motif;
  const unsigned long flags = std::stoul(m[1].str(), nullptr, 0);
  const unsigned long functions = std::stoul(m[2].str(), nullptr, 0);
  const unsigned long decorations = std::stoul(m[3].str(), nullptr, 0);
  constexpr unsigned long kHasFunctions = 1, kHasDecorations = 2;
  constexpr unsigned long kFuncAll = 1, kFuncMinimise = 8, kFuncMaximise = 16, kFuncClose = 32;
  constexpr unsigned long kDecorAll = 1, kDecorTitle = 8, kDecorMenu = 16, kDecorMinimise = 32,
                          kDecorMaximise = 64;
  ASSERT_TRUE(flags & kHasFunctions);
  ASSERT_TRUE(flags & kHasDecorations);
  EXPECT_FALSE(functions & (kFuncAll | kFuncMinimise | kFuncMaximise)) << motif;
  EXPECT_TRUE(functions & kFuncClose) << motif;
  EXPECT_FALSE(decorations & (kDecorAll | kDecorMinimise | kDecorMaximise)) << motif;
  EXPECT_TRUE(decorations & kDecorTitle) << motif;
  EXPECT_TRUE(decorations & kDecorMenu) << motif;

  const std::string type = Property("_NET_WM_WINDOW_TYPE _NET_WM_STATE WM_TRANSIENT_FOR");
  EXPECT_NE(type.find("_NET_WM_WINDOW_TYPE_NORMAL"), std::string::npos) << type;
  EXPECT_EQ(type.find("_NET_WM_STATE_SKIP_TASKBAR"), std::string::npos) << type;
  EXPECT_EQ(type.find("WM_TRANSIENT_FOR(WINDOW)"), std::string::npos) << type;
}

TEST_F(RealWindowTest, WindowIsCentredOnTheScreen) {
  const std::string info = Info(*window_);
  const auto x = Field(info, R"(Absolute upper-left X:\s+(-?\d+))");
  const auto y = Field(info, R"(Absolute upper-left Y:\s+(-?\d+))");
  ASSERT_TRUE(x && y) << info;
  EXPECT_NEAR(*x, (kScreenWidth - 243) / 2, 1);
  EXPECT_NEAR(*y, (kScreenHeight - 237) / 2, 1);
}

TEST_F(RealWindowTest, WindowCarriesTheProgramIcon) {
  if (PIGMO_ICON_COUNT == 0) GTEST_SKIP() << "the build has no icon images";
  const std::string icon = Property("_NET_WM_ICON");
  for (const char* size : {"Icon (16 x 16)", "Icon (32 x 32)", "Icon (48 x 48)"}) {
    EXPECT_NE(icon.find(size), std::string::npos) << size;
  }
}

}  // namespace
