#pragma once
// Text is UTF-8 throughout the program; the Win32 calls take and give UTF-16. These convert at
// that edge, and say what a system error code means.

#include <string>

// The UTF-16 form of UTF-8 `text`; bytes that are not UTF-8 become U+FFFD.
std::wstring WideText(const std::string& text);
// The UTF-8 form of UTF-16 `text`.
std::string Utf8Text(const std::wstring& text);
std::string Utf8Text(const wchar_t* text);

// The system's sentence for a Win32 error code (GetLastError), without the line break it ends
// with, in UTF-8.
std::string SystemErrorText(unsigned long code);
