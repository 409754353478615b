#pragma once

// The Windows-1252 code page, the 8-bit code page of the character map and of
// Windows raster fonts with the ANSI charset.
namespace sys {

// The Unicode character of an 8-bit code; codes the code page leaves unassigned
// map to the control character of the same number, as the system's conversion does.
char16_t windows1252ToUnicode(int code);

} // namespace sys
