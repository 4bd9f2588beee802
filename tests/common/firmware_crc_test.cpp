#include "common/firmware_crc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(FirmwareCrc, MatchesTheReceiversCheckValue) {
  const char* text = "123456789";
  EXPECT_EQ(FirmwareCrc(reinterpret_cast<const std::uint8_t*>(text), std::strlen(text)),
            0x2DFD2D88u);
}

TEST(FirmwareCrc, ZeroBytesGiveZeroBecauseThereIsNoInversion) {
  const std::vector<std::uint8_t> zeros(100, 0);
  EXPECT_EQ(FirmwareCrc(zeros.data(), zeros.size()), 0u);
}

TEST(FirmwareCrc, PiecesGiveTheSameResultAsTheWhole) {
  std::vector<std::uint8_t> bytes(1000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  const std::uint32_t whole = FirmwareCrc(bytes.data(), bytes.size());
  const std::uint32_t first = FirmwareCrc(bytes.data(), 333);
  EXPECT_EQ(FirmwareCrcUpdate(first, bytes.data() + 333, bytes.size() - 333), whole);
  bytes[500] ^= 1;
  EXPECT_NE(FirmwareCrc(bytes.data(), bytes.size()), whole);
}
