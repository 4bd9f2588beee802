#pragma once
// Text from outside (a server, a receiver, a file name) made harmless for a terminal: a control
// character in it could set the terminal's title, clear the screen or fake earlier lines.

#include <string>
#include <string_view>

// text with every byte of a control character shown as \xHH (two lower-case hex digits): the C0
// controls, DEL, the C1 controls U+0080 to U+009F in UTF-8, and any byte that is not part of a
// valid UTF-8 character (a lone 0x9B is CSI to some terminals). A backslash is shown as \\ so
// that the escapes cannot be faked. Everything else is kept as it is.
std::string TerminalText(std::string_view text);
