#include "tools/emu/uhid_device.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::uint16_t kBusUsb = 0x03;
constexpr char kName[] = "Ormic Corsaro 270 receiver (corsaro270-emu)";
constexpr char kPhys[] = "corsaro270-emu";

std::string OpenAdvice(int number) {
  switch (number) {
    case EACCES:
    case EPERM:
      return "the emulator needs write access to it: run it as root (sudo corsaro270-emu ...)";
    case ENOENT:
    case ENODEV:
      return "this kernel has no uhid: load it with \"sudo modprobe uhid\"";
    default:
      return "no HID device can be made";
  }
}

}  // namespace

std::vector<std::uint8_t> ReceiverReportDescriptor() {
  return {
      0x06, 0x00, 0xFF,  // usage page: vendor defined 0xFF00
      0x09, 0x01,        // usage 1
      0xA1, 0x01,        // collection: application
      0x15, 0x00,        //   logical minimum 0
      0x26, 0xFF, 0x00,  //   logical maximum 255
      0x75, 0x08,        //   report size: 8 bits
      0x95, 0x20,        //   report count: 32
      0x09, 0x02,        //   usage 2
      0x81, 0x02,        //   input: data, variable, absolute
      0x95, 0x20,        //   report count: 32
      0x09, 0x03,        //   usage 3
      0x91, 0x02,        //   output: data, variable, absolute
      0xC0,              // end collection
  };
}

UhidDevice::~UhidDevice() {
  Destroy();
  if (fd_ >= 0) close(fd_);
}

bool UhidDevice::Open(const std::string& node, std::string& why) {
  fd_ = open(node.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
  if (fd_ >= 0) return true;
  const int number = errno;
  why = "cannot open " + node + ": " + std::strerror(number) + "; " + OpenAdvice(number);
  return false;
}

bool UhidDevice::Write(const void* event, std::size_t size) {
  ssize_t written = 0;
  do {
    written = write(fd_, event, size);
  } while (written < 0 && errno == EINTR);
  return written == static_cast<ssize_t>(size);
}

bool UhidDevice::Create(std::uint16_t vendorId, std::uint16_t productId, std::string& why) {
  if (created_) return true;
  uhid_event event{};
  event.type = UHID_CREATE2;
  uhid_create2_req& create = event.u.create2;
  std::memcpy(create.name, kName, sizeof kName);
  std::memcpy(create.phys, kPhys, sizeof kPhys);
  const std::vector<std::uint8_t> descriptor = ReceiverReportDescriptor();
  create.rd_size = static_cast<std::uint16_t>(descriptor.size());
  std::memcpy(create.rd_data, descriptor.data(), descriptor.size());
  create.bus = kBusUsb;
  create.vendor = vendorId;
  create.product = productId;
  create.version = 0x0100;
  if (!Write(&event, sizeof event)) {
    why = std::string("the kernel refused the device: ") + std::strerror(errno);
    return false;
  }
  created_ = true;
  return true;
}

void UhidDevice::Destroy() {
  if (!created_) return;
  uhid_event event{};
  event.type = UHID_DESTROY;
  Write(&event, sizeof event);
  created_ = false;
}

bool UhidDevice::SendInput(const std::uint8_t* data, std::size_t size) {
  if (!created_) return false;
  uhid_event event{};
  event.type = UHID_INPUT2;
  event.u.input2.size = static_cast<std::uint16_t>(std::min<std::size_t>(size, UHID_DATA_MAX));
  std::memcpy(event.u.input2.data, data, event.u.input2.size);
  return Write(&event, sizeof event);
}

bool UhidDevice::ReadEvent(std::vector<std::uint8_t>& output, bool& isOutput) {
  isOutput = false;
  uhid_event event{};
  const ssize_t got = read(fd_, &event, sizeof event);
  if (got <= 0) return false;
  uhid_event reply{};
  switch (event.type) {
    case UHID_OUTPUT: {
      const std::size_t size = std::min<std::size_t>(event.u.output.size, UHID_DATA_MAX);
      output.assign(event.u.output.data, event.u.output.data + size);
      isOutput = event.u.output.rtype == UHID_OUTPUT_REPORT;
      return true;
    }
    case UHID_GET_REPORT:
      reply.type = UHID_GET_REPORT_REPLY;
      reply.u.get_report_reply.id = event.u.get_report.id;
      reply.u.get_report_reply.err = EIO;
      return Write(&reply, sizeof reply);
    case UHID_SET_REPORT:
      reply.type = UHID_SET_REPORT_REPLY;
      reply.u.set_report_reply.id = event.u.set_report.id;
      reply.u.set_report_reply.err = EIO;
      return Write(&reply, sizeof reply);
    default:
      return true;  // start, stop, open and close need no answer
  }
}
