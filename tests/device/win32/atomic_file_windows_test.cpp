// Saves on Windows: a temporary beside the file, written through, moved over it.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "common/fs_path.h"
#include "common/win32/wide_text.h"
#include "device/atomic_file.h"

namespace {

namespace fs = std::filesystem;

class AtomicFileOnWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder =
        fs::temp_directory_path() / PathOfUtf8(std::string("atomic_") + test->name() + "_\xC3\xB8");
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored))
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(folder, ignored);
  }

  std::string Path(const std::wstring& name) const { return Utf8Text((folder / name).wstring()); }
  static std::string Read(const std::string& path) {
    std::ifstream in(WideText(path).c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::vector<std::wstring> Entries() const {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename().wstring());
    return names;
  }

  fs::path folder;
};

}  // namespace

TEST_F(AtomicFileOnWindows, ANewFileUnderANonAsciiNameIsWrittenAndNothingLeftBeside) {
  const std::string path = Path(L"fl\u00e4sh.bin");
  std::string why;
  ASSERT_TRUE(WriteFileAtomically(path, "CS27", 4, why)) << why;
  EXPECT_EQ(Read(path), "CS27");
  EXPECT_EQ(Entries(), std::vector<std::wstring>{L"fl\u00e4sh.bin"});
}

TEST_F(AtomicFileOnWindows, AnExistingFileIsReplacedWhole) {
  const std::string path = Path(L"profile.cs270");
  std::string why;
  ASSERT_TRUE(WriteFileAtomically(path, "a much longer first content", 27, why)) << why;
  ASSERT_TRUE(WriteFileAtomically(path, "short", 5, why)) << why;
  EXPECT_EQ(Read(path), "short");
  EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(AtomicFileOnWindows, AFileOpenForReadingIsStillReplaced) {
  const std::string path = Path(L"open.bin");
  std::string why;
  ASSERT_TRUE(WriteFileAtomically(path, "old", 3, why)) << why;
  // A reader that shares neither writing nor deleting, as many programs open files, lets go soon.
  HANDLE reader = CreateFileW(WideText(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  std::thread letGo([reader] {
    Sleep(100);
    CloseHandle(reader);
  });
  const bool saved = WriteFileAtomically(path, "new", 3, why);
  letGo.join();
  ASSERT_TRUE(saved) << why;
  EXPECT_EQ(Read(path), "new");
}

TEST_F(AtomicFileOnWindows, AReadOnlyFileAndAFolderAreRefusedAndKept) {
  const std::string path = Path(L"kept.bin");
  std::string why;
  ASSERT_TRUE(WriteFileAtomically(path, "mine", 4, why)) << why;
  ASSERT_TRUE(SetFileAttributesW(WideText(path).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WriteFileAtomically(path, "theirs", 6, why));
  EXPECT_EQ(why.rfind("cannot write " + path + ": ", 0), 0u) << why;
  EXPECT_EQ(Read(path), "mine");

  fs::create_directory(folder / L"sub");
  EXPECT_FALSE(WriteFileAtomically(Path(L"sub"), "x", 1, why));
  EXPECT_NE(why.find("it is a folder, which a save never replaces"), std::string::npos) << why;
  EXPECT_TRUE(fs::is_directory(folder / L"sub"));
  EXPECT_EQ(Entries().size(), 2u);
}

TEST_F(AtomicFileOnWindows, AFolderThatIsMissingFailsWithTheReason) {
  std::string why;
  EXPECT_FALSE(WriteFileAtomically(Path(L"missing\\file.bin"), "x", 1, why));
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(fs::exists(folder / L"missing"));
}

TEST_F(AtomicFileOnWindows, StaleTemporariesGoButAnOpenOneStays) {
  const std::string path = Path(L"flash.bin");
  // A temporary of a save that was killed, written ten seconds ago, and one still being written.
  const std::wstring stale = (folder / L".flash.bin.Ab12Cd").wstring();
  const std::wstring busy = (folder / L".flash.bin.Zz99Yy").wstring();
  std::ofstream(stale.c_str()) << "half";
  HANDLE open = CreateFileW(busy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(open, INVALID_HANDLE_VALUE);
  for (const std::wstring& temporary : {stale, busy}) {
    HANDLE file = temporary == busy ? open
                                    : CreateFileW(temporary.c_str(), FILE_WRITE_ATTRIBUTES,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER past{{now.dwLowDateTime, now.dwHighDateTime}};
    past.QuadPart -= 10ull * 10000000;
    const FILETIME written{past.LowPart, past.HighPart};
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    if (file != open) CloseHandle(file);
  }
  // Another file's temporary is no business of this save.
  std::ofstream((folder / L".other.bin.Qq11Ww").wstring().c_str()) << "theirs";
  std::string why;
  ASSERT_TRUE(WriteFileAtomically(path, "CS27", 4, why)) << why;
  CloseHandle(open);
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(busy));
  EXPECT_TRUE(fs::exists(folder / L".other.bin.Qq11Ww"));
  EXPECT_EQ(Read(path), "CS27");
}
