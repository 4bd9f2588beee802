#pragma once
// The preset server's content carried in assets/presets/, read offline through a file address.

#include <string>

// The file:// address of tarnwick270/settings.xml in the first of these folders that holds it:
// programFolder/presets, programFolder/../share/corsaro270/presets (installed),
// programFolder/../../assets/presets (the build tree inside the checkout) and
// sourceFolder/assets/presets. Empty when none does.
std::string BundledSettingsAddress(const std::string& programFolder,
                                   const std::string& sourceFolder);

// A file address for an absolute path, with the characters that addresses reserve written as
// %XX; a Windows path keeps its drive as it stands ("file:///C:/...").
std::string FileAddress(const std::string& absolutePath);
