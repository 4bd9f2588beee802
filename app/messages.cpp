#include "app/messages.h"

#include <SDL2/SDL.h>

#include <cstdio>

#include "app/app_version.h"
#include "app/dialogs.h"
#include "app/shell_engine.h"
#include "app/shell_hooks.h"

namespace {

// The firmware image the program carries.
constexpr unsigned kInternalFirmwareMajor = 1;
constexpr unsigned kInternalFirmwareMinor = 0x96;
constexpr int kAboutTextSize = 512;
constexpr int kVersionShift = 8;
constexpr unsigned kVersionByte = 0xFF;

struct ShellError {
  int result;
  const char* name;
};

constexpr ShellError kShellErrors[] = {
    {2, "ERROR_FILE_NOT_FOUND"},    {3, "ERROR_PATH_NOT_FOUND"},
    {5, "SE_ERR_ACCESSDENIED"},     {8, "SE_ERR_OOM"},
    {11, "ERROR_BAD_FORMAT"},       {26, "SE_ERR_SHARE"},
    {27, "SE_ERR_ASSOCINCOMPLETE"}, {28, "SE_ERR_DDETIMEOUT"},
    {29, "SE_ERR_DDEFAIL"},         {30, "SE_ERR_DDEBUSY"},
    {31, "SE_ERR_NOASSOC"},         {32, "SE_ERR_DLLNOTFOUND"},
};

// An empty address names nothing to open; anything else that fails has no program to open it.
int OpenWithDesktop(const char* url) {
  if (url == nullptr || url[0] == '\0') return SHELL_FILE_NOT_FOUND;
  return SDL_OpenURL(url) == 0 ? SHELL_OPENED : SHELL_NO_ASSOCIATION;
}

UrlOpener urlOpener = OpenWithDesktop;

MessageAnswer Show(MessageIcon icon, const char* text) {
  return CurrentDialogs().ShowMessage(ShellWindow(), icon, kMessageCaption, text);
}

const char* SupportPage() {
  return settingsHooks.supportPage != nullptr ? settingsHooks.supportPage() : kBuiltInSupportPage;
}

const char* DownloadPage() {
  const char* page = settingsHooks.downloadPage != nullptr ? settingsHooks.downloadPage() : "";
  return page != nullptr ? page : "";
}

}  // namespace

void ShowInformation(const char* text) {
  Show(MessageIcon::Information, text);
}

void ShowError(const char* text) {
  Show(MessageIcon::Error, text);
}

bool AskYesNo(const char* text) {
  return Show(MessageIcon::Question, text) == MessageAnswer::Yes;
}

std::string AboutText(std::uint32_t wheelFirmwareVersion) {
  char text[kAboutTextSize];
  std::snprintf(text, sizeof text,
                "PC Software v%s\n\rInternal Firmware v%1x.%2x\n\rWheel Firmware v%1x.%2x"
                "            \n\rBuild Date - %s\n\r",
                kAppVersionText, kInternalFirmwareMajor, kInternalFirmwareMinor,
                static_cast<unsigned>(wheelFirmwareVersion >> kVersionShift),
                static_cast<unsigned>(wheelFirmwareVersion & kVersionByte), kBuildDateText);
  return text;
}

void ShowAboutBox() {
  std::uint32_t version =
      receiverHooks.firmwareVersion != nullptr ? receiverHooks.firmwareVersion() : 0;
  ShowInformation(AboutText(version).c_str());
}

void OpenSupportPage() {
  const char* page = SupportPage();
  urlOpener(page != nullptr ? page : "");
}

int OpenDownloadPage() {
  const char* page = DownloadPage();
  int result = urlOpener(page);
  if (const char* name = ShellErrorName(result)) ShellLog("Open %s - Error %s", page, name);
  return result;
}

const char* ShellErrorName(int result) {
  for (const ShellError& error : kShellErrors) {
    if (error.result == result) return error.name;
  }
  return nullptr;
}

void SetUrlOpener(UrlOpener opener) {
  urlOpener = opener != nullptr ? opener : OpenWithDesktop;
}
