#include "runtime/contrast.h"

#include <algorithm>
#include <cmath>

namespace pigmo::runtime {

namespace {

double Linear(Colour colour, int shift) {
  const double channel = static_cast<double>((colour >> shift) & 0xFFu) / 255.0;
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(Colour colour) {
  return 0.2126 * Linear(colour, 0) + 0.7152 * Linear(colour, 8) + 0.0722 * Linear(colour, 16);
}

double ContrastRatio(Colour a, Colour b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Colour TextColour(std::optional<Colour> own, Colour scheme_text, Colour background, bool high_contrast) {
  if (own && !high_contrast && ContrastRatio(*own, background) >= kReadableContrast) return *own;
  return scheme_text;
}

}  // namespace pigmo::runtime
