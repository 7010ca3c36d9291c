// How the archive keeps a listing's 94 texts: each text as its length
// (base-128, low bits first) and its UTF-8 bytes, the versions one import
// stores one after another in a block, and the block compressed (zstd).
// A block read back is checked to the last byte: a damaged one is a
// Corrupt store, never a crash.
#pragma once

#include "ListingChanges.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kovra::archive {

using Digest = std::array<std::uint8_t, 32>;

// Appends the listing's texts to `out`.
void AppendTexts(const TKovraDataClass& listing, std::string& out);
// Reads the texts of one version at `offset` of a block; false when the
// block holds no whole version there.
bool ReadTexts(std::string_view block, std::uint64_t offset, changes::FieldTexts& texts);

std::string CompressBlock(std::string_view block);
// False when `compressed` is not a block or is larger than blocks are made.
bool DecompressBlock(std::string_view compressed, std::string& block);

// A block holds at most this many versions, so reading one version back
// unpacks little besides it.
inline constexpr int kVersionsPerBlock = 64;

Digest Sha256(std::string_view bytes);

// SHA-256 of a whole regular file, read in pieces; false (and `message`
// the reader's message) when it cannot be read.
bool Sha256OfFile(const std::string& path, Digest& digest, std::string& message);

} // namespace kovra::archive
