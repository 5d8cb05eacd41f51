#include "pe_image.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace pigmo::pe {

namespace {

// Bounds-checked little-endian reads.
class Bytes {
 public:
  explicit Bytes(const std::vector<std::uint8_t>& data) : data_(data) {}

  void Need(std::size_t offset, std::size_t count) const {
    if (offset > data_.size() || count > data_.size() - offset) {
      throw FormatError("read past the end at offset " + std::to_string(offset));
    }
  }
  std::uint8_t U8(std::size_t at) const {
    Need(at, 1);
    return data_[at];
  }
  std::uint16_t U16(std::size_t at) const {
    Need(at, 2);
    return static_cast<std::uint16_t>(data_[at] | (data_[at + 1] << 8));
  }
  std::uint32_t U32(std::size_t at) const {
    Need(at, 4);
    return static_cast<std::uint32_t>(data_[at]) | (static_cast<std::uint32_t>(data_[at + 1]) << 8) |
           (static_cast<std::uint32_t>(data_[at + 2]) << 16) |
           (static_cast<std::uint32_t>(data_[at + 3]) << 24);
  }
  std::vector<std::uint8_t> Slice(std::size_t at, std::size_t count) const {
    Need(at, count);
    return {data_.begin() + static_cast<std::ptrdiff_t>(at),
            data_.begin() + static_cast<std::ptrdiff_t>(at + count)};
  }
  // A UTF-16 text ending in U+0000; returns it and moves `at` past the end.
  std::u16string Utf16z(std::size_t& at, std::size_t limit) const {
    std::u16string out;
    for (;;) {
      if (at + 2 > limit) throw FormatError("unterminated text");
      const char16_t c = static_cast<char16_t>(U16(at));
      at += 2;
      if (c == u'\0') return out;
      out.push_back(c);
    }
  }
  std::size_t size() const { return data_.size(); }

 private:
  const std::vector<std::uint8_t>& data_;
};

constexpr std::size_t Align4(std::size_t n) { return (n + 3) & ~static_cast<std::size_t>(3); }

}  // namespace

Image Image::Load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw FormatError("cannot open " + file.string());
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return Parse(std::move(bytes));
}

Image Image::Parse(std::vector<std::uint8_t> bytes) {
  Image image;
  image.bytes_ = std::move(bytes);
  const Bytes b(image.bytes_);
  if (b.size() < 0x40 || b.U16(0) != 0x5A4D) throw FormatError("no MZ header");
  const std::size_t pe = b.U32(0x3C);
  if (b.U32(pe) != 0x00004550) throw FormatError("no PE signature");
  const std::size_t coff = pe + 4;
  image.machine_ = b.U16(coff);
  const std::uint16_t sections = b.U16(coff + 2);
  const std::uint16_t optional_size = b.U16(coff + 16);
  const std::size_t opt = coff + 20;
  const std::uint16_t magic = b.U16(opt);
  if (magic != 0x10B && magic != 0x20B) throw FormatError("unknown optional header");
  image.pe32_plus_ = magic == 0x20B;
  image.subsystem_ = b.U16(opt + 68);
  const std::size_t dirs = opt + (image.pe32_plus_ ? 112 : 96);
  const std::uint32_t dir_count = b.U32(dirs - 4);

  const std::size_t table = opt + optional_size;
  for (std::uint16_t i = 0; i < sections; ++i) {
    const std::size_t s = table + 40u * i;
    image.sections_.push_back({b.U32(s + 12), b.U32(s + 8), b.U32(s + 20), b.U32(s + 16)});
  }
  if (dir_count > 1 && b.U32(dirs + 8) != 0) image.ReadImports(b.U32(dirs + 8));
  if (dir_count > 2 && b.U32(dirs + 16) != 0) image.ReadResources(b.U32(dirs + 16), b.U32(dirs + 20));
  return image;
}

std::size_t Image::OffsetOfRva(std::uint32_t rva) const {
  for (const Section& s : sections_) {
    const std::uint32_t span = std::max(s.virtual_size, s.raw_size);
    if (rva >= s.rva && rva - s.rva < span) {
      if (rva - s.rva >= s.raw_size) throw FormatError("address outside the file");
      return s.raw_offset + (rva - s.rva);
    }
  }
  throw FormatError("address in no section");
}

void Image::ReadImports(std::uint32_t rva) {
  const Bytes b(bytes_);
  for (std::size_t d = OffsetOfRva(rva);; d += 20) {
    const std::uint32_t name_rva = b.U32(d + 12);
    if (name_rva == 0 && b.U32(d) == 0 && b.U32(d + 16) == 0) break;
    std::string name;
    for (std::size_t at = OffsetOfRva(name_rva); b.U8(at) != 0; ++at) name.push_back(static_cast<char>(b.U8(at)));
    dlls_.push_back(name);
  }
}

