#pragma once
// The printer link: opens and closes the USB connection, sends the printer's commands, reads their
// replies and writes job transfers, always through the chip driver for device index 0.

#include <cstddef>
#include <cstdint>

#include "model/job_settings.h"
#include "model/segment_list.h"
#include "printing/ch375_driver.h"
#include "printing/clock.h"

namespace qvprt::printing {

// The answer of probe_printer: whether a printer was opened, and if not, why.
struct ProbeResult {
    bool found = false;
    OpenFailure failure = OpenFailure::kNone;
    std::uint32_t usb_id = 0;
};

inline constexpr int kCommandWaitMs = 1000;
inline constexpr int kStatusReplyBytes = 9;

class CSerialPort {
  public:
    CSerialPort(Ch375Driver& driver, Clock& clock) : driver_(driver), clock_(clock) {}
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens the device (again, if already open) and discards whatever it still had to upload.
    bool open();
    void close();
    bool is_open() const { return is_open_; }
    // -1 until the first successful open, 0 afterwards.
    std::int32_t open_marker() const { return open_marker_; }

    // Status query 01 41: true when the printer's reply begins with 'N'.
    bool query_ready();
    // The H command 02 48 (h) or the D command 01 44, then the printer's 1000 ms.
    bool send_command(bool h);
    // One transfer of length bytes (0: an empty transfer); true when the driver took it.
    bool write_transfer(const std::uint8_t* bytes, std::size_t length);

    // Opens the device without touching the link's state and leaves it open; the caller tells the
    // user when nothing was found.
    ProbeResult probe_printer();

    // The job encoder, writing through this link.
    int send_job(const model::JobSettings& settings, model::SegmentNode* head, int start);
    int encoded_job_size(model::SegmentNode* head) const;

  private:
    Ch375Driver& driver_;
    Clock& clock_;
    std::int32_t open_marker_ = -1;
    bool is_open_ = false;
};

}  // namespace qvprt::printing
