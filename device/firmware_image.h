#pragma once
// The firmware image the program carries for the receiver: the 16-byte signature that marks a
// staged image as complete ("ORMIC_DFU" and seven zero bytes), then the body that goes to flash
// address 0x10010. Its firmware version is kRequiredFirmwareVersion.

#include <cstddef>
#include <cstdint>
#include <span>

constexpr std::size_t kFirmwareImageSize = 0xC000;
// Where the body begins in the image, after the signature.
constexpr std::size_t kFirmwareImageBodyOffset = 16;

// The carried image, or an empty span when this build carries none of the right size.
std::span<const std::uint8_t> CarriedFirmwareImage();
