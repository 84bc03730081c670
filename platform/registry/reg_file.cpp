#include "platform/registry/reg_file.h"

#include "platform/registry/key_path.h"

#include <charconv>
#include <optional>

namespace pw::registry {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";
constexpr std::size_t kWrapColumn = 78;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// Physical lines with their numbers; '\r' before '\n' is dropped by Trim.
// The newline that ends the last line does not begin another.
class Lines {
 public:
  explicit Lines(std::string_view text) : rest_(text) {
    if (rest_.ends_with('\n')) rest_.remove_suffix(1);
  }
  bool Next(std::string_view& line) {
    if (done_) return false;
    std::size_t end = rest_.find('\n');
    line = rest_.substr(0, end);
    if (end == std::string_view::npos) {
      done_ = true;
    } else {
      rest_.remove_prefix(end + 1);
    }
    ++number_;
    return true;
  }
  std::size_t Number() const { return number_; }

 private:
  std::string_view rest_;
  std::size_t number_ = 0;
  bool done_ = false;
};

tl::unexpected<RegFileError> Fail(std::size_t line, std::string message) {
  return tl::unexpected(RegFileError{line, std::move(message)});
}

// A quoted text at the start of `text` (which begins with '"'); `text` is
// left after the closing quote.
tl::expected<std::string, std::string> TakeQuoted(std::string_view& text) {
  std::string out;
  std::size_t i = 1;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') break;
    if (c == '\\') {
      if (i + 1 >= text.size()) return tl::unexpected(std::string("a text ends inside an escape"));
      char escaped = text[++i];
      if (escaped != '\\' && escaped != '"')
        return tl::unexpected(std::string("unknown escape \\") + escaped + " in a quoted text");
      out += escaped;
    } else {
      out += c;
    }
  }
  if (i >= text.size()) return tl::unexpected(std::string("a quoted text has no closing quote"));
  text.remove_prefix(i + 1);
  return out;
}

template <typename Number>
std::optional<Number> ParseHex(std::string_view digits, std::size_t max_digits) {
  if (digits.empty() || digits.size() > max_digits) return std::nullopt;
  Number number{};
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return number;
}

// Comma-separated bytes, continued on following lines after a trailing '\'.
tl::expected<std::vector<std::uint8_t>, RegFileError> TakeBytes(std::string_view data, Lines& lines) {
  std::vector<std::uint8_t> bytes;
  while (true) {
    data = Trim(data);
    bool continues = !data.empty() && data.back() == '\\';
    if (continues) data.remove_suffix(1);
    while (!data.empty()) {
      std::size_t comma = data.find(',');
      std::string_view token = Trim(data.substr(0, comma));
      bool last = comma == std::string_view::npos;
      data = last ? std::string_view() : data.substr(comma + 1);
      if (token.empty() && last) break;  // a trailing comma
      std::optional<std::uint8_t> byte = ParseHex<std::uint8_t>(token, 2);
      if (!byte) return Fail(lines.Number(), "\"" + std::string(token) + "\" is not a hexadecimal byte");
      bytes.push_back(*byte);
    }
    if (!continues) return bytes;
    if (!lines.Next(data)) return Fail(lines.Number(), "the value continues past the end of the file");
  }
}

tl::expected<Value, RegFileError> TakeData(std::string name, std::string_view data, Lines& lines) {
  std::size_t line = lines.Number();
  Value value{std::move(name), ValueType::None, {}};
  if (data.starts_with('"')) {
    tl::expected<std::string, std::string> text = TakeQuoted(data);
    if (!text) return Fail(line, text.error());
    if (!Trim(data).empty()) return Fail(line, "unexpected text after the quoted value");
    value.type = ValueType::Sz;
    value.data = TextData(*text);
    return value;
  }
  if (data.starts_with("dword:")) {
    std::optional<std::uint32_t> number = ParseHex<std::uint32_t>(Trim(data.substr(6)), 8);
    if (!number) return Fail(line, "a dword needs 1 to 8 hexadecimal digits");
    value.type = ValueType::Dword;
    value.data = DwordData(*number);
    return value;
  }
  if (data.starts_with("hex:")) {
    value.type = ValueType::Binary;
    data.remove_prefix(4);
  } else if (data.starts_with("hex(")) {
    std::size_t close = data.find("):");
    std::optional<std::uint32_t> type =
        close == std::string_view::npos ? std::nullopt : ParseHex<std::uint32_t>(data.substr(4, close - 4), 8);
    if (!type) return Fail(line, "hex(N): needs a hexadecimal type number");
    value.type = static_cast<ValueType>(*type);
    data.remove_prefix(close + 2);
  } else {
    return Fail(line, "unknown value data \"" + std::string(data) + "\"");
  }
  tl::expected<std::vector<std::uint8_t>, RegFileError> bytes = TakeBytes(data, lines);
  if (!bytes) return tl::unexpected(bytes.error());
  value.data = std::move(*bytes);
  return value;
}

