#include "platform/library/shared_library.h"

#include <dlfcn.h>

#include <utility>

namespace pw::platform {

tl::expected<SharedLibrary, std::string> SharedLibrary::Open(const std::string& name_or_path) {
  if (name_or_path.empty()) return tl::unexpected(std::string("no library named"));
  // Symbols stay local so two libraries that export one entry name (every
  // help component exports the same one) never resolve to each other.
  void* handle = ::dlopen(name_or_path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = ::dlerror();
    return tl::unexpected(std::string(why ? why : "cannot be loaded"));
  }
  return SharedLibrary(handle);
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), kept_(other.kept_) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, nullptr);
    kept_ = other.kept_;
  }
  return *this;
}

SharedLibrary::~SharedLibrary() { Close(); }

void SharedLibrary::Close() {
  if (handle_ && !kept_) ::dlclose(handle_);
  handle_ = nullptr;
}

void SharedLibrary::KeepForRun() { kept_ = true; }

void* SharedLibrary::Symbol(const char* name) const {
  if (!handle_ || !name) return nullptr;
  return ::dlsym(handle_, name);
}

}  // namespace pw::platform
