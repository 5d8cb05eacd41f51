// Checks the Windows resource script: the icon statement and the version
// block, read with a small tokenizer for the resource-script syntax.
#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bytes.h"

namespace pigmo::test {
namespace {

struct Token {
  enum Kind { Word, String, Comma } kind;
  std::string text;
  bool operator==(const Token&) const = default;
};

// Drops comments and preprocessor lines, keeps string literals intact.
std::vector<Token> tokenize(const std::string& src, std::vector<std::string>* directives) {
  std::vector<Token> out;
  std::size_t i = 0;
  bool lineStart = true;
  while (i < src.size()) {
    const char c = src[i];
    if (c == '\n') {
      lineStart = true;
      ++i;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (lineStart && c == '#') {
      const std::size_t end = src.find('\n', i);
      directives->push_back(src.substr(i, end == std::string::npos ? std::string::npos : end - i));
      i = end == std::string::npos ? src.size() : end;
    } else if (src.compare(i, 2, "//") == 0) {
      i = src.find('\n', i);
      if (i == std::string::npos) i = src.size();
    } else if (src.compare(i, 2, "/*") == 0) {
      const std::size_t end = src.find("*/", i + 2);
      if (end == std::string::npos) throw std::runtime_error("unterminated comment");
      i = end + 2;
    } else if (c == '"') {
      std::string text;
      ++i;
      for (;;) {
        if (i >= src.size()) throw std::runtime_error("unterminated string");
        if (src[i] == '"') {
          if (i + 1 < src.size() && src[i + 1] == '"') {  // "" is a quote
            text += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        text += src[i++];
      }
      out.push_back({Token::String, text});
      lineStart = false;
    } else if (c == ',') {
      out.push_back({Token::Comma, ","});
      ++i;
      lineStart = false;
    } else {
      std::string text;
      while (i < src.size() && !std::isspace(static_cast<unsigned char>(src[i])) && src[i] != ',' &&
             src[i] != '"')
        text += src[i++];
      out.push_back({Token::Word, text});
      lineStart = false;
    }
  }
  return out;
}

using Items = std::vector<Token>;

struct Block {
  std::string name;
  std::vector<std::pair<std::string, Items>> values;
  std::vector<Block> blocks;
};

struct VersionInfo {
  std::string id;
  std::map<std::string, Items> fixed;
  std::vector<std::pair<std::string, Items>> values;  // outside any block (none expected)
  std::vector<Block> blocks;
};

struct Script {
  std::vector<std::string> directives;
  std::vector<std::pair<std::string, std::string>> icons;  // id, file
  std::vector<VersionInfo> versions;
};

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

  Script parse(std::vector<std::string> directives) {
    Script s;
    s.directives = std::move(directives);
    while (pos_ < t_.size()) {
      const std::string id = word();
      const std::string type = word();
      if (type == "ICON") {
        s.icons.emplace_back(id, string());
      } else if (type == "VERSIONINFO") {
        s.versions.push_back(versionInfo(id));
      } else {
        throw std::runtime_error("unexpected resource type " + type);
      }
    }
    return s;
  }

 private:
  const Token& peek() const {
    if (pos_ >= t_.size()) throw std::runtime_error("unexpected end of script");
    return t_[pos_];
  }
  bool atComma() const { return pos_ < t_.size() && t_[pos_].kind == Token::Comma; }
  std::string word() {
    if (peek().kind != Token::Word) throw std::runtime_error("expected a word at \"" + peek().text + "\"");
    return t_[pos_++].text;
  }
  std::string string() {
    if (peek().kind != Token::String) throw std::runtime_error("expected a string at " + peek().text);
    return t_[pos_++].text;
  }
  Items items() {  // item {, item}
    Items out{t_[pos_++]};
    while (atComma()) {
      ++pos_;
      out.push_back(t_[pos_++]);
    }
    return out;
  }

  VersionInfo versionInfo(const std::string& id) {
    VersionInfo v;
    v.id = id;
    for (std::string key = word(); key != "BEGIN"; key = word()) v.fixed[key] = items();
    body(v.values, v.blocks);
    return v;
  }

  // Statements up to the matching END.
  void body(std::vector<std::pair<std::string, Items>>& values, std::vector<Block>& blocks) {
    for (std::string key = word(); key != "END"; key = word()) {
      if (key == "BLOCK") {
        Block b;
        b.name = string();
        if (word() != "BEGIN") throw std::runtime_error("BLOCK without BEGIN");
        body(b.values, b.blocks);
        blocks.push_back(std::move(b));
      } else if (key == "VALUE") {
        const std::string name = string();
        if (!atComma()) throw std::runtime_error("VALUE " + name + " has no data");
        ++pos_;
        values.emplace_back(name, items());
      } else {
        throw std::runtime_error("unexpected " + key);
      }
    }
  }

  std::vector<Token> t_;
  std::size_t pos_ = 0;
};

std::optional<long> number(const Token& t) {
  if (t.kind != Token::Word) return std::nullopt;
  std::string s = t.text;
  if (!s.empty() && (s.back() == 'L' || s.back() == 'l')) s.pop_back();
  char* end = nullptr;
  const long n = std::strtol(s.c_str(), &end, 0);
  if (s.empty() || *end != '\0') return std::nullopt;
  return n;
}

std::vector<long> numbers(const Items& items) {
  std::vector<long> out;
  for (const Token& t : items) {
    const auto n = number(t);
    out.push_back(n ? *n : -1);
  }
  return out;
}

bool sameHex(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

class ResourceScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::string> directives;
    auto tokens = tokenize(readText(PIGMO_RC_FILE), &directives);
    script_ = Parser(std::move(tokens)).parse(std::move(directives));
    ASSERT_EQ(script_.versions.size(), 1u) << "one version block";
  }
  const VersionInfo& version() const { return script_.versions.front(); }
  const Block* block(const std::string& name) const {
    for (const Block& b : version().blocks)
      if (b.name == name) return &b;
    return nullptr;
  }
  Script script_;
};

TEST_F(ResourceScriptTest, IconOneIsTheCommittedIconFile) {
  ASSERT_EQ(script_.icons.size(), 1u);
  EXPECT_EQ(script_.icons[0].first, "1");
  const std::filesystem::path rc(PIGMO_RC_FILE);
  const std::filesystem::path icon = rc.parent_path() / script_.icons[0].second;
  ASSERT_TRUE(std::filesystem::exists(icon)) << icon;
  EXPECT_TRUE(std::filesystem::equivalent(icon, std::filesystem::path(PIGMO_ICO_FILE)));
}

TEST_F(ResourceScriptTest, IncludesTheVersionConstants) {
  // VS_VERSION_INFO, VOS__WINDOWS32 and VFT_APP come from winver.h.
  bool found = false;
  for (const std::string& d : script_.directives)
    found = found || d.find("<winver.h>") != std::string::npos || d.find("<windows.h>") != std::string::npos;
  EXPECT_TRUE(found);
}

TEST_F(ResourceScriptTest, FixedInfoMarksVersionOneAsA32BitWindowsApplication) {
  const VersionInfo& v = version();
  EXPECT_TRUE(v.id == "VS_VERSION_INFO" || v.id == "1") << v.id;
  struct Expected {
    const char* key;
    std::vector<std::string> words;
  };
  const Expected table[] = {
      {"FILEVERSION", {"1", "0", "0", "0"}},
      {"PRODUCTVERSION", {"1", "0", "0", "0"}},
      {"FILEOS", {"VOS__WINDOWS32"}},
      {"FILETYPE", {"VFT_APP"}},
  };
  for (const Expected& e : table) {
    SCOPED_TRACE(e.key);
    const auto it = v.fixed.find(e.key);
    ASSERT_NE(it, v.fixed.end());
    std::vector<std::string> words;
    for (const Token& t : it->second) words.push_back(t.text);
    EXPECT_EQ(words, e.words);
  }
  const auto flags = v.fixed.find("FILEFLAGS");
  if (flags != v.fixed.end()) {
    EXPECT_EQ(numbers(flags->second), std::vector<long>{0}) << "no debug or pre-release flags";
  }
}

TEST_F(ResourceScriptTest, StringTableIsUsEnglishUnicodeWithExactlyFiveEntries) {
  const Block* info = block("StringFileInfo");
  ASSERT_NE(info, nullptr);
  ASSERT_EQ(info->blocks.size(), 1u) << "one string table";
  EXPECT_TRUE(info->values.empty());
  const Block& table = info->blocks.front();
  EXPECT_TRUE(sameHex(table.name, "040904B0")) << table.name;
  EXPECT_TRUE(table.blocks.empty());

  std::map<std::string, std::string> strings;
  for (const auto& [name, items] : table.values) {
    ASSERT_EQ(items.size(), 1u) << name;
    EXPECT_EQ(items[0].kind, Token::String) << name;
    EXPECT_TRUE(strings.emplace(name, items[0].text).second) << "duplicate " << name;
  }
  const std::map<std::string, std::string> expected = {
      {"ProductName", "Pigmo"},   {"FileVersion", "1.00"},          {"ProductVersion", "1.00"},
      {"InternalName", "Pigmo"}, {"OriginalFilename", "Pigmo.exe"},
  };
  EXPECT_EQ(strings, expected);
}

TEST_F(ResourceScriptTest, TranslationNamesTheStringTable) {
  const Block* var = block("VarFileInfo");
  ASSERT_NE(var, nullptr);
  ASSERT_EQ(var->values.size(), 1u);
  EXPECT_EQ(var->values[0].first, "Translation");
  EXPECT_EQ(numbers(var->values[0].second), (std::vector<long>{0x0409, 1200}));
  EXPECT_EQ(version().blocks.size(), 2u) << "StringFileInfo and VarFileInfo only";
}

// The tokenizer itself, so that a parsing slip cannot pass the checks above.
TEST(ResourceScriptTokenizer, SplitsWordsStringsAndCommasAndDropsComments) {
  std::vector<std::string> directives;
  const auto tokens = tokenize("#include <x.h>\n// c\nVALUE \"A \"\"b\"\"\", 0x10L, 2 /* x */ END", &directives);
  const std::vector<Token> expected = {{Token::Word, "VALUE"}, {Token::String, "A \"b\""}, {Token::Comma, ","},
                                       {Token::Word, "0x10L"}, {Token::Comma, ","},          {Token::Word, "2"},
                                       {Token::Word, "END"}};
  EXPECT_EQ(tokens, expected);
  EXPECT_EQ(directives, std::vector<std::string>{"#include <x.h>"});
  EXPECT_EQ(number(tokens[3]), 16);
}

}  // namespace
}  // namespace pigmo::test
