// The preset dialog as a user meets it in the demo, with the presets served by a loopback HTTP
// server the test runs: a preset applied to the shown profile, the size limit, OK without a
// selection, a note that looks like a format, a name and a note too long for their places, and a
// server that never answers.
#include <array>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "tests/online/test_http_server.h"
#include "tests/scenarios/demo_run.h"
#include "tests/support/fifo.h"
#include "tests/support/profile_records.h"

namespace {

constexpr std::size_t kFlashSize = 131072;
const std::string kPresetRoot = std::string(CORSARO_SOURCE_DIR) + "/assets/presets";

constexpr const char* kPresetApplied =
    "info\tCorsaro270 Customiser\tPress the \"Assign Setting\" button\\r\\nto save the profile "
    "data to your Corsaro270 Wheel.";
constexpr const char* kPresetError =
    "error\tCorsaro270 Customiser\tAn error occurred when accessing the preset data\\nplease "
    "contact customer services to inform them of the problem\\n \\n";

// Where the script clicks: the Presets button of the profile bar, the list's rows, OK.
constexpr const char* kOpenDialog = "click 734 36\nwait-state 7 10\n";
constexpr const char* kFirstRow = "click 300 175\n";
constexpr const char* kSecondRow = "click 300 205\n";
constexpr const char* kOk = "click 717 463\n";

struct Listed {
  std::string name;
  std::string note;
  std::string file;
};

std::string SettingsDocumentOf(const std::vector<Listed>& presets) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<settings><version>103</version><presets>";
  for (const Listed& preset : presets) {
    text += "<preset><name>" + preset.name + "</name><note>" + preset.note +
            "</note><type>1</type><file>" + preset.file + "</file></preset>";
  }
  return text + "</presets></settings>\n";
}

std::string Bundled(const std::string& name) {
  std::ifstream file(kPresetRoot + "/tarnwick270/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TestHttpResponse Body(std::string body) {
  TestHttpResponse response;
  response.body = std::move(body);
  return response;
}

// The bundled Rally preset followed by junk up to `size` bytes.
std::string RallyOfSize(std::size_t size) {
  std::string bytes = Bundled("rally.cs270");
  bytes.resize(size, '\xEE');
  return bytes;
}

class PresetRun : public DemoRun {
 protected:
  void SetUp() override {
    DemoRun::SetUp();
    ASSERT_TRUE(server.Running());
  }

  // Serves `presets` as the settings document; their files come from the bundled folder unless
  // the test serves them itself.
  void List(const std::vector<Listed>& presets) {
    std::lock_guard<std::mutex> lock(mutex);
    settings = SettingsDocumentOf(presets);
  }
  void Serve(const std::string& path, TestHttpResponse response) {
    std::lock_guard<std::mutex> lock(mutex);
    extra.emplace_back(path, std::move(response));
  }

  int RunWithPresets(const std::string& script) {
    return Run(script, {"--settings", server.Url("/tarnwick270/settings.xml")});
  }

  TestHttpResponse Answer(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex);
    if (path == "/tarnwick270/settings.xml") return Body(settings);
    for (const auto& [served, response] : extra) {
      if (served == path) return response;
    }
    return ServeFolder(kPresetRoot, path);
  }

  std::mutex mutex;
  std::string settings;
  std::vector<std::pair<std::string, TestHttpResponse>> extra;
  TestHttpServer server{[this](const std::string& path) { return Answer(path); }};
};

// Pixels of `shot` inside the box that differ from `other`.
int DifferingPixels(const ImageArgb& shot, const ImageArgb& other, int x, int y, int w, int h) {
  int count = 0;
  for (int row = y; row < y + h; ++row) {
    for (int column = x; column < x + w; ++column) {
      const std::size_t at = static_cast<std::size_t>(row) * 1024 + column;
      if (shot.pixels[at] != other.pixels[at]) ++count;
    }
  }
  return count;
}

