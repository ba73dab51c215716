#include "printing/virtual_ch375.h"

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <umockdev.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qvprt::printing {

namespace {

constexpr const char* kDevNode = "/dev/bus/usb/001/001";

// Device, configuration, interface and three endpoints, as the chip reports them: an interrupt
// IN endpoint first, so that only a reader of the endpoint types finds the bulk pair.
std::vector<std::uint8_t> descriptors(std::uint16_t vendor, std::uint16_t product) {
    return {
        18,
        1,
        0x10,
        0x01,
        0xFF,
        0x00,
        0x00,
        0x40,  //
        static_cast<std::uint8_t>(vendor & 0xFF),
        static_cast<std::uint8_t>(vendor >> 8),
        static_cast<std::uint8_t>(product & 0xFF),
        static_cast<std::uint8_t>(product >> 8),
        0x00,
        0x01,
        0,
        0,
        0,
        1,  //
        9,
        2,
        39,
        0,
        1,
        1,
        0,
        0x80,
        0x32,  // configuration
        9,
        4,
        0,
        0,
        3,
        0xFF,
        0x00,
        0x00,
        0,  // interface 0
        7,
        5,
        0x81,
        0x03,
        8,
        0,
        1,  // interrupt IN
        7,
        5,
        0x82,
        0x02,
        64,
        0,
        0,  // bulk IN
        7,
        5,
        0x02,
        0x02,
        64,
        0,
        0,  // bulk OUT
    };
}

usbdevfs_urb* urb_of(UMockdevIoctlData* d) {
    return reinterpret_cast<usbdevfs_urb*>(d->data);
}

}  // namespace

void run_under_umockdev(int argc, char** argv) {
    // umockdev_in_mock_environment() only answers true once a test bed exists.
    const char* preload = std::getenv("LD_PRELOAD");
    if (preload != nullptr && std::strstr(preload, "libumockdev-preload") != nullptr) {
        return;
    }
    // The preload comes before a sanitizer's runtime in the library order; that is harmless here.
    std::string asan = std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
    asan += std::string(asan.empty() ? "" : ":") + "verify_asan_link_order=0";
    setenv("ASAN_OPTIONS", asan.c_str(), 1);
    std::vector<char*> args;
    args.push_back(const_cast<char*>("umockdev-wrapper"));
    for (int i = 0; i < argc; ++i) {
        args.push_back(argv[i]);
    }
    args.push_back(nullptr);
    execvp("umockdev-wrapper", args.data());
    std::perror("umockdev-wrapper");
    std::exit(127);
}

VirtualCh375::VirtualCh375(std::uint16_t vendor, std::uint16_t product) {
    testbed_ = umockdev_testbed_new();
    handler_ = umockdev_ioctl_base_new();
    g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(&VirtualCh375::handle_ioctl), this);
    // The record format is the one way umockdev creates the device node that libusb opens.
    std::string hex;
    char byte[4];
    for (std::uint8_t b : descriptors(vendor, product)) {
        std::snprintf(byte, sizeof byte, "%02x", b);
        hex += byte;
    }
    const std::string record = std::string("P: /devices/usb1\nN: ") + (kDevNode + 5) +
                               "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DEVNAME=" + kDevNode +
                               "\nE: BUSNUM=001\nE: DEVNUM=001\nE: DRIVER=usb\n"
                               "A: busnum=1\\n\nA: devnum=1\\n\nA: speed=12\\n\n"
                               "A: bConfigurationValue=1\\n\nA: dev=189:0\\n\n"
                               "H: descriptors=" +
                               hex + "\n";
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed_, record.c_str(), &error)) {
        std::fprintf(stderr, "umockdev: %s\n", error != nullptr ? error->message : "?");
        g_clear_error(&error);
    }
    syspath_ = "/sys/devices/usb1";
    // The node must exist before the handler takes it over.
    if (!umockdev_testbed_attach_ioctl(testbed_, kDevNode, handler_, &error)) {
        std::fprintf(stderr, "umockdev: %s\n", error != nullptr ? error->message : "?");
        g_clear_error(&error);
    }
}

VirtualCh375::~VirtualCh375() {
    for (Urb& u : urbs_) {
        if (u.buffer != nullptr) {
            umockdev_ioctl_data_unref(u.buffer);
        }
        umockdev_ioctl_data_unref(u.urb);
    }
    g_object_unref(testbed_);
    g_object_unref(handler_);
}

