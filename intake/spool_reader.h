#pragma once
// Turns the capture printer's jobs into page files: lists the jobs, keeps
// those of the captured document, picks the spool file written since the
// capture and splits it into one EMF per page in the work folder.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/spooler/spool_pages.h"

namespace pw::intake {

// Splits the spool file of every job whose document matches the expected
// name ("Microsoft Word - " + document). True when the jobs could be listed,
// whether or not a page was written.
bool SplitCaptureJobs(std::string_view expected_document_name);

// The first "*.spl" file of the spool folder, in listing order, last
// written at or after the capture moment; "_" when there is none. With no
// spool file at all the user is offered the Quick Start Reference.
std::string FindCaptureSpoolFile(const std::string& spool_folder, const std::string& job_spool_file);

// Writes the spool file's pages into the work folder as job id plus page
// number plus ".emf". False when the file does not start with a spool
// header or memory for a page ran out.
bool SplitSpoolFile(const std::string& spool_file, std::uint32_t job_id);

// What one split did, for the split tool and for tests: the tally of the
// file's page records (how many it held, how many were whole, whether it
// was cut off) and the page files written.
struct SplitReport : spooler::SpoolTally {
  bool parsed = false;  // SplitSpoolFile's result
  int pages_written = 0;
};

// A spool file's pages as validated metafiles, read a buffer at a time and
// written nowhere. A file that does not open gives no pages (end NotSpool).
spooler::SpoolPages ReadSpoolFilePages(const std::string& spool_file);

// As SplitSpoolFile, into `folder` (which ends with '/').
SplitReport SplitSpoolFileInto(const std::string& spool_file, std::uint32_t job_id, const std::string& folder);

// The job's document name matches the expected name: the parentheses of
// the expected name are ignored in both, and the job name's last four
// characters (its extension) are left out. Case-sensitive.
bool JobMatchesDocument(std::string_view job_document, std::string_view expected_document_name);

// Writes a page file, readable by its user only. The page is written to a
// temporary file beside it and renamed over the name when whole: a file or
// link there is replaced (a link is never followed), a folder stays and the
// page is not written, and a run killed midway leaves no part of a page
// under the name. False when it could not be written whole.
bool WritePageFile(const std::string& path, std::span<const std::byte> bytes);

// Job 12, page 3 gives "120003.emf"; page 10000 of job 5 "510000.emf".
std::string PageFileName(std::uint32_t job_id, int page);

// YYMMDDhhmmss of a local time as one number, as the capture moment is
// written: (Y - 2000) * 10^10 + M * 10^8 + D * 10^6 + h * 10^4 + min * 100 + s.
std::int64_t SpoolStamp(const std::tm& local);

// CurSPLTimeInfo1 * 1000000 + CurSPLTimeInfo2. When either value is absent
// or not a whole decimal number the capture moment is unknown and the
// threshold is 0: every spool file qualifies.
std::int64_t CaptureThreshold();

// The "LastSplFileTime" value of a UTC time: seconds in a calendar of
// 30-day months counted from 2003, modulo 2^32.
std::uint32_t SplitTimeValue(const std::tm& utc);

}  // namespace pw::intake
