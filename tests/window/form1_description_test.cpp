// What must hold within Form1's description, whatever its values; each
// toolkit's own tests check the window it builds from it.
#include "window/form1_description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace pigmo::window {
namespace {

TEST(Form1DescriptionTest, LayoutIsPixelExactAt96DpiAndInsideTheWindow) {
  const runtime::FormSpec& form = Form1Description();
  std::set<int> right_edges;
  for (const runtime::ControlSpec& c : form.controls) {
    SCOPED_TRACE(std::string(c.name));
    for (const int twips : {c.bounds.left, c.bounds.top, c.bounds.width, c.bounds.height}) EXPECT_EQ(twips % 15, 0);
    EXPECT_LE(c.bounds.left + c.bounds.width, form.client_width);
    EXPECT_LE(c.bounds.top + c.bounds.height, form.client_height);
    if (c.name == "Label4" || c.name == "Command1" || c.name == "Text7") right_edges.insert(c.bounds.left + c.bounds.width);
  }
  EXPECT_EQ(right_edges.size(), 1u) << "the swatch, the button and the array box line up on the right";
}

TEST(Form1DescriptionTest, TabOrderAccessNamesAndRulesAreSound) {
  std::vector<int> tab_order;
  std::set<std::u16string_view> names;
  for (const runtime::ControlSpec& c : Form1Description().controls) {
    SCOPED_TRACE(std::string(c.name));
    tab_order.push_back(c.tab_index);
    EXPECT_FALSE(c.accessible_name.empty());
    EXPECT_TRUE(names.insert(c.accessible_name).second) << "accessible names are unique";
    EXPECT_EQ(c.text.find(u'&'), std::u16string_view::npos) << "no caption has an access key";
    EXPECT_TRUE(c.kind == runtime::ControlKind::kTextBox || (!c.read_only && c.max_length == 0));
  }
  std::sort(tab_order.begin(), tab_order.end());
  for (int i = 0; i < static_cast<int>(tab_order.size()); ++i) EXPECT_EQ(tab_order[i], i);
}

}  // namespace
}  // namespace pigmo::window
