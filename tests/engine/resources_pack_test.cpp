// Resource packs: zip archives made here with minizip, with and without a password, and damaged.
#include <gtest/gtest.h>
#include <minizip/zip.h>
#include <sys/stat.h>
#include <zlib.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine_impl.h"
#include "tests/engine/outside_zip.h"
#include "tests/engine/system_test_support.h"

namespace {

struct Entry {
  std::string name;
  std::string data;
};

// One CRC-32 step without the usual inversions, bit by bit.
std::uint32_t CrcStep(std::uint32_t crc, unsigned char byte) {
  crc ^= byte;
  for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  return crc;
}

std::uint32_t ZipCrc(const std::string& data) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : data) crc = CrcStep(crc, byte);
  return ~crc;
}

// The traditional zip encryption, written out here from its published description. (The
// writer in Debian's minizip produces archives that other tools reject, so the test encrypts
// by itself and hands minizip the raw bytes.)
std::string ZipEncrypt(const std::string& password, std::uint32_t crc, const std::string& body) {
  std::uint32_t keys[3] = {0x12345678u, 0x23456789u, 0x34567890u};
  const auto update = [&keys](unsigned char plain) {
    keys[0] = CrcStep(keys[0], plain);
    keys[1] = (keys[1] + (keys[0] & 0xFFu)) * 134775813u + 1u;
    keys[2] = CrcStep(keys[2], static_cast<unsigned char>(keys[1] >> 24));
  };
  for (unsigned char c : password) update(c);
  std::string header(12, '\0');
  for (int i = 0; i < 10; ++i) header[i] = static_cast<char>(i * 37 + 11);
  header[10] = static_cast<char>(crc >> 16);
  header[11] = static_cast<char>(crc >> 24);
  std::string out = header + body;
  for (char& c : out) {
    const std::uint32_t temp = (keys[2] & 0xFFFFu) | 2u;
    const auto plain = static_cast<unsigned char>(c);
    c = static_cast<char>(plain ^ static_cast<unsigned char>((temp * (temp ^ 1u)) >> 8));
    update(plain);
  }
  return out;
}

std::string RawDeflate(const std::string& data) {
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

constexpr int kEncryptedFlag = 1;

// Writes a zip archive; stored entries keep their bytes visible so that a test can damage them.
bool MakeZip(const std::string& path, const std::vector<Entry>& entries,
             const char* password = nullptr, bool deflate = true) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return false;
  bool ok = true;
  for (const Entry& entry : entries) {
    const int method = deflate ? Z_DEFLATED : 0;
    const bool raw = password != nullptr;
    zip_fileinfo info{};
    ok = ok && zipOpenNewFileInZip4(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                    method, deflate ? Z_BEST_COMPRESSION : 0, raw, -MAX_WBITS,
                                    DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0,
                                    raw ? kEncryptedFlag : 0) == ZIP_OK;
    if (raw) {
      const std::uint32_t crc = ZipCrc(entry.data);
      const std::string body =
          ZipEncrypt(password, crc, deflate ? RawDeflate(entry.data) : entry.data);
      ok =
          ok && zipWriteInFileInZip(zip, body.data(), static_cast<unsigned>(body.size())) == ZIP_OK;
      ok = ok && zipCloseFileInZipRaw(zip, entry.data.size(), crc) == ZIP_OK;
    } else {
      ok = ok && zipWriteInFileInZip(zip, entry.data.data(),
                                     static_cast<unsigned>(entry.data.size())) == ZIP_OK;
      ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
  }
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

std::string Repeated(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

class EnginePacks : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.Path().empty());
    std::snprintf(engine->programFolder, sizeof engine->programFolder, "%s", folder.Path().c_str());
  }

  // The loaded bytes as text, or "<none>" with the error text.
  std::string Load(const char* name) {
    std::uint32_t size = 0;
    void* data = engine->Resource_Load(name, &size);
    if (data == nullptr) return "<none> " + std::string(engine->System_LastError());
    std::string text(static_cast<char*>(data), size);
    engine->Resource_Free(data);
    return text;
  }

  ScratchFolder folder;
  std::unique_ptr<EngineImpl> engine = std::make_unique<EngineImpl>();
};

TEST_F(EnginePacks, EntriesLoadByNameWithoutRegardToCase) {
  const std::string big = Repeated("skin pixels ", 5000);
  ASSERT_TRUE(MakeZip(folder / "data.zip", {{"data/skin.png", big}, {"readme.txt", "hello"}}));
  ASSERT_TRUE(engine->Resource_AddPack("data.zip", nullptr));
  EXPECT_EQ(Load("DATA/Skin.PNG"), big);
  EXPECT_EQ(Load("data\\skin.png"), big);
  EXPECT_EQ(Load("readme.txt"), "hello");
}

