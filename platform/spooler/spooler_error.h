#pragma once
// Why a spooler operation failed.
#include <string_view>

namespace pw::spooler {

enum class SpoolerError {
  DatabaseUnavailable,  // the file cannot be opened or is busy
  DatabaseDamaged,      // the file is damaged or not ours; left as it is
  UnknownPrinter,
  UnknownJob,
  UnsupportedCommand,
  SpoolFileFailed,      // the spool folder or file cannot be written
};

std::string_view Describe(SpoolerError error);

}  // namespace pw::spooler
