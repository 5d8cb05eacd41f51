// The colour of a label without text, as a screen reader says it.
#include "runtime/colour_words.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace pigmo::runtime {
namespace {

TEST(ColourWordsTest, NamesTheHueOrGreyAndGivesTheChannels) {
  for (const auto& [colour, words] : std::initializer_list<std::pair<Colour, std::u16string>>{
           {0x00FFFFFF, u"White: red 255, green 255, blue 255"},
           {0x00008000, u"Dark green: red 0, green 128, blue 0"},
           {0x000080FF, u"Orange: red 255, green 128, blue 0"},
           {0x00003C78, u"Brown: red 120, green 60, blue 0"},
           {0x0000FFFF, u"Yellow: red 255, green 255, blue 0"},
           {0x00800080, u"Dark magenta: red 128, green 0, blue 128"},
           {0x00C0C0FF, u"Light red: red 255, green 192, blue 192"},
           {0x00FFFF00, u"Cyan: red 0, green 255, blue 255"},
           {0x00FF0080, u"Purple: red 128, green 0, blue 255"},
           // Each side of every border between names: grey and hue, darkness, hue sectors.
           {0x0064647C, u"Red: red 124, green 100, blue 100"},
           {0x0064647B, u"Grey: red 123, green 100, blue 100"},
           {0x001E1E1E, u"Dark grey: red 30, green 30, blue 30"},
           {0x001D1D1E, u"Black: red 30, green 29, blue 29"},
           {0x00B4B4B4, u"Grey: red 180, green 180, blue 180"},
           {0x00B5B5B5, u"Light grey: red 181, green 181, blue 181"},
           {0x00ECECEC, u"White: red 236, green 236, blue 236"},
           {0x00EBEBEC, u"White: red 236, green 235, blue 235"},
           {0x00EBEBEB, u"Light grey: red 235, green 235, blue 235"},
           {0x009191FF, u"Red: red 255, green 145, blue 145"},
           {0x000000A0, u"Red: red 160, green 0, blue 0"},
           {0x0000009F, u"Dark red: red 159, green 0, blue 0"},
           {0x008000FF, u"Magenta: red 255, green 0, blue 128"},
           {0x006F00FF, u"Magenta: red 255, green 0, blue 111"},
           {0x006B00FF, u"Red: red 255, green 0, blue 107"},
           {0x0000FFC8, u"Green: red 200, green 255, blue 0"},
           {0x00FF6400, u"Blue: red 0, green 100, blue 255"},
           {0x00FF0051, u"Blue: red 81, green 0, blue 255"},
           {0x00FF0055, u"Purple: red 85, green 0, blue 255"},
           {0x00646464, u"Grey: red 100, green 100, blue 100"},
           {0x00B464C8, u"Magenta: red 200, green 100, blue 180"},
           {0xFF000000, u"Black: red 0, green 0, blue 0"},  // the high byte is no channel
       }) {
    EXPECT_EQ(ColourInWords(colour), words) << std::hex << colour;
  }
}

}  // namespace
}  // namespace pigmo::runtime
