#pragma once
// A CH375 printer on an emulated USB bus: umockdev puts it into a test bed (sysfs, udev, the usbfs
// device node) and this object answers libusb's usbfs ioctls in process. Programs that use it must
// run under umockdev's preload; call run_under_umockdev first thing in main.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct _UMockdevTestbed;
struct _UMockdevIoctlBase;
struct _UMockdevIoctlClient;
struct _UMockdevIoctlData;

namespace qvprt::printing {

// Re-runs the program under umockdev-wrapper unless it already runs there. Answers only when it
// does; exits when the wrapper could not be started.
void run_under_umockdev(int argc, char** argv);

class VirtualCh375 {
  public:
    using Bytes = std::vector<std::uint8_t>;

    // Ways a printer goes wrong, from one request on.
    enum class Fault {
        kVanish,  // unplugged: that request and every later one fail as for a device that is gone
        kRefuse,  // attached but broken: that transfer and every later one stall, resets fail
        kHang,    // that transfer never completes; the host has to give up on it
    };

    explicit VirtualCh375(std::uint16_t vendor = 0x4348, std::uint16_t product = 0x5537);
    ~VirtualCh375();
    VirtualCh375(const VirtualCh375&) = delete;
    VirtualCh375& operator=(const VirtualCh375&) = delete;

    // A packet the printer will send on its IN endpoint.
    void queue_upload(Bytes packet);
    // What the printer answers to the status query 01 41 (nothing when empty).
    void set_status_reply(Bytes reply);
    // The printer vanishes once it has taken n more OUT transfers.
    void unplug_after(int out_transfers);
    // The next reset answers that the device is gone (it re-enumerated).
    void fail_next_reset();
    // The k-th OUT transfer (from 1, zero-length ones counted), the k-th IN transfer, or the next
    // reset meets the fault.
    void fail_out_transfer(int k, Fault fault);
    void fail_in_transfer(int k, Fault fault);
    void fail_reset(Fault fault);
    // Remembers no OUT transfer (keeps long benchmark runs small).
    void set_recording(bool on);

    // Every OUT transfer the printer took, in order, zero-length ones included.
    std::vector<Bytes> out_transfers() const;
    int resets() const;
    // libusb_open calls: each opens the node and asks for its capabilities first.
    int opens() const;
    std::size_t packets_waiting() const;

    static int handle_ioctl(_UMockdevIoctlBase* handler, _UMockdevIoctlClient* client, void* self);

  private:
    struct Urb {
        _UMockdevIoctlData* urb;
        _UMockdevIoctlData* buffer;  // null for zero-length URBs
        bool in;
        bool discarded;
        bool stalled = false;  // completes with a stall instead of data
        bool hung = false;     // completes only when the host cancels it
    };
    struct Trigger {
        int at = 0;  // 0: none
        Fault fault = Fault::kVanish;
    };
    // Applies the fault `t` names when `count` reaches it; answers whether it did.
    bool strike(const Trigger& t, int count, Urb& urb);
    bool on_ioctl(_UMockdevIoctlClient* client);
    bool reap(_UMockdevIoctlClient* client);

    _UMockdevTestbed* testbed_ = nullptr;
    _UMockdevIoctlBase* handler_ = nullptr;
    std::string syspath_;

    mutable std::mutex mutex_;  // the ioctls come on umockdev's worker thread
    std::vector<Urb> urbs_;
    std::vector<Bytes> upload_;
    std::vector<Bytes> out_;
    Bytes status_reply_ = {'N', 0, 0, 0, 0, 0, 0, 0, 0};
    int unplug_after_ = -1;
    bool gone_ = false;
    bool fail_next_reset_ = false;
    bool broken_ = false;
    Trigger out_fault_, in_fault_;
    std::optional<Fault> reset_fault_;
    int out_count_ = 0;
    int in_count_ = 0;
    bool recording_ = true;
    int resets_ = 0;
    int opens_ = 0;
};

}  // namespace qvprt::printing
