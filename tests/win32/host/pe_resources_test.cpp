// Reads Pigmo.exe as built and checks what the file itself carries: the
// version block, the nine icon images, the manifest, the DLLs it needs and
// its size. The path comes in PIGMO_EXE, the expected machine type in
// PIGMO_EXE_MACHINE (hexadecimal).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "pe_image.h"

namespace pigmo::pe {
namespace {

std::filesystem::path ExePath() {
  const char* path = std::getenv("PIGMO_EXE");
  return path != nullptr ? path : "";
}

class PigmoExeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_FALSE(ExePath().empty()) << "PIGMO_EXE is not set";
    image_ = new Image(Image::Load(ExePath()));
  }
  static void TearDownTestSuite() {
    delete image_;
    image_ = nullptr;
  }
  static const Image& Exe() { return *image_; }

  static const Resource& Only(std::uint16_t type) {
    const auto all = Exe().OfType(type);
    EXPECT_EQ(all.size(), 1u) << "resources of type " << type;
    if (all.empty()) throw FormatError("no resource of type " + std::to_string(type));
    return *all.front();
  }

 private:
  static inline Image* image_ = nullptr;
};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

TEST_F(PigmoExeTest, IsAWindowsGuiProgramForTheTargetMachine) {
  EXPECT_EQ(Exe().Subsystem(), 2) << "IMAGE_SUBSYSTEM_WINDOWS_GUI";
  if (const char* machine = std::getenv("PIGMO_EXE_MACHINE")) {
    EXPECT_EQ(Exe().Machine(), std::stoul(machine, nullptr, 16));
  }
  EXPECT_EQ(Exe().Is64Bit(), Exe().Machine() == 0x8664);
}

TEST_F(PigmoExeTest, NeedsNoDllBeyondWindowsOwn) {
  const std::set<std::string> windows_own = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                             "comctl32.dll", "msvcrt.dll"};
  ASSERT_FALSE(Exe().ImportedDlls().empty());
  for (const std::string& dll : Exe().ImportedDlls()) {
    EXPECT_TRUE(windows_own.count(Lower(dll))) << dll;
  }
}

TEST_F(PigmoExeTest, IsAtMostOneMebibyte) {
  EXPECT_LE(std::filesystem::file_size(ExePath()), 1024u * 1024u);
}

TEST_F(PigmoExeTest, VersionBlockHasExactlyTheFiveStringsInOneUsEnglishUnicodeTable) {
  const Resource& resource = Only(kRtVersion);
  EXPECT_EQ(resource.name.id, 1);
  const VersionNode root = ParseVersionInfo(resource.data);
  EXPECT_EQ(root.key, u"VS_VERSION_INFO");

  const VersionNode* strings = root.Child(u"StringFileInfo");
  ASSERT_NE(strings, nullptr);
  ASSERT_EQ(strings->children.size(), 1u);
  const VersionNode& table = strings->children.front();
  std::string key(table.key.begin(), table.key.end());
  EXPECT_EQ(Lower(key), "040904b0");  // English (United States), code page 1200

  std::map<std::u16string, std::u16string> entries;
  for (const VersionNode& entry : table.children) entries[entry.key] = entry.TextValue();
  const std::map<std::u16string, std::u16string> expected = {
      {u"ProductName", u"Pigmo"},    {u"FileVersion", u"1.00"},
      {u"ProductVersion", u"1.00"},  {u"InternalName", u"Pigmo"},
      {u"OriginalFilename", u"Pigmo.exe"},
  };
  EXPECT_EQ(entries, expected);
  EXPECT_EQ(table.children.size(), 5u);  // no entry twice
}

TEST_F(PigmoExeTest, VersionBlockTranslationIsUsEnglishUnicode) {
  const VersionNode root = ParseVersionInfo(Only(kRtVersion).data);
  const VersionNode* vars = root.Child(u"VarFileInfo");
  ASSERT_NE(vars, nullptr);
  const VersionNode* translation = vars->Child(u"Translation");
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(translation->value.size(), 4u);
  const auto word = [&](std::size_t i) { return translation->value[i] | (translation->value[i + 1] << 8); };
  EXPECT_EQ(word(0), 0x0409);
  EXPECT_EQ(word(2), 1200);
}

