#pragma once
// The program's small dialogs: message boxes and the profile file choosers. One interface with
// a desktop implementation (GTK 3, loaded on the first dialog, or the platform's message boxes
// when GTK cannot be loaded or cannot start; on Windows the common file dialogs and MessageBoxW)
// and a scripted one that answers from a list and records what was shown.

#include <memory>
#include <string>

#include "engine/engine.h"

enum class MessageIcon {
  kInformation,  // reports; an OK button
  kQuestion,     // prompts; Yes and No buttons
  kError,        // refusals and failures; an OK button
};

enum class MessageAnswer {
  kOk,
  kYes,
  kNo,
};

// The profile files the choosers offer.
inline constexpr const char* kProfileFilterName = "Wheel Profiles";
inline constexpr const char* kProfilePattern = "*.cs270";
inline constexpr const char* kProfileExtension = ".cs270";

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Shows a message box over `owner` and waits for it to close. Questions answer Yes or No (No
  // also when the box is closed otherwise); the others answer Ok.
  virtual MessageAnswer ShowMessage(WindowHandle owner, MessageIcon icon, const char* caption,
                                    const char* text) = 0;
  // Shows a question box (question icon, Yes and No) whose default button is No, for a question
  // that a hasty Return must not answer Yes.
  virtual MessageAnswer ShowQuestionDefaultNo(WindowHandle owner, const char* caption,
                                              const char* text) = 0;
  // Asks for an existing profile file to open; false when the user cancels.
  virtual bool ChooseOpenFile(std::string* path) = 0;
  // Asks for the name of a profile file to save, ending in ".cs270"; false when cancelled.
  virtual bool ChooseSaveFile(std::string* path) = 0;
};

// The dialogs in use: those set with SetDialogs, else the desktop ones.
Dialogs& CurrentDialogs();
// Puts other dialogs in use (tests and scripted runs); null goes back to the desktop ones.
void SetDialogs(Dialogs* dialogs);

// The desktop's own dialogs, made on the first dialog a user is shown: GTK's or the platform's
// on Linux, the common file dialogs and the platform's message boxes on Windows.
std::unique_ptr<Dialogs> CreateDesktopDialogs();
// GTK 3 dialogs from the dialogs module (app/dialog_module.h), or null, with a log line saying
// why, when the module cannot be loaded or GTK cannot start (no display).
std::unique_ptr<Dialogs> CreateGtkDialogs();
// The platform's message boxes; they have no file choosers, which answer as cancelled.
std::unique_ptr<Dialogs> CreatePlatformDialogs();

// The name with ".cs270" appended unless it already ends with it (in any case).
std::string WithProfileExtension(const std::string& path);
// The text as a desktop box shows it: the "\n\r" and "\r" line ends of the program's texts
// become plain line breaks.
std::string DisplayText(const char* text);
