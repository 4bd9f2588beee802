// The bundled preset server content: the settings document and every preset file it names.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "online/settings_document.h"

namespace {

const std::string kFolder = std::string(CORSARO_SOURCE_DIR) + "/assets/presets/tarnwick270/";
constexpr std::size_t kFileSize = 116;
constexpr std::size_t kRecordOffset = 16;
constexpr std::size_t kRecordSize = 100;

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(file),
                                    std::istreambuf_iterator<char>());
}

std::uint32_t ReadLe32(const std::vector<unsigned char>& bytes, std::size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
         static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

// Written out here rather than shared so the test checks the generator independently.
std::uint32_t ProfileCrc(const unsigned char* data, std::size_t size) {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  std::uint32_t crc = 0;
  for (std::size_t i = 0; i < size; ++i) crc = (crc >> 8) ^ table[(crc ^ data[i]) & 0xFF];
  return crc;
}

std::vector<unsigned char> FromHex(const char* hex) {
  std::vector<unsigned char> bytes;
  for (const char* p = hex; *p != '\0';) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    bytes.push_back(static_cast<unsigned char>(std::stoi(std::string(p, 2), nullptr, 16)));
    p += 2;
  }
  return bytes;
}

const char* const kFactoryHex[] = {
    "0F 04 05 17 18 00 00 00 03 0D 04 12 10 11 0B 0A 0C 06 05 08 07 0C 0B 0A 09 0F 10 02 0E 11 "
    "01 12 12 00 00 00 01 00 01 00 01 00 00 00 00 00 00 00 01 00 01 00 01 00 01 00 01 00 01 00 "
    "01 00 01 00 01 00 01 00 01 00 01 00 FF 00 01 00 01 00 FF 00 01 00 00 80 FF 7F 00 00 B8 0B "
    "00 00 FF 7F 00 00 40 40 00 00",
    "0F 04 05 17 18 00 00 00 03 0D 04 12 10 11 0A 0C 0B 06 05 08 07 0C 0B 0A 09 14 0E 0F 14 01 "
    "0F 0C 0A 00 00 00 01 00 01 00 01 00 00 00 00 00 00 00 01 00 01 00 01 00 01 00 01 00 01 00 "
    "01 00 01 00 01 00 01 00 01 00 01 80 01 00 01 00 FF 7F 01 00 01 00 01 00 01 00 00 00 7C 15 "
    "00 00 FF 7F 00 00 40 40 00 00",
    "0F 04 05 17 18 00 00 00 03 0D 04 12 10 11 0B 0A 0C 06 05 08 07 0C 0B 0F 09 14 0F 09 14 0E "
    "09 0A 0B 00 00 00 01 00 01 00 01 00 00 00 00 00 00 00 01 00 01 00 01 00 01 00 01 00 01 00 "
    "01 00 01 00 01 00 01 00 01 00 01 80 01 00 01 00 FF 7F 01 00 01 00 01 00 01 00 00 00 70 17 "
    "00 00 FF 7F 00 00 40 40 00 00",
};

SettingsDocument BundledDocument() {
  SettingsDocument document;
  std::ifstream file(kFolder + "settings.xml", std::ios::binary);
  document.text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return document;
}

TEST(BundledPresets, SettingsDocumentListsFourToSixPresets) {
  SettingsDocument document = BundledDocument();
  ASSERT_EQ(document.text.rfind(kSettingsDeclaration, 0), 0u);
  EXPECT_NE(document.text.find('~'), std::string::npos);
  XmlResults results;
  ASSERT_TRUE(ParseSettings(document, results)) << results.error << " at " << results.line;
  EXPECT_EQ(ReadDecimal(document.version.c_str()), kAppVersionNumber);
  ASSERT_GE(document.presets.size(), 4u);
  ASSERT_LE(document.presets.size(), 6u);
  for (const PresetEntry& preset : document.presets) {
    EXPECT_GT(std::strlen(preset.name), 0u);
    EXPECT_NE(std::strchr(preset.note, '\n'), nullptr) << preset.name;
    EXPECT_NE(preset.type, 0) << preset.name;
    EXPECT_GT(std::strlen(preset.file), 0u) << preset.name;
  }
}

TEST(BundledPresets, EveryPresetFileIsAValidProfileFile) {
  SettingsDocument document = BundledDocument();
  XmlResults results;
  ASSERT_TRUE(ParseSettings(document, results));
  for (const PresetEntry& preset : document.presets) {
    std::vector<unsigned char> bytes = ReadFile(kFolder + preset.file);
    ASSERT_EQ(bytes.size(), kFileSize) << preset.file;
    EXPECT_EQ(std::memcmp(bytes.data(), "CS27", 4), 0) << preset.file;
    EXPECT_EQ(ReadLe32(bytes, 4), 0u) << preset.file;
    EXPECT_EQ(ReadLe32(bytes, 12), kRecordSize) << preset.file;
    EXPECT_EQ(ReadLe32(bytes, 8), ProfileCrc(bytes.data() + kRecordOffset, kRecordSize))
        << preset.file;
  }
}

TEST(BundledPresets, FactoryPresetsCarryTheFactoryRecords) {
  for (int i = 0; i < 3; ++i) {
    std::vector<unsigned char> bytes =
        ReadFile(kFolder + "factory" + std::to_string(i + 1) + ".cs270");
    ASSERT_EQ(bytes.size(), kFileSize);
    std::vector<unsigned char> record(bytes.begin() + kRecordOffset, bytes.end());
    EXPECT_EQ(record, FromHex(kFactoryHex[i])) << "factory profile " << i + 1;
  }
}

TEST(BundledPresets, TunedPresetsDifferFromTheirFactoryRecord) {
  std::vector<unsigned char> rally = ReadFile(kFolder + "rally.cs270");
  std::vector<unsigned char> paddles = ReadFile(kFolder + "paddles.cs270");
  ASSERT_EQ(rally.size(), kFileSize);
  ASSERT_EQ(paddles.size(), kFileSize);
  constexpr std::size_t kLevel = kRecordOffset + 96;
  EXPECT_EQ(rally[kLevel], 0x7F);                  // High
  EXPECT_EQ(paddles[kLevel], 0x00);                // Low
  EXPECT_EQ(paddles[kRecordOffset] & 0x0F, 0x03);  // rear light only
  EXPECT_EQ(paddles[kRecordOffset + 8 + 23], 15);  // LB on the left paddle
  EXPECT_EQ(paddles[kRecordOffset + 8 + 24], 14);  // RB on the right paddle
}

}  // namespace