TEST_F(PigmoExeTest, NumericVersionsAreOneAndTheFileIsAWin32Application) {
  const FixedFileInfo info = ReadFixedFileInfo(ParseVersionInfo(Only(kRtVersion).data));
  EXPECT_EQ(info.signature, 0xFEEF04BDu);
  EXPECT_EQ(info.file_version_ms, 0x00010000u);  // 1.0
  EXPECT_EQ(info.file_version_ls, 0x00000000u);  // .0.0
  EXPECT_EQ(info.product_version_ms, 0x00010000u);
  EXPECT_EQ(info.product_version_ls, 0x00000000u);
  EXPECT_EQ(info.file_os, 0x00000004u);  // VOS__WINDOWS32
  EXPECT_EQ(info.file_type, 1u);         // VFT_APP
  EXPECT_EQ(info.file_flags & info.file_flags_mask, 0u);  // no debug, pre-release or patched flag
}

TEST_F(PigmoExeTest, IconGroupHasNineImagesIn16To48PixelsAndThreeDepths) {
  const Resource& group = Only(kRtGroupIcon);
  const std::vector<IconEntry> entries = ParseIconGroup(group.data);

  std::multiset<std::pair<int, int>> seen;
  std::map<std::uint16_t, const Resource*> icons;
  for (const Resource* icon : Exe().OfType(kRtIcon)) {
    if (icon->name.id) icons[*icon->name.id] = icon;
  }
  for (const IconEntry& entry : entries) {
    SCOPED_TRACE("icon " + std::to_string(entry.icon_id));
    EXPECT_EQ(entry.width, entry.height);
    seen.insert({entry.width, entry.bit_count});
    ASSERT_TRUE(icons.count(entry.icon_id)) << "the group names a missing image";
    const Resource& image_resource = *icons[entry.icon_id];
    EXPECT_EQ(image_resource.data.size(), entry.bytes);
    const IconImage image = ParseIconImage(image_resource.data);
    EXPECT_EQ(image.width, entry.width);
    EXPECT_EQ(image.height, entry.height);
    EXPECT_EQ(image.bit_count, entry.bit_count);
  }
  std::multiset<std::pair<int, int>> expected;
  for (int size : {16, 32, 48}) {
    for (int bits : {4, 8, 32}) expected.insert({size, bits});
  }
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(icons.size(), 9u);
}

TEST_F(PigmoExeTest, ManifestAsksForPerMonitorDpiAwarenessAndThemedControls) {
  const Resource& manifest = Only(kRtManifest);
  EXPECT_EQ(manifest.name.id, 1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
  const std::string text(manifest.data.begin(), manifest.data.end());
  EXPECT_NE(text.find("PerMonitorV2"), std::string::npos);
  EXPECT_NE(text.find("true/pm"), std::string::npos);
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("asInvoker"), std::string::npos);
}

TEST(PeImageTest, RejectsWhatIsNotAProgram) {
  EXPECT_THROW(Image::Parse({}), FormatError);
  EXPECT_THROW(Image::Parse(std::vector<std::uint8_t>(64, 0)), FormatError);
  std::vector<std::uint8_t> truncated(64, 0);
  truncated[0] = 'M';
  truncated[1] = 'Z';
  truncated[0x3C] = 0x40;  // PE header just past the end
  EXPECT_THROW(Image::Parse(truncated), FormatError);
}

TEST(PeImageTest, RejectsVersionBlocksThatOverrunTheirParent) {
  // wLength claims 200 bytes in a 12-byte resource.
  const std::vector<std::uint8_t> data = {200, 0, 0, 0, 1, 0, 'A', 0, 0, 0, 0, 0};
  EXPECT_THROW(ParseVersionInfo(data), FormatError);
}

}  // namespace
}  // namespace pigmo::pe
