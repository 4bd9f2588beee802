#pragma once
// Runs the command-line tool in-process, in a folder of its own per test, on a virtual receiver
// kept in that folder's flash file.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "profile/profile_file.h"
#include "tests/support/environment.h"
#include "tools/cli/cli.h"

inline std::string ReadStream(std::FILE* stream) {
  std::string text;
  std::rewind(stream);
  for (int c = std::fgetc(stream); c != EOF; c = std::fgetc(stream)) text.push_back(char(c));
  std::fclose(stream);
  return text;
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<std::uint8_t> Container(const WheelProfile& profile) {
  ProfileFile file{};
  EncodeProfileFile(profile, file);
  return {file.bytes, file.bytes + kProfileFileSize};
}

struct Result {
  int status;
  std::string out;
  std::string err;
};

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::filesystem::path(::testing::TempDir()) /
          ("cli_" + std::string(test->test_suite_name()) + "_" + test->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    // Backups made by the runs stay in this test's folder.
    if (const char* old = std::getenv("XDG_DATA_HOME")) oldDataHome = old;
    SetEnvironment("XDG_DATA_HOME", Path("data"));
  }
  void TearDown() override {
    SetEnvironment("XDG_DATA_HOME", oldDataHome);
    std::filesystem::remove_all(dir);
  }

  std::string Path(const char* name) const { return (dir / name).string(); }

  Result Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "corsaro270-cli");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, ReadStream(out), ReadStream(err)};
  }

  // Runs a command on the virtual receiver kept in this test's flash file.
  Result RunVirtual(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--virtual", Path("flash.bin")});
    return Run(arguments);
  }

  std::filesystem::path dir;
  std::string oldDataHome;
};
