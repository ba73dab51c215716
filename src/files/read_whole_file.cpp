#include "files/read_whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "files/file_messages.h"

// POSIX calls, as the safe writer's; a Windows build takes CreateFile and ReadFile here.

namespace qvprt::files {

WholeFile read_whole_file(const std::string& path, std::size_t limit) {
    WholeFile r;
    auto fail = [&r](WholeFile::Failure f, std::string reason) {
        r.failure = f;
        r.reason = std::move(reason);
        r.bytes.clear();
        return std::move(r);
    };
    // Looked at before the open, so that opening a device cannot do anything; checked again on
    // the open file, which may have been swapped in between. A FIFO opened without blocking does
    // not wait for a writer.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return fail(WholeFile::Failure::Open, system_reason(errno));
    }
    if (!S_ISREG(st.st_mode)) {
        return fail(WholeFile::Failure::Open,
                    S_ISDIR(st.st_mode) ? system_reason(EISDIR) : not_a_regular_file_reason());
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return fail(WholeFile::Failure::Open, system_reason(errno));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0) {
        return fail(WholeFile::Failure::Open, system_reason(errno));
    }
    if (!S_ISREG(st.st_mode)) {
        return fail(WholeFile::Failure::Open,
                    S_ISDIR(st.st_mode) ? system_reason(EISDIR) : not_a_regular_file_reason());
    }
    // The size is a hint only: the file may grow or shrink while it is read.
    const std::size_t hint = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    r.bytes.resize((hint < limit ? hint : limit) + 1);
    std::size_t done = 0;
    while (done <= limit) {
        if (done == r.bytes.size()) {
            r.bytes.resize(std::min(limit + 1, r.bytes.size() + (std::size_t{1} << 16)));
        }
        const ssize_t n = ::read(fd, r.bytes.data() + done, r.bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return fail(WholeFile::Failure::Read, system_reason(errno));
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (done > limit) {
        return fail(WholeFile::Failure::TooLarge, {});
    }
    r.bytes.resize(done);
    return r;
}

}  // namespace qvprt::files
