// Reads a picture of Form1's client area at 96 dpi as a person would look
// at it: inside each control that shows text, the commonest colour is what
// the text stands on, and the pixel farthest from it in luminance is the
// text itself. Prints each control's contrast and fails when one reads
// below 3:1, or when the swatch does not show the start colour, white.
//
//   window_contrast PICTURE.ppm      (binary PPM, P6, 8 bits a channel)
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "runtime/contrast.h"

namespace {

using pigmo::runtime::Colour;

struct Picture {
  int width = 0, height = 0;
  std::vector<Colour> pixels;  // 0x00BBGGRR, row by row
  Colour At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

bool ReadPpm(const char* path, Picture& picture) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxval = 0;
  in >> magic >> picture.width >> picture.height >> maxval;  // as pngtopnm writes it: no comments
  in.get();
  if (!in || magic != "P6" || maxval != 255 || picture.width <= 0 || picture.height <= 0) return false;
  std::vector<unsigned char> rgb(static_cast<size_t>(picture.width) * picture.height * 3);
  if (!in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()))) return false;
  for (size_t i = 0; i < rgb.size(); i += 3) picture.pixels.push_back(rgb[i] | rgb[i + 1] << 8 | rgb[i + 2] << 16);
  return true;
}

struct Control {
  const char* name;
  int left, top, width, height;  // pixels at 96 dpi
  int inset;                     // the frame around the text, left out
};

// Every control that shows text, at its place in the window.
constexpr Control kControls[] = {
    {"Text1", 8, 24, 41, 19, 3},
    {"Text2", 8, 72, 41, 19, 3},
    {"Text3", 8, 120, 41, 19, 3},
    {"Text8", 8, 168, 41, 19, 3},
    {"Text4", 56, 24, 121, 19, 3},
    {"Text5", 56, 72, 121, 19, 3},
    {"Text6", 56, 120, 121, 19, 3},
    {"Text9", 56, 168, 121, 19, 3},
    {"Text7", 8, 208, 225, 19, 3},
    // A caption's last row is the top edge of the box below it.
    {"Label1", 8, 8, 25, 16, 0},
    {"Label2", 8, 56, 33, 16, 0},
    {"Label3", 8, 104, 33, 16, 0},
    {"Label5", 8, 152, 41, 16, 0},
    {"Command1", 192, 168, 41, 17, 3},
};

unsigned Rgb(Colour c) { return (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu); }

Colour Commonest(const Picture& picture, int left, int top, int right, int bottom) {
  std::map<Colour, int> count;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) ++count[picture.At(x, y)];
  Colour best = 0;
  int most = 0;
  for (const auto& [colour, n] : count)
    if (n > most) best = colour, most = n;
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  Picture picture;
  if (argc != 2 || !ReadPpm(argv[1], picture)) {
    std::cerr << "usage: window_contrast PICTURE.ppm (a binary PPM of the client area)\n";
    return 2;
  }
  if (picture.width != 243 || picture.height != 237) {
    std::cerr << "FAIL: the picture is " << picture.width << " x " << picture.height
              << ", not the 243 x 237 client area\n";
    return 1;
  }
  using pigmo::runtime::ContrastRatio, pigmo::runtime::RelativeLuminance;
  bool failed = false;
  for (const Control& c : kControls) {
    const int left = c.left + c.inset, top = c.top + c.inset;
    const int right = c.left + c.width - c.inset, bottom = c.top + c.height - c.inset;
    const Colour back = Commonest(picture, left, top, right, bottom);
    Colour text = back;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        const Colour p = picture.At(x, y);
        const double d = RelativeLuminance(p) - RelativeLuminance(back);
        const double best = RelativeLuminance(text) - RelativeLuminance(back);
        if (d * d > best * best) text = p;
      }
    }
    const double ratio = ContrastRatio(text, back);
    std::printf("%-4s %-8s %5.2f:1  text #%06X on #%06X\n", ratio >= 3.0 ? "ok" : "FAIL", c.name, ratio, Rgb(text),
                Rgb(back));
    failed |= ratio < 3.0;
  }
  const Colour swatch = Commonest(picture, 192, 24, 192 + 41, 24 + 137);
  if (swatch != 0xFFFFFF) {
    std::printf("FAIL Label4 the swatch shows #%06X, not white\n", Rgb(swatch));
    failed = true;
  }
  return failed ? 1 : 0;
}