struct Section {
  FullKey key;
  bool deleted = false;
};

}  // namespace

tl::expected<std::vector<Change>, RegFileError> ParseRegFile(std::string_view text) {
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))
    return Fail(1, "the file is UTF-16 text; save it as UTF-8");
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);

  std::vector<Change> changes;
  Lines lines(text);
  std::string_view raw;
  bool header = false;
  std::optional<Section> section;
  while (lines.Next(raw)) {
    std::string_view line = Trim(raw);
    std::size_t number = lines.Number();
    if (line.empty()) continue;
    if (!header) {
      if (line != kHeader && line != kOldHeader)
        return Fail(number, "the file does not start with \"" + std::string(kHeader) + "\"");
      header = true;
      continue;
    }
    if (line.front() == ';') continue;
    if (line.front() == '[') {
      if (line.back() != ']') return Fail(number, "a key line has no closing ']'");
      std::string_view name = line.substr(1, line.size() - 2);
      bool deleted = name.starts_with('-');
      if (deleted) name.remove_prefix(1);
      tl::expected<FullKey, std::string> key = ReadFullKey(name);
      if (!key) return Fail(number, std::move(key.error()));
      if (deleted && key->path.empty()) return Fail(number, "a hive cannot be deleted");
      changes.push_back(Change{deleted ? Change::Kind::DeleteKey : Change::Kind::CreateKey, key->hive, key->path, {}});
      section = Section{*key, deleted};
      continue;
    }
    if (line.front() != '"' && line.front() != '@') return Fail(number, "expected a [key] or a \"name\"= line");
    if (!section) return Fail(number, "a value comes before any [key] line");
    if (section->deleted) return Fail(number, "a value under a deleted key");

    std::string name;
    if (line.front() == '@') {
      line.remove_prefix(1);
    } else {
      tl::expected<std::string, std::string> quoted = TakeQuoted(line);
      if (!quoted) return Fail(number, quoted.error());
      name = std::move(*quoted);
    }
    line = Trim(line);
    if (!line.starts_with('=')) return Fail(number, "expected '=' after the value name");
    line = Trim(line.substr(1));
    if (line == "-") {
      changes.push_back(Change{Change::Kind::DeleteValue, section->key.hive, section->key.path,
                               Value{std::move(name), ValueType::None, {}}});
      continue;
    }
    tl::expected<Value, RegFileError> value = TakeData(std::move(name), line, lines);
    if (!value) return tl::unexpected(value.error());
    changes.push_back(Change{Change::Kind::SetValue, section->key.hive, section->key.path, std::move(*value)});
  }
  if (!header) return Fail(lines.Number(), "the file does not start with \"" + std::string(kHeader) + "\"");
  return changes;
}

namespace {

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// A text that reads back to the same bytes: one terminating zero, none
// inside, and nothing that would break the line.
bool PlainText(const Value& value) {
  const std::vector<std::uint8_t>& data = value.data;
  if (data.empty() || data.back() != 0) return false;
  for (std::size_t i = 0; i + 1 < data.size(); ++i) {
    if (data[i] == 0 || data[i] == '\n' || data[i] == '\r') return false;
  }
  return true;
}

std::string HexNumber(std::uint32_t number, int width) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[number & 0xF]);
    number >>= 4;
  } while (number != 0);
  if (out.size() < static_cast<std::size_t>(width)) out.insert(0, static_cast<std::size_t>(width) - out.size(), '0');
  return out;
}

std::string FormatValue(const Value& value) {
  std::string line = value.name.empty() ? "@=" : Quoted(value.name) + "=";
  if (value.type == ValueType::Sz && PlainText(value)) {
    std::string_view text(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1);
    return line + Quoted(text);
  }
  if (const auto number = DwordOf(value)) return line + "dword:" + HexNumber(*number, 8);
  line += value.type == ValueType::Binary ? std::string("hex:")
                                          : "hex(" + HexNumber(static_cast<std::uint32_t>(value.type), 1) + "):";
  std::size_t column = line.size();
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    std::string token = HexNumber(value.data[i], 2) + (i + 1 < value.data.size() ? "," : "");
    if (column + token.size() > kWrapColumn) {
      line += "\\\n  ";
      column = 2;
    }
    line += token;
    column += token.size();
  }
  return line;
}

}  // namespace

std::string FormatRegFile(std::span<const KeyContents> keys) {
  std::string out = std::string(kHeader) + "\n\n";
  for (const KeyContents& key : keys) {
    out += "[" + FullKeyName(key.hive, key.path) + "]\n";
    for (const Value& value : key.values) out += FormatValue(value) + "\n";
    out += "\n";
  }
  return out;
}

}  // namespace pw::registry
