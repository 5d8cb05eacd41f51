// Counts what one edit of Text1 really writes, so that the keystroke floor
// replays neither more nor less. QLineEdit::setText, QWidget::setPalette
// and QLineEdit::setCursorPosition are wrapped for this program only: our
// definitions take the calls made from this executable (the Qt backend is
// linked in statically) and pass them on to Qt's own. The real flow and
// the floor run a full cycle each; their logs must agree write for write.
//
// Prints, for scripts/bench:
//   census: setText=<per edit> colour=<per edit> caret=<per edit> match=<yes|no>
//
// With --edits N it then makes N more edits with each rig, for counting
// instructions under callgrind: the inclusive costs of FlowRig::Edit() and
// FloorRig::Edit() divided by their calls (N plus the 2 x 9 of the census
// and the warm-up) are what one edit costs each way.
#include <dlfcn.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "keystroke_rig.h"

namespace {

bool g_recording = false;
std::vector<std::string> g_log;  // setText and colour writes, in order
int g_carets = 0;                // caret placements by the program

template <typename Fn>
Fn Real(const char* symbol) {
  void* fn = dlsym(RTLD_NEXT, symbol);
  if (!fn) {
    std::fprintf(stderr, "census: %s not found\n", symbol);
    std::abort();
  }
  return reinterpret_cast<Fn>(fn);
}

}  // namespace

void QLineEdit::setText(const QString& text) {
  using Fn = void (*)(QLineEdit*, const QString&);
  static const Fn real = Real<Fn>("_ZN9QLineEdit7setTextERK7QString");
  if (g_recording) {
    g_log.push_back(objectName().toStdString() + ".setText(\"" + text.toStdString() + "\")");
  }
  real(this, text);
}

void QLineEdit::setCursorPosition(int position) {
  using Fn = void (*)(QLineEdit*, int);
  static const Fn real = Real<Fn>("_ZN9QLineEdit17setCursorPositionEi");
  if (g_recording) ++g_carets;
  real(this, position);
}

void QWidget::setPalette(const QPalette& palette) {
  using Fn = void (*)(QWidget*, const QPalette&);
  static const Fn real = Real<Fn>("_ZN7QWidget10setPaletteERK8QPalette");
  if (g_recording && qobject_cast<QLabel*>(this)) {
    g_log.push_back(objectName().toStdString() + ".colour(" +
                    palette.color(QPalette::Window).name().toStdString() + ")");
  }
  real(this, palette);
}

namespace {

template <typename Rig>
std::vector<std::string> Record(Rig& rig, bool print) {
  std::vector<std::string> all;
  for (int k = 0; k < pigmo::bench::kCycleLength; ++k) {
    g_log.clear();
    g_recording = true;
    rig.Edit();
    g_recording = false;
    if (print && k == 0) {
      std::printf("census: one edit of Text1 (select all, type %c) writes:\n",
                  pigmo::bench::CycleDigit(k));
      for (const auto& line : g_log) std::printf("census:   %s\n", line.c_str());
    }
    all.insert(all.end(), g_log.begin(), g_log.end());
    all.push_back("-- Text1=" + rig.Text("Text1").toStdString() + " Text4=" +
                  rig.Text("Text4").toStdString() + " Text7=" + rig.Text("Text7").toStdString());
  }
  return all;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int edits = 0;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--edits") edits = std::atoi(argv[i + 1]);
  }
  QApplication app(argc, argv);

  pigmo::bench::FlowRig flow;
  g_carets = 0;
  const std::vector<std::string> flow_log = Record(flow, true);
  const int flow_carets = g_carets;

  pigmo::bench::FloorRig floor;
  g_carets = 0;
  const std::vector<std::string> floor_log = Record(floor, false);

  int set_text = 0;
  int colour = 0;
  for (const auto& line : flow_log) {
    if (line.find(".setText(") != std::string::npos) ++set_text;
    if (line.find(".colour(") != std::string::npos) ++colour;
  }
  const bool match = flow_log == floor_log;
  if (!match) {
    std::printf("census: the floor differs from the flow\n");
    for (std::size_t i = 0; i < std::max(flow_log.size(), floor_log.size()); ++i) {
      std::printf("census:   %-50s | %s\n", i < flow_log.size() ? flow_log[i].c_str() : "",
                  i < floor_log.size() ? floor_log[i].c_str() : "");
    }
  }
  const double n = pigmo::bench::kCycleLength;
  std::printf("census: setText=%g colour=%g caret=%g match=%s\n", set_text / n, colour / n,
              flow_carets / n, match ? "yes" : "no");
  for (int i = 0; i < edits; ++i) flow.Edit();
  for (int i = 0; i < edits; ++i) floor.Edit();
  return match ? 0 : 1;
}
