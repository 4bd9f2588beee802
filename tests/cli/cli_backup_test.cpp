// The tool backs up what the receiver held before it writes, and restores a backup only after
// every record in it passed its check.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "device/virtual_receiver.h"
#include "json_value.h"
#include "profile/factory_profiles.h"

namespace {

namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

WheelProfile Filled(std::uint8_t value) {
  WheelProfile profile;
  profile.bytes.fill(value);
  return profile;
}

// The three 116-byte containers of factory profile 1, a record of zeros and factory profile 3,
// with their headers written out: "CS27", reserved 0, the record's CRC, length 100.
std::vector<std::uint8_t> KnownBackupBytes() {
  const std::vector<std::uint8_t> headers[3] = {
      {0x43, 0x53, 0x32, 0x37, 0, 0, 0, 0, 0x22, 0x17, 0x07, 0x5F, 100, 0, 0, 0},
      {0x43, 0x53, 0x32, 0x37, 0, 0, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0},
      {0x43, 0x53, 0x32, 0x37, 0, 0, 0, 0, 0x41, 0xF9, 0x26, 0x7A, 100, 0, 0, 0},
  };
  const WheelProfile records[3] = {FactoryProfiles[0], Filled(0), FactoryProfiles[2]};
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 3; ++i) {
    bytes.insert(bytes.end(), headers[i].begin(), headers[i].end());
    bytes.insert(bytes.end(), records[i].bytes.begin(), records[i].bytes.end());
  }
  return bytes;
}

class CliBackups : public Cli {
 protected:
  void SetUp() override {
    Cli::SetUp();
    WriteBytes(Path("f1.cs270"), Container(FactoryProfiles[0]));
    WriteBytes(Path("zero.cs270"), Container(Filled(0)));
    WriteBytes(Path("f3.cs270"), Container(FactoryProfiles[2]));
    WriteBytes(Path("a.cs270"), Container(Filled(0xA1)));
    WriteBytes(Path("b.cs270"), Container(Filled(0xB2)));
  }

  // Stores the known profiles on the virtual receiver.
  void StoreKnownProfiles() {
    const Result stored =
        RunVirtual({"write-profiles", Path("f1.cs270"), Path("zero.cs270"), Path("f3.cs270")});
    ASSERT_EQ(stored.status, kExitOk) << stored.err;
  }

  fs::path BackupFolder() const { return dir / "data" / "corsaro270" / "backups" / "virtual"; }

