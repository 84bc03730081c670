// pagewick-reg: reads and writes Pagewick's registry from the command line,
// in the manner of Windows' reg.exe and the .reg files of its editor.
#include "platform/files/file_writing.h"
#include "platform/limits/limits.h"
#include "platform/registry/key_path.h"
#include "platform/registry/reg_file.h"
#include "platform/registry/registry.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace pw::registry {
namespace {

namespace fs = std::filesystem;

enum Exit : int { kOk = 0, kNotFound = 1, kUsage = 2, kStore = 3 };

constexpr std::string_view kHelp = R"(Usage: pagewick-reg COMMAND ...

Reads and writes the registry Pagewick keeps in registry.db of its home
folder ($PAGEWICK_HOME, else $XDG_DATA_HOME/pagewick, else
~/.local/share/pagewick).

Commands:
  query KEY [NAME]                        show a key's values and subkeys, or one value
  set KEY NAME (dword|sz|expand_sz) VALUE store a value, making the key if needed
  delete KEY [NAME]                       delete a key with everything below it, or one value
  export FILE [KEY]                       write a .reg file of KEY, or of every hive
  import FILE                             apply a .reg file, all of it or nothing

KEY starts with its hive: HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or
HKEY_CLASSES_ROOT (HKCU, HKLM, HKCR), e.g. HKCU\Software\Tavrin\Pagewick.
An empty NAME ("") is the key's default value. A dword VALUE is decimal or
0x-prefixed hexadecimal. FILE "-" is standard input or output.

.reg files are "Windows Registry Editor Version 5.00" text in UTF-8.

Exit status: 0 done, 1 key or value not found, 2 usage or input error (a
wrong argument, a .reg file that cannot be read or parsed; nothing changed),
3 the registry cannot be read or written (a damaged or read-only store:
nothing changed), or the exported file cannot be written.
)";

// Reading a .reg file beyond this is refused rather than held in memory.
constexpr auto kMaxRegFileBytes = static_cast<std::size_t>(limits::kRegFileBytes.value);

int Usage(std::string_view problem) {
  std::cerr << "pagewick-reg: " << problem << "\nTry 'pagewick-reg --help'.\n";
  return kUsage;
}

// After a failed operation: a store that cannot be used, else `otherwise`.
int StoreFailure(int otherwise, std::string_view what) {
  if (std::optional<std::string> problem = StoreProblem()) {
    std::cerr << "pagewick-reg: " << *problem << "\n";
    return kStore;
  }
  if (!what.empty()) std::cerr << "pagewick-reg: " << what << "\n";
  return otherwise;
}

std::optional<FullKey> KeyArgument(std::string_view text) {
  tl::expected<FullKey, std::string> key = ReadFullKey(text);
  if (!key) {
    std::cerr << "pagewick-reg: " << key.error() << "\n";
    return std::nullopt;
  }
  return std::move(*key);
}

std::string TypeName(ValueType type) {
  switch (type) {
    case ValueType::None: return "REG_NONE";
    case ValueType::Sz: return "REG_SZ";
    case ValueType::ExpandSz: return "REG_EXPAND_SZ";
    case ValueType::Binary: return "REG_BINARY";
    case ValueType::Dword: return "REG_DWORD";
  }
  return "REG_TYPE_" + std::to_string(static_cast<std::uint32_t>(type));
}

std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (std::uint8_t byte : bytes) {
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
  }
  return out;
}

std::string DataText(const Value& value) {
  const std::vector<std::uint8_t>& data = value.data;
  if ((value.type == ValueType::Sz || value.type == ValueType::ExpandSz)) {
    std::string text(data.begin(), data.end());
    return text.substr(0, text.find('\0'));
  }
  if (const auto number = DwordOf(value)) {
    std::ostringstream out;
    out << "0x" << std::hex << *number;
    return out.str();
  }
  return Hex(data);
}

void PrintValue(const Value& value) {
  std::cout << "    " << (value.name.empty() ? "(Default)" : value.name) << "    " << TypeName(value.type) << "    "
            << DataText(value) << "\n";
}

int Query(std::span<const std::string_view> args) {
  if (args.empty() || args.size() > 2) return Usage("query needs KEY and at most a NAME");
  std::optional<FullKey> key = KeyArgument(args[0]);
  if (!key) return kUsage;
  std::string name = FullKeyName(key->hive, key->path);
  if (args.size() == 2) {
    std::optional<Value> value = QueryValue(key->hive, key->path, args[1]);
    if (!value) return StoreFailure(kNotFound, "no value \"" + std::string(args[1]) + "\" in " + name);
    std::cout << name << "\n";
    PrintValue(*value);
    return kOk;
  }
  std::optional<std::vector<Value>> values = Values(key->hive, key->path);
  std::optional<std::vector<std::string>> subkeys = SubKeys(key->hive, key->path);
  if (!values || !subkeys) return StoreFailure(kNotFound, "no key " + name);
  std::cout << name << "\n";
  for (const Value& value : *values) PrintValue(value);
  if (!subkeys->empty()) std::cout << "\n";
  for (const std::string& subkey : *subkeys) std::cout << name << "\\" << subkey << "\n";
  return kOk;
}

std::optional<std::uint32_t> DwordArgument(std::string_view text) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  std::uint32_t number = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