void VirtualCh375::queue_upload(Bytes packet) {
    std::lock_guard lock(mutex_);
    upload_.push_back(std::move(packet));
}

void VirtualCh375::set_status_reply(Bytes reply) {
    std::lock_guard lock(mutex_);
    status_reply_ = std::move(reply);
}

void VirtualCh375::unplug_after(int out_transfers) {
    std::lock_guard lock(mutex_);
    unplug_after_ = out_transfers;
}

void VirtualCh375::fail_next_reset() {
    std::lock_guard lock(mutex_);
    fail_next_reset_ = true;
}

void VirtualCh375::fail_out_transfer(int k, Fault fault) {
    std::lock_guard lock(mutex_);
    out_fault_ = {k, fault};
}

void VirtualCh375::fail_in_transfer(int k, Fault fault) {
    std::lock_guard lock(mutex_);
    in_fault_ = {k, fault};
}

void VirtualCh375::fail_reset(Fault fault) {
    std::lock_guard lock(mutex_);
    reset_fault_ = fault;
}

bool VirtualCh375::strike(const Trigger& t, int count, Urb& urb) {
    if (t.at != count) {
        return false;
    }
    switch (t.fault) {
        case Fault::kVanish:
            gone_ = true;
            break;
        case Fault::kRefuse:
            broken_ = true;
            break;
        case Fault::kHang:
            urb.hung = true;
            break;
    }
    return true;
}

void VirtualCh375::set_recording(bool on) {
    std::lock_guard lock(mutex_);
    recording_ = on;
}

std::vector<VirtualCh375::Bytes> VirtualCh375::out_transfers() const {
    std::lock_guard lock(mutex_);
    return out_;
}

int VirtualCh375::resets() const {
    std::lock_guard lock(mutex_);
    return resets_;
}

int VirtualCh375::opens() const {
    std::lock_guard lock(mutex_);
    return opens_;
}

std::size_t VirtualCh375::packets_waiting() const {
    std::lock_guard lock(mutex_);
    return upload_.size();
}

int VirtualCh375::handle_ioctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
    return static_cast<VirtualCh375*>(self)->on_ioctl(client) ? TRUE : FALSE;
}

