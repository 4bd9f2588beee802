#pragma once
// Character-level helpers of the XML reader: UTF-8 stepping, white space, trimming and entities.

#include <cstddef>
#include <string>
#include <string_view>

// Number of bytes of the character that starts with this byte: 2 for 0xC0-0xDF, 3 for
// 0xE0-0xEF, 4 for 0xF0-0xF4, 1 for every other byte. Bytes are not checked further.
int Utf8StepLength(unsigned char lead);

// True for tab, line feed, carriage return and space.
bool IsXmlSpace(char c);

// The text without leading and trailing white space.
std::string_view TrimXmlSpace(std::string_view text);

// Replaces the entities of text ("&amp;", "&lt;", "&gt;", "&quot;", "&apos;" in any letter case,
// "&#" decimal ";" and "&#x" hexadecimal ";" below 256) and appends the result to out. Returns 0,
// or the reader's error 12 (unknown entity or bad digit) or 13 (code of 256 or more) with
// errorOffset set to the offset of the entity's "&" in text.
int DecodeXmlEntities(std::string_view text, std::string& out, std::size_t& errorOffset);
