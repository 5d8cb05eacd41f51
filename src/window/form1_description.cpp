#include "window/form1_description.h"

#include <array>

namespace pigmo::window {

namespace {

using runtime::ControlKind;
using runtime::ControlSpec;

constexpr runtime::Colour kRed = 0x000000FF;
constexpr runtime::Colour kGreen = 0x00008000;
constexpr runtime::Colour kBlue = 0x00FF0000;
constexpr runtime::Colour kBlack = 0x00000000;
constexpr runtime::Colour kWhite = 0x00FFFFFF;

constexpr ControlSpec TextBox(std::string_view name, runtime::TwipRect r, std::u16string_view text,
                              std::optional<runtime::Colour> fore, bool read_only, int max_length, int tab,
                              std::u16string_view accessible, std::u16string_view description) {
  return {name, ControlKind::kTextBox, r,         text, fore, std::nullopt, read_only, max_length, tab, true,
          "",   description,           accessible};
}

constexpr ControlSpec Caption(std::string_view name, runtime::TwipRect r, std::u16string_view text,
                              runtime::Colour fore, int tab, std::string_view box) {
  return {name, ControlKind::kLabel, r, text, fore, std::nullopt, false, 0, tab, true, box, u"", text};
}

// Listed in tab order. Coordinates are multiples of 15 twips, so the layout
// is pixel-exact at 96 dpi.
constexpr std::array<ControlSpec, 15> kControls = {{
    TextBox("Text1", {120, 360, 615, 285}, u"255", kRed, false, 3, 0, u"Red channel, 0 to 255",
            u"Whole number from 0 to 255"),
    TextBox("Text2", {120, 1080, 615, 285}, u"255", kGreen, false, 3, 1, u"Green channel, 0 to 255",
            u"Whole number from 0 to 255"),
    TextBox("Text3", {120, 1800, 615, 285}, u"255", kBlue, false, 3, 2, u"Blue channel, 0 to 255",
            u"Whole number from 0 to 255"),
    TextBox("Text8", {120, 2520, 615, 285}, u"100", kBlack, false, 3, 3, u"Opacity, 0 to 100",
            u"Whole number from 0 (clear) to 100 (opaque)"),
    TextBox("Text4", {840, 360, 1815, 285}, u"1", std::nullopt, true, 0, 4, u"Red fraction",
            u"The red channel as a fraction from 0 to 1"),
    TextBox("Text5", {840, 1080, 1815, 285}, u"1", std::nullopt, true, 0, 5, u"Green fraction",
            u"The green channel as a fraction from 0 to 1"),
    TextBox("Text6", {840, 1800, 1815, 285}, u"1", std::nullopt, true, 0, 6, u"Blue fraction",
            u"The blue channel as a fraction from 0 to 1"),
    TextBox("Text9", {840, 2520, 1815, 285}, u"1", kBlack, true, 0, 7, u"Opacity fraction",
            u"The opacity as a fraction from 0 to 1"),
    TextBox("Text7", {120, 3120, 3375, 285}, u"[1,1,1,1]", kBlack, false, 0, 8, u"Colour array",
            u"Red, green, blue and opacity fractions as an array text to copy"),
    Caption("Label1", {120, 120, 375, 255}, u"Rot", kRed, 9, "Text1"),
    Caption("Label2", {120, 840, 495, 255}, u"Gr\u00FCn", kGreen, 10, "Text2"),
    Caption("Label3", {120, 1560, 495, 255}, u"Blau", kBlue, 11, "Text3"),
    {"Label4",
     ControlKind::kLabel,
     {2880, 360, 615, 2055},
     u"",
     std::nullopt,
     kWhite,
     false,
     0,
     12,
     false,
     "",
     u"",
     u"Colour swatch",
     /*colour_patch=*/true},
    Caption("Label5", {120, 2280, 615, 255}, u"Alpha", kBlack, 13, "Text8"),
    {"Command1",
     ControlKind::kButton,
     {2880, 2520, 615, 255},
     u"Info",
     std::nullopt,
     std::nullopt,
     false,
     0,
     14,
     true,
     "",
     u"Shows the About message",
     u"Info"},
}};

}  // namespace

const runtime::FormSpec& Form1Description() {
  static const runtime::FormSpec description{
      "Form1",
      u"Pigmo",
      3645,
      3555,
      /*resizable=*/false,
      /*minimise_box=*/false,
      /*maximise_box=*/false,
      /*centred=*/true,
      {"Verdana", "DejaVu Sans", 8.25, 700, false, false, false},
      kControls,
  };
  return description;
}

std::u16string_view AboutText() {
  return u"This program helps you to recalculate an RGB value\r\n"
         u"into a color value for the Varnok Billboard effects.\r\n\r\n"
         u"by Tolvane";
}

std::u16string_view AboutTitle() { return u"Info"; }

}  // namespace pigmo::window
