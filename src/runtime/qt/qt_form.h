// A real window built with Qt 6 Widgets from a FormSpec.
//
// Geometry and font sizes come from twips through the screen's logical DPI
// (15 twips a pixel at 96 dpi). The window has a fixed size, a title bar
// with the system menu and close box only, and is centred on the screen.
// Tab order follows tab_index over the text boxes and buttons; labels
// never take the focus. No button is a default or cancel button, and the
// window ignores Enter and Escape.
//
// Of the description it honours
//   the form: name, caption, client size, resizable, minimise and maximise
//     boxes, centred, the font (face, else the fallback family; points,
//     weight, italic, underline, strikeout);
//   each control: name, kind, bounds, text, fore and back colour (a fore
//     colour that would not read on the colour scheme's background gives
//     way to the scheme's text colour), read_only, max_length, tab_index,
//     uses_font, caption_of (the caption is its box's buddy), accessible
//     name and description (a label without text is described by its
//     colour instead);
// and ignores nothing.
#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/form.h"
#include "runtime/form_spec.h"
#include "runtime/qt/qt_controls.h"

namespace pigmo::runtime::qt {

struct QtFormOptions {
  // Dots per inch to lay the window out with; 0 takes the screen's logical
  // DPI. Fonts scale by the ratio of this to the screen's DPI.
  double dpi = 0;
};

class QtForm final : public Form {
 public:
  // Needs a QApplication. The description's views must outlive nothing here: every
  // text is copied.
  explicit QtForm(const FormSpec& description, QtFormOptions options = {});
  ~QtForm() override;

  std::shared_ptr<TextBox> TextBoxNamed(std::string_view name) override;
  Label& LabelNamed(std::string_view name) override;
  Button& ButtonNamed(std::string_view name) override;
  // A modal QMessageBox: information icon, one OK button, the title, and
  // the text with its line breaks. Returns when it is closed.
  void ShowInfo(std::u16string_view text, std::u16string_view title) override;
  // Shows the window centred and puts the focus in the first control of
  // the tab order, with its text selected.
  void Show() override;

  // The window, and each control's widget (unknown names are an
  // invalid-argument Error), for the program's start-up and the tests.
  QWidget* Window() const { return window_.get(); }
  QWidget* ControlWidget(std::string_view name) const;
  QtTextBox& Box(std::string_view name);
  double DpiY() const { return dpi_y_; }
  QRect ToPixels(const TwipRect& twips) const;

 private:
  void Centre();

  std::unique_ptr<QWidget> window_;
  double dpi_x_ = 96;
  double dpi_y_ = 96;
  bool centred_ = true;
  QFont font_;
  std::map<std::string, QWidget*, std::less<>> widgets_;
  std::map<std::string, std::shared_ptr<QtTextBox>, std::less<>> boxes_;
  std::map<std::string, std::unique_ptr<QtLabel>, std::less<>> labels_;
  std::map<std::string, std::unique_ptr<QtButton>, std::less<>> buttons_;
  std::vector<QWidget*> tab_stops_;
};

std::unique_ptr<QtForm> BuildQtForm(const FormSpec& description, QtFormOptions options = {});

// The font a FontSpec asks for: its face where installed, otherwise its
// fallback family, at `points` and the description's weight and styles.
QFont ResolveFont(const FontSpec& description, double points);

// The program's icon, from the PNG images built into it (16 to 256 px).
QIcon ProgramIcon();

}  // namespace pigmo::runtime::qt
