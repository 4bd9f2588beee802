// Outside text shown on a terminal: every control character as \xHH, nothing else changed.
#include "common/terminal_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TerminalText, PlainTextAndUtf8StayAsTheyAre) {
  EXPECT_EQ(TerminalText("Rally  (type 2)"), "Rally  (type 2)");
  EXPECT_EQ(TerminalText("Gr\xC3\xBC\xC3\x9F"
                         "e \xE2\x82\xAC \xF0\x9F\x8F\x81 \xC2\xA0."),
            "Gr\xC3\xBC\xC3\x9F"
            "e \xE2\x82\xAC \xF0\x9F\x8F\x81 \xC2\xA0.");
  EXPECT_EQ(TerminalText(""), "");
}

TEST(TerminalText, C0ControlsAndDeleteAreEscaped) {
  EXPECT_EQ(TerminalText("\x1b]0;owned\x07"), "\\x1b]0;owned\\x07");
  EXPECT_EQ(TerminalText("a\x1b[2Jb"), "a\\x1b[2Jb");
  EXPECT_EQ(TerminalText("line\r\nfake\tx\x7f"), "line\\x0d\\x0afake\\x09x\\x7f");
  EXPECT_EQ(TerminalText(std::string("nul\0end", 7)), "nul\\x00end");
  EXPECT_EQ(TerminalText("\x01\x1f "), "\\x01\\x1f ");
}

TEST(TerminalText, C1ControlsAndBrokenUtf8AreEscapedByteByByte) {
  // U+009B (CSI) and U+0085 in UTF-8; U+00A0 is the first character past them.
  EXPECT_EQ(TerminalText("\xC2\x9B"
                         "2J\xC2\x85\xC2\xA0"),
            "\\xc2\\x9b2J\\xc2\\x85\xC2\xA0");
  // A lone CSI byte, a lone continuation byte, a cut-off character, an overlong ESC and a
  // surrogate are not characters at all.
  EXPECT_EQ(TerminalText("\x9b"
                         "2J"),
            "\\x9b2J");
  EXPECT_EQ(TerminalText("a\x80z"), "a\\x80z");
  EXPECT_EQ(TerminalText("\xE2\x82"), "\\xe2\\x82");
  EXPECT_EQ(TerminalText("\xC0\x9B"), "\\xc0\\x9b");
  EXPECT_EQ(TerminalText("\xED\xA0\x80"), "\\xed\\xa0\\x80");
  EXPECT_EQ(TerminalText("\xF5\x80\x80\x80"), "\\xf5\\x80\\x80\\x80");
}

TEST(TerminalText, BackslashesAreDoubledSoThatEscapesCannotBeFaked) {
  EXPECT_EQ(TerminalText("C:\\x1b"), "C:\\\\x1b");
  EXPECT_EQ(TerminalText("\\\x1b"), "\\\\\\x1b");
}

}  // namespace
