// Form1's fifteen widgets in plain Qt and nothing else: the kinds, geometry,
// texts, limits and font of its description, but no colours, icon, focus,
// handlers, ICU or backend layer. The floor of the start-up and keystroke
// figures.
#pragma once

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <memory>

#include "window/form1_description.h"

namespace pigmo::bench {

inline std::unique_ptr<QWidget> BuildBareWindow() {
  const runtime::FormSpec& form = window::Form1Description();
  const auto text = [](std::u16string_view s) { return QString::fromUtf16(s.data(), s.size()); };
  const auto latin1 = [](std::string_view s) { return QString::fromLatin1(s.data(), s.size()); };
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dx = screen ? screen->logicalDotsPerInchX() : 96.0;
  const double dy = screen ? screen->logicalDotsPerInchY() : 96.0;
  QFont font(QFontDatabase::hasFamily(latin1(form.font.face)) ? latin1(form.font.face)
                                                              : latin1(form.font.fallback_family));
  font.setPointSizeF(form.font.points);
  font.setWeight(static_cast<QFont::Weight>(form.font.weight));

  auto window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  window->setWindowTitle(text(form.caption));
  window->setFixedSize(runtime::TwipsToPixels(form.client_width, dx), runtime::TwipsToPixels(form.client_height, dy));
  for (const runtime::ControlSpec& c : form.controls) {
    QWidget* widget = nullptr;
    if (c.kind == runtime::ControlKind::kTextBox) {
      auto* edit = new QLineEdit(text(c.text), window.get());
      edit->setReadOnly(c.read_only);
      if (c.max_length > 0) edit->setMaxLength(c.max_length);
      widget = edit;
    } else if (c.kind == runtime::ControlKind::kLabel) {
      widget = new QLabel(text(c.text), window.get());
    } else {
      widget = new QPushButton(text(c.text), window.get());
    }
    widget->setObjectName(latin1(c.name));
    widget->setGeometry(runtime::TwipsToPixels(c.bounds.left, dx), runtime::TwipsToPixels(c.bounds.top, dy),
                        runtime::TwipsToPixels(c.bounds.width, dx), runtime::TwipsToPixels(c.bounds.height, dy));
    if (c.uses_font) widget->setFont(font);
  }
  return window;
}

}  // namespace pigmo::bench
