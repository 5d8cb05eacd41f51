// A reader of the parts of a Windows program file (PE/COFF) the tests look
// at: its resources and the DLLs it imports. Plain C++ on the file's bytes,
// so it runs on the build machine without Windows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pigmo::pe {

class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A resource type or name: a number or a string.
struct ResourceKey {
  std::optional<std::uint16_t> id;
  std::u16string name;
  friend bool operator==(const ResourceKey&, const ResourceKey&) = default;
};

struct Resource {
  ResourceKey type;
  ResourceKey name;
  std::uint16_t language = 0;
  std::uint32_t code_page = 0;
  std::vector<std::uint8_t> data;
};

inline constexpr std::uint16_t kRtIcon = 3;
inline constexpr std::uint16_t kRtGroupIcon = 14;
inline constexpr std::uint16_t kRtVersion = 16;
inline constexpr std::uint16_t kRtManifest = 24;

class Image {
 public:
  // Reads and checks the file; FormatError when it is not a PE image.
  static Image Load(const std::filesystem::path& file);
  static Image Parse(std::vector<std::uint8_t> bytes);

  std::uint16_t Machine() const { return machine_; }  // 0x14C i386, 0x8664 x64
  std::uint16_t Subsystem() const { return subsystem_; }  // 2: Windows GUI
  bool Is64Bit() const { return pe32_plus_; }
  const std::vector<Resource>& Resources() const { return resources_; }
  // Names of the imported DLLs, as the import table spells them.
  const std::vector<std::string>& ImportedDlls() const { return dlls_; }

  // Resources of a numbered type (any name, any language).
  std::vector<const Resource*> OfType(std::uint16_t type) const;

 private:
  std::size_t OffsetOfRva(std::uint32_t rva) const;
  void ReadResources(std::uint32_t rva, std::uint32_t size);
  void ReadImports(std::uint32_t rva);

  struct Section {
    std::uint32_t rva;
    std::uint32_t virtual_size;
    std::uint32_t raw_offset;
    std::uint32_t raw_size;
  };

  std::vector<std::uint8_t> bytes_;
  std::uint16_t machine_ = 0;
  std::uint16_t subsystem_ = 0;
  bool pe32_plus_ = false;
  std::vector<Section> sections_;
  std::vector<Resource> resources_;
  std::vector<std::string> dlls_;
};

// A node of a version resource (VS_VERSIONINFO and its blocks).
struct VersionNode {
  std::u16string key;
  std::uint16_t type = 0;            // 1 text, 0 binary
  std::vector<std::uint8_t> value;   // as stored
  std::vector<VersionNode> children;

  const VersionNode* Child(std::u16string_view key) const;
  std::u16string TextValue() const;  // a text value without its terminator
};

VersionNode ParseVersionInfo(const std::vector<std::uint8_t>& data);

// VS_FIXEDFILEINFO.
struct FixedFileInfo {
  std::uint32_t signature = 0;
  std::uint32_t struct_version = 0;
  std::uint32_t file_version_ms = 0;
  std::uint32_t file_version_ls = 0;
  std::uint32_t product_version_ms = 0;
  std::uint32_t product_version_ls = 0;
  std::uint32_t file_flags_mask = 0;
  std::uint32_t file_flags = 0;
  std::uint32_t file_os = 0;
  std::uint32_t file_type = 0;
  std::uint32_t file_subtype = 0;
};

FixedFileInfo ReadFixedFileInfo(const VersionNode& root);

// One entry of an icon group (GRPICONDIRENTRY) and the image it points to.
struct IconEntry {
  int width = 0;   // 256 where the entry says 0
  int height = 0;
  int colour_count = 0;
  int bit_count = 0;
  std::uint32_t bytes = 0;
  std::uint16_t icon_id = 0;
};

std::vector<IconEntry> ParseIconGroup(const std::vector<std::uint8_t>& data);

// What an RT_ICON image says about itself (its DIB header or PNG header).
struct IconImage {
  bool png = false;
  int width = 0;
  int height = 0;  // of the picture, without the AND mask
  int bit_count = 0;
};

IconImage ParseIconImage(const std::vector<std::uint8_t>& data);

}  // namespace pigmo::pe
