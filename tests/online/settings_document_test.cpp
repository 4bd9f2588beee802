#include "online/settings_document.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const std::string kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";

SettingsDocument DocumentWith(const std::string& body) {
  SettingsDocument document;
  document.text = kHead + body;
  return document;
}

std::string PresetXml(const std::string& name, const std::string& note, const std::string& type,
                      const std::string& file) {
  return "<preset><name>" + name + "</name><note>" + note + "</note><type>" + type +
         "</type><file>" + file + "</file></preset>";
}

TEST(ParseSettings, ReadsVersionPagesAndPresets) {
  SettingsDocument document = DocumentWith(
      "<settings><version>104</version><download>http://d/</download>"
      "<support>http://s/</support><presets>" +
      PresetXml("One", "First~second", "3", "http://h/one.cs270") +
      PresetXml("Two", "", "-7", "http://h/two.cs270") + "</presets></settings>");
  XmlResults results;
  ASSERT_TRUE(ParseSettings(document, results));
  EXPECT_EQ(document.version, "104");
  EXPECT_EQ(document.downloadPage, "http://d/");
  EXPECT_EQ(document.supportPage, "http://s/");
  EXPECT_TRUE(document.newerAppAvailable);
  ASSERT_EQ(document.presets.size(), 2u);
  EXPECT_STREQ(document.presets[0].name, "One");
  EXPECT_STREQ(document.presets[0].note, "First\nsecond");
  EXPECT_EQ(document.presets[0].type, 3);
  EXPECT_STREQ(document.presets[0].file, "http://h/one.cs270");
  EXPECT_STREQ(document.presets[1].note, "");
  EXPECT_EQ(document.presets[1].type, -7);
}

TEST(ParseSettings, NewerVersionOnlyAbove103) {
  struct Case {
    const char* version;
    bool newer;
  };
  const Case cases[] = {
      {"103", false}, {"104", true}, {"  +200abc", true},      {"v200", false},
      {"", false},    {"-5", false}, {"99999999999999", true}, {"1.4", false},
  };
  for (const Case& c : cases) {
    SettingsDocument document =
        DocumentWith(std::string("<settings><version>") + c.version + "</version></settings>");
    XmlResults results;
    ASSERT_TRUE(ParseSettings(document, results)) << c.version;
    EXPECT_EQ(document.newerAppAvailable, c.newer) << c.version;
  }
}

TEST(ParseSettings, ElementNamesInAnyCase) {
  SettingsDocument document = DocumentWith(
      "<SETTINGS><Version>105</Version><PRESETS><Preset><NAME>N</NAME><Type>2</Type>"
      "</Preset></PRESETS></SETTINGS>");
  XmlResults results;
  ASSERT_TRUE(ParseSettings(document, results));
  EXPECT_TRUE(document.newerAppAvailable);
  ASSERT_EQ(document.presets.size(), 1u);
  EXPECT_STREQ(document.presets[0].name, "N");
  EXPECT_EQ(document.presets[0].type, 2);
}

TEST(ParseSettings, MissingElementsGiveEmptyValues) {
  SettingsDocument document = DocumentWith("<settings><presets><preset/></presets></settings>");
  document.supportPage = "http://built-in/";
  XmlResults results;
  ASSERT_TRUE(ParseSettings(document, results));
  EXPECT_EQ(document.version, "");
  EXPECT_EQ(document.downloadPage, "");
  EXPECT_EQ(document.supportPage, "");
  EXPECT_FALSE(document.newerAppAvailable);
  ASSERT_EQ(document.presets.size(), 1u);
  EXPECT_STREQ(document.presets[0].name, "");
  EXPECT_STREQ(document.presets[0].file, "");
  EXPECT_EQ(document.presets[0].type, 0);
}

TEST(ParseSettings, PresetsWithoutPresetChildrenGiveNone) {
  for (const char* body : {"<settings><presets><other/></presets></settings>",
                           "<settings><version>1</version></settings>"}) {
    SettingsDocument document = DocumentWith(body);
    XmlResults results;
    ASSERT_TRUE(ParseSettings(document, results));
    EXPECT_TRUE(document.presets.empty());
  }
}

TEST(ParseSettings, LongFieldsAreCutToFit) {
  std::string longName(100, 'n');
  std::string longNote(400, 'o');
  std::string longFile = "http://h/" + std::string(300, 'f');
  SettingsDocument document =
      DocumentWith("<settings><presets>" + PresetXml(longName, longNote, "1", longFile) +
                   "</presets></settings>");
  XmlResults results;
  ASSERT_TRUE(ParseSettings(document, results));
  const PresetEntry& entry = document.presets[0];
  EXPECT_EQ(std::string(entry.name), longName.substr(0, 63));
  EXPECT_EQ(std::string(entry.note), longNote.substr(0, 255));
  EXPECT_EQ(std::string(entry.file), longFile.substr(0, 255));
}

