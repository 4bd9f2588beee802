#include "device/firmware_image.h"

#include "firmware_assets.h"

std::span<const std::uint8_t> CarriedFirmwareImage() {
  const std::span<const unsigned char> image = firmware_assets::Get("firmware/firmware.bin");
  if (image.size() != kFirmwareImageSize) return {};
  return image;
}
