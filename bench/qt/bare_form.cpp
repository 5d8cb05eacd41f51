#include "bare_form.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace pigmo::bench {

namespace {

enum class Kind { kEdit, kLabel, kButton };

struct Row {
  Kind kind;
  int number;  // Text<n>, Label<n>; 0 for the button
  int left, top, width, height;  // twips
  const char16_t* text;
  bool read_only;
  int max_length;
};

// Form1's controls in tab order.
constexpr Row kRows[] = {
    {Kind::kEdit, 1, 120, 360, 615, 285, u"255", false, 3},
    {Kind::kEdit, 2, 120, 1080, 615, 285, u"255", false, 3},
    {Kind::kEdit, 3, 120, 1800, 615, 285, u"255", false, 3},
    {Kind::kEdit, 8, 120, 2520, 615, 285, u"100", false, 3},
    {Kind::kEdit, 4, 840, 360, 1815, 285, u"1", true, 0},
    {Kind::kEdit, 5, 840, 1080, 1815, 285, u"1", true, 0},
    {Kind::kEdit, 6, 840, 1800, 1815, 285, u"1", true, 0},
    {Kind::kEdit, 9, 840, 2520, 1815, 285, u"1", true, 0},
    {Kind::kEdit, 7, 120, 3120, 3375, 285, u"[1,1,1,1]", false, 0},
    {Kind::kLabel, 1, 120, 120, 375, 255, u"Rot", false, 0},
    {Kind::kLabel, 2, 120, 840, 495, 255, u"Gr\u00FCn", false, 0},
    {Kind::kLabel, 3, 120, 1560, 495, 255, u"Blau", false, 0},
    {Kind::kLabel, 4, 2880, 360, 615, 2055, u"", false, 0},
    {Kind::kLabel, 5, 120, 2280, 615, 255, u"Alpha", false, 0},
    {Kind::kButton, 0, 2880, 2520, 615, 255, u"Info", false, 0},
};

int Px(int twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

}  // namespace

QFont BareFont() {
  const QString face = QStringLiteral("Verdana");
  QFont font(QFontDatabase::hasFamily(face) ? face : QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(8.25);
  font.setWeight(QFont::Bold);
  return font;
}

BareForm BuildBareForm() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dx = screen ? screen->logicalDotsPerInchX() : 96.0;
  const double dy = screen ? screen->logicalDotsPerInchY() : 96.0;
  const QFont font = BareFont();

  BareForm form;
  form.window = std::make_unique<QWidget>(
      nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  form.window->setWindowTitle(QStringLiteral("Pigmo"));
  form.window->setFixedSize(Px(3645, dx), Px(3555, dy));
  for (const Row& row : kRows) {
    const QString text = QString::fromUtf16(row.text);
    QWidget* widget = nullptr;
    switch (row.kind) {
      case Kind::kEdit: {
        auto* edit = new QLineEdit(text, form.window.get());
        edit->setObjectName(QStringLiteral("Text%1").arg(row.number));
        edit->setReadOnly(row.read_only);
        if (row.max_length > 0) edit->setMaxLength(row.max_length);
        form.text[row.number] = edit;
        widget = edit;
        break;
      }
      case Kind::kLabel: {
        auto* label = new QLabel(text, form.window.get());
        label->setObjectName(QStringLiteral("Label%1").arg(row.number));
        form.label[row.number] = label;
        widget = label;
        break;
      }
      case Kind::kButton:
        form.command1 = new QPushButton(text, form.window.get());
        form.command1->setObjectName(QStringLiteral("Command1"));
        widget = form.command1;
        break;
    }
    widget->setGeometry(Px(row.left, dx), Px(row.top, dy), Px(row.width, dx), Px(row.height, dy));
    if (row.kind != Kind::kLabel || row.number != 4) widget->setFont(font);
  }
  return form;
}

}  // namespace pigmo::bench
