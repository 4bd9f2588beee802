// The receiver lock on Windows: one writer per receiver, across programs, in the user's folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/win32/wide_text.h"
#include "device/receiver_lock.h"

namespace {

namespace fs = std::filesystem;

std::string LocalAppData() {
  wchar_t value[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? Utf8Text(std::wstring(value, length)) : std::string();
}

std::string FlashPath(const wchar_t* name) {
  return Utf8Text((fs::temp_directory_path() / name).wstring());
}

}  // namespace

TEST(ReceiverLockOnWindows, TheLockFilesLiveInTheUsersLocalApplicationData) {
  std::string why;
  const std::string path = ReceiverLockPath(ReceiverIdentity(FlashPath(L"flash.bin")), why);
  ASSERT_FALSE(path.empty()) << why;
  const std::string expected = LocalAppData() + "\\Corsaro270\\locks\\corsaro270-";
  EXPECT_EQ(path.rfind(expected, 0), 0u) << path;
  EXPECT_EQ(path.substr(path.size() - 5), ".lock");
}

TEST(ReceiverLockOnWindows, ASecondWriterWaitsAndGivesUpWhileTheFirstHoldsIt) {
  const std::string identity = ReceiverIdentity("virtual:" + FlashPath(L"held.bin"));
  ReceiverLock first;
  ReceiverLock second;
  std::string why;
  ASSERT_TRUE(first.Acquire(identity, 0, why)) << why;
  EXPECT_TRUE(first.Held());
  EXPECT_FALSE(second.Acquire(identity, 100, why));
  EXPECT_EQ(why, "another program is writing to this receiver; try again when it has finished");
  EXPECT_FALSE(second.Held());
  // Another receiver is another lock.
  ReceiverLock other;
  EXPECT_TRUE(other.Acquire(ReceiverIdentity("virtual:" + FlashPath(L"other.bin")), 0, why)) << why;
}

TEST(ReceiverLockOnWindows, LettingGoRemovesTheFileAndFreesTheReceiver) {
  const std::string identity = ReceiverIdentity("virtual:" + FlashPath(L"freed.bin"));
  std::string why;
  const std::string path = ReceiverLockPath(identity, why);
  ASSERT_FALSE(path.empty()) << why;
  ReceiverLock first;
  ASSERT_TRUE(first.Acquire(identity, 0, why)) << why;
  EXPECT_NE(GetFileAttributesW(WideText(path).c_str()), INVALID_FILE_ATTRIBUTES);
  first.Release();
  EXPECT_FALSE(first.Held());
  EXPECT_EQ(GetFileAttributesW(WideText(path).c_str()), INVALID_FILE_ATTRIBUTES);
  ReceiverLock second;
  EXPECT_TRUE(second.Acquire(identity, 0, why)) << why;
}

TEST(ReceiverLockOnWindows, OneFileNamedTwoWaysIsOneReceiver) {
  const fs::path folder = fs::temp_directory_path() / L"lock_names";
  fs::create_directories(folder);
  const std::string plain = Utf8Text((folder / L"Flash.bin").wstring());
  // The same file by a roundabout path and in other letter case, before and after it exists.
  const std::string roundabout =
      Utf8Text((folder / L".." / L"lock_names" / L"FLASH.BIN").wstring());
  EXPECT_EQ(ReceiverIdentity(plain), ReceiverIdentity(Utf8Text((folder / L"Flash.bin").wstring())));
  EXPECT_EQ(ReceiverIdentity(roundabout).find(".."), std::string::npos);
  { std::ofstream(folder / L"Flash.bin") << "flash"; }
  EXPECT_EQ(ReceiverIdentity(roundabout), ReceiverIdentity(plain));
  EXPECT_EQ(ReceiverIdentity("virtual:" + roundabout), "virtual:" + ReceiverIdentity(plain));
  fs::remove_all(folder);
}

TEST(ReceiverLockOnWindows, AReceiverNamedInAnyLetterCaseIsOneReceiver) {
  // As SetupAPI lists it, and as an arrival notice may name it.
  const std::string listed =
      "\\\\?\\hid#vid_2e7b&pid_0262#7&1a2b3c4d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
  const std::string notified =
      "\\\\?\\HID#VID_2E7B&PID_0262#7&1A2B3C4D&0&0000#{4D1E55B2-F16F-11CF-88CB-001111000030}";
  EXPECT_EQ(ReceiverIdentity(notified), ReceiverIdentity(listed));
  EXPECT_EQ(ReceiverIdentity(listed), listed);
  std::string why;
  EXPECT_EQ(ReceiverLockPath(ReceiverIdentity(notified), why),
            ReceiverLockPath(ReceiverIdentity(listed), why));
}
