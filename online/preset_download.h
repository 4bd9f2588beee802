#pragma once
// Fetching the preset list and single preset files from the preset server.

#include <atomic>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "online/settings_document.h"

// Most bytes DownloadFile reads, whatever the buffer.
constexpr std::size_t kDownloadFileLimit = 5120;
// Largest preset file that is accepted; anything longer is not a preset.
constexpr std::size_t kPresetFileLimit = 1024;

// Reads the file at address into buffer, at most kDownloadFileLimit bytes and at most the
// buffer's size. Returns the number of bytes read, or -1 after a failure, which is logged. A
// `cancel` flag that becomes true ends the download as a failure.
int DownloadFile(const char* address, std::span<unsigned char> buffer,
                 const std::atomic<bool>* cancel = nullptr);

// Downloads and reads the settings document at address and gives its presets (possibly none).
// On failure error says why and out is left as it was.
bool FetchPresetList(const char* address, std::vector<PresetEntry>& out, std::string& error);

// Downloads the preset file at address into out. Fails, with the reason in error, when the
// download fails or the file is larger than kPresetFileLimit bytes. The bytes are not checked:
// that is the profile file check's job.
bool DownloadPreset(const char* address, std::vector<unsigned char>& out, std::string& error);