  std::vector<fs::path> Backups() const {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(BackupFolder(), error)) {
      files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  // The profile sector's three blocks as the flash file holds them.
  std::vector<std::uint8_t> StoredBlocks() {
    VirtualReceiver receiver;
    std::string why;
    EXPECT_TRUE(receiver.LoadFile(Path("flash.bin"), why)) << why;
    std::vector<std::uint8_t> blocks;
    for (std::uint32_t address : {0xC010u, 0xC090u, 0xC110u}) {
      std::uint8_t block[100];
      receiver.ReadFlash(address, block, sizeof block);
      blocks.insert(blocks.end(), block, block + 100);
    }
    return blocks;
  }

  static std::vector<std::uint8_t> KnownBlocks() {
    std::vector<std::uint8_t> blocks;
    for (const WheelProfile& record : {FactoryProfiles[0], Filled(0), FactoryProfiles[2]}) {
      blocks.insert(blocks.end(), record.bytes.begin(), record.bytes.end());
    }
    return blocks;
  }
};

TEST_F(CliBackups, WriteProfilesBacksUpWhatTheReceiverHeldAndRestoreLatestBringsItBack) {
  StoreKnownProfiles();
  EXPECT_TRUE(Backups().empty()) << "a fresh receiver held nothing to back up";

  const Result written =
      RunVirtual({"write-profiles", Path("a.cs270"), Path("b.cs270"), Path("a.cs270")});
  ASSERT_EQ(written.status, kExitOk) << written.err;
  const std::vector<fs::path> backups = Backups();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_TRUE(Contains(written.out, "backed up to " + backups[0].string())) << written.out;
  const std::vector<std::uint8_t> saved = ReadBytes(backups[0].string());
  ASSERT_GT(saved.size(), 348u);
  EXPECT_EQ(std::vector<std::uint8_t>(saved.begin(), saved.begin() + 348), KnownBackupBytes());
  // After the containers, the origin block names the flash file as the receiver.
  const std::string name = "virtual:" + fs::canonical(Path("flash.bin")).string();
  EXPECT_EQ(std::string(saved.begin() + 374, saved.end() - 4), name);
  EXPECT_NE(StoredBlocks(), KnownBlocks());

  const Result restored = RunVirtual({"restore", "--latest"});
  ASSERT_EQ(restored.status, kExitOk) << restored.err;
  EXPECT_TRUE(Contains(restored.out, "Restored profiles 1-3 from " + backups[0].string()))
      << restored.out;
  EXPECT_EQ(StoredBlocks(), KnownBlocks());
  // The restore backed up what it replaced, so it can be undone the same way.
  EXPECT_EQ(Backups().size(), 2u);
}

TEST_F(CliBackups, BackupAndRestoreOfAFileMoveAllThreeProfiles) {
  StoreKnownProfiles();
  const Result backup = RunVirtual({"backup", Path("all.cs270set")});
  ASSERT_EQ(backup.status, kExitOk) << backup.err;
  EXPECT_EQ(ReadBytes(Path("all.cs270set")), KnownBackupBytes());

  ASSERT_EQ(
      RunVirtual({"write-profiles", Path("a.cs270"), Path("b.cs270"), Path("b.cs270")}).status,
      kExitOk);
  const Result restored = RunVirtual({"restore", Path("all.cs270set")});
  ASSERT_EQ(restored.status, kExitOk) << restored.err;
  EXPECT_EQ(StoredBlocks(), KnownBlocks());
}

TEST_F(CliBackups, ADamagedBackupIsRefusedAndNothingIsWritten) {
  StoreKnownProfiles();
  std::vector<std::uint8_t> damaged = KnownBackupBytes();
  damaged[116 + 16 + 50] = 0x77;  // one record byte of profile 2, its CRC unchanged
  WriteBytes(Path("damaged.cs270set"), damaged);
  std::vector<std::uint8_t> shortened = KnownBackupBytes();
  shortened.pop_back();
  WriteBytes(Path("short.cs270set"), shortened);
  ASSERT_EQ(
      RunVirtual({"write-profiles", Path("a.cs270"), Path("b.cs270"), Path("a.cs270")}).status,
      kExitOk);
  const std::vector<std::uint8_t> flash = ReadBytes(Path("flash.bin"));
  const std::size_t backupsBefore = Backups().size();

  const Result result = RunVirtual({"restore", Path("damaged.cs270set")});
  EXPECT_EQ(result.status, kExitFailure);
  EXPECT_TRUE(Contains(result.err, "profile 2: the record does not match its CRC")) << result.err;
  EXPECT_TRUE(Contains(result.err, "Nothing was written to the receiver.")) << result.err;
  const Result tooShort = RunVirtual({"restore", Path("short.cs270set")});
  EXPECT_EQ(tooShort.status, kExitFailure);
  EXPECT_TRUE(Contains(tooShort.err, "348 bytes long")) << tooShort.err;

  EXPECT_EQ(ReadBytes(Path("flash.bin")), flash);
  EXPECT_EQ(Backups().size(), backupsBefore);
}

TEST_F(CliBackups, AFailingBackupRefusesTheWriteUnlessNoBackupIsGiven) {
  StoreKnownProfiles();
  // A file where the data folder should be: no backup folder can be made.
  fs::remove_all(dir / "data");
  std::ofstream(Path("data")) << "not a folder";
  const std::vector<std::uint8_t> flash = ReadBytes(Path("flash.bin"));

  const Result refused =
      RunVirtual({"write-profiles", Path("a.cs270"), Path("b.cs270"), Path("a.cs270")});
  EXPECT_EQ(refused.status, kExitFailure);
  EXPECT_TRUE(Contains(refused.err, "Could not back up the profiles on the receiver: "))
      << refused.err;
  EXPECT_TRUE(Contains(refused.err, "Nothing was written; --no-backup writes without a backup."))
      << refused.err;
  EXPECT_EQ(ReadBytes(Path("flash.bin")), flash);

  const Result forced = RunVirtual(
      {"write-profiles", Path("a.cs270"), Path("b.cs270"), Path("a.cs270"), "--no-backup"});
  EXPECT_EQ(forced.status, kExitOk) << forced.err;
  EXPECT_EQ(StoredBlocks()[0], 0xA1);
}

TEST_F(CliBackups, BackupsListsTheNewestFirstWithDateAndDecodedProfiles) {
  // Nothing to list: nothing on standard output, so that `backups | wc -l` says 0.
  const Result none = RunVirtual({"backups"});
  EXPECT_EQ(none.status, kExitOk);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, "There are no automatic backups of this receiver (virtual:" +
                          Path("flash.bin") + ") in " + BackupFolder().string() + ".\n");
  EXPECT_EQ(RunVirtual({"backups", "--all"}).err,
            "There are no automatic backups in " + BackupFolder().string() + ".\n");
  EXPECT_EQ(RunVirtual({"backups", "--quiet"}).err, "");
  StoreKnownProfiles();
  ASSERT_EQ(
      RunVirtual({"write-profiles", Path("a.cs270"), Path("b.cs270"), Path("a.cs270")}).status,
      kExitOk);
  ASSERT_EQ(
      RunVirtual({"write-profiles", Path("f1.cs270"), Path("f1.cs270"), Path("f1.cs270")}).status,
      kExitOk);
  const std::vector<fs::path> backups = Backups();
  ASSERT_EQ(backups.size(), 2u);

