// The receiver backend on Windows against the HID devices Wine presents of its own (a virtual
// mouse and keyboard, vendor 0x845E): SetupAPI enumeration, the attribute and capability queries
// of hid.dll, and overlapped reads on a real HID handle. None of them is the receiver.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_link.h"
#include "device/hid_port.h"

namespace {

// "vid_845e&pid_0001" as Windows writes them into a HID device's interface path.
std::string IdsInPath(std::uint16_t vendor, std::uint16_t product) {
  char text[32];
  std::snprintf(text, sizeof text, "vid_%04x&pid_%04x", vendor, product);
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

TEST(WindowsHidBackend, ListsThePresentHidDevicesWithTheIdsTheirPathsName) {
  const std::vector<HidDeviceInfo> devices = SystemHidBackend().Enumerate();
  ASSERT_FALSE(devices.empty()) << "Wine presents HID devices of its own";
  for (const HidDeviceInfo& device : devices) {
    EXPECT_EQ(device.path.rfind("\\\\?\\hid#", 0), 0u) << device.path;
    EXPECT_NE(Lower(device.path).find(IdsInPath(device.vendorId, device.productId)),
              std::string::npos)
        << device.path;
    EXPECT_NE(device.vendorId, kReceiverVendorId) << "no receiver is plugged into Wine";
  }
}

TEST(WindowsHidBackend, OpensADeviceForOverlappedReadsThatTimeOutWhenNothingComes) {
  HidBackend& backend = SystemHidBackend();
  const std::vector<HidDeviceInfo> devices = backend.Enumerate();
  ASSERT_FALSE(devices.empty());
  HidOpenError error = HidOpenError::kFailed;
  std::unique_ptr<HidPort> port = backend.Open(devices.front().path, error);
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(error, HidOpenError::kNone);
  EXPECT_EQ(port->VendorId(), devices.front().vendorId);
  EXPECT_EQ(port->ProductId(), devices.front().productId);
  ASSERT_GT(port->InputReportLength(), 0u) << "the capabilities were read";
  port->SetInputBufferCount(96);
  port->FlushInput();
  std::vector<std::uint8_t> report(port->InputReportLength());
  for (int attempt = 0; attempt < 2; ++attempt) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port->Read(report.data(), report.size(), 150), HidReadResult::kTimeout)
        << "attempt " << attempt << ": the read before was cancelled, not left pending";
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(140));
  }
  port->SetInputBufferCount(2);
}

TEST(WindowsHidBackend, TheLinkFindsNoReceiverAmongWinesDevicesAndSaysSo) {
  HidLink link(SystemHidBackend());
  EXPECT_FALSE(link.OpenFirstReceiver());
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(link.LastOpenError(), HidOpenError::kNotPresent);
  EXPECT_TRUE(link.Path().empty());
  // A device of another vendor given by path, as an arrival notice would, is refused too.
  const std::vector<HidDeviceInfo> devices = SystemHidBackend().Enumerate();
  ASSERT_FALSE(devices.empty());
  EXPECT_FALSE(link.OpenReceiverByPath(devices.front().path.c_str(), kReceiverArrivalProductId));
  EXPECT_FALSE(link.IsOpen());
}

TEST(WindowsHidBackend, OpensNothingButDevicePaths) {
  HidBackend& backend = SystemHidBackend();
  HidOpenError error = HidOpenError::kNone;
  // A file that exists: no HID device, and not to be opened for writing.
  EXPECT_EQ(backend.Open("C:\\windows\\win.ini", error), nullptr);
  EXPECT_EQ(error, HidOpenError::kNotPresent);
  error = HidOpenError::kNone;
  EXPECT_EQ(backend.Open("\\\\?\\hid#vid_2e7b&pid_0262#9&99&9&9#{4d1e55b2-f16f-11cf-88cb-"
                         "001111000030}",
                         error),
            nullptr);
  EXPECT_EQ(error, HidOpenError::kNotPresent) << "a receiver that is not plugged in";
  EXPECT_TRUE(backend.Identity("C:\\windows\\win.ini").empty());
}
