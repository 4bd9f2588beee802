// The zip pack reader on its own, on every platform the program builds for: paths are UTF-8,
// and whatever the file calls beneath, an archive reads the same.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/zip_pack.h"
#include "tests/engine/outside_zip.h"

namespace {

namespace fs = std::filesystem;

class ZipPackReader : public ::testing::Test {
 protected:
  void SetUp() override {
    // One folder per case: the cases may run at once.
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    folder = fs::temp_directory_path() /
             fs::path(u8"zip_pack_\u00e9t\u00e9_" + std::u8string(test.begin(), test.end()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  static std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
  }
  // Writes the bytes as a pack and gives its path.
  std::string Pack(const std::string& bytes) {
    const fs::path path = folder / fs::path(u8"r\u00e4lly.zip");
    std::ofstream(path, std::ios::binary) << bytes;
    return Utf8(path);
  }

  // The entry's bytes, or "<not found>" / "<failed>".
  static std::string Load(const std::string& pack, const char* name) {
    void* data = nullptr;
    std::uint32_t size = 0;
    switch (zip_pack::Load(pack.c_str(), nullptr, name, &data, &size)) {
      case zip_pack::Lookup::kNotFound:
        return data == nullptr ? "<not found>" : "<not found, but data>";
      case zip_pack::Lookup::kFailed:
        return data == nullptr ? "<failed>" : "<failed, but data>";
      case zip_pack::Lookup::kLoaded:
        break;
    }
    std::string text(static_cast<char*>(data), size);
    std::free(data);
    return text;
  }

  fs::path folder;
};

TEST_F(ZipPackReader, AnArchiveUnderANonAsciiPathReadsItsEntries) {
  const std::string pack = Pack(kOutsideZip);
  EXPECT_TRUE(zip_pack::CanOpen(pack.c_str()));
  EXPECT_EQ(Load(pack, "Deflated.TXT"), "hello, hello, hello, hello!");
  EXPECT_EQ(Load(pack, "stored.txt"), "plain");
  EXPECT_EQ(Load(pack, "stored.tx"), "<not found>");
  EXPECT_EQ(Load(pack, "stored.txt2"), "<not found>");
}

TEST_F(ZipPackReader, DamageFailsTheEntryOrRefusesThePack) {
  std::string crc = kOutsideZip;
  crc[14] ^= 0x01;
  crc[115] ^= 0x01;
  const std::string badCrc = Pack(crc);
  EXPECT_EQ(Load(badCrc, "deflated.txt"), "<failed>");
  EXPECT_EQ(Load(badCrc, "stored.txt"), "plain");

  const std::string cut = Pack(kOutsideZip.substr(0, kOutsideZip.size() - 1));
  EXPECT_FALSE(zip_pack::CanOpen(cut.c_str()));
  EXPECT_EQ(Load(cut, "stored.txt"), "<not found>");
}

TEST_F(ZipPackReader, AFolderOrAMissingFileIsNoPack) {
  fs::create_directories(folder / "sub.zip");
  EXPECT_FALSE(zip_pack::CanOpen(Utf8(folder / "sub.zip").c_str()));
  EXPECT_FALSE(zip_pack::CanOpen(Pack("").c_str()));
  const std::string missing = Utf8(folder / "missing.zip");
  EXPECT_FALSE(zip_pack::CanOpen(missing.c_str()));
  EXPECT_EQ(Load(missing, "stored.txt"), "<not found>");
}

}  // namespace
