#include "printing/sim_printer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace qvprt::printing {

namespace {

constexpr std::uint32_t kSimUsbId = 0x5537u << 16 | 0x4348u;

bool is_command(const SimPrinter::Bytes& t) {
    return t.size() == 2 &&
           ((t[0] == 0x01 && (t[1] == 'A' || t[1] == 'D')) || (t[0] == 0x02 && t[1] == 'H'));
}

// The names write_sim_capture gives: job-*.bin and transfer-*.bin.
bool is_capture_name(std::string_view name) {
    constexpr std::string_view kSuffix = ".bin";
    for (std::string_view prefix : {std::string_view("job-"), std::string_view("transfer-")}) {
        if (name.size() >= prefix.size() + kSuffix.size() && name.starts_with(prefix) &&
            name.ends_with(kSuffix)) {
            return true;
        }
    }
    return false;
}

bool write_file(const std::string& path, const SimPrinter::Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

std::intptr_t SimPrinter::CH375OpenDevice(std::uint32_t index) {
    calls_.emplace_back("open");
    if (index != 0 || !behaviour.present) {
        last_failure_ = OpenFailure::kNoPrinter;
        return kInvalidHandle;
    }
    if (behaviour.open_failure != OpenFailure::kNone) {
        last_failure_ = behaviour.open_failure;
        return kInvalidHandle;
    }
    last_failure_ = OpenFailure::kNone;
    open_ = true;
    for (; behaviour.waiting_at_open > 0; --behaviour.waiting_at_open) {
        upload_.push_back(Bytes(9, 0xEE));
    }
    return 1;
}

void SimPrinter::CH375CloseDevice(std::uint32_t) {
    calls_.emplace_back("close");
    open_ = false;
}

int SimPrinter::CH375ResetDevice(std::uint32_t) {
    calls_.emplace_back("reset");
    if (!open_) {
        return 0;
    }
    // A reset drops a job that was cut short and anything the printer still wanted to say.
    pending_.clear();
    upload_.clear();
    return 1;
}

int SimPrinter::CH375ReadData(std::uint32_t, void* buffer, std::uint32_t* length) {
    calls_.push_back("read " + std::to_string(*length));
    if (!open_ || upload_.empty()) {
        *length = 0;
        return 0;
    }
    // A read takes one whole packet; what does not fit the buffer is lost, as on the chip.
    const Bytes packet = upload_.front();
    upload_.erase(upload_.begin());
    const std::uint32_t n =
        std::min<std::uint32_t>(*length, static_cast<std::uint32_t>(packet.size()));
    if (n != 0) {
        std::memcpy(buffer, packet.data(), n);
    }
    *length = n;
    return 1;
}

int SimPrinter::CH375WriteData(std::uint32_t, const void* buffer, std::uint32_t* length) {
    calls_.push_back("write " + std::to_string(*length));
    ++writes_;
    if (!open_ || writes_ == behaviour.refuse_write) {
        *length = 0;
        return 0;
    }
    const auto* p = static_cast<const std::uint8_t*>(buffer);
    take(Bytes(p, p + *length));
    return 1;
}

void SimPrinter::take(Bytes transfer) {
    transfers_.push_back(transfer);
    if (transfer.empty()) {
        if (!pending_.empty()) {
            jobs_.push_back(std::move(pending_));
            pending_.clear();
            if (on_job) {
                on_job(jobs_.back());
            }
        }
        return;
    }
    if (pending_.empty() && is_command(transfer)) {
        commands_.push_back(transfer);
        if (transfer[1] == 'A' && !behaviour.status_reply.empty()) {
            upload_.push_back(behaviour.status_reply);
        }
        return;
    }
    pending_.insert(pending_.end(), transfer.begin(), transfer.end());
}

std::int32_t SimPrinter::CH375QueryBufUpload(std::uint32_t) {
    calls_.emplace_back("query");
    return open_ ? static_cast<std::int32_t>(upload_.size()) : -1;
}

std::uint32_t SimPrinter::CH375GetUsbID(std::uint32_t) {
    calls_.emplace_back("usbid");
    return open_ ? kSimUsbId : 0;
}

bool write_sim_capture(const SimPrinter& printer, const std::string& dir) {
    namespace fs = std::filesystem;
    // The folder shows what this printer received and nothing of an earlier run: the old
    // captures go first, and a capture that cannot be written whole goes again.
    std::error_code ec;
    std::vector<fs::path> earlier;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::file_status st = it->symlink_status(ec);
        if (!ec && (fs::is_regular_file(st) || fs::is_symlink(st)) &&
            is_capture_name(it->path().filename().string())) {
            earlier.push_back(it->path());
        }
    }
    if (ec) {
        return false;
    }
    for (const fs::path& p : earlier) {
        if (!fs::remove(p, ec) && ec) {
            return false;
        }
    }
    std::vector<std::string> written;
    auto write = [&](const char* pattern, std::size_t number, const SimPrinter::Bytes& bytes) {
        char name[48];
        std::snprintf(name, sizeof name, pattern, number);
        written.push_back(dir + name);
        return write_file(written.back(), bytes);
    };
    bool ok = true;
    for (std::size_t i = 0; ok && i < printer.jobs().size(); ++i) {
        ok = write("/job-%zu.bin", i + 1, printer.jobs()[i]);
    }
    for (std::size_t i = 0; ok && i < printer.transfers().size(); ++i) {
        ok = write("/transfer-%03zu.bin", i + 1, printer.transfers()[i]);
    }
    if (!ok) {
        for (const std::string& p : written) {
            const fs::file_status st = fs::symlink_status(p, ec);
            if (!ec && fs::is_regular_file(st)) {
                fs::remove(p, ec);
            }
        }
    }
    return ok;
}

}  // namespace qvprt::printing
