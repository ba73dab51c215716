#pragma once
// Writing a file without ever leaving it half written: the bytes go to a temporary file in the
// same folder, reach the disk, and only then replace the target. A failure leaves the old file as
// it was and no temporary file behind.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "files/file_result.h"

namespace qvprt::files {

// The file-system calls a save is made of, in the order it makes them. Each answers 0 or the errno
// of its failure. The defaults are the system's calls; tests override one to fail it.
class SaveSteps {
  public:
    virtual ~SaveSteps() = default;
    // Creates `path`, which must not exist yet, and opens it for writing.
    virtual int create(const std::string& path, unsigned mode, int& fd);
    // Writes up to n bytes; `written` holds how many went out, on failure too.
    virtual int write(int fd, const std::uint8_t* data, std::size_t n, std::size_t& written);
    virtual int sync(int fd);
    // Closing is where some file systems (NFS, FUSE) report the writes they had delayed.
    virtual int close(int fd);
    // A second name for the old file, so that it can be put back after the rename.
    virtual int link(const std::string& from, const std::string& to);
    virtual int rename(const std::string& from, const std::string& to);
    // Makes the rename itself durable.
    virtual int sync_folder(const std::string& folder);
    virtual int remove(const std::string& path);
};

SaveSteps& system_save_steps();

WriteResult write_file_safely(const std::string& path, std::span<const std::uint8_t> bytes,
                              SaveSteps& steps = system_save_steps());

}  // namespace qvprt::files
