// Automatic backups on Windows go to %LOCALAPPDATA%\Corsaro270\backups and read back whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "common/fs_path.h"
#include "common/win32/wide_text.h"
#include "device/profile_backups.h"
#include "profile/factory_profiles.h"

namespace {

namespace fs = std::filesystem;

std::string LocalAppData() {
  wchar_t value[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? Utf8Text(std::wstring(value, length)) : std::string();
}

}  // namespace

TEST(ProfileBackupsOnWindows, TheDefaultFolderIsTheUsersLocalApplicationData) {
  EXPECT_EQ(DefaultProfileBackupFolder(), LocalAppData() + "\\Corsaro270\\backups");
  EXPECT_EQ(VirtualReceiverBackupFolder(), LocalAppData() + "\\Corsaro270\\backups\\virtual");
}

TEST(ProfileBackupsOnWindows, ABackupIsMadeInAFreshFolderAndListedAsSound) {
  const fs::path folder = fs::temp_directory_path() / L"backups_\u00fcber" / L"new";
  fs::remove_all(folder.parent_path());
  SetProfileBackupFolder(Utf8OfPath(folder));
  WheelProfile records[kProfileCount];
  for (int i = 0; i < kProfileCount; ++i) records[i] = FactoryProfiles[i];
  std::string saved;
  std::string why;
  ASSERT_TRUE(SaveProfileBackup(records, 0x0196, "virtual:C:\\flash.bin", saved, why)) << why;
  ASSERT_TRUE(SaveProfileBackup(records, 0x0196, "virtual:C:\\flash.bin", saved, why)) << why;
  SetProfileBackupFolder("");
  const std::vector<ProfileBackupEntry> backups = ListProfileBackups(Utf8OfPath(folder));
  ASSERT_EQ(backups.size(), 2u);
  EXPECT_EQ(backups[0].path, saved);
  EXPECT_EQ(backups[0].state, ProfileBackupEntry::State::kSound) << backups[0].problem;
  EXPECT_EQ(backups[0].receiver, "virtual:C:\\flash.bin");
  EXPECT_EQ(backups[0].sequence, backups[1].sequence + 1);
  EXPECT_EQ(backups[0].firmwareVersion, 0x0196);
  // The three containers, then the origin block: 30 bytes and the 20 of the receiver's name.
  EXPECT_EQ(fs::file_size(PathOfUtf8(saved)), 398u);
  fs::remove_all(folder.parent_path());
}
