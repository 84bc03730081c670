#include "platform/help/chm_file.h"

#include "platform/io/byte_reader.h"

#include <chm_lib.h>

namespace pw::platform {
namespace {

std::string ObjectPath(std::string_view object) {
  std::string path(object);
  if (path.empty() || path.front() != '/') path.insert(path.begin(), '/');
  return path;
}

// A text field of #SYSTEM: up to its first zero byte.
std::string FieldText(std::span<const std::byte> field) {
  std::string text;
  for (std::byte b : field) {
    if (b == std::byte{0}) break;
    text.push_back(static_cast<char>(b));
  }
  return text;
}

int CollectObject(chmFile*, chmUnitInfo* info, void* context) {
  static_cast<std::vector<std::string>*>(context)->emplace_back(info->path);
  return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

void ChmFile::Closer::operator()(chmFile* file) const { chm_close(file); }

ChmSystemFacts ParseChmSystem(std::span<const std::byte> bytes) {
  enum : std::uint16_t { kContentsFile = 0, kDefaultTopic = 2, kTitle = 3 };
  ChmSystemFacts facts;
  io::ByteReader reader(bytes);
  reader.U32();  // version
  while (reader.ok() && reader.remaining() >= 4) {
    const std::uint16_t code = reader.U16();
    const std::uint16_t length = reader.U16();
    std::span<const std::byte> field = reader.Bytes(length);
    if (!reader.ok()) break;
    switch (code) {
      case kContentsFile: facts.contents_file = FieldText(field); break;
      case kDefaultTopic: facts.default_topic = FieldText(field); break;
      case kTitle: facts.title = FieldText(field); break;
      default: break;
    }
  }
  return facts;
}

tl::expected<ChmFile, std::string> ChmFile::Open(const std::string& path) {
  chmFile* raw = chm_open(path.c_str());
  if (!raw) return tl::unexpected("'" + path + "' is not a help file that can be read");
  return ChmFile(std::unique_ptr<chmFile, Closer>(raw), path);
}

std::vector<std::string> ChmFile::Objects() const {
  std::vector<std::string> objects;
  chm_enumerate(file_.get(), CHM_ENUMERATE_ALL, CollectObject, &objects);
  return objects;
}

bool ChmFile::Contains(std::string_view object) const {
  chmUnitInfo info{};
  return chm_resolve_object(file_.get(), ObjectPath(object).c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::vector<std::byte>> ChmFile::Read(std::string_view object) const {
  chmUnitInfo info{};
  if (chm_resolve_object(file_.get(), ObjectPath(object).c_str(), &info) != CHM_RESOLVE_SUCCESS)
    return std::nullopt;
  if (info.length > kMaxChmObjectBytes) return std::nullopt;
  std::vector<std::byte> bytes(static_cast<std::size_t>(info.length));
  if (bytes.empty()) return bytes;
  const LONGINT64 got = chm_retrieve_object(file_.get(), &info, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                            static_cast<LONGINT64>(bytes.size()));
  if (got != static_cast<LONGINT64>(bytes.size())) return std::nullopt;
  return bytes;
}

ChmSystemFacts ChmFile::System() const {
  std::optional<std::vector<std::byte>> bytes = Read("/#SYSTEM");
  return bytes ? ParseChmSystem(*bytes) : ChmSystemFacts{};
}

}  // namespace pw::platform
