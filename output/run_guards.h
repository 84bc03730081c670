#pragma once
// What every writer run puts right however it ends.
#include "output/output_run.h"

namespace pw::output {

// Clears send after run when the run ends, sent or not, so that an aborted
// or failed e-mail run does not turn the next save into a send.
class SendFlagReset {
 public:
  SendFlagReset() = default;
  ~SendFlagReset() { Run().send_after_run.store(false); }
  SendFlagReset(const SendFlagReset&) = delete;
  SendFlagReset& operator=(const SendFlagReset&) = delete;
};

// Sets the multipage mode back to 0, in memory and in "KodMultipageFormat".
class MultipageModeReset {
 public:
  MultipageModeReset() = default;
  ~MultipageModeReset();
  MultipageModeReset(const MultipageModeReset&) = delete;
  MultipageModeReset& operator=(const MultipageModeReset&) = delete;
};

// Sets the multipage mode in memory and stores it.
void StoreMultipageMode(int mode);

}  // namespace pw::output
