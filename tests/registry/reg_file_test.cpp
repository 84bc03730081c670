#include "platform/registry/reg_file.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pw::registry {
namespace {

const std::string kKey = "Software\\Tavrin\\Pagewick";

std::vector<Change> Parsed(std::string_view text) {
  tl::expected<std::vector<Change>, RegFileError> changes = ParseRegFile(text);
  EXPECT_TRUE(changes) << "line " << changes.error().line << ": " << changes.error().message;
  return changes ? *changes : std::vector<Change>{};
}

RegFileError ErrorOf(std::string_view text) {
  tl::expected<std::vector<Change>, RegFileError> changes = ParseRegFile(text);
  EXPECT_FALSE(changes) << "parsed although malformed";
  return changes ? RegFileError{} : changes.error();
}

TEST(RegFile, ExportThenImportGivesBackEveryByte) {
  const std::vector<Value> values{
      {"JPG_Quality", ValueType::Dword, DwordData(0x4b)},
      {"SavePath", ValueType::Sz, TextData("C:\\Pictures\\ \"best\"")},
      {"", ValueType::Sz, TextData("default")},
      {"Expand", ValueType::ExpandSz, TextData("%TEMP%\\x")},
      {"NoZero", ValueType::Sz, {'a', 'b'}},
      {"TwoLines", ValueType::Sz, TextData("one\ntwo")},
      {"Empty", ValueType::Binary, {}},
      {"Short dword", ValueType::Dword, {1, 2}},
      {"Multi", static_cast<ValueType>(7), {'a', 0, 'b', 0, 0}},
      {"Long", ValueType::Binary, std::vector<std::uint8_t>(300, 0xAB)},
      {"na\"me\\", ValueType::Dword, DwordData(0xFFFFFFFFu)},
  };
  std::vector<KeyContents> keys{{Hive::CurrentUser, kKey, values},
                                {Hive::LocalMachine, "Software\\Empty", {}},
                                {Hive::ClassesRoot, "", {{"x", ValueType::Sz, TextData("root")}}}};
  std::string text = FormatRegFile(keys);
  EXPECT_TRUE(text.starts_with("Windows Registry Editor Version 5.00\n\n"));
  EXPECT_NE(text.find("\"JPG_Quality\"=dword:0000004b\n"), std::string::npos);
  EXPECT_NE(text.find("\"SavePath\"=\"C:\\\\Pictures\\\\ \\\"best\\\"\"\n"), std::string::npos);
  EXPECT_NE(text.find("\"Expand\"=hex(2):25,54,45,4d,50,25,5c,78,00\n"), std::string::npos);
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    EXPECT_LE(end - start, 80u) << "long lines are wrapped";

  std::vector<Change> changes = Parsed(text);
  std::vector<KeyContents> back;
  for (const Change& change : changes) {
    if (change.kind == Change::Kind::CreateKey) {
      back.push_back({change.hive, change.key, {}});
    } else {
      ASSERT_EQ(change.kind, Change::Kind::SetValue);
      ASSERT_FALSE(back.empty());
      EXPECT_EQ(change.hive, back.back().hive);
      EXPECT_EQ(change.key, back.back().path);
      back.back().values.push_back(change.value);
    }
  }
  ASSERT_EQ(back.size(), keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(back[i].hive, keys[i].hive);
    EXPECT_EQ(back[i].path, keys[i].path);
    EXPECT_EQ(back[i].values, keys[i].values) << back[i].path;
  }
}

TEST(RegFile, ReadsWhatRegeditWrites) {
  std::vector<Change> changes = Parsed(
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; a comment\r\n"
      "[HKCU\\Software\\Tavrin\\Pagewick]\r\n"
      "\"Bin\"=hex:01,02,\\\r\n"
      "  03,04\r\n"
      "@=\"dflt\"\r\n"
      "\"Gone\"=-\r\n"
      "\"Small\"=dword:5\r\n"
      "\r\n"
      "[-HKEY_LOCAL_MACHINE\\Software\\Old]\r\n");
  ASSERT_EQ(changes.size(), 6u);
  EXPECT_EQ(changes[0].kind, Change::Kind::CreateKey);
  EXPECT_EQ(changes[0].hive, Hive::CurrentUser);
  EXPECT_EQ(changes[0].key, kKey);
  EXPECT_EQ(changes[1].value, (Value{"Bin", ValueType::Binary, {1, 2, 3, 4}}));
  EXPECT_EQ(changes[2].value, (Value{"", ValueType::Sz, TextData("dflt")}));
  EXPECT_EQ(changes[3].kind, Change::Kind::DeleteValue);
  EXPECT_EQ(changes[3].value.name, "Gone");
  EXPECT_EQ(changes[4].value, (Value{"Small", ValueType::Dword, DwordData(5)}));
  EXPECT_EQ(changes[5].kind, Change::Kind::DeleteKey);
  EXPECT_EQ(changes[5].hive, Hive::LocalMachine);
  EXPECT_EQ(changes[5].key, "Software\\Old");

  EXPECT_EQ(Parsed("REGEDIT4\n[HKCR\\x]\n").size(), 1u);
}

TEST(RegFile, MalformedLinesAreNamed) {
  const std::string header = "Windows Registry Editor Version 5.00\n";
  struct Case {
    std::string text;
    std::size_t line;
    std::string words;
  };
  const Case cases[] = {
      {"", 1, "does not start with"},
      {"[HKCU\\x]\n", 1, "does not start with"},
      {header + "\"v\"=dword:1\n", 2, "before any [key]"},
      {header + "[HKCU\\x]\n\"v\"=dword:123456789\n", 3, "1 to 8 hexadecimal digits"},
      {header + "[HKCU\\x]\n\"v\"=dword:zz\n", 3, "1 to 8 hexadecimal digits"},
      {header + "[HKCU\\x]\n\"v=\"a\"\n", 3, "expected '='"},
      {header + "[HKCU\\x]\n\"v\"=\"open\n", 3, "no closing quote"},
      {header + "[HKCU\\x]\n\"v\"=\"a\\n\"\n", 3, "unknown escape \\n"},
      {header + "[HKCU\\x]\n\"v\"=\"a\" tail\n", 3, "after the quoted value"},
      {header + "[HKCU\\x]\n\"v\"=hex:01,\\\n  0g\n", 4, "\"0g\" is not a hexadecimal byte"},
      {header + "[HKCU\\x]\n\"v\"=hex:01,\\\n", 3, "past the end of the file"},
      {header + "[HKCU\\x]\n\"v\"=hex(q):01\n", 3, "hex(N)"},
      {header + "[HKCU\\x]\n\"v\"=word:1\n", 3, "unknown value data"},
      {header + "[HKEY_USERS\\x]\n", 2, "HKEY_CURRENT_USER"},
      {header + "[HKCU\\a\\\\b]\n", 2, "HKEY_CURRENT_USER"},
      {header + "[HKCU\\x\n", 2, "no closing ']'"},
      {header + "[-HKCU]\n", 2, "hive cannot be deleted"},
      {header + "[-HKCU\\x]\n\"v\"=dword:1\n", 3, "deleted key"},
      {header + "[HKCU\\x]\nstray\n", 3, "expected a [key]"},
      {"\xFF\xFEW\0i\0", 1, "UTF-16"},
  };
  for (const Case& c : cases) {
    RegFileError error = ErrorOf(c.text);
    EXPECT_EQ(error.line, c.line) << c.text;
    EXPECT_NE(error.message.find(c.words), std::string::npos) << c.text << " -> " << error.message;
  }
}

// Damaged variants of a sound file either parse or name a line inside the
// file; whatever parses writes out and reads back to the same changes.
TEST(RegFile, MutatedFilesParseOrFailWithinTheFile) {
  const std::string sound =
      "Windows Registry Editor Version 5.00\n\n"
      "[HKEY_CURRENT_USER\\Software\\Tavrin]\n"
      "\"a\"=dword:0000004b\n\"b\"=\"x\\\\y\\\"z\"\n"
      "\"c\"=hex(2):25,54,00\n\"d\"=hex:01,02,\\\n  03\n@=-\n"
      "[-HKCR\\old]\n";
  ASSERT_TRUE(ParseRegFile(sound));
  std::uint32_t state = 12345;
  auto next = [&] {
    state = state * 1103515245u + 12345u;
    return state >> 8;
  };
  const std::string alphabet = "[]\"\\=-@:,;(){}\n\r\t 0aZhex(dword\xFF";
  for (int round = 0; round < 3000; ++round) {
    std::string text = sound;
    for (int edits = 1 + static_cast<int>(next() % 4); edits > 0; --edits) {
      std::size_t at = next() % (text.size() + 1);
      switch (next() % 3) {
        case 0: text.insert(at, 1, alphabet[next() % alphabet.size()]); break;
        case 1: if (at < text.size()) text.erase(at, 1 + next() % 8); break;
        default: if (at < text.size()) text[at] = alphabet[next() % alphabet.size()]; break;
      }
    }
    tl::expected<std::vector<Change>, RegFileError> changes = ParseRegFile(text);
    if (!changes) {
      std::size_t lines = 1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
      EXPECT_GE(changes.error().line, 1u) << text;
      EXPECT_LE(changes.error().line, lines) << text;
      EXPECT_FALSE(changes.error().message.empty());
      continue;
    }
    // Rebuild the keys the changes describe and write them out again.
    std::vector<KeyContents> keys;
    for (const Change& change : *changes) {
      if (change.kind == Change::Kind::CreateKey) keys.push_back({change.hive, change.key, {}});
      if (change.kind == Change::Kind::SetValue && !keys.empty()) keys.back().values.push_back(change.value);
    }
    tl::expected<std::vector<Change>, RegFileError> again = ParseRegFile(FormatRegFile(keys));
    ASSERT_TRUE(again) << text;
    std::size_t sets = 0;
    for (const Change& change : *again) sets += change.kind == Change::Kind::SetValue;
    std::size_t expected = 0;
    for (const KeyContents& key : keys) expected += key.values.size();
    EXPECT_EQ(sets, expected) << text;
  }
}

}  // namespace
}  // namespace pw::registry
