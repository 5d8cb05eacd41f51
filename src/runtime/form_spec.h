// The description a backend builds a window from: the window's properties
// and one row per control. Geometry is in twips (1/1440 inch); a backend
// converts to pixels with the screen's logical DPI (15 twips per pixel at
// 96 dpi) and never keeps coordinates of its own.
#pragma once

#include <cmath>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/controls.h"

namespace pigmo::runtime {

inline constexpr int kTwipsPerInch = 1440;

// Rounds to the nearest pixel; exact at 96 dpi for multiples of 15 twips.
inline int TwipsToPixels(int twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch)); }

enum class ControlKind { kTextBox, kLabel, kButton };

struct TwipRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct FontSpec {
  std::string_view face;             // preferred face, e.g. "Verdana"
  std::string_view fallback_family;  // used where `face` is not installed
  double points = 0;
  int weight = 400;  // 400 normal, 700 bold
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
};

struct ControlSpec {
  std::string_view name;  // "Text1", "Label4", "Command1"...
  ControlKind kind = ControlKind::kTextBox;
  TwipRect bounds;
  std::u16string_view text = {};           // start text or caption
  std::optional<Colour> fore_colour = {};  // none: the platform's default
  std::optional<Colour> back_colour = {};  // none: the platform's default
  bool read_only = false;                  // text boxes: binds the user only
  int max_length = 0;                      // text boxes: typed-length limit, 0 = none
  int tab_index = 0;
  bool uses_font = true;  // false: the control shows no text
  // Labels: the name of the box this caption belongs to, so that the
  // caption is read with the box. Empty: a free-standing label.
  std::string_view caption_of = {};
  // What an assistive tool reads after the name: a box's range or what it
  // shows. Empty: none.
  std::u16string_view accessible_description = {};
  std::u16string_view accessible_name;
  // Labels: shows a colour instead of a caption (a swatch). Assistive tools
  // hear it described by that colour, whatever it is painted.
  bool colour_patch = false;
};

struct FormSpec;

// Every control in tab order: by tab_index, in the description's order where
// two share one. Labels hold a place too but never take the focus: Tab
// walks the text boxes and buttons in this order on every backend.
std::vector<const ControlSpec*> InTabOrder(const FormSpec& description);

struct FormSpec {
  std::string_view name;  // "Form1"
  std::u16string_view caption;
  int client_width = 0;   // twips
  int client_height = 0;  // twips
  bool resizable = false;
  bool minimise_box = false;
  bool maximise_box = false;
  bool centred = true;
  FontSpec font;
  std::span<const ControlSpec> controls;
};

}  // namespace pigmo::runtime
