#pragma once
// Payloads written out as the receiver's documentation lays them out, for tests that pin the wire
// format from the outside: "ORMIC" (4F 52 4D 49 43), the command code at byte 5, a little-endian
// address at bytes 8..11 and data at bytes 16..31.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using WirePayload = std::array<std::uint8_t, 32>;

// Whitespace-separated hex bytes, padded with zeros to 32.
inline WirePayload Hex(const char* text) {
  WirePayload payload{};
  std::size_t at = 0;
  char* end = nullptr;
  for (const char* p = text; *p != '\0' && at < payload.size(); p = end) {
    const unsigned long byte = std::strtoul(p, &end, 16);
    if (end == p) break;
    payload[at++] = static_cast<std::uint8_t>(byte);
  }
  return payload;
}

// "ORMIC", `code`, and `address` at bytes 8..11.
inline WirePayload AddressedRequest(std::uint8_t code, std::uint32_t address) {
  WirePayload payload = Hex("4F 52 4D 49 43");
  payload[5] = code;
  for (int i = 0; i < 4; ++i) payload[8 + i] = static_cast<std::uint8_t>(address >> (8 * i));
  return payload;
}

// A flash read (code 0x0E) of the 16 bytes at `address`.
inline WirePayload ReadRequestAt(std::uint32_t address) {
  return AddressedRequest(0x0E, address);
}

// A flash write (code 0x0F) of `size` (at most 16) bytes at `address`: bytes 16..23 are 0xFF and
// 24..31 zero before the data goes over them.
inline WirePayload WriteRequestAt(std::uint32_t address, const std::uint8_t* data,
                                  std::size_t size) {
  WirePayload payload = AddressedRequest(0x0F, address);
  std::memset(&payload[16], 0xFF, 8);
  std::memcpy(&payload[16], data, size);
  return payload;
}

// A whole report as a port carries it: report ID 0, then the payload.
inline std::vector<std::uint8_t> AsReport(const WirePayload& payload) {
  std::vector<std::uint8_t> report(1, 0);
  report.insert(report.end(), payload.begin(), payload.end());
  return report;
}