TEST_F(EnginePacks, NewestPackWinsAndRemovalUncoversTheOlder) {
  ASSERT_TRUE(MakeZip(folder / "old.zip", {{"a.txt", "old"}}));
  ASSERT_TRUE(MakeZip(folder / "new.zip", {{"a.txt", "new"}}));
  ASSERT_TRUE(engine->Resource_AddPack("old.zip", nullptr));
  ASSERT_TRUE(engine->Resource_AddPack("new.zip", nullptr));
  EXPECT_EQ(Load("a.txt"), "new");
  engine->Resource_RemovePack("NEW.zip");
  EXPECT_EQ(Load("a.txt"), "old");
  engine->Resource_RemoveAllPacks();
  EXPECT_EQ(Load("a.txt"), "<none> Can't load resource: a.txt");
}

TEST_F(EnginePacks, NamesInNoPackComeFromDiskAndAbsoluteNamesSkipPacks) {
  ASSERT_TRUE(MakeZip(folder / "data.zip", {{"a.txt", "packed"}}));
  ASSERT_TRUE(engine->Resource_AddPack("data.zip", nullptr));
  WriteFileText(folder / "b.txt", "on disk");
  WriteFileText(folder / "a.txt", "also on disk");
  EXPECT_EQ(Load("b.txt"), "on disk");
  EXPECT_EQ(Load("a.txt"), "packed");
  EXPECT_EQ(Load((folder / "a.txt").c_str()), "also on disk");
}

TEST_F(EnginePacks, OneFileRegistersOnceWhateverItsSpelling) {
  ASSERT_TRUE(MakeZip(folder / "data.zip", {{"a.txt", "x"}}));
  EXPECT_TRUE(engine->Resource_AddPack("data.zip", nullptr));
  EXPECT_FALSE(engine->Resource_AddPack("DATA.ZIP", nullptr));
  EXPECT_FALSE(engine->Resource_AddPack((folder / "data.zip").c_str(), "pw"));
  engine->Resource_RemovePack("Data.Zip");
  EXPECT_TRUE(engine->Resource_AddPack("data.zip", nullptr));
}

TEST_F(EnginePacks, FilesThatAreNotZipArchivesAreRefused) {
  WriteFileText(folder / "fake.zip", "this is not a zip archive");
  EXPECT_FALSE(engine->Resource_AddPack("fake.zip", nullptr));
  EXPECT_FALSE(engine->Resource_AddPack("missing.zip", nullptr));
  EXPECT_FALSE(engine->Resource_AddPack(nullptr, nullptr));
  EXPECT_FALSE(engine->Resource_AddPack("x.zip", std::string(64, 'p').c_str()));
  EXPECT_EQ(engine->packs, nullptr);
}

TEST_F(EnginePacks, PasswordProtectedEntriesNeedTheRightPassword) {
  const std::string secret = Repeated("secret data ", 300);
  ASSERT_TRUE(MakeZip(folder / "locked.zip", {{"s.bin", secret}}, "opensesame"));
  ASSERT_TRUE(MakeZip(folder / "locked-stored.zip", {{"t.bin", "tiny"}}, "opensesame", false));

  ASSERT_TRUE(engine->Resource_AddPack("locked.zip", "wrong"));
  ASSERT_TRUE(engine->Resource_AddPack("locked-stored.zip", nullptr));
  EXPECT_EQ(Load("s.bin"), "<none> Can't load resource: s.bin");
  EXPECT_EQ(Load("t.bin"), "<none> Can't load resource: t.bin");

  engine->Resource_RemoveAllPacks();
  ASSERT_TRUE(engine->Resource_AddPack("locked.zip", "opensesame"));
  ASSERT_TRUE(engine->Resource_AddPack("locked-stored.zip", "opensesame"));
  EXPECT_EQ(Load("s.bin"), secret);
  EXPECT_EQ(Load("t.bin"), "tiny");
}

TEST_F(EnginePacks, ADamagedEntryFailsAndIsNotLookedForOnDisk) {
  const std::string payload = Repeated("0123456789", 50);
  const std::string path = folder / "damaged.zip";
  ASSERT_TRUE(MakeZip(path, {{"d.txt", payload}}, nullptr, false));
  std::string bytes = ReadFileText(path);
  const auto at = bytes.find(payload);
  ASSERT_NE(at, std::string::npos);
  bytes[at + 100] ^= 0x55;
  WriteFileText(path, bytes);
  WriteFileText(folder / "d.txt", "disk copy");

  ASSERT_TRUE(engine->Resource_AddPack("damaged.zip", nullptr));
  EXPECT_EQ(Load("d.txt"), "<none> Can't load resource: d.txt");
}

