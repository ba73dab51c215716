#include "printing/libusb_driver.h"

#include <libusb.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace qvprt::printing {

namespace {

constexpr int kInterface = 0;
// Bounds the poll of a printer that never stops talking.
constexpr int kMaxPolledPackets = 64;

bool is_printer(libusb_device* device) {
    libusb_device_descriptor d{};
    if (libusb_get_device_descriptor(device, &d) != LIBUSB_SUCCESS) {
        return false;
    }
    return std::any_of(std::begin(kPrinterUsbIds), std::end(kPrinterUsbIds), [&](const UsbId& id) {
        return id.vendor == d.idVendor && id.product == d.idProduct;
    });
}

OpenFailure failure_of(int rc) {
    switch (rc) {
        case LIBUSB_ERROR_ACCESS:
            return OpenFailure::kNoPermission;
        case LIBUSB_ERROR_NO_DEVICE:
        case LIBUSB_ERROR_NOT_FOUND:
            return OpenFailure::kNoPrinter;
        default:
            return OpenFailure::kOpenFailed;
    }
}

}  // namespace

std::vector<UsbPrinterDevice> list_printer_devices() {
    std::vector<UsbPrinterDevice> found;
    libusb_context* context = nullptr;
    if (libusb_init(&context) != LIBUSB_SUCCESS) {
        return found;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor d{};
        if (!is_printer(list[i]) || libusb_get_device_descriptor(list[i], &d) != LIBUSB_SUCCESS) {
            continue;
        }
        UsbPrinterDevice device;
        device.bus = libusb_get_bus_number(list[i]);
        device.address = libusb_get_device_address(list[i]);
        device.id = {d.idVendor, d.idProduct};
        libusb_device_handle* handle = nullptr;
        // Only a refusal for lack of permission says the access rule is missing; a busy printer
        // is still one this user may print to.
        const int rc = libusb_open(list[i], &handle);
        device.accessible = rc != LIBUSB_ERROR_ACCESS;
        if (rc == LIBUSB_SUCCESS) {
            libusb_close(handle);
        }
        found.push_back(device);
    }
    if (count >= 0) {
        libusb_free_device_list(list, 1);
    }
    libusb_exit(context);
    return found;
}

LibusbDriver::~LibusbDriver() {
    release();
    if (context_ != nullptr) {
        libusb_exit(context_);
    }
}

std::intptr_t LibusbDriver::CH375OpenDevice(std::uint32_t index) {
    // Opening an open device opens it afresh, as the vendor's driver does.
    release();
    if (index != 0) {
        last_failure_ = OpenFailure::kNoPrinter;
        return kInvalidHandle;
    }
    return open_first_printer() ? 1 : kInvalidHandle;
}

bool LibusbDriver::open_first_printer() {
    // No USB at all (a container, a machine without usbfs) is the same to the user as no printer.
    if (context_ == nullptr && libusb_init(&context_) != LIBUSB_SUCCESS) {
        context_ = nullptr;
        last_failure_ = OpenFailure::kNoPrinter;
        return false;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context_, &list);
    libusb_device* device = nullptr;
    for (ssize_t i = 0; i < count && device == nullptr; ++i) {
        if (is_printer(list[i])) {
            device = libusb_ref_device(list[i]);
        }
    }
    if (count >= 0) {
        libusb_free_device_list(list, 1);
    }
    if (device == nullptr) {
        last_failure_ = OpenFailure::kNoPrinter;
        return false;
    }

    out_endpoint_ = 0;
    in_endpoint_ = 0;
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != LIBUSB_SUCCESS) {
        libusb_get_config_descriptor(device, 0, &config);
    }
    if (config != nullptr && config->bNumInterfaces > kInterface &&
        config->interface[kInterface].num_altsetting > 0) {
        const libusb_interface_descriptor& alt = config->interface[kInterface].altsetting[0];
        for (int e = 0; e < alt.bNumEndpoints; ++e) {
            const libusb_endpoint_descriptor& ep = alt.endpoint[e];
            if ((ep.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) != LIBUSB_TRANSFER_TYPE_BULK) {
                continue;
            }
            if ((ep.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN) {
                if (in_endpoint_ == 0) {
                    in_endpoint_ = ep.bEndpointAddress;
                    packet_size_ = ep.wMaxPacketSize > 0 ? ep.wMaxPacketSize : 64;
                }
            } else if (out_endpoint_ == 0) {
                out_endpoint_ = ep.bEndpointAddress;
            }
        }
    }
    libusb_free_config_descriptor(config);

    int rc = LIBUSB_ERROR_NOT_FOUND;
    if (out_endpoint_ != 0 && in_endpoint_ != 0) {
        rc = libusb_open(device, &handle_);
    }
    libusb_unref_device(device);
    if (rc != LIBUSB_SUCCESS) {
        handle_ = nullptr;
        last_failure_ =
            out_endpoint_ == 0 || in_endpoint_ == 0 ? OpenFailure::kOpenFailed : failure_of(rc);
        return false;
    }
    libusb_set_auto_detach_kernel_driver(handle_, 1);
    rc = libusb_claim_interface(handle_, kInterface);
    if (rc != LIBUSB_SUCCESS) {
        libusb_close(handle_);
        handle_ = nullptr;
        last_failure_ = failure_of(rc);
        return false;
    }
    last_failure_ = OpenFailure::kNone;
    return true;
}

