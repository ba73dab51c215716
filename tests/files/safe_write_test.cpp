#include "files/safe_write.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "file_test_util.h"
#include "text/gbk.h"

namespace qvprt::files {
namespace {

using namespace testing;

// Root ignores permission bits, but not the immutable attribute: an immutable folder refuses new
// files and an immutable file cannot be replaced. Needs CAP_LINUX_IMMUTABLE and a file system
// that has the attribute.
bool SetImmutable(const fs::path& p, bool on) {
    const int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

// Clears the attribute again whatever the test does.
struct Immutable {
    explicit Immutable(fs::path p) : path(std::move(p)), set(SetImmutable(path, true)) {}
    ~Immutable() {
        if (set) {
            SetImmutable(path, false);
        }
    }
    fs::path path;
    bool set;
};

std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

const Bytes kOld = {'o', 'l', 'd'};
const Bytes kNew = {'n', 'e', 'w', '!'};

TEST(SafeWrite, ReplacesTheFileWholeAndLeavesNothingElse) {
    ScratchDir dir;
    write_bytes(dir / "job.qvk", kOld);
    const WriteResult w = write_file_safely(dir / "job.qvk", kNew);
    ASSERT_TRUE(w.ok) << w.reason;
    EXPECT_TRUE(w.message.empty());
    EXPECT_EQ(read_bytes(dir / "job.qvk"), kNew);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"job.qvk"});
}

TEST(SafeWrite, FailuresKeepTheOldFileAndReportPathAndReason) {
    ScratchDir dir;
    fs::create_directory(dir.path() / "folder.qvk");
    write_bytes(dir / "job.qvk", kOld);
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"missing folder", dir / "no-such-folder/job.qvk"},
        {"target is a folder", dir / "folder.qvk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WriteResult w = write_file_safely(c.path, kNew);
        EXPECT_FALSE(w.ok);
        EXPECT_EQ(w.path, c.path);
        EXPECT_FALSE(w.reason.empty());
        EXPECT_NE(text::gbk_to_utf8(w.message).find(c.path), std::string::npos);
        EXPECT_NE(text::gbk_to_utf8(w.message).find(w.reason), std::string::npos);
    }
    EXPECT_EQ(read_bytes(dir / "job.qvk"), kOld);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"folder.qvk", "job.qvk"}));
}

TEST(SafeWrite, AFolderThatRefusesWritesKeepsTheOldFile) {
    ScratchDir dir;
    fs::create_directory(dir.path() / "locked");
    write_bytes(dir / "locked/job.qvk", kOld);
    Immutable lock(dir.path() / "locked");
    if (!lock.set) {
        GTEST_SKIP() << "the immutable attribute is not available here";
    }
    const WriteResult w = write_file_safely(dir / "locked/job.qvk", kNew);
    EXPECT_FALSE(w.ok);
    EXPECT_FALSE(w.reason.empty());
    EXPECT_EQ(read_bytes(dir / "locked/job.qvk"), kOld);
    EXPECT_EQ(Entries(dir.path() / "locked"), std::vector<std::string>{"job.qvk"});
}

TEST(SafeWrite, AFailedRenameKeepsTheOldFileAndRemovesTheTemporaryFile) {
    ScratchDir dir;
    write_bytes(dir / "job.qvk", kOld);
    std::unique_ptr<Immutable> lock;
    const WriteResult w = write_file_safely(
        dir / "job.qvk", kNew, [&] { lock = std::make_unique<Immutable>(dir.path() / "job.qvk"); });
    if (!lock->set) {
        GTEST_SKIP() << "the immutable attribute is not available here";
    }
    EXPECT_FALSE(w.ok);
    EXPECT_NE(text::gbk_to_utf8(w.message).find(dir / "job.qvk"), std::string::npos);
    EXPECT_FALSE(w.reason.empty());
    lock.reset();
    EXPECT_EQ(read_bytes(dir / "job.qvk"), kOld);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"job.qvk"});
}

}  // namespace
}  // namespace qvprt::files
