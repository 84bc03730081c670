#pragma once
// E-mail delivery: the written files handed to the user's mail client.
#include <string>
#include <vector>

#include "res/maker.h"

namespace pw::output {

using res::kSupportAddress;
using res::kWebHost;
using res::kWebSite;

// The attachments of a series send: entry 0 alone when the multipage mode
// is not 0, else entries 0 to page count - 1 in order. Entries never
// written are left out.
std::vector<std::string> SeriesAttachments(int page_count, int multipage_mode);

// All files of an image series run, as one new message.
void SendSeries(int page_count);
// Entry 0 of the written-file list alone.
void SendSingleFile();
// The emergency report (entry 0) to the maker's support address; tells
// the user when it cannot be sent, naming the report in `report_folder`
// (the "InstallPath" folder unless the report was written elsewhere).
void SendReport();
void SendReport(const std::string& report_folder);

}  // namespace pw::output