  const Result text = RunVirtual({"backups"});
  ASSERT_EQ(text.status, kExitOk) << text.err;
  const std::size_t newest = text.out.find(backups[1].string());
  const std::size_t oldest = text.out.find(backups[0].string());
  ASSERT_NE(newest, std::string::npos) << text.out;
  ASSERT_NE(oldest, std::string::npos) << text.out;
  EXPECT_LT(newest, oldest);
  const std::string receiver = "virtual:" + fs::canonical(Path("flash.bin")).string();
  EXPECT_TRUE(
      Contains(text.out, " UTC  firmware 1.96  receiver " + receiver + "  " + backups[0].string()))
      << text.out;
  EXPECT_TRUE(Contains(text.out,
                       "  Profile 1: rear light on, front light on, level Med, angles 12.4 and "
                       "135.0 degrees\n  Profile 2: rear light off, front light off, level Low, "
                       "angles 0.0 and 0.0 degrees\n"))
      << text.out;

  const Result json = RunVirtual({"backups", "--json"});
  ASSERT_EQ(json.status, kExitOk) << json.err;
  JsonValue document;
  ASSERT_TRUE(JsonReader::Parse(json.out, document)) << json.out;
  EXPECT_EQ(document["folder"].text, BackupFolder().string());
  EXPECT_EQ(document["receiver"].text, receiver);
  const JsonValue& list = document["backups"];
  ASSERT_EQ(list.items.size(), 2u);
  const JsonValue& oldestJson = list.items[1];
  EXPECT_EQ(oldestJson["file"].text, backups[0].string());
  EXPECT_EQ(oldestJson["firmware"].text, "1.96");
  EXPECT_EQ(oldestJson["receiver"].text, receiver);
  EXPECT_TRUE(oldestJson["trusted"].boolean);
  // RFC 3339, the time the file is named by ("20261209T043851.123Z-fw0196.cs270set"), to the
  // second.
  const std::string name = backups[0].filename().string();
  EXPECT_EQ(oldestJson["date"].text, name.substr(0, 4) + "-" + name.substr(4, 2) + "-" +
                                         name.substr(6, 2) + "T" + name.substr(9, 2) + ":" +
                                         name.substr(11, 2) + ":" + name.substr(13, 2) + "Z")
      << name;
  EXPECT_TRUE(oldestJson["valid"].boolean);
  ASSERT_EQ(oldestJson["profiles"].items.size(), 3u);
  const JsonValue& first = oldestJson["profiles"].items[0];
  EXPECT_TRUE(first["rearLight"].boolean);
  EXPECT_TRUE(first["frontLight"].boolean);
  EXPECT_EQ(first["level"].text, "Med");
  EXPECT_DOUBLE_EQ(first["angleA"].number, 12.4);
  EXPECT_DOUBLE_EQ(first["angleB"].number, 135.0);
  EXPECT_EQ(oldestJson["profiles"].items[1]["level"].text, "Low");
}

TEST_F(CliBackups, RestoreNeedsExactlyOneOfAFileAndLatest) {
  EXPECT_EQ(RunVirtual({"restore"}).status, kExitUsage);
  EXPECT_EQ(RunVirtual({"restore", "--latest", Path("x")}).status, kExitUsage);
  EXPECT_EQ(RunVirtual({"info", "--latest"}).status, kExitUsage);
  const Result none = RunVirtual({"restore", "--latest"});
  EXPECT_EQ(none.status, kExitFailure);
  EXPECT_TRUE(Contains(none.err, "There are no automatic backups of this receiver (virtual:" +
                                     fs::canonical(Path("flash.bin")).string() + ") in " +
                                     BackupFolder().string() + "."))
      << none.err;
  EXPECT_EQ(RunVirtual({"info", "--all"}).status, kExitUsage);
}

