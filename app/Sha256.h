#pragma once
// SHA-256 (FIPS 180-4): the one-game guard names its lock and socket by the digest of the
// file's identity, so that any version of the game meets any other over the same file.

#include <array>
#include <cstdint>
#include <string_view>

namespace vostrel {

std::array<uint8_t, 32> Sha256(std::string_view bytes);

} // namespace vostrel