TEST_F(EnginePacks, AnEntryClaimingMoreBytesThanThePackCanHoldFails) {
  const std::string path = folder / "liar.zip";
  ASSERT_TRUE(MakeZip(path, {{"a.txt", "four"}, {"b.txt", "fine"}}, nullptr, false));
  std::string bytes = ReadFileText(path);
  // The first entry's uncompressed size, in its local header (offset 22) and in its central
  // directory record (offset 24): 0x90000000 bytes, from a pack of a few hundred.
  const std::string claimed("\x00\x00\x00\x90", 4);
  bytes.replace(22, 4, claimed);
  const auto central = bytes.find("PK\x01\x02");
  ASSERT_NE(central, std::string::npos);
  bytes.replace(central + 24, 4, claimed);
  WriteFileText(path, bytes);

  ASSERT_TRUE(engine->Resource_AddPack("liar.zip", nullptr));
  EXPECT_EQ(Load("a.txt"), "<none> Can't load resource: a.txt");
  EXPECT_EQ(Load("b.txt"), "fine");
}

TEST_F(EnginePacks, ATruncatedArchiveIsRefused) {
  const std::string path = folder / "cut.zip";
  ASSERT_TRUE(MakeZip(path, {{"a.txt", Repeated("abc", 1000)}}));
  const std::string bytes = ReadFileText(path);
  WriteFileText(path, bytes.substr(0, bytes.size() / 2));
  EXPECT_FALSE(engine->Resource_AddPack("cut.zip", nullptr));
}

TEST_F(EnginePacks, AnArchiveFromAnotherToolLoadsItsDeflatedAndStoredEntries) {
  WriteFileText(folder / "outside.zip", kOutsideZip);
  ASSERT_TRUE(engine->Resource_AddPack("outside.zip", nullptr));
  EXPECT_EQ(Load("deflated.txt"), "hello, hello, hello, hello!");
  EXPECT_EQ(Load("STORED.TXT"), "plain");

  // The same archive behind 7 bytes of something else, as a self-extracting one is.
  WriteFileText(folder / "behind.zip", "#!stub\n" + kOutsideZip);
  ASSERT_TRUE(engine->Resource_AddPack("behind.zip", nullptr));
  EXPECT_EQ(Load("deflated.txt"), "hello, hello, hello, hello!");
}

TEST_F(EnginePacks, ADeflatedEntryThatDoesNotMatchItsRecordFails) {
  WriteFileText(folder / "deflated.txt", "disk copy");
  const auto expectFailure = [this](const std::string& bytes, const char* what) {
    SCOPED_TRACE(what);
    engine->Resource_RemoveAllPacks();
    WriteFileText(folder / "bad.zip", bytes);
    ASSERT_TRUE(engine->Resource_AddPack("bad.zip", nullptr));
    EXPECT_EQ(Load("deflated.txt"), "<none> Can't load resource: deflated.txt");
    EXPECT_EQ(Load("stored.txt"), "plain");
  };
  std::string crc = kOutsideZip;
  crc[14] ^= 0x01;
  crc[115] ^= 0x01;
  expectFailure(crc, "CRC changed in both headers");
  std::string data = kOutsideZip;
  data[50] ^= 0x20;
  expectFailure(data, "a deflated byte changed");
  std::string local = kOutsideZip;
  local[14] ^= 0x01;
  expectFailure(local, "CRC changed in the local header only");
  std::string method = kOutsideZip;
  method[8] = 0;
  expectFailure(method, "stored in the local header, deflated in the directory");
  std::string size = kOutsideZip;
  size[22] = 0x1a;
  size[123] = 0x1a;
  expectFailure(size, "one byte shorter than it inflates to");
}

TEST_F(EnginePacks, AnArchiveWhoseDirectoryIsCutShortIsRefused) {
  // The last 20 bytes of stored.txt's directory record gone, the end record's size made to fit.
  std::string cut = kOutsideZip.substr(0, 193) + kOutsideZip.substr(213);
  cut[193 + 12] = 0x5e;
  WriteFileText(folder / "cut.zip", cut);
  EXPECT_FALSE(engine->Resource_AddPack("cut.zip", nullptr));

  // An end record claiming three entries where the directory holds two.
  std::string more = kOutsideZip;
  more[213 + 8] = 3;
  more[213 + 10] = 3;
  WriteFileText(folder / "more.zip", more);
  EXPECT_FALSE(engine->Resource_AddPack("more.zip", nullptr));

  // A directory said to run into the end record.
  std::string overlapping = kOutsideZip;
  overlapping[213 + 16] = 0x64;
  WriteFileText(folder / "overlapping.zip", overlapping);
  EXPECT_FALSE(engine->Resource_AddPack("overlapping.zip", nullptr));
  EXPECT_EQ(engine->packs, nullptr);
}

TEST_F(EnginePacks, AFifoNamedAsAPackIsRefusedWithoutWaitingForAWriter) {
  ASSERT_EQ(mkfifo((folder / "pipe.zip").c_str(), 0600), 0);
  EXPECT_FALSE(engine->Resource_AddPack("pipe.zip", nullptr));
}

}  // namespace
