#include "engine/zip_crypto.h"

#include <zlib.h>

namespace {

constexpr std::uint32_t kKey0 = 0x12345678;
constexpr std::uint32_t kKey1 = 0x23456789;
constexpr std::uint32_t kKey2 = 0x34567890;
constexpr std::uint32_t kKeyMultiplier = 134775813;

// One byte of the zip CRC-32 without its usual inversions, as the key schedule uses it.
std::uint32_t CrcStep(std::uint32_t crc, unsigned char byte) {
  return static_cast<std::uint32_t>(get_crc_table()[(crc ^ byte) & 0xFF]) ^ (crc >> 8);
}

}  // namespace

ZipDecrypter::ZipDecrypter(const char* password) : keys_{kKey0, kKey1, kKey2} {
  for (const char* c = password; *c != '\0'; ++c) UpdateKeys(static_cast<unsigned char>(*c));
}

void ZipDecrypter::UpdateKeys(unsigned char plain) {
  keys_[0] = CrcStep(keys_[0], plain);
  keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * kKeyMultiplier + 1;
  keys_[2] = CrcStep(keys_[2], static_cast<unsigned char>(keys_[1] >> 24));
}

void ZipDecrypter::Decrypt(unsigned char* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t temp = (keys_[2] | 2) & 0xFFFF;
    bytes[i] ^= static_cast<unsigned char>((temp * (temp ^ 1)) >> 8);
    UpdateKeys(bytes[i]);
  }
}
