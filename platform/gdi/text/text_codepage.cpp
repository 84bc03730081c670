#include "platform/gdi/text/text_codepage.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace pw::gdi {
namespace {

constexpr std::uint8_t kSymbolCharset = 2;
constexpr char16_t kReplacement = 0xFFFD;

class Converter {
 public:
  explicit Converter(const std::string& from) : cd_(iconv_open("UTF-16LE", from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts one character from `in` (at most `length` bytes). Returns the
  // bytes taken (0: not a complete, valid character) and appends its units.
  std::size_t One(const std::uint8_t* in, std::size_t length, std::u16string& out) {
    for (std::size_t take = 1; take <= length && take <= 4; ++take) {
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      char buffer[16];
      char* src = const_cast<char*>(reinterpret_cast<const char*>(in));
      std::size_t src_left = take;
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      const std::size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
      if (r == static_cast<std::size_t>(-1) && errno == EINVAL) continue;  // needs more bytes
      if (r == static_cast<std::size_t>(-1) || src_left != 0) return 0;
      const std::size_t produced = sizeof buffer - dst_left;
      for (std::size_t i = 0; i + 1 < produced; i += 2) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(buffer[i]) |
                                            (static_cast<unsigned char>(buffer[i + 1]) << 8)));
      }
      return take;
    }
    return 0;
  }

 private:
  iconv_t cd_;
};

}  // namespace

int CodePageOfCharset(std::uint8_t charset) {
  switch (charset) {
    case 238: return 1250;
    case 204: return 1251;
    case 161: return 1253;
    case 162: return 1254;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 163: return 1258;
    case 222: return 874;
    case 128: return 932;
    case 134: return 936;
    case 129: return 949;
    case 136: return 950;
    case 130: return 1361;
    case 255: return 437;
    default: return 1252;
  }
}

DecodedText DecodeAnsi(std::span<const std::uint8_t> bytes, std::uint8_t charset) {
  DecodedText out;
  out.text.reserve(bytes.size());
  out.bytes_per_unit.reserve(bytes.size());
  auto single = [&](char16_t c) {
    out.text.push_back(c);
    out.bytes_per_unit.push_back(1);
  };
  if (charset == kSymbolCharset) {
    for (auto b : bytes) single(b);
    return out;
  }
  const int page = CodePageOfCharset(charset);
  Converter converter(page == 1361 ? std::string("JOHAB") : "CP" + std::to_string(page));
  if (!converter.ok()) {
    for (auto b : bytes) single(b < 0x80 ? b : kReplacement);
    return out;
  }
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t before = out.text.size();
    const std::size_t taken = converter.One(bytes.data() + i, bytes.size() - i, out.text);
    if (taken == 0 || out.text.size() == before) {
      out.text.resize(before);
      single(kReplacement);
      ++i;
      continue;
    }
    // A character is one unit here (code pages stay in the BMP); its bytes
    // go with its first unit.
    out.bytes_per_unit.push_back(static_cast<std::uint8_t>(taken));
    for (std::size_t u = before + 1; u < out.text.size(); ++u) out.bytes_per_unit.push_back(0);
    i += taken;
  }
  return out;
}

}  // namespace pw::gdi
