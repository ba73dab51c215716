#pragma once
// A printer simulated in process: it takes the driver calls a real printer would, keeps what it was
// sent, and can be told to misbehave. Used by the tests and offered to users without a printer.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "printing/ch375_driver.h"

namespace qvprt::printing {

class SimPrinter final : public Ch375Driver {
  public:
    using Bytes = std::vector<std::uint8_t>;

    // What the printer does; may be changed between calls.
    struct Behaviour {
        bool present = true;                            // false: no printer attached
        OpenFailure open_failure = OpenFailure::kNone;  // set: a present printer fails to open so
        int refuse_write =
            0;  // the k-th CH375WriteData (1-based, every call counts) fails; 0: none
        // The reply to the status query 01 41; shorten it or empty it for a short or missing reply.
        Bytes status_reply = {'N', 0, 0, 0, 0, 0, 0, 0, 0};
        int waiting_at_open = 0;  // stale packets queued at the next open (then cleared)
    };
    Behaviour behaviour;

    // Called with each job as its closing empty transfer arrives.
    std::function<void(const Bytes& job)> on_job;

    std::intptr_t CH375OpenDevice(std::uint32_t index) override;
    void CH375CloseDevice(std::uint32_t index) override;
    int CH375ResetDevice(std::uint32_t index) override;
    int CH375ReadData(std::uint32_t index, void* buffer, std::uint32_t* length) override;
    int CH375WriteData(std::uint32_t index, const void* buffer, std::uint32_t* length) override;
    std::int32_t CH375QueryBufUpload(std::uint32_t index) override;
    std::uint32_t CH375GetUsbID(std::uint32_t index) override;
    OpenFailure last_open_failure() const override { return last_failure_; }

    // Every transfer the printer took, commands and the empty transfers included.
    const std::vector<Bytes>& transfers() const { return transfers_; }
    // Complete jobs: the transfers up to an empty one, joined.
    const std::vector<Bytes>& jobs() const { return jobs_; }
    // Two-byte commands (01 41, 02 48, 01 44) that came outside a job.
    const std::vector<Bytes>& commands() const { return commands_; }
    // The driver calls in order: "open", "close", "reset", "query", "usbid", "read N", "write N".
    const std::vector<std::string>& calls() const { return calls_; }
    bool is_open() const { return open_; }
    // Bytes of a job whose empty transfer has not come yet.
    const Bytes& pending_job() const { return pending_; }

  private:
    void take(Bytes transfer);

    bool open_ = false;
    OpenFailure last_failure_ = OpenFailure::kNone;
    int writes_ = 0;
    std::vector<Bytes> upload_;  // packets waiting to be read, oldest first
    std::vector<Bytes> transfers_;
    std::vector<Bytes> jobs_;
    std::vector<Bytes> commands_;
    std::vector<std::string> calls_;
    Bytes pending_;
};

// Writes job-1.bin, job-2.bin, ... and transfer-001.bin, ... into dir (which must exist), after
// removing the job-*.bin and transfer-*.bin files of an earlier run. Answers false when a file
// could not be removed or written; a capture that failed leaves none of its files.
bool write_sim_capture(const SimPrinter& printer, const std::string& dir);

}  // namespace qvprt::printing
