#pragma once
// The printer support library's one entry, called by the capture load once
// per printer capture after the capture printer's jobs are deleted.

extern "C" {

// Brings the capture printer's queue back in step with its spool folder:
// a job whose spool file has gone is removed from the queue. Returns the
// number of jobs left in the queue, or -1 when the printer cannot be opened
// or listed. Callers need not look at the result.
__attribute__((visibility("default"))) int fnPWPrnRefresh();

}
