#include "app/messages.h"

#include <cstdio>

#include "app/app_version.h"
#include "app/dialogs.h"
#include "app/shell_engine.h"
#include "common/log.h"
#include "device/connection.h"
#include "device/firmware_version.h"
#include "engine/platform/platform.h"
#include "online/settings_document.h"

namespace {

constexpr int kAboutTextSize = 512;
constexpr std::size_t kVersionTextSize = 16;

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
  return platform::Current().OpenUrl(url) ? SHELL_OPENED : SHELL_NO_ASSOCIATION;
}

UrlOpener urlOpener = OpenWithDesktop;

MessageAnswer Show(MessageIcon icon, const char* text) {
  return CurrentDialogs().ShowMessage(ShellWindow(), icon, kMessageCaption, text);
}

}  // namespace

void ShowInformation(const char* text) {
  Show(MessageIcon::kInformation, text);
}

void ShowError(const char* text) {
  Show(MessageIcon::kError, text);
}

bool AskYesNo(const char* text) {
  return Show(MessageIcon::kQuestion, text) == MessageAnswer::kYes;
}

bool AskYesNoDefaultNo(const char* text) {
  return CurrentDialogs().ShowQuestionDefaultNo(ShellWindow(), kMessageCaption, text) ==
         MessageAnswer::kYes;
}

std::string AboutText(std::uint32_t wheelFirmwareVersion) {
  char internal[kVersionTextSize];
  char wheel[kVersionTextSize];
  FormatFirmwareVersion(kRequiredFirmwareVersion, internal, sizeof internal);
  FormatFirmwareVersion(static_cast<std::int32_t>(wheelFirmwareVersion), wheel, sizeof wheel);
  char text[kAboutTextSize];
  std::snprintf(text, sizeof text,
                "PC Software v%s\n\rInternal Firmware v%s\n\rWheel Firmware v%s"
                "            \n\rBuild Date - %s\n\r",
                kAppVersionText, internal, wheel, kBuildDateText);
  return text;
}

void ShowAboutBox() {
  ShowInformation(AboutText(static_cast<std::uint32_t>(WheelFirmwareVersion)).c_str());
}

void OpenSupportPage() {
  urlOpener(Settings.supportPage.c_str());
}

int OpenDownloadPage() {
  const char* page = Settings.downloadPage.c_str();
  int result = urlOpener(page);
  if (const char* name = ShellErrorName(result)) Log("Open %s - Error %s", page, name);
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
