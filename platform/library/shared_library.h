#pragma once
// A shared library loaded at run time: dlopen on opening, dlclose when the
// object goes, unless it is kept for the rest of the run.
#include <string>

#include <tl/expected.hpp>

namespace pw::platform {

class SharedLibrary {
 public:
  // A name with a '/' is a path; a bare name is searched for as the
  // dynamic loader searches (the program's library folders first). The
  // error is the loader's own text.
  static tl::expected<SharedLibrary, std::string> Open(const std::string& name_or_path);

  SharedLibrary(SharedLibrary&& other) noexcept;
  SharedLibrary& operator=(SharedLibrary&& other) noexcept;
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;
  ~SharedLibrary();

  // The exported function of that name cast to the caller's type, or null.
  template <typename Function>
  Function Find(const char* name) const {
    return reinterpret_cast<Function>(Symbol(name));
  }

  // Leaves the library loaded until the process ends, for libraries whose
  // code may still run (windows, timers) after the caller is done.
  void KeepForRun();

 private:
  explicit SharedLibrary(void* handle) : handle_(handle) {}
  void Close();
  void* Symbol(const char* name) const;

  void* handle_ = nullptr;
  bool kept_ = false;
};

}  // namespace pw::platform