TEST(ParseSettings, CutNeverSplitsACharacter) {
  // 62 ASCII letters and then a two-byte letter: byte 63 would be half of it.
  std::string name = std::string(62, 'a') + "\xC3\xA9" + "z";
  SettingsDocument document =
      DocumentWith("<settings><presets>" + PresetXml(name, "", "", "") + "</presets></settings>");
  XmlResults results;
  ASSERT_TRUE(ParseSettings(document, results));
  EXPECT_EQ(std::string(document.presets[0].name), std::string(62, 'a'));
}

TEST(ParseSettings, MoreThanAHundredPresetsAreAllRead) {
  std::string presets;
  for (int i = 0; i < 150; ++i) presets += PresetXml("P" + std::to_string(i), "", "", "");
  SettingsDocument document =
      DocumentWith("<settings><presets>" + presets + "</presets></settings>");
  XmlResults results;
  ASSERT_TRUE(ParseSettings(document, results));
  ASSERT_EQ(document.presets.size(), 150u);
  EXPECT_STREQ(document.presets[149].name, "P149");
}

TEST(ParseSettings, RelativeFileAddressesResolveAgainstTheDocument) {
  SettingsDocument document =
      DocumentWith("<settings><presets>" + PresetXml("A", "", "", "a.cs270") +
                   PresetXml("B", "", "", "/other/b.cs270") +
                   PresetXml("C", "", "", "https://x/c.cs270") + "</presets></settings>");
  document.address = "http://127.0.0.1:8080/tarnwick270/settings.xml";
  XmlResults results;
  ASSERT_TRUE(ParseSettings(document, results));
  EXPECT_STREQ(document.presets[0].file, "http://127.0.0.1:8080/tarnwick270/a.cs270");
  EXPECT_STREQ(document.presets[1].file, "http://127.0.0.1:8080/other/b.cs270");
  EXPECT_STREQ(document.presets[2].file, "https://x/c.cs270");
}

TEST(ParseSettings, NetworkDocumentCannotPointAtLocalFiles) {
  SettingsDocument document =
      DocumentWith("<settings><presets>" + PresetXml("Local", "", "", "file:///etc/passwd") +
                   PresetXml("Ftp", "", "", "ftp://h/x.cs270") +
                   PresetXml("Web", "", "", "HTTPS://h/x") + "</presets></settings>");
  document.address = "https://presets.example/tarnwick270/settings.xml";
  XmlResults results;
  ASSERT_TRUE(ParseSettings(document, results));
  EXPECT_STREQ(document.presets[0].file, "");
  EXPECT_STREQ(document.presets[1].file, "");
  EXPECT_STREQ(document.presets[2].file, "HTTPS://h/x");

  // A document read from a local file may name local presets.
  document.address = "file:///srv/presets/settings.xml";
  ASSERT_TRUE(ParseSettings(document, results));
  EXPECT_STREQ(document.presets[0].file, "file:///etc/passwd");
}

TEST(ParseSettings, BrokenXmlChangesNothing) {
  for (const char* body : {"<settings><version>200</version>&bogus;</settings>",
                           "<settings><version>200</version><a></settings>",
                           "<other><version>200</version></other>"}) {
    SettingsDocument document = DocumentWith(body);
    document.supportPage = "http://built-in/";
    XmlResults results;
    EXPECT_FALSE(ParseSettings(document, results)) << body;
    EXPECT_NE(results.error, XML_ERROR_NONE);
    EXPECT_EQ(document.version, "");
    EXPECT_EQ(document.supportPage, "http://built-in/");
    EXPECT_FALSE(document.newerAppAvailable);
  }
}

TEST(ReadDecimal, BehavesLikeTheCLibraryWithinRange) {
  EXPECT_EQ(ReadDecimal("103"), 103);
  EXPECT_EQ(ReadDecimal(" \t\n-42x"), -42);
  EXPECT_EQ(ReadDecimal("+7"), 7);
  EXPECT_EQ(ReadDecimal("abc"), 0);
  EXPECT_EQ(ReadDecimal(""), 0);
  EXPECT_EQ(ReadDecimal("- 5"), 0);
  EXPECT_EQ(ReadDecimal("2147483647"), 2147483647);
  EXPECT_EQ(ReadDecimal("99999999999999999999999"), 2147483647);
  EXPECT_EQ(ReadDecimal("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ReadDecimal("-99999999999999999999999"), -2147483647 - 1);
}

TEST(SettingsAddress, IsAnHttpAddressWithTheServerPath) {
  std::string address = kSettingsAddress;
  const std::string path = "/tarnwick270/settings.xml";
  EXPECT_EQ(address.rfind("http://", 0), 0u);
  ASSERT_GT(address.size(), path.size());
  EXPECT_EQ(address.substr(address.size() - path.size()), path);
  EXPECT_EQ(std::strlen(kSettingsDeclaration), 39u);
}

}  // namespace
