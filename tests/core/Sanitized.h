#pragma once
// Whether this build runs under AddressSanitizer, which is about ten times slower and cannot
// take an address-space limit: the heavy tests check less there.

namespace vostrel::test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

} // namespace vostrel::test
