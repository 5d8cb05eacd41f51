// What assistive tools learn about Form1 through Qt's accessibility
// interfaces: captions tied to their boxes, descriptions, the swatch's
// colour in words, the window's role, and the icon sizes.
#include <QAccessible>
#include <QApplication>
#include <QIcon>
#include <gtest/gtest.h>

#include <memory>

#include "runtime/qt/qt_form.h"
#include "window/form1_description.h"

namespace pigmo::runtime::qt {
namespace {

class AccessibilityTest : public ::testing::Test {
 protected:
  std::unique_ptr<QtForm> form_ = BuildQtForm(window::Form1Description());
  QAccessibleInterface* Access(const char* name) {
    return QAccessible::queryAccessibleInterface(form_->ControlWidget(name));
  }
  QString Description(const char* name) { return Access(name)->text(QAccessible::Description); }
};

TEST_F(AccessibilityTest, EachInputBoxIsLabelledByItsVisibleCaption) {
  const struct { const char* box; const char* caption; } kRows[] = {
      {"Text1", "Rot"}, {"Text2", "Grün"}, {"Text3", "Blau"}, {"Text8", "Alpha"}};
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.box);
    const auto labels = Access(row.box)->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0].first->text(QAccessible::Name), QString::fromUtf8(row.caption));
  }
  EXPECT_TRUE(Access("Text4")->relations(QAccessible::Label).isEmpty());
}

TEST_F(AccessibilityTest, EveryBoxDescribesItsRangeOrWhatItShows) {
  const struct { const char* box; const char* says; } kRows[] = {
      {"Text1", "0 to 255"}, {"Text2", "0 to 255"},  {"Text3", "0 to 255"},
      {"Text8", "to 100"},   {"Text4", "red"},       {"Text5", "green"},
      {"Text6", "blue"},     {"Text9", "opacity"},   {"Text7", "array"}};
  for (const auto& row : kRows) {
    EXPECT_TRUE(Description(row.box).contains(QLatin1String(row.says))) << row.box;
  }
}

TEST_F(AccessibilityTest, SwatchSaysItsColourInWordsAndNumbersAfterEveryChange) {
  EXPECT_EQ(Description("Label4"), "White: red 255, green 255, blue 255");
  const struct { Colour colour; const char* says; } kRows[] = {
      {0x00008000, "Dark green: red 0, green 128, blue 0"},
      {0x000080FF, "Orange: red 255, green 128, blue 0"},
      {0x00003C78, "Brown: red 120, green 60, blue 0"},
      {0x00FF0000, "Blue: red 0, green 0, blue 255"},
      {0x0000FFFF, "Yellow: red 255, green 255, blue 0"},
      {0x00800080, "Dark magenta: red 128, green 0, blue 128"},
      {0x00C0C0FF, "Light red: red 255, green 192, blue 192"},
      {0x00808080, "Grey: red 128, green 128, blue 128"},
      {0x00000000, "Black: red 0, green 0, blue 0"}};
  for (const auto& row : kRows) {
    form_->LabelNamed("Label4").SetBackColour(row.colour);
    EXPECT_EQ(Description("Label4"), row.says);
  }
}

TEST_F(AccessibilityTest, WindowIsReportedAsAWindow) {
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form_->Window())->role(), QAccessible::Window);
}

TEST_F(AccessibilityTest, WindowIconHasEveryShippedSize) {
  const QList<QSize> sizes = form_->Window()->windowIcon().availableSizes();
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
  }
}

}  // namespace
}  // namespace pigmo::runtime::qt