TEST_F(PresetRun, AnAppliedPresetIsWrittenByAssignSettingToTheCurrentProfileOnly) {
  List({{"Factory Profile 1", "First", "factory1.cs270"}, {"Rally", "Second", "rally.cs270"}});
  ASSERT_EQ(RunWithPresets(std::string("wait-state 6\n") + kOpenDialog + kSecondRow + kOk +
                           "wait-state 6 600\n"
                           "frames 2\n"
                           "# Assign Setting\n"
                           "click 199 520\n"
                           "frames 2\n"
                           "dump-flash assigned\n"),
            0)
      << Stderr();
  const std::string rally = Bundled("rally.cs270");
  ASSERT_EQ(rally.size(), 116u);
  const std::vector<std::uint8_t> flash = Flash("assigned");
  ASSERT_EQ(flash.size(), kFlashSize);
  const auto block = [&](std::size_t at) {
    return std::vector<std::uint8_t>(flash.begin() + static_cast<long>(at),
                                     flash.begin() + static_cast<long>(at) + 100);
  };
  EXPECT_EQ(block(0xC010), std::vector<std::uint8_t>(rally.begin() + 16, rally.end()));
  const Record two = WrittenBack(FactoryRecord(1));
  const Record three = WrittenBack(FactoryRecord(2));
  EXPECT_EQ(block(0xC090), std::vector<std::uint8_t>(two.begin(), two.end()));
  EXPECT_EQ(block(0xC110), std::vector<std::uint8_t>(three.begin(), three.end()));
  EXPECT_EQ(block(0xC000).front(), 0x32);
}

TEST_F(PresetRun, TheSecondPresetReplacesTheShownProfileAsIfTheReceiverHeldIt) {
  List({{"Factory Profile 1", "First", "factory1.cs270"}, {"Rally", "Second", "rally.cs270"}});
  ASSERT_EQ(RunWithPresets(std::string("wait-state 6\n") + kOpenDialog + kSecondRow +
                           "screenshot selected\n" + kOk +
                           "wait-state 6 600\n"
                           "frames 60\n"
                           "screenshot applied\n"),
            0)
      << Stderr();
  EXPECT_EQ(Messages(), std::vector<std::string>{kPresetApplied});
  EXPECT_NE(Log().find("Preset \"Rally\" copied into profile 1"), std::string::npos) << Log();
  const ImageArgb applied = Screenshot("applied");
  ASSERT_EQ(applied.pixels.size(), 1024u * 600u);

  // The same screen on a receiver that holds the Rally record as its profile 1.
  std::string flash(kFlashSize, '\xFF');
  flash.replace(0xC000, 4, "\x32\x54\x76\x98");
  flash.replace(0xC010, 100, Bundled("rally.cs270").substr(16));
  flash.replace(0xC090, 100, std::string(100, '\0'));
  flash.replace(0xC110, 100, std::string(100, '\0'));
  WriteFile(Path("rally.bin"), FlashFile(0x0196, flash));
  ASSERT_EQ(Run("wait-state 6\nmove 717 463\nframes 60\nscreenshot stored\n",
                {"--flash", Path("rally.bin")}),
            0)
      << Stderr();
  const ImageArgb stored = Screenshot("stored");
  ASSERT_EQ(stored.pixels.size(), applied.pixels.size());
  EXPECT_EQ(DifferingPixels(applied, stored, 0, 0, 1024, 600), 0);
}

TEST_F(PresetRun, AKilobyteIsAppliedAndOneByteMoreIsRefusedWithNothingChanged) {
  Serve("/tarnwick270/rally1024.cs270", Body(RallyOfSize(1024)));
  Serve("/tarnwick270/rally1025.cs270", Body(RallyOfSize(1025)));
  List({{"Rally 1025", "Too long", "rally1025.cs270"}, {"Rally 1024", "Fits", "rally1024.cs270"}});
  ASSERT_EQ(
      RunWithPresets(std::string("wait-state 6\nmove 717 463\nframes 2\nscreenshot before\n") +
                     kOpenDialog + kFirstRow + kOk +
                     "wait-state 6 600\n"
                     "frames 60\n"
                     "screenshot refused\n" +
                     kOpenDialog + kSecondRow + kOk +
                     "wait-state 6 600\n"
                     "frames 60\n"
                     "screenshot applied\n"),
      0)
      << Stderr();
  EXPECT_EQ(Messages(), (std::vector<std::string>{kPresetError, kPresetApplied}));
  EXPECT_NE(Log().find("Preset refused: the file is larger than 1024 bytes"), std::string::npos);
  const ImageArgb before = Screenshot("before");
  const ImageArgb refused = Screenshot("refused");
  const ImageArgb applied = Screenshot("applied");
  ASSERT_EQ(before.pixels.size(), 1024u * 600u);
  ASSERT_EQ(refused.pixels.size(), before.pixels.size());
  ASSERT_EQ(applied.pixels.size(), before.pixels.size());
  EXPECT_EQ(DifferingPixels(refused, before, 0, 0, 1024, 600), 0) << "the profile changed";
  EXPECT_GT(DifferingPixels(applied, before, 0, 0, 1024, 600), 0) << "the profile stayed";
}

