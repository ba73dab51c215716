#pragma once
// Reading a whole input file for a reader. Only a regular file is read: a FIFO, a device or a
// socket would block the program or never end, and is refused before anything is read from it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qvprt::files {

struct WholeFile {
    enum class Failure { None, Open, Read, TooLarge };
    Failure failure = Failure::None;
    std::string reason;  // UTF-8, for the user: why Open or Read failed
    std::vector<std::uint8_t> bytes;

    bool ok() const { return failure == Failure::None; }
};

// At most `limit` bytes; a longer file is TooLarge.
WholeFile read_whole_file(const std::string& path, std::size_t limit);

}  // namespace qvprt::files
