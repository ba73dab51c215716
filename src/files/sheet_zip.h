#pragma once
// The zip container of .xlsx and .ods files, read from memory. Every part is read in chunks and
// refused past kMaxUnpackedPartBytes, so a small file that unpacks to gigabytes costs little.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "files/sheet_parts.h"

namespace qvprt::files::sheet {

class ZipArchive;

class ZipStream {
  public:
    enum class State { Open, Missing, Failed, TooLarge };
    ZipStream(ZipArchive& zip, std::string_view name);
    ~ZipStream();
    ZipStream(const ZipStream&) = delete;
    ZipStream& operator=(const ZipStream&) = delete;

    // Bytes read into `buf`, 0 at the end of the part; on failure 0 and the state says why.
    std::size_t read(char* buf, std::size_t size);
    State state() const { return state_; }
    const std::string& name() const { return name_; }

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string name_;
    State state_ = State::Open;
    long long total_ = 0;
};

class ZipArchive {
  public:
    // Null with `why` set when the bytes are no readable zip.
    static std::unique_ptr<ZipArchive> open(Bytes bytes, std::string& why);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Part names are matched without regard to case, as Windows tools write them.
    bool has(std::string_view name) const;
    // The whole part, for the small ones (mimetype).
    ZipStream::State read_all(std::string_view name, std::string& out);

  private:
    ZipArchive() = default;
    friend class ZipStream;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The failure a stream ended with, as the readers report it.
Parsed stream_failure(const ZipStream& s);

}  // namespace qvprt::files::sheet

namespace qvprt::files::sheet {
Parsed parse_xlsx(ZipArchive& zip);
Parsed parse_ods(ZipArchive& zip);
}  // namespace qvprt::files::sheet
