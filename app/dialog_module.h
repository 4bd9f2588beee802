#pragma once
// The dialogs' GTK backend is a module loaded on the first desktop dialog, so that a run that
// shows none never maps GTK and its font machinery. This is what the program and the module
// agree on, and how the program finds and loads it.

#include <memory>
#include <string>

#include "app/dialogs.h"

// Raised whenever the Dialogs interface or the entry point changes shape, so that a module of
// another build is refused instead of called wrongly.
inline constexpr int kDialogModuleInterface = 1;
// The one symbol the module exports.
inline constexpr const char* kDialogModuleEntry = "CorsaroCreateGtkDialogs";
// Where the module lies, relative to the folder of the running program.
inline constexpr const char* kDialogModuleFromProgram = "../lib/corsaro270/gtk-dialogs.so";

extern "C" {
// GTK dialogs made with new, or null when GTK cannot start (no display) or `interface` is not
// the module's own.
typedef Dialogs* DialogModuleEntry(int interface);
}

// The module's path: lib/corsaro270/ beside the running program's bin/ folder, in an install as
// in a build tree. Empty when the program's own path cannot be read.
std::string DialogModulePath();

// Loads the module at `path` and asks it for GTK dialogs. Null, with the reason in *why, when the
// file is missing, not trusted (neither root's nor ours, or others may write it), does not load,
// lacks the entry point, or GTK cannot start. A loaded module stays loaded: GTK cannot be
// unloaded.
std::unique_ptr<Dialogs> LoadGtkDialogs(const std::string& path, std::string* why);