void Image::ReadResources(std::uint32_t rva, std::uint32_t size) {
  const Bytes b(bytes_);
  const std::size_t root = OffsetOfRva(rva);
  b.Need(root, size);

  const auto key_of = [&](std::uint32_t raw) {
    ResourceKey key;
    if (raw & 0x80000000u) {
      std::size_t at = root + (raw & 0x7FFFFFFFu);
      const std::uint16_t length = b.U16(at);
      for (std::uint16_t i = 0; i < length; ++i) key.name.push_back(static_cast<char16_t>(b.U16(at + 2 + 2u * i)));
    } else {
      key.id = static_cast<std::uint16_t>(raw);
    }
    return key;
  };
  // Each directory: 16-byte header, then (named + id) entries of 8 bytes.
  const auto entries_of = [&](std::size_t dir) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    const std::size_t count = static_cast<std::size_t>(b.U16(dir + 12)) + b.U16(dir + 14);
    for (std::size_t i = 0; i < count; ++i) out.emplace_back(b.U32(dir + 16 + 8 * i), b.U32(dir + 20 + 8 * i));
    return out;
  };
  const auto subdir = [&](std::uint32_t offset) {
    if (!(offset & 0x80000000u)) throw FormatError("resource leaf where a directory belongs");
    return root + (offset & 0x7FFFFFFFu);
  };

  for (const auto& [type_raw, type_off] : entries_of(root)) {
    for (const auto& [name_raw, name_off] : entries_of(subdir(type_off))) {
      for (const auto& [lang_raw, data_off] : entries_of(subdir(name_off))) {
        if (data_off & 0x80000000u) throw FormatError("resource directory below the language level");
        const std::size_t entry = root + data_off;
        Resource r;
        r.type = key_of(type_raw);
        r.name = key_of(name_raw);
        r.language = static_cast<std::uint16_t>(lang_raw);
        r.code_page = b.U32(entry + 8);
        r.data = b.Slice(OffsetOfRva(b.U32(entry)), b.U32(entry + 4));
        resources_.push_back(std::move(r));
      }
    }
  }
}

std::vector<const Resource*> Image::OfType(std::uint16_t type) const {
  std::vector<const Resource*> out;
  for (const Resource& r : resources_) {
    if (r.type.id == type) out.push_back(&r);
  }
  return out;
}

// ---------------------------------------------------------------- version

namespace {

VersionNode ParseNode(const Bytes& b, std::size_t at, std::size_t limit) {
  VersionNode node;
  const std::size_t length = b.U16(at);
  const std::size_t value_length = b.U16(at + 2);
  node.type = b.U16(at + 4);
  const std::size_t end = at + length;
  if (length < 6 || end > limit) throw FormatError("version block length out of range");
  std::size_t p = at + 6;
  node.key = b.Utf16z(p, end);
  p = Align4(p);
  // A text value's length counts UTF-16 code units, a binary one bytes.
  const std::size_t value_bytes = node.type == 1 ? value_length * 2 : value_length;
  if (p + value_bytes > end) throw FormatError("version value past its block");
  node.value = b.Slice(p, value_bytes);
  p = Align4(p + value_bytes);
  while (p < end) {
    VersionNode child = ParseNode(b, p, end);
    p = Align4(p + b.U16(p));
    node.children.push_back(std::move(child));
  }
  return node;
}

}  // namespace

VersionNode ParseVersionInfo(const std::vector<std::uint8_t>& data) {
  const Bytes b(data);
  return ParseNode(b, 0, data.size());
}

const VersionNode* VersionNode::Child(std::u16string_view wanted) const {
  for (const VersionNode& c : children) {
    if (c.key == wanted) return &c;
  }
  return nullptr;
}

std::u16string VersionNode::TextValue() const {
  std::u16string out;
  for (std::size_t i = 0; i + 1 < value.size(); i += 2) out.push_back(static_cast<char16_t>(value[i] | (value[i + 1] << 8)));
  while (!out.empty() && out.back() == u'\0') out.pop_back();
  return out;
}

FixedFileInfo ReadFixedFileInfo(const VersionNode& root) {
  if (root.value.size() < 52) throw FormatError("no VS_FIXEDFILEINFO");
  const Bytes b(root.value);
  FixedFileInfo f;
  f.signature = b.U32(0);
  f.struct_version = b.U32(4);
  f.file_version_ms = b.U32(8);
  f.file_version_ls = b.U32(12);
  f.product_version_ms = b.U32(16);
  f.product_version_ls = b.U32(20);
  f.file_flags_mask = b.U32(24);
  f.file_flags = b.U32(28);
  f.file_os = b.U32(32);
  f.file_type = b.U32(36);
  f.file_subtype = b.U32(40);
  return f;
}

// ------------------------------------------------------------------ icons

std::vector<IconEntry> ParseIconGroup(const std::vector<std::uint8_t>& data) {
  const Bytes b(data);
  if (b.U16(0) != 0 || b.U16(2) != 1) throw FormatError("not an icon group");
  std::vector<IconEntry> out;
  const std::uint16_t count = b.U16(4);
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::size_t e = 6 + 14u * i;
    IconEntry entry;
    entry.width = b.U8(e) == 0 ? 256 : b.U8(e);
    entry.height = b.U8(e + 1) == 0 ? 256 : b.U8(e + 1);
    entry.colour_count = b.U8(e + 2);
    entry.bit_count = b.U16(e + 6);
    entry.bytes = b.U32(e + 8);
    entry.icon_id = b.U16(e + 12);
    out.push_back(entry);
  }
  return out;
}

IconImage ParseIconImage(const std::vector<std::uint8_t>& data) {
  const Bytes b(data);
  IconImage image;
  if (data.size() >= 24 && b.U32(0) == 0x474E5089u) {  // "\x89PNG"
    image.png = true;
    image.width = static_cast<int>((b.U8(16) << 24) | (b.U8(17) << 16) | (b.U8(18) << 8) | b.U8(19));
    image.height = static_cast<int>((b.U8(20) << 24) | (b.U8(21) << 16) | (b.U8(22) << 8) | b.U8(23));
    const int depth = b.U8(24);
    const int colour_type = b.U8(25);
    const int channels = colour_type == 6 ? 4 : colour_type == 2 ? 3 : colour_type == 4 ? 2 : 1;
    image.bit_count = depth * channels;
    return image;
  }
  if (b.U32(0) != 40) throw FormatError("icon image is neither a DIB nor a PNG");
  image.width = static_cast<int>(b.U32(4));
  image.height = static_cast<int>(b.U32(8)) / 2;  // XOR picture and AND mask
  image.bit_count = b.U16(14);
  return image;
}

}  // namespace pigmo::pe
