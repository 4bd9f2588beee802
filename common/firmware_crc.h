#pragma once
// The receiver's CRC-32: reflected polynomial 0xEDB88320, register starting at 0, no final
// inversion. It checks the firmware body, profile files and preset files.

#include <cstddef>
#include <cstdint>

// The CRC of `length` bytes; 0 for no bytes.
std::uint32_t FirmwareCrc(const std::uint8_t* bytes, std::size_t length);

// Continues a CRC over more bytes, so a body can be checked in pieces.
std::uint32_t FirmwareCrcUpdate(std::uint32_t crc, const std::uint8_t* bytes, std::size_t length);