bool VirtualCh375::on_ioctl(UMockdevIoctlClient* client) {
    std::lock_guard lock(mutex_);
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    if (gone_ && request != USBDEVFS_REAPURB && request != USBDEVFS_REAPURBNDELAY) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return true;
    }
    switch (request) {
        case USBDEVFS_GET_CAPABILITIES: {
            ++opens_;
            UMockdevIoctlData* d =
                umockdev_ioctl_data_resolve(arg, 0, sizeof(std::uint32_t), nullptr);
            const std::uint32_t caps =
                USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                USBDEVFS_CAP_REAP_AFTER_DISCONNECT | USBDEVFS_CAP_ZERO_PACKET;
            std::memcpy(d->data, &caps, sizeof caps);
            umockdev_ioctl_data_unref(d);
            umockdev_ioctl_client_complete(client, 0, 0);
            return true;
        }
        case USBDEVFS_IOCTL:  // asking for the kernel driver: there is none to detach
            umockdev_ioctl_client_complete(client, -1, ENODATA);
            return true;
        case USBDEVFS_CLAIMINTERFACE:
        case USBDEVFS_RELEASEINTERFACE:
        case USBDEVFS_CLEAR_HALT:
        case USBDEVFS_RESETEP:
            umockdev_ioctl_client_complete(client, 0, 0);
            return true;
        case USBDEVFS_RESET:
            ++resets_;
            upload_.clear();
            if (reset_fault_ == Fault::kVanish) {
                gone_ = true;
            } else if (reset_fault_ == Fault::kRefuse) {
                broken_ = true;
            }
            reset_fault_.reset();
            if (gone_) {
                umockdev_ioctl_client_complete(client, -1, ENODEV);
            } else if (broken_) {
                umockdev_ioctl_client_complete(client, -1, EIO);
            } else if (fail_next_reset_) {
                fail_next_reset_ = false;
                umockdev_ioctl_client_complete(client, -1, ENODEV);
            } else {
                umockdev_ioctl_client_complete(client, 0, 0);
            }
            return true;
        case USBDEVFS_SUBMITURB: {
            UMockdevIoctlData* urb =
                umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
            usbdevfs_urb* u = urb_of(urb);
            if (u->type != USBDEVFS_URB_TYPE_BULK) {
                umockdev_ioctl_data_unref(urb);
                umockdev_ioctl_client_complete(client, -1, EINVAL);
                return true;
            }
            UMockdevIoctlData* buffer = nullptr;
            if (u->buffer_length > 0) {
                buffer = umockdev_ioctl_data_resolve(urb, offsetof(usbdevfs_urb, buffer),
                                                     static_cast<gsize>(u->buffer_length), nullptr);
            }
            const bool in = (u->endpoint & 0x80) != 0;
            Urb pending{urb, buffer, in, false};
            strike(in ? in_fault_ : out_fault_, in ? ++in_count_ : ++out_count_, pending);
            if (gone_) {
                if (buffer != nullptr) {
                    umockdev_ioctl_data_unref(buffer);
                }
                umockdev_ioctl_data_unref(urb);
                umockdev_ioctl_client_complete(client, -1, ENODEV);
                return true;
            }
            pending.stalled = broken_;
            if (!in && !pending.stalled && !pending.hung) {
                Bytes bytes;
                if (buffer != nullptr) {
                    bytes.assign(buffer->data, buffer->data + u->buffer_length);
                }
                if (bytes == Bytes{0x01, 'A'} && !status_reply_.empty()) {
                    upload_.push_back(status_reply_);
                }
                if (recording_) {
                    out_.push_back(std::move(bytes));
                }
                if (unplug_after_ > 0 && --unplug_after_ == 0) {
                    gone_ = true;
                }
            }
            urbs_.push_back(pending);
            umockdev_ioctl_client_complete(client, 0, 0);
            return true;
        }
        case USBDEVFS_DISCARDURB: {
            UMockdevIoctlData* urb =
                umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
            auto it = std::find_if(urbs_.begin(), urbs_.end(), [&](const Urb& u) {
                return u.urb->client_addr == urb->client_addr;
            });
            umockdev_ioctl_data_unref(urb);
            if (it == urbs_.end()) {
                umockdev_ioctl_client_complete(client, -1, EINVAL);
            } else {
                it->discarded = true;
                umockdev_ioctl_client_complete(client, 0, 0);
            }
            return true;
        }
        case USBDEVFS_REAPURB:
        case USBDEVFS_REAPURBNDELAY:
            return reap(client);
        default:
            return false;
    }
}

bool VirtualCh375::reap(UMockdevIoctlClient* client) {
    // OUT URBs complete at once; IN URBs when the printer has a packet; stalled ones at once with
    // the stall, hung ones never; cancelled ones as such.
    auto it = std::find_if(urbs_.begin(), urbs_.end(), [&](const Urb& u) {
        return u.discarded || (!u.hung && (u.stalled || !u.in || !upload_.empty()));
    });
    if (it == urbs_.end()) {
        umockdev_ioctl_client_complete(client, -1, gone_ ? ENODEV : EAGAIN);
        return true;
    }
    Urb done = *it;
    urbs_.erase(it);
    usbdevfs_urb* u = urb_of(done.urb);
    if (done.discarded) {
        u->status = -ENOENT;
        u->actual_length = 0;
    } else if (done.stalled) {
        u->status = -EPIPE;
        u->actual_length = 0;
    } else if (done.in) {
        const Bytes packet = upload_.front();
        upload_.erase(upload_.begin());
        const int n = std::min(u->buffer_length, static_cast<int>(packet.size()));
        if (n > 0) {
            std::memcpy(done.buffer->data, packet.data(), static_cast<std::size_t>(n));
        }
        u->status = static_cast<int>(packet.size()) > u->buffer_length ? -EOVERFLOW : 0;
        u->actual_length = n;
    } else {
        u->status = 0;
        u->actual_length = u->buffer_length;
    }
    UMockdevIoctlData* slot = umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0,
                                                          sizeof(void*), nullptr);
    umockdev_ioctl_data_set_ptr(slot, 0, done.urb);
    umockdev_ioctl_data_unref(slot);
    umockdev_ioctl_client_complete(client, 0, 0);
    if (done.buffer != nullptr) {
        umockdev_ioctl_data_unref(done.buffer);
    }
    umockdev_ioctl_data_unref(done.urb);
    return true;
}

}  // namespace qvprt::printing
