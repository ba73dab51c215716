#include "files/safe_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>

#include "files/file_messages.h"

// The steps are POSIX calls; a Windows build takes its own SaveSteps (MoveFileEx,
// FlushFileBuffers).

namespace qvprt::files {

namespace stdfs = std::filesystem;

int SaveSteps::create(const std::string& path, unsigned mode, int& fd) {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    return fd < 0 ? errno : 0;
}

int SaveSteps::write(int fd, const std::uint8_t* data, std::size_t n, std::size_t& written) {
    const ssize_t w = ::write(fd, data, n < SSIZE_MAX ? n : SSIZE_MAX);
    written = w > 0 ? static_cast<std::size_t>(w) : 0;
    return w < 0 ? errno : 0;
}

int SaveSteps::sync(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

int SaveSteps::close(int fd) {
    // Linux releases the descriptor even when close reports an error: never close it twice.
    return ::close(fd) == 0 ? 0 : errno;
}

int SaveSteps::link(const std::string& from, const std::string& to) {
    return ::link(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int SaveSteps::rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int SaveSteps::sync_folder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int rc = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // Some file systems cannot sync a folder at all; their renames are as durable as they get.
    return rc == EINVAL || rc == ENOTSUP ? 0 : rc;
}

int SaveSteps::remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

SaveSteps& system_save_steps() {
    static SaveSteps steps;
    return steps;
}

namespace {

std::string reason_of(int err) {
    return system_reason(err);
}

WriteResult failed(const std::string& path, int err) {
    WriteResult r;
    r.path = path;
    r.reason = reason_of(err);
    r.message = save_error_message(path, r.reason);
    return r;
}

// A name beside the target that nobody else uses: "job.qvk.k3x9q2".
std::string name_beside(const std::string& target) {
    static std::mt19937 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string name = target + ".";
    for (int i = 0; i < 6; ++i) {
        name += kLetters[pick(random)];
    }
    return name;
}

// A link to a file is written through to the file, as editors do, instead of being replaced.
std::string resolve_link(const std::string& path) {
    std::error_code ec;
    if (stdfs::is_symlink(stdfs::symlink_status(path, ec))) {
        stdfs::path target = stdfs::canonical(path, ec);
        if (!ec) {
            return target.string();
        }
    }
    return path;
}

std::string folder_of(const std::string& path) {
    const stdfs::path folder = stdfs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

}  // namespace

WriteResult write_file_safely(const std::string& path, std::span<const std::uint8_t> bytes,
                              SaveSteps& steps) {
    const std::string target = resolve_link(path);
    struct stat old {};
    const bool had_old = ::stat(target.c_str(), &old) == 0;
    if (had_old && S_ISDIR(old.st_mode)) {
        return failed(path, EISDIR);
    }

    // 1. A new file beside the target.
    int fd = -1;
    std::string temp;
    int err = EEXIST;
    for (int attempt = 0; attempt < 16 && err == EEXIST; ++attempt) {
        temp = name_beside(target);
        err = steps.create(temp, 0666, fd);
    }
    if (err != 0) {
        return failed(path, err);
    }
    if (had_old) {
        // Best effort: the copy keeps the old file's permissions rather than the umask's.
        (void)::fchmod(fd, old.st_mode & 07777);
    }
    auto give_up = [&](int why, bool open) {
        if (open) {
            (void)steps.close(fd);
        }
        (void)steps.remove(temp);
        return failed(path, why);
    };

    // 2. The bytes, 3. on the disk, 4. the file closed.
    for (std::size_t done = 0; done < bytes.size();) {
        std::size_t written = 0;
        err = steps.write(fd, bytes.data() + done, bytes.size() - done, written);
        done += written;
        if (err == EINTR) {
            continue;
        }
        if (err == 0 && written == 0) {
            err = EIO;  // no progress and no reason: do not spin
        }
        if (err != 0) {
            return give_up(err, true);
        }
    }
    if ((err = steps.sync(fd)) != 0) {
        return give_up(err, true);
    }
    if ((err = steps.close(fd)) != 0) {
        return give_up(err, false);
    }

    // 5. A second name for the old file, so that a failed folder sync can put it back. Where the
    // file system has no hard links (FAT on a USB stick) the save goes on without one.
    std::optional<std::string> backup;
    if (had_old) {
        for (int attempt = 0; attempt < 16 && !backup; ++attempt) {
            std::string name = name_beside(target);
            err = steps.link(target, name);
            if (err == 0) {
                backup = std::move(name);
            } else if (err != EEXIST) {
                break;
            }
        }
    }

    // 6. The new file takes the target's name in one step.
    if ((err = steps.rename(temp, target)) != 0) {
        if (backup) {
            (void)steps.remove(*backup);
        }
        return give_up(err, false);
    }

    // 7. The rename on the disk too; otherwise things go back to how they were.
    const std::string folder = folder_of(target);
    if ((err = steps.sync_folder(folder)) != 0) {
        if (backup && steps.rename(*backup, target) == 0) {
            (void)steps.sync_folder(folder);
            return failed(path, err);
        }
        if (!had_old && steps.remove(target) == 0) {
            return failed(path, err);
        }
        WriteResult r;
        r.path = path;
        r.reason = reason_of(err);
        r.message = save_unconfirmed_message(path, r.reason);
        return r;
    }
    if (backup) {
        (void)steps.remove(*backup);
    }
    WriteResult r;
    r.ok = true;
    r.path = path;
    return r;
}

}  // namespace qvprt::files
