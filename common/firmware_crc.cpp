#include "common/firmware_crc.h"

#include <array>

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;

constexpr std::array<std::uint32_t, 256> MakeTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t value = i;
    for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ kPolynomial : value >> 1;
    table[i] = value;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

}  // namespace

std::uint32_t FirmwareCrcUpdate(std::uint32_t crc, const std::uint8_t* bytes, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) crc = (crc >> 8) ^ kTable[(crc ^ bytes[i]) & 0xFF];
  return crc;
}

std::uint32_t FirmwareCrc(const std::uint8_t* bytes, std::size_t length) {
  return FirmwareCrcUpdate(0, bytes, length);
}