int Set(std::span<const std::string_view> args) {
  if (args.size() != 4) return Usage("set needs KEY NAME TYPE VALUE");
  std::optional<FullKey> key = KeyArgument(args[0]);
  if (!key) return kUsage;
  Value value{std::string(args[1]), ValueType::None, {}};
  std::string_view type = args[2];
  if (type == "dword") {
    std::optional<std::uint32_t> number = DwordArgument(args[3]);
    if (!number) return Usage("\"" + std::string(args[3]) + "\" is not a 32-bit unsigned number");
    value.type = ValueType::Dword;
    value.data = DwordData(*number);
  } else if (type == "sz" || type == "expand_sz") {
    value.type = type == "sz" ? ValueType::Sz : ValueType::ExpandSz;
    value.data = TextData(args[3]);
  } else {
    return Usage("the type is dword, sz or expand_sz, not \"" + std::string(type) + "\"");
  }
  if (!SetValue(key->hive, key->path, value)) return StoreFailure(kStore, "the value could not be stored");
  return kOk;
}

int Delete(std::span<const std::string_view> args) {
  if (args.empty() || args.size() > 2) return Usage("delete needs KEY and at most a NAME");
  std::optional<FullKey> key = KeyArgument(args[0]);
  if (!key) return kUsage;
  std::string name = FullKeyName(key->hive, key->path);
  if (args.size() == 2) {
    if (!DeleteValue(key->hive, key->path, args[1]))
      return StoreFailure(kNotFound, "no value \"" + std::string(args[1]) + "\" in " + name);
    return kOk;
  }
  if (key->path.empty()) return Usage("a hive cannot be deleted");
  if (!DeleteKey(key->hive, key->path)) return StoreFailure(kNotFound, "no key " + name);
  return kOk;
}

int Export(std::span<const std::string_view> args) {
  if (args.empty() || args.size() > 2) return Usage("export needs FILE and at most a KEY");
  std::vector<KeyContents> keys;
  if (args.size() == 2) {
    std::optional<FullKey> key = KeyArgument(args[1]);
    if (!key) return kUsage;
    std::optional<std::vector<KeyContents>> tree = ReadTree(key->hive, key->path);
    if (!tree) return StoreFailure(kNotFound, "no key " + FullKeyName(key->hive, key->path));
    keys = std::move(*tree);
  } else {
    for (Hive hive : {Hive::LocalMachine, Hive::CurrentUser, Hive::ClassesRoot}) {
      std::optional<std::vector<KeyContents>> tree = ReadTree(hive, "");
      if (!tree) return StoreFailure(kStore, "the registry could not be read");
      keys.insert(keys.end(), tree->begin(), tree->end());
    }
  }
  std::string text = FormatRegFile(keys);
  if (args[0] == "-") {
    std::cout << text;
    return std::cout.flush() ? kOk : kStore;
  }
  if (auto written = files::ReplaceFile(std::string(args[0]), text); !written) {
    std::cerr << "pagewick-reg: " << written.error().Message() << "\n";
    return kStore;
  }
  return kOk;
}

// The whole text of FILE ("-": standard input), or why it cannot be had.
// A file known to be too large is refused before a byte is read; a stream
// is cut off as soon as it passes the bound.
tl::expected<std::string, std::string> ReadAll(std::string_view file) {
  const std::string too_large = std::string(file) + ": " + std::string(limits::kRegFileBytes.message);
  const std::string cannot_read = "cannot read " + std::string(file);
  std::ifstream in;
  std::istream* source = &std::cin;
  if (file != "-") {
    std::error_code error;
    const fs::path path{std::string(file)};
    if (fs::is_regular_file(path, error) && fs::file_size(path, error) > kMaxRegFileBytes && !error)
      return tl::unexpected(too_large);
    in.open(path, std::ios::binary);
    if (!in) return tl::unexpected(cannot_read);
    source = &in;
  }
  std::string text;
  char buffer[65536];
  while (source->read(buffer, sizeof buffer) || source->gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(source->gcount()));
    if (text.size() > kMaxRegFileBytes) return tl::unexpected(too_large);
  }
  if (source->bad()) return tl::unexpected(cannot_read);
  return text;
}

int Import(std::span<const std::string_view> args) {
  if (args.size() != 1) return Usage("import needs FILE");
  tl::expected<std::string, std::string> text = ReadAll(args[0]);
  if (!text) {
    std::cerr << "pagewick-reg: " << text.error() << "\n";
    return kUsage;
  }
  tl::expected<std::vector<Change>, RegFileError> changes = ParseRegFile(*text);
  if (!changes) {
    std::cerr << "pagewick-reg: " << args[0] << ":" << changes.error().line << ": " << changes.error().message
              << "; nothing was imported\n";
    return kUsage;
  }
  if (!Apply(*changes)) return StoreFailure(kStore, "the file could not be applied; nothing was imported");
  return kOk;
}

int Run(std::span<const std::string_view> args) {
  if (args.empty()) return Usage("no command given");
  std::string_view command = args[0];
  std::span<const std::string_view> rest = args.subspan(1);
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kHelp;
    return kOk;
  }
  if (command == "query") return Query(rest);
  if (command == "set") return Set(rest);
  if (command == "delete") return Delete(rest);
  if (command == "export") return Export(rest);
  if (command == "import") return Import(rest);
  return Usage("unknown command \"" + std::string(command) + "\"");
}

}  // namespace
}  // namespace pw::registry

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  return pw::registry::Run(args);
}
