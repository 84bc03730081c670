#pragma once
// A structural check of a page EMF taken from a spool file: what the
// metafile loader needs before it accepts the bytes as a metafile.
#include <cstddef>
#include <optional>
#include <span>

namespace pw::app {

// The metafile's length from its header (nBytes) when the bytes start with
// a well-formed EMR_HEADER record whose nBytes fits the bytes; otherwise
// nothing.
std::optional<std::size_t> EnhancedMetafileLength(std::span<const std::byte> bytes);

}  // namespace pw::app
