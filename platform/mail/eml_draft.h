#pragma once
// An RFC 5322 message with MIME attachments, as the outbox writes it.
#include <string>

#include <tl/expected.hpp>

#include "platform/mail/mail_system.h"

namespace pw::platform {

// The whole message text with CRLF line ends: headers, a text part and one
// base64 part per attachment, in order. Fails with the path and the reason
// when an attachment cannot be read.
tl::expected<std::string, std::string> ComposeDraft(const MailMessage& message, const std::string& from,
                                                    const std::string& boundary);

// Writes a draft into `folder` (made when missing) under a name of its own
// and returns its path.
tl::expected<std::string, std::string> WriteDraft(const std::string& folder, const MailMessage& message);

}  // namespace pw::platform
