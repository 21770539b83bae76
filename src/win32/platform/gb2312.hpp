#pragma once

#include <string>
#include <string_view>

namespace pal4::win32 {

// The tool's texts are GB2312 (code page 936) whatever the system's code page; the Win32 layer
// converts them at the boundary and calls only the W functions.
inline constexpr unsigned GB2312_CODE_PAGE = 936;

// Each character as code page 936 defines it, U+FFFD for bytes it defines as none: the one
// decoding of the tool, which the overlay, the panel and every dialogue output share
// (text/text_encoding.hpp).
std::wstring widenGb2312(std::string_view text);
std::string narrowToGb2312(std::wstring_view text);

} // namespace pal4::win32