TEST_F(PresetRun, OkWithoutASelectionClosesSilently) {
  List({{"Rally", "Second", "rally.cs270"}});
  ASSERT_EQ(RunWithPresets(std::string("wait-state 6\n") + kOpenDialog + kOk + "frames 2\n"), 0)
      << Stderr();
  EXPECT_TRUE(Messages().empty());
  std::vector<int> states;
  for (const auto& [frame, state] : States()) states.push_back(state);
  EXPECT_EQ(states, (std::vector<int>{6, 7, 6}));
  EXPECT_EQ(Log().find("Preset"), std::string::npos) << Log();
}

TEST_F(PresetRun, ANoteThatLooksLikeAFormatIsShownAsItIs) {
  List({{"Percent %s%n", "%n%n%n%s", "rally.cs270"}});
  ASSERT_EQ(RunWithPresets(std::string("wait-state 6\n") + kOpenDialog + "screenshot none\n" +
                           kFirstRow + "move 100 300\nframes 2\nscreenshot note\n"),
            0)
      << Stderr();
  EXPECT_TRUE(Messages().empty());
  const ImageArgb none = Screenshot("none");
  const ImageArgb note = Screenshot("note");
  ASSERT_EQ(note.pixels.size(), 1024u * 600u);
  ASSERT_EQ(none.pixels.size(), note.pixels.size());
  // The note box's text (232, 340, 560 by 80) now shows the note in white instead of
  // "No preset selected" in amber.
  int white = 0;
  for (int y = 340; y < 420; ++y) {
    for (int x = 232; x < 792; ++x) {
      if ((note.pixels[static_cast<std::size_t>(y) * 1024 + x] & 0xFFFFFF) == 0xFFFFFF) ++white;
    }
  }
  EXPECT_GT(white, 20);
  EXPECT_GT(DifferingPixels(note, none, 232, 340, 560, 80), 0);
}

// Pixels that differ from `other` outside every one of `boxes` (x, y, w, h).
int DifferingOutside(const ImageArgb& shot, const ImageArgb& other,
                     const std::vector<std::array<int, 4>>& boxes) {
  int count = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 1024; ++x) {
      bool inside = false;
      for (const auto& box : boxes) {
        inside =
            inside || (x >= box[0] && x < box[0] + box[2] && y >= box[1] && y < box[1] + box[3]);
      }
      const std::size_t at = static_cast<std::size_t>(y) * 1024 + x;
      if (!inside && shot.pixels[at] != other.pixels[at]) ++count;
    }
  }
  return count;
}