TEST_F(CliBackups, EachVirtualReceiverRestoresOnlyItsOwnBackups) {
  StoreKnownProfiles();
  ASSERT_EQ(
      RunVirtual({"write-profiles", Path("a.cs270"), Path("b.cs270"), Path("a.cs270")}).status,
      kExitOk);
  ASSERT_EQ(Backups().size(), 1u) << "A's backup";
  const std::vector<std::string> onB = {"--virtual", Path("B.bin")};
  auto runOnB = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), onB.begin(), onB.end());
    return Run(arguments);
  };
  ASSERT_EQ(runOnB({"write-profiles", Path("b.cs270"), Path("b.cs270"), Path("b.cs270")}).status,
            kExitOk);
  const std::vector<std::uint8_t> flashB = ReadBytes(Path("B.bin"));

  const Result refused = runOnB({"restore", "--latest"});
  EXPECT_EQ(refused.status, kExitFailure);
  EXPECT_TRUE(Contains(refused.err, "There are no automatic backups of this receiver"))
      << refused.err;
  EXPECT_TRUE(Contains(refused.err, "1 other backups are there (backups --all lists them)"))
      << refused.err;
  EXPECT_EQ(ReadBytes(Path("B.bin")), flashB) << "A's profiles never reach B";
  const Result listed = runOnB({"backups"});
  EXPECT_EQ(listed.out, "") << "B has no backup of its own to list";
  EXPECT_TRUE(Contains(listed.err, "There are no automatic backups of this receiver"))
      << listed.err;
  EXPECT_TRUE(Contains(listed.err,
                       "1 more backups are of other receivers or older (backups --all lists them)"))
      << listed.err;

  // Once B has a backup of its own, that is the one it takes.
  ASSERT_EQ(runOnB({"write-profiles", Path("a.cs270"), Path("a.cs270"), Path("a.cs270")}).status,
            kExitOk);
  const Result restored = runOnB({"restore", "--latest"});
  ASSERT_EQ(restored.status, kExitOk) << restored.err;
  VirtualReceiver b;
  std::string why;
  ASSERT_TRUE(b.LoadFile(Path("B.bin"), why)) << why;
  std::uint8_t block[100];
  b.ReadFlash(0xC010, block, sizeof block);
  EXPECT_EQ(block[0], 0xB2) << "B's own profiles came back";

  const Result all = runOnB({"backups", "--all"});
  ASSERT_EQ(all.status, kExitOk) << all.err;
  EXPECT_TRUE(Contains(all.out, "receiver virtual:" + fs::canonical(Path("B.bin")).string()))
      << all.out;
  EXPECT_TRUE(Contains(all.out, "receiver virtual:" + fs::canonical(Path("flash.bin")).string()))
      << all.out;
}

TEST_F(CliBackups, RestoreLatestTakesTheBackupJustMadeOverOneNamedInTheFuture) {
  StoreKnownProfiles();
  fs::create_directories(BackupFolder());
  // Made before backups named their receiver, by a clock that ran ahead.
  std::vector<std::uint8_t> future;
  for (int i = 0; i < 3; ++i) {
    const std::vector<std::uint8_t> container = Container(Filled(0x99));
    future.insert(future.end(), container.begin(), container.end());
  }
  const fs::path planted = BackupFolder() / "20991231T235959.999Z-fw0196.cs270set";
  WriteBytes(planted.string(), future);
  fs::permissions(planted, fs::perms::owner_read | fs::perms::owner_write);

  const Result written =
      RunVirtual({"write-profiles", Path("a.cs270"), Path("b.cs270"), Path("a.cs270")});
  ASSERT_EQ(written.status, kExitOk) << written.err;
  const std::size_t at = written.out.find("backed up to ");
  ASSERT_NE(at, std::string::npos) << written.out;
  const std::string made = written.out.substr(at + 13, written.out.find(".\n", at) - at - 13);
  ASSERT_TRUE(fs::exists(made)) << made;

  const Result restored = RunVirtual({"restore", "--latest"});
  ASSERT_EQ(restored.status, kExitOk) << restored.err;
  EXPECT_TRUE(Contains(restored.out, "Restored profiles 1-3 from " + made)) << restored.out;
  EXPECT_EQ(StoredBlocks(), KnownBlocks());
  // The old backup is still listed with --all, as a receiver's unknown.
  const Result all = RunVirtual({"backups", "--all"});
  EXPECT_TRUE(Contains(
      all.out, "2099-12-31 23:59:59 UTC  firmware 1.96  receiver unknown  " + planted.string()))
      << all.out;
}

TEST_F(CliBackups, RestoreLatestPassesOverABackupOthersMayWrite) {
  StoreKnownProfiles();
  ASSERT_EQ(
      RunVirtual({"write-profiles", Path("a.cs270"), Path("b.cs270"), Path("a.cs270")}).status,
      kExitOk);
  ASSERT_EQ(Backups().size(), 1u);
  fs::permissions(Backups()[0], fs::perms::others_write, fs::perm_options::add);
  const std::vector<std::uint8_t> flash = ReadBytes(Path("flash.bin"));
  const Result refused = RunVirtual({"restore", "--latest"});
  EXPECT_EQ(refused.status, kExitFailure);
  EXPECT_EQ(ReadBytes(Path("flash.bin")), flash);
  const Result all = RunVirtual({"backups", "--all"});
  EXPECT_TRUE(Contains(all.out, "  not trusted: other users may write it\n")) << all.out;
}

}  // namespace
