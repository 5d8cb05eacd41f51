// Form1's description against the window's layout table: every property,
// control, colour, start text, rule and tab position, and the About text.
#include "window/form1_description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace pigmo::window {
namespace {

using runtime::Colour;
using runtime::ControlKind;
using runtime::ControlSpec;

struct Row {
  const char* name;
  ControlKind kind;
  int left, top, width, height;  // twips
  int px_left, px_top, px_width, px_height;
  std::u16string_view text;
  std::optional<Colour> fore;
  bool read_only;
  int max_length;
  int tab_index;
};

constexpr ControlKind kBox = ControlKind::kTextBox;
constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kButton = ControlKind::kButton;
constexpr std::nullopt_t kDefault = std::nullopt;

// The layout table, in tab order.
const std::vector<Row> kTable = {
    {"Text1", kBox, 120, 360, 615, 285, 8, 24, 41, 19, u"255", 0x000000FF, false, 3, 0},
    {"Text2", kBox, 120, 1080, 615, 285, 8, 72, 41, 19, u"255", 0x00008000, false, 3, 1},
    {"Text3", kBox, 120, 1800, 615, 285, 8, 120, 41, 19, u"255", 0x00FF0000, false, 3, 2},
    {"Text8", kBox, 120, 2520, 615, 285, 8, 168, 41, 19, u"100", 0x00000000, false, 3, 3},
    {"Text4", kBox, 840, 360, 1815, 285, 56, 24, 121, 19, u"1", kDefault, true, 0, 4},
    {"Text5", kBox, 840, 1080, 1815, 285, 56, 72, 121, 19, u"1", kDefault, true, 0, 5},
    {"Text6", kBox, 840, 1800, 1815, 285, 56, 120, 121, 19, u"1", kDefault, true, 0, 6},
    {"Text9", kBox, 840, 2520, 1815, 285, 56, 168, 121, 19, u"1", 0x00000000, true, 0, 7},
    {"Text7", kBox, 120, 3120, 3375, 285, 8, 208, 225, 19, u"[1,1,1,1]", 0x00000000, false, 0, 8},
    {"Label1", kLabel, 120, 120, 375, 255, 8, 8, 25, 17, u"Rot", 0x000000FF, false, 0, 9},
    {"Label2", kLabel, 120, 840, 495, 255, 8, 56, 33, 17, u"Gr\u00FCn", 0x00008000, false, 0, 10},
    {"Label3", kLabel, 120, 1560, 495, 255, 8, 104, 33, 17, u"Blau", 0x00FF0000, false, 0, 11},
    {"Label4", kLabel, 2880, 360, 615, 2055, 192, 24, 41, 137, u"", kDefault, false, 0, 12},
    {"Label5", kLabel, 120, 2280, 615, 255, 8, 152, 41, 17, u"Alpha", 0x00000000, false, 0, 13},
    {"Command1", kButton, 2880, 2520, 615, 255, 192, 168, 41, 17, u"Info", kDefault, false, 0, 14},
};

const ControlSpec* Find(std::string_view name) {
  for (const ControlSpec& c : Form1Description().controls) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

TEST(Form1DescriptionTest, WindowProperties) {
  const runtime::FormSpec& form = Form1Description();
  EXPECT_EQ(form.name, "Form1");
  EXPECT_EQ(form.caption, u"Pigmo");
  EXPECT_EQ(form.client_width, 3645);
  EXPECT_EQ(form.client_height, 3555);
  EXPECT_EQ(runtime::TwipsToPixels(form.client_width, 96), 243);
  EXPECT_EQ(runtime::TwipsToPixels(form.client_height, 96), 237);
  EXPECT_FALSE(form.resizable);
  EXPECT_FALSE(form.minimise_box);
  EXPECT_FALSE(form.maximise_box);
  EXPECT_TRUE(form.centred);
}

TEST(Form1DescriptionTest, FontIsVerdanaBoldAtEightPointTwoFiveWithASansSerifFallback) {
  const runtime::FontSpec& font = Form1Description().font;
  EXPECT_EQ(font.face, "Verdana");
  EXPECT_EQ(font.fallback_family, "DejaVu Sans");
  EXPECT_DOUBLE_EQ(font.points, 8.25);
  EXPECT_DOUBLE_EQ(font.points * 96 / 72, 11.0);  // 11 px at 96 dpi
  EXPECT_EQ(font.weight, 700);
  EXPECT_FALSE(font.italic);
  EXPECT_FALSE(font.underline);
  EXPECT_FALSE(font.strikeout);
}

TEST(Form1DescriptionTest, ControlsMatchTheLayoutTableInTabOrder) {
  const auto& controls = Form1Description().controls;
  ASSERT_EQ(controls.size(), kTable.size());
  for (std::size_t i = 0; i < kTable.size(); ++i) {
    const Row& row = kTable[i];
    const ControlSpec& c = controls[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(c.name, row.name);
    EXPECT_EQ(c.kind, row.kind);
    EXPECT_EQ(c.bounds.left, row.left);
    EXPECT_EQ(c.bounds.top, row.top);
    EXPECT_EQ(c.bounds.width, row.width);
    EXPECT_EQ(c.bounds.height, row.height);
    EXPECT_EQ(c.text, row.text);
    EXPECT_EQ(c.fore_colour, row.fore);
    EXPECT_EQ(c.read_only, row.read_only);
    EXPECT_EQ(c.max_length, row.max_length);
    EXPECT_EQ(c.tab_index, row.tab_index);
  }
}

TEST(Form1DescriptionTest, EveryPositionIsPixelExactAt96Dpi) {
  for (const Row& row : kTable) {
    SCOPED_TRACE(row.name);
    const ControlSpec* c = Find(row.name);
    ASSERT_NE(c, nullptr);
    for (const int twips : {c->bounds.left, c->bounds.top, c->bounds.width, c->bounds.height}) {
      EXPECT_EQ(twips % 15, 0) << twips;
    }
    EXPECT_EQ(runtime::TwipsToPixels(c->bounds.left, 96), row.px_left);
    EXPECT_EQ(runtime::TwipsToPixels(c->bounds.top, 96), row.px_top);
    EXPECT_EQ(runtime::TwipsToPixels(c->bounds.width, 96), row.px_width);
    EXPECT_EQ(runtime::TwipsToPixels(c->bounds.height, 96), row.px_height);
  }
}

TEST(Form1DescriptionTest, RightEdgesOfSwatchButtonAndArrayLineUpWithTheMargins) {
  for (const char* name : {"Label4", "Command1", "Text7"}) {
    const ControlSpec* c = Find(name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->bounds.left + c->bounds.width, 3495) << name;
    EXPECT_EQ(Form1Description().client_width - (c->bounds.left + c->bounds.width), 150);
  }
  EXPECT_EQ(Find("Text1")->bounds.left, 120);
}

TEST(Form1DescriptionTest, TabIndicesRunFromZeroToFourteenWithoutGaps) {
  std::vector<int> indices;
  for (const ControlSpec& c : Form1Description().controls) indices.push_back(c.tab_index);
  std::sort(indices.begin(), indices.end());
  for (int i = 0; i < static_cast<int>(indices.size()); ++i) EXPECT_EQ(indices[i], i);
}

TEST(Form1DescriptionTest, SwatchStartsWhiteShowsNoTextAndSetsNoFont) {
  const ControlSpec* swatch = Find("Label4");
  ASSERT_NE(swatch, nullptr);
  EXPECT_EQ(swatch->back_colour, std::optional<Colour>(0x00FFFFFFu));
  EXPECT_TRUE(swatch->text.empty());
  EXPECT_FALSE(swatch->uses_font);
  EXPECT_FALSE(swatch->fore_colour.has_value());
  // Every other control shows text in the window's font and sets no background.
  for (const ControlSpec& c : Form1Description().controls) {
    if (c.name == "Label4") continue;
    EXPECT_TRUE(c.uses_font) << c.name;
    EXPECT_FALSE(c.back_colour.has_value()) << c.name;
  }
}

TEST(Form1DescriptionTest, OnlyTextBoxesCarryRulesAndNoCaptionHasAnAccessKey) {
  std::set<std::u16string_view> accessible;
  for (const ControlSpec& c : Form1Description().controls) {
    SCOPED_TRACE(std::string(c.name));
    if (c.kind != ControlKind::kTextBox) {
      EXPECT_FALSE(c.read_only);
      EXPECT_EQ(c.max_length, 0);
    }
    EXPECT_EQ(c.text.find(u'&'), std::u16string_view::npos);
    EXPECT_FALSE(c.accessible_name.empty());
    EXPECT_TRUE(accessible.insert(c.accessible_name).second) << "accessible names are unique";
  }
}

TEST(Form1DescriptionTest, StartChannelValuesMatchTheWhiteSwatch) {
  // 255, 255, 255 is white; the swatch starts in that colour.
  for (const char* name : {"Text1", "Text2", "Text3"}) EXPECT_EQ(Find(name)->text, u"255");
  EXPECT_EQ(Find("Label4")->back_colour, std::optional<Colour>(0x00FFFFFFu));
}

TEST(Form1DescriptionTest, AboutMessageHasFourLinesWithAnEmptyThirdAndTheInfoTitle) {
  EXPECT_EQ(AboutText(),
            u"This program helps you to recalculate an RGB value\r\n"
            u"into a color value for the Varnok Billboard effects.\r\n"
            u"\r\n"
            u"by Tolvane");
  EXPECT_EQ(AboutTitle(), u"Info");
}

}  // namespace
}  // namespace pigmo::window
