#pragma once
// The chip driver on libusb: what real printers are reached through on Linux (and wherever libusb
// runs). Only libusb_driver.cpp includes libusb.

#include <cstdint>
#include <vector>

#include "printing/ch375_driver.h"

struct libusb_context;
struct libusb_device_handle;

namespace qvprt::printing {

struct UsbId {
    std::uint16_t vendor;
    std::uint16_t product;
};

// The chip's IDs in its built-in firmware mode; the printer's own firmware may add others here
// (and in resources/linux/60-qvprt-printer.rules).
inline constexpr UsbId kPrinterUsbIds[] = {{0x4348, 0x5537}, {0x1A86, 0x5537}};

struct UsbTimeouts {
    // Finite, so that an unplugged printer cannot hang the program.
    unsigned write_ms = 5000;
    unsigned read_ms = 1000;
    // How long CH375QueryBufUpload listens for packets the printer still has to send.
    unsigned poll_ms = 10;
};

// An attached device that carries one of the chip's IDs.
struct UsbPrinterDevice {
    int bus = 0;
    int address = 0;
    UsbId id{};
    // Opening it was not refused for lack of permission: this user may print to it.
    bool accessible = false;
};

// The attached devices with the chip's IDs, in the bus's order; empty when there is no USB at all.
// Each is opened and closed once to learn whether this user may open it; none is claimed.
std::vector<UsbPrinterDevice> list_printer_devices();

class LibusbDriver final : public Ch375Driver {
  public:
    explicit LibusbDriver(UsbTimeouts timeouts = {}) : timeouts_(timeouts) {}
    ~LibusbDriver() override;
    LibusbDriver(const LibusbDriver&) = delete;
    LibusbDriver& operator=(const LibusbDriver&) = delete;

    std::intptr_t CH375OpenDevice(std::uint32_t index) override;
    void CH375CloseDevice(std::uint32_t index) override;
    int CH375ResetDevice(std::uint32_t index) override;
    int CH375ReadData(std::uint32_t index, void* buffer, std::uint32_t* length) override;
    int CH375WriteData(std::uint32_t index, const void* buffer, std::uint32_t* length) override;
    std::int32_t CH375QueryBufUpload(std::uint32_t index) override;
    std::uint32_t CH375GetUsbID(std::uint32_t index) override;
    OpenFailure last_open_failure() const override { return last_failure_; }

  private:
    bool open_first_printer();
    void release();

    UsbTimeouts timeouts_;
    libusb_context* context_ = nullptr;
    libusb_device_handle* handle_ = nullptr;
    unsigned char out_endpoint_ = 0;
    unsigned char in_endpoint_ = 0;
    int packet_size_ = 64;
    OpenFailure last_failure_ = OpenFailure::kNone;
    // Packets read from the printer but not yet asked for, oldest first.
    std::vector<std::vector<std::uint8_t>> upload_;
};

}  // namespace qvprt::printing