TEST_F(PresetRun, ALongNameStaysInItsRowAndALongNoteInItsBox) {
  const std::string script = std::string("wait-state 6\n") + kOpenDialog + kFirstRow +
                             "move 100 300\nframes 2\nscreenshot shown\n";
  List({{"W", "W", "rally.cs270"}});
  ASSERT_EQ(RunWithPresets(script), 0) << Stderr();
  const ImageArgb reference = Screenshot("shown");
  // A name of 5000 letters, and a note with a word wider than its box and lines enough to fill
  // it many times over.
  std::string note(60, 'W');
  while (note.size() < 400) note += " WWWW";
  List({{std::string(5000, 'W'), note, "rally.cs270"}});
  ASSERT_EQ(RunWithPresets(script), 0) << Stderr();
  const ImageArgb shown = Screenshot("shown");
  ASSERT_EQ(reference.pixels.size(), 1024u * 600u);
  ASSERT_EQ(shown.pixels.size(), reference.pixels.size());
  // The first row of the list (222, 160, 580 by 30) and the note's box (232, 340, 560 by 80)
  // show the longer texts; every other pixel, the dialog's and the main screen's, is as it was.
  const std::array<int, 4> row{222, 160, 580, 30};
  const std::array<int, 4> noteBox{232, 340, 560, 80};
  EXPECT_GT(DifferingPixels(shown, reference, row[0], row[1], row[2], row[3]), 0);
  EXPECT_GT(DifferingPixels(shown, reference, noteBox[0], noteBox[1], noteBox[2], noteBox[3]), 0);
  EXPECT_EQ(DifferingOutside(shown, reference, {row, noteBox}), 0);
  EXPECT_EQ(DifferingPixels(shown, reference, 0, 0, 1024, 100), 0) << "above the dialog";
  EXPECT_EQ(DifferingPixels(shown, reference, 852, 0, 172, 600), 0) << "right of the dialog";
}

TEST_F(PresetRun, ASilentServerShowsTheDownloadAndFailsWhileFramesGoOn) {
  TestHttpResponse silent;
  silent.silent = true;
  Serve("/tarnwick270/silent.cs270", silent);
  List({{"Silent", "Never answers", "silent.cs270"}});
  ASSERT_EQ(RunWithPresets(std::string("wait-state 6\n") + kOpenDialog + kFirstRow + kOk +
                           "frames 30\n"
                           "screenshot downloading\n"
                           "click 793 463\n"  // Cancel is ignored while the preset downloads
                           "wait-state 6 1200\n"
                           "frames 2\n"),
            0)
      << Stderr();
  EXPECT_EQ(Messages(), std::vector<std::string>{kPresetError});
  const std::vector<std::pair<int, int>> states = States();
  ASSERT_EQ(states.size(), 3u);
  EXPECT_EQ(states[1].second, 7);
  EXPECT_EQ(states[2].second, 6);
  EXPECT_GT(states[2].first - states[1].first, 60) << "frames kept coming while it waited";
  EXPECT_NE(Log().find("Preset refused: the download failed"), std::string::npos) << Log();

  // "Downloading..." in amber where the note was.
  const ImageArgb shot = Screenshot("downloading");
  ASSERT_EQ(shot.pixels.size(), 1024u * 600u);
  int amber = 0;
  for (int y = 340; y < 420; ++y) {
    for (int x = 232; x < 792; ++x) {
      if (shot.pixels[static_cast<std::size_t>(y) * 1024 + x] == 0xFFFFC000u) ++amber;
    }
  }
  EXPECT_GT(amber, 20);
}

// FIFOs nobody writes, in place of the settings document or of a preset file: the program neither
// waits at start-up nor in the dialog nor when it ends.
TEST_F(DemoRun, ASettingsDocumentThatIsAFifoDoesNotHoldUpTheStart) {
  TestFifo fifo(Path("settings.xml"));
  ASSERT_TRUE(fifo.Made());
  ASSERT_EQ(Run("wait-state 6\n", {"--settings", fifo.Address()}), 0) << Stderr();
  EXPECT_NE(Log().find(fifo.Path() + ": not a regular file"), std::string::npos) << Log();
}

TEST_F(DemoRun, APresetFileThatIsAFifoFailsAndTheProgramStillEnds) {
  TestFifo fifo(Path("fifo.cs270"));
  ASSERT_TRUE(fifo.Made());
  WriteFile(Path("settings.xml"), SettingsDocumentOf({{"Stuck", "A FIFO", "fifo.cs270"}}));
  ASSERT_EQ(Run(std::string("wait-state 6\n") + kOpenDialog + kFirstRow + kOk +
                    "wait-state 6 600\n"
                    "frames 2\n",
                {"--settings", "file://" + Path("settings.xml")}),
            0)
      << Stderr();
  EXPECT_EQ(Messages(), std::vector<std::string>{kPresetError});
  EXPECT_NE(Log().find("fifo.cs270: not a regular file"), std::string::npos) << Log();
}

}  // namespace
