#include "ui/frame_destroy.h"

#include "settings/settings_store.h"
#include "settings/value_names.h"

#include <cstdint>
#include <system_error>

namespace pw::ui {

namespace fs = std::filesystem;

bool StoreWindowPlacement(const ClosingPlacement& placement) {
  using settings::WriteUserDword;
  if (placement.maximized) return WriteUserDword(settings::kKodMainWinMax, 1);
  // Edges left of or above the screen are negative; they are stored as the
  // 32-bit pattern and read back as the same signed number.
  bool ok = WriteUserDword(settings::kKodMainWinMax, 0);
  ok = WriteUserDword(settings::kWinBottom, static_cast<std::uint32_t>(placement.bottom)) && ok;
  ok = WriteUserDword(settings::kWinTop, static_cast<std::uint32_t>(placement.top)) && ok;
  ok = WriteUserDword(settings::kWinLeft, static_cast<std::uint32_t>(placement.left)) && ok;
  ok = WriteUserDword(settings::kWinRight, static_cast<std::uint32_t>(placement.right)) && ok;
  return ok;
}

int EmptyWorkFolder(const fs::path& folder) {
  std::error_code ec;
  fs::directory_iterator entries(folder, ec);
  if (ec) return 0;
  int deleted = 0;
  for (const fs::directory_entry& entry : entries) {
    std::error_code status_ec;
    // symlink_status: a link to a folder is a file here and goes; the
    // folder it points to is not touched.
    if (entry.symlink_status(status_ec).type() == fs::file_type::directory || status_ec) continue;
    std::error_code remove_ec;
    if (fs::remove(entry.path(), remove_ec)) ++deleted;
  }
  return deleted;
}

}  // namespace pw::ui
