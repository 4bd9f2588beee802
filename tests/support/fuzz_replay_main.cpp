// Feeds every file of the folders (or files) on the command line, in name order, to a fuzz
// target's entry function, as libFuzzer would replay them. A crash or a sanitizer report fails
// the run; so does a folder without inputs, which would prove nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// As under libFuzzer, a single allocation past 2 GiB is a finding (with AddressSanitizer).
extern "C" const char* __asan_default_options() {
  return "max_allocation_size_mb=2048";
}

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Inputs(const char* argument) {
  std::vector<fs::path> inputs;
  std::error_code error;
  if (!fs::is_directory(argument, error)) return {argument};
  for (const fs::directory_entry& entry : fs::directory_iterator(argument, error)) {
    if (entry.is_regular_file(error)) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

bool Replay(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return false;
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  // An empty input still gets a valid pointer, as libFuzzer gives it: one spare byte, not passed.
  std::vector<std::uint8_t> data(bytes.size() + 1, 0);
  std::copy(bytes.begin(), bytes.end(), data.begin());
  LLVMFuzzerTestOneInput(data.data(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    for (const fs::path& input : Inputs(argv[i])) {
      if (!Replay(input)) return 1;
      ++replayed;
    }
  }
  std::printf("replayed %d inputs\n", replayed);
  return replayed > 0 ? 0 : 1;
}
