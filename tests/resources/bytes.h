// Reading whole files and little/big-endian integers for the resource tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace pigmo::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string readText(const std::string& path) {
  const Bytes bytes = readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

// Bounds-checked so that a truncated file fails the test instead of reading
// past the buffer.
inline void require(const Bytes& data, std::size_t offset, std::size_t count) {
  if (offset > data.size() || count > data.size() - offset)
    throw std::out_of_range("read past the end of the file at offset " + std::to_string(offset));
}

inline std::uint16_t le16(const Bytes& d, std::size_t at) {
  require(d, at, 2);
  return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}

inline std::uint32_t le32(const Bytes& d, std::size_t at) {
  require(d, at, 4);
  return static_cast<std::uint32_t>(d[at]) | static_cast<std::uint32_t>(d[at + 1]) << 8 |
         static_cast<std::uint32_t>(d[at + 2]) << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}

inline std::int32_t le32s(const Bytes& d, std::size_t at) {
  return static_cast<std::int32_t>(le32(d, at));
}

inline std::uint32_t be32(const Bytes& d, std::size_t at) {
  require(d, at, 4);
  return static_cast<std::uint32_t>(d[at]) << 24 | static_cast<std::uint32_t>(d[at + 1]) << 16 |
         static_cast<std::uint32_t>(d[at + 2]) << 8 | static_cast<std::uint32_t>(d[at + 3]);
}

}  // namespace pigmo::test
