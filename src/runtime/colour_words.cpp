#include "runtime/colour_words.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

namespace pigmo::runtime {

namespace {

std::u16string Ascii(std::string_view text) { return {text.begin(), text.end()}; }

std::u16string Number(int n) { return Ascii(std::to_string(n)); }

// The hue's name, or a grey's when there is too little hue to name.
std::string ColourName(int r, int g, int b) {
  const int high = std::max({r, g, b});
  const int low = std::min({r, g, b});
  const int lightness = high + low;  // 0 to 510
  const int chroma = high - low;
  if (chroma < 24) {
    return lightness < 60    ? "black"
           : lightness > 470 ? "white"
           : lightness < 200 ? "dark grey"
           : lightness > 360 ? "light grey"
                             : "grey";
  }
  int hue = high == r ? 60 * (g - b) / chroma : high == g ? 120 + 60 * (b - r) / chroma : 240 + 60 * (r - g) / chroma;
  if (hue < 0) hue += 360;
  static constexpr struct {
    int below;
    const char* name;
  } kHues[] = {{15, "red"},   {45, "orange"},  {70, "yellow"},   {160, "green"}, {200, "cyan"},
               {260, "blue"}, {290, "purple"}, {335, "magenta"}, {361, "red"}};
  const auto* hue_name =
      std::find_if(std::begin(kHues), std::end(kHues), [hue](const auto& h) { return hue < h.below; });
  const std::string name = hue_name->name;
  if (lightness < 160) return name == "orange" ? "brown" : "dark " + name;
  if (lightness > 400) return "light " + name;
  return name;
}

}  // namespace

std::u16string ColourInWords(Colour colour) {
  const int r = static_cast<int>(colour & 0xFF);
  const int g = static_cast<int>((colour >> 8) & 0xFF);
  const int b = static_cast<int>((colour >> 16) & 0xFF);
  std::u16string words = Ascii(ColourName(r, g, b));
  words[0] = static_cast<char16_t>(words[0] - u'a' + u'A');  // every name starts with a lower-case letter
  return words + u": red " + Number(r) + u", green " + Number(g) + u", blue " + Number(b);
}

}  // namespace pigmo::runtime
