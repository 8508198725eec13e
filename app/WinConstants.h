#pragma once
// Message box styles and dialog results, with the values the original program used, so that
// the flow states them exactly as its texts were written.

#include <cstdint>

namespace vostrel {

constexpr uint32_t MB_OK = 0x00000000u;
constexpr uint32_t MB_YESNO = 0x00000004u;
constexpr uint32_t MB_ICONERROR = 0x00000010u; // the stop icon
constexpr uint32_t MB_ICONQUESTION = 0x00000020u;
constexpr uint32_t MB_ICONEXCLAMATION = 0x00000030u;
constexpr uint32_t MB_ICONINFORMATION = 0x00000040u;
constexpr uint32_t MB_DEFBUTTON2 = 0x00000100u;
constexpr uint32_t MB_TYPEMASK = 0x0000000Fu;
constexpr uint32_t MB_ICONMASK = 0x000000F0u;
constexpr uint32_t MB_DEFMASK = 0x00000F00u;

constexpr int32_t IDOK = 1;
constexpr int32_t IDCANCEL = 2;
constexpr int32_t IDYES = 6;
constexpr int32_t IDNO = 7;

} // namespace vostrel
