#include "printing/SerialPort.h"

#include <array>
#include <limits>

#include "printing/job_stream.h"

namespace qvprt::printing {

namespace {
constexpr std::uint32_t kDevice = 0;
}

CSerialPort::~CSerialPort() {
    if (open_marker_ != -1 && is_open_) {
        close();
    }
}

bool CSerialPort::open() {
    if (driver_.CH375OpenDevice(kDevice) == kInvalidHandle) {
        return false;
    }
    open_marker_ = 0;
    // Stale replies would otherwise be taken for the answer to the next command.
    const std::int32_t waiting = driver_.CH375QueryBufUpload(kDevice);
    for (std::int32_t i = 0; i < waiting; ++i) {
        std::uint8_t discard = 0;
        std::uint32_t length = 1;
        driver_.CH375ReadData(kDevice, &discard, &length);
    }
    is_open_ = true;
    return true;
}

void CSerialPort::close() {
    if (is_open_) {
        is_open_ = false;
        driver_.CH375CloseDevice(kDevice);
    }
}

bool CSerialPort::query_ready() {
    if (!is_open_) {
        return false;
    }
    std::array<std::uint8_t, 10> buffer{};
    buffer[0] = 0x01;
    buffer[1] = 'A';
    std::uint32_t length = 2;
    const int sent = driver_.CH375WriteData(kDevice, buffer.data(), &length);
    std::uint32_t empty = 0;
    driver_.CH375WriteData(kDevice, buffer.data(), &empty);
    if (sent != 1) {
        return false;
    }
    // A short or missing reply leaves the buffer as it was, which reads as not ready.
    length = kStatusReplyBytes;
    driver_.CH375ReadData(kDevice, buffer.data(), &length);
    return buffer[0] == 'N';
}

bool CSerialPort::send_command(bool h) {
    if (!is_open_) {
        return false;
    }
    const std::array<std::uint8_t, 2> command =
        h ? std::array<std::uint8_t, 2>{0x02, 'H'} : std::array<std::uint8_t, 2>{0x01, 'D'};
    std::uint32_t length = 2;
    if (driver_.CH375WriteData(kDevice, command.data(), &length) != 1) {
        return false;
    }
    clock_.Sleep(kCommandWaitMs);
    return true;
}

bool CSerialPort::write_transfer(const std::uint8_t* bytes, std::size_t length) {
    if (length > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    // The driver wants a valid buffer even for an empty transfer.
    static const std::uint8_t kNothing = 0;
    std::uint32_t n = static_cast<std::uint32_t>(length);
    return driver_.CH375WriteData(kDevice, bytes != nullptr ? bytes : &kNothing, &n) == 1;
}

ProbeResult CSerialPort::probe_printer() {
    ProbeResult result;
    if (driver_.CH375OpenDevice(kDevice) == kInvalidHandle) {
        result.failure = driver_.last_open_failure();
        if (result.failure == OpenFailure::kNone) {
            result.failure = OpenFailure::kNoPrinter;
        }
        return result;
    }
    result.found = true;
    result.usb_id = driver_.CH375GetUsbID(kDevice);
    return result;
}

int CSerialPort::send_job(const model::JobSettings& settings, model::SegmentNode* head, int start) {
    return printing::send_job(
        settings, head, start,
        [this](const std::uint8_t* bytes, std::size_t n) { return write_transfer(bytes, n); });
}

int CSerialPort::encoded_job_size(model::SegmentNode* head) const {
    return printing::encoded_job_size(head);
}

}  // namespace qvprt::printing