void LibusbDriver::release() {
    upload_.clear();
    if (handle_ != nullptr) {
        libusb_release_interface(handle_, kInterface);
        libusb_close(handle_);
        handle_ = nullptr;
    }
}

void LibusbDriver::CH375CloseDevice(std::uint32_t) {
    release();
}

int LibusbDriver::CH375ResetDevice(std::uint32_t) {
    if (handle_ == nullptr) {
        return 0;
    }
    upload_.clear();
    const int rc = libusb_reset_device(handle_);
    if (rc == LIBUSB_SUCCESS) {
        return 1;
    }
    // The device came back as a new one (its descriptors changed): find it again.
    if (rc == LIBUSB_ERROR_NOT_FOUND) {
        release();
        return open_first_printer() ? 1 : 0;
    }
    return 0;
}

int LibusbDriver::CH375ReadData(std::uint32_t, void* buffer, std::uint32_t* length) {
    const std::uint32_t want = *length;
    *length = 0;
    if (handle_ == nullptr) {
        return 0;
    }
    auto* out = static_cast<std::uint8_t*>(buffer);
    // A read consumes whole packets: the part of a packet that does not fit the buffer is dropped,
    // so that one-byte reads drain one stale packet each and leave nothing behind.
    if (!upload_.empty()) {
        std::uint32_t got = 0;
        while (!upload_.empty() && got < want) {
            const auto& packet = upload_.front();
            const std::uint32_t n =
                std::min<std::uint32_t>(want - got, static_cast<std::uint32_t>(packet.size()));
            std::memcpy(out + got, packet.data(), n);
            got += n;
            upload_.erase(upload_.begin());
        }
        *length = got;
        return 1;
    }
    if (want == 0) {
        return 1;
    }
    if (want > static_cast<std::uint32_t>(INT_MAX - packet_size_)) {
        return 0;
    }
    // The device sends whole packets; a buffer shorter than what it sends overflows.
    const int packets = (static_cast<int>(want) + packet_size_ - 1) / packet_size_;
    std::vector<std::uint8_t> in(static_cast<std::size_t>(packets * packet_size_));
    int transferred = 0;
    const int rc =
        libusb_bulk_transfer(handle_, in_endpoint_, in.data(), static_cast<int>(in.size()),
                             &transferred, timeouts_.read_ms);
    if (rc != LIBUSB_SUCCESS && transferred == 0) {
        return 0;
    }
    const std::uint32_t n = std::min<std::uint32_t>(want, static_cast<std::uint32_t>(transferred));
    std::memcpy(out, in.data(), n);
    *length = n;
    return 1;
}

int LibusbDriver::CH375WriteData(std::uint32_t, const void* buffer, std::uint32_t* length) {
    const std::uint32_t want = *length;
    *length = 0;
    if (handle_ == nullptr || want > static_cast<std::uint32_t>(INT_MAX)) {
        return 0;
    }
    // A zero-length transfer still needs a valid buffer pointer.
    unsigned char none = 0;
    auto* data = want == 0 || buffer == nullptr
                     ? &none
                     : const_cast<unsigned char*>(static_cast<const unsigned char*>(buffer));
    int transferred = 0;
    const int rc = libusb_bulk_transfer(handle_, out_endpoint_, data, static_cast<int>(want),
                                        &transferred, timeouts_.write_ms);
    *length = transferred > 0 ? static_cast<std::uint32_t>(transferred) : 0;
    return rc == LIBUSB_SUCCESS && *length == want ? 1 : 0;
}

std::int32_t LibusbDriver::CH375QueryBufUpload(std::uint32_t) {
    if (handle_ == nullptr) {
        return -1;
    }
    // Buffered upload is never switched on, so listen briefly for what the printer has to say.
    std::vector<std::uint8_t> packet(static_cast<std::size_t>(packet_size_));
    for (int i = 0; i < kMaxPolledPackets; ++i) {
        int transferred = 0;
        const int rc = libusb_bulk_transfer(handle_, in_endpoint_, packet.data(), packet_size_,
                                            &transferred, timeouts_.poll_ms);
        if (transferred > 0) {
            upload_.emplace_back(packet.begin(), packet.begin() + transferred);
        }
        if (rc != LIBUSB_SUCCESS || transferred == 0) {
            break;
        }
    }
    return static_cast<std::int32_t>(upload_.size());
}

std::uint32_t LibusbDriver::CH375GetUsbID(std::uint32_t) {
    if (handle_ == nullptr) {
        return 0;
    }
    libusb_device_descriptor d{};
    if (libusb_get_device_descriptor(libusb_get_device(handle_), &d) != LIBUSB_SUCCESS) {
        return 0;
    }
    return static_cast<std::uint32_t>(d.idProduct) << 16 | d.idVendor;
}

}  // namespace qvprt::printing
