#pragma once
// A sane virtual receiver and an open link to it; each test changes what it needs.

#include <gtest/gtest.h>

#include <vector>

#include "device/hid_link.h"
#include "device/virtual_receiver.h"
#include "device/wheel_protocol.h"

class SaneReceiver : public ::testing::Test {
 protected:
  void SetUp() override {
    backend.Add(&receiver);
    ASSERT_TRUE(link.OpenFirstReceiver());
  }

  // `count` read requests for consecutive chunks, as whole reports.
  std::vector<std::uint8_t> ReadRequests(int count) {
    std::vector<std::uint8_t> reports(count * kReportSize, 0);
    for (int i = 0; i < count; ++i) {
      std::uint8_t* payload = &reports[i * kReportSize + 1];
      BuildRequest(kCommandReadMemory, payload);
      payload[kPayloadAddressOffset + 1] = static_cast<std::uint8_t>(i);
    }
    return reports;
  }

  VirtualReceiver receiver;
  VirtualHidBackend backend;
  HidLink link{backend};
};
