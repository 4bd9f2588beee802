#pragma once
// Message boxes with the program's caption, the about box, and the web pages opened in the
// user's browser.

#include <cstdint>
#include <string>

inline constexpr const char* kMessageCaption = "Corsaro270 Customiser";

// Texts of the shell's boxes.
inline constexpr const char* kNewerVersionQuestion =
    "A newer version of this software is available online\n \nWould you like to download it "
    "now?\n \n";
inline constexpr const char* kNewerVersionDeclined =
    "You must upgrade to the latest version of the app to ensure you have\nthe latest firmware "
    "upgrades for your controller.";
inline constexpr const char* kFirmwareQuestion =
    "The firmware version on your controller is out of date\n \nWould you like to upgrade it "
    "now?\n \n";
inline constexpr const char* kFirmwareDeclined =
    "You must upgrade to the latest version of the firmware for your\ncontroller to be able to "
    "use this software\n \n";
inline constexpr const char* kUpdateFinished =
    "Your controller had been updated to the latest version.\n \n";

// The support page used until the settings document names one.
inline constexpr const char* kBuiltInSupportPage = "http://www.corsaro270.example/help";

// A report, with the information icon.
void ShowInformation(const char* text);
// A refusal or failure, with the error icon.
void ShowError(const char* text);
// A Yes/No question with the question icon; true only for Yes.
bool AskYesNo(const char* text);
// The same, with No as the default button.
bool AskYesNoDefaultNo(const char* text);

// The about box's text for the receiver's firmware version (0 without a receiver).
std::string AboutText(std::uint32_t wheelFirmwareVersion);
// Shows the about box for the connected receiver.
void ShowAboutBox();

// Opens the settings document's support page (the built-in one unless the document named
// another); the result is not used.
void OpenSupportPage();
// Opens the settings document's download page and logs a failure the shell reports; returns
// the shell's result (above 32 for success).
int OpenDownloadPage();

// Shell results as the messages know them.
enum ShellResult : int {
  SHELL_FILE_NOT_FOUND = 2,
  SHELL_NO_ASSOCIATION = 31,
  SHELL_OPENED = 42,
};
// The name the log gives a shell result, or null for results that are not logged.
const char* ShellErrorName(int result);
// Hands an address to the platform; returns a shell result. The desktop one asks the platform;
// tests put their own in place with SetUrlOpener (null restores the desktop one).
using UrlOpener = int (*)(const char* url);
void SetUrlOpener(UrlOpener opener);
