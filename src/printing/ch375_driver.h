#pragma once
// The USB chip driver boundary: the seven operations of the chip vendor's library, which the link
// always calls for device index 0. Backends: libusb (real printers), a simulated printer (tests,
// demos); a Windows backend over the vendor's DLL can take the same place.

#include <cstdint>

namespace qvprt::printing {

// CH375OpenDevice's answer when no printer could be opened.
inline constexpr std::intptr_t kInvalidHandle = -1;

// Why the last CH375OpenDevice failed, so that a missing access rule can be told apart from a
// missing printer.
enum class OpenFailure {
    kNone,          // the last open succeeded (or none was tried)
    kNoPrinter,     // no printer attached, or no USB at all
    kNoPermission,  // a printer is there but this user may not open it
    kOpenFailed,    // a printer is there but could not be opened or claimed (busy, I/O error)
};

class Ch375Driver {
  public:
    virtual ~Ch375Driver() = default;

    // A handle, or kInvalidHandle when no printer could be opened.
    virtual std::intptr_t CH375OpenDevice(std::uint32_t index) = 0;
    virtual void CH375CloseDevice(std::uint32_t index) = 0;
    // 1 when the device was reset, 0 otherwise.
    virtual int CH375ResetDevice(std::uint32_t index) = 0;
    // Copies up to *length bytes into buffer; *length holds the count on return. 1 on success.
    virtual int CH375ReadData(std::uint32_t index, void* buffer, std::uint32_t* length) = 0;
    // Sends *length bytes as one transfer (0 sends an empty one); *length holds the count sent.
    // 1 when all of them were sent.
    virtual int CH375WriteData(std::uint32_t index, const void* buffer, std::uint32_t* length) = 0;
    // Packets waiting to be read; a negative value counts as none.
    virtual std::int32_t CH375QueryBufUpload(std::uint32_t index) = 0;
    // (product << 16) | vendor of the open device; 0 on error.
    virtual std::uint32_t CH375GetUsbID(std::uint32_t index) = 0;

    virtual OpenFailure last_open_failure() const = 0;
};

}  // namespace qvprt::printing
