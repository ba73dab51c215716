#include "files/safe_write.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <system_error>

#include "file_test_util.h"
#include "files/file_messages.h"
#include "files/project_file.h"
#include "printing/udisk_file.h"
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

// Runs a hook once the bytes are written, to change the folder under the writer.
struct AfterWriting : SaveSteps {
    std::function<void()> hook;
    int link(const std::string& from, const std::string& to) override {
        hook();
        return SaveSteps::link(from, to);
    }
};

TEST(SafeWrite, AFailedRenameKeepsTheOldFileAndRemovesTheTemporaryFile) {
    ScratchDir dir;
    write_bytes(dir / "job.qvk", kOld);
    std::unique_ptr<Immutable> lock;
    AfterWriting steps;
    steps.hook = [&] { lock = std::make_unique<Immutable>(dir.path() / "job.qvk"); };
    const WriteResult w = write_file_safely(dir / "job.qvk", kNew, steps);
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

TEST(SafeWrite, WritesThroughALinkAndKeepsTheFilesPermissions) {
    ScratchDir dir;
    write_bytes(dir / "real.qvk", kOld);
    ::chmod((dir / "real.qvk").c_str(), 0640);
    fs::create_symlink("real.qvk", dir.path() / "link.qvk");
    const WriteResult w = write_file_safely(dir / "link.qvk", kNew);
    ASSERT_TRUE(w.ok) << w.reason;
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.qvk"));
    EXPECT_EQ(read_bytes(dir / "real.qvk"), kNew);
    EXPECT_EQ(fs::status(dir.path() / "real.qvk").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"link.qvk", "real.qvk"}));
}

// The system's calls, with one of them failing. The disk takes short writes (at most 8 KiB a
// call), as it may, and the syncs are skipped: the disk itself is not the subject here.
struct FailingSteps : SaveSteps {
    enum class Step { None, Create, Write, Sync, Close, Link, Rename, SyncFolder };
    Step fail = Step::None;
    int error = EIO;
    std::size_t write_limit = 0;  // Step::Write: the write reaching this many bytes fails
    std::size_t written = 0;

    int create(const std::string& path, unsigned mode, int& fd) override {
        return fail == Step::Create ? error : SaveSteps::create(path, mode, fd);
    }
    int write(int fd, const std::uint8_t* data, std::size_t n, std::size_t& w) override {
        std::size_t take = std::min<std::size_t>(n, 8192);
        const bool fails = fail == Step::Write && written + take >= write_limit;
        if (fails) {
            take = write_limit - written;
        }
        int rc = 0;
        if (fail == Step::Write) {
            // The file grows by what was taken, without the bytes: the sweep over every length
            // would otherwise write gigabytes. The writer sees the same counts either way.
            rc = ::ftruncate(fd, static_cast<off_t>(written + take)) == 0 ? 0 : errno;
            ::lseek(fd, 0, SEEK_END);
            w = rc == 0 ? take : 0;
        } else {
            rc = take == 0 ? (w = 0, 0) : SaveSteps::write(fd, data, take, w);
        }
        written += w;
        return fails ? error : rc;
    }
    int sync(int) override { return fail == Step::Sync ? error : 0; }
    int close(int fd) override {
        const int rc = SaveSteps::close(fd);  // the descriptor is gone either way
        return fail == Step::Close ? error : rc;
    }
    int link(const std::string& from, const std::string& to) override {
        return fail == Step::Link ? error : SaveSteps::link(from, to);
    }
    int rename(const std::string& from, const std::string& to) override {
        return fail == Step::Rename ? error : SaveSteps::rename(from, to);
    }
    int sync_folder(const std::string&) override {
        return fail == Step::SyncFolder || fail == Step::Link ? error : 0;
    }
};

// A project file and a two-block U-disk print file, each written over an older file of its kind.
struct Replacement {
    const char* name;
    Bytes old_bytes, new_bytes;
};

std::vector<Replacement> Replacements() {
    model::JobSettings s;
    RecordList old_rows(s, {3, 7});
    RecordList new_rows(s, {1, 50, 12});
    RecordList old_job(s, {10, 10, 10});
    RecordList new_job(s, std::vector<int>(700, 50));
    Replacement project{"job.qvk", encode_project_file(s, old_rows.head()),
                        encode_project_file(s, new_rows.head())};
    Replacement udisk{"job.qvu", printing::encode_udisk_file(s, old_job.head()),
                      printing::encode_udisk_file(s, new_job.head())};
    EXPECT_EQ(udisk.new_bytes.size(), 61435u + 12085u);  // two blocks
    return {project, udisk};
}

TEST(SafeWrite, ASaveInterruptedAtAnyPointKeepsTheOldFileWhole) {
    using Step = FailingSteps::Step;
    // In memory where the machine allows: the sweep below writes some gigabytes in all.
    ScratchDir dir(fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path());
    for (const Replacement& r : Replacements()) {
        SCOPED_TRACE(r.name);
        const std::string path = dir / r.name;
        write_bytes(path, r.old_bytes);
        auto check = [&](FailingSteps& steps, const std::string& what) {
            SCOPED_TRACE(what);
            const WriteResult w = write_file_safely(path, r.new_bytes, steps);
            ASSERT_FALSE(w.ok);
            EXPECT_EQ(w.path, path);
            EXPECT_EQ(w.reason, system_reason(steps.error));
            const std::string message = text::gbk_to_utf8(w.message);
            EXPECT_NE(message.find(path), std::string::npos) << message;
            EXPECT_NE(message.find(w.reason), std::string::npos) << message;
            ASSERT_EQ(read_bytes(path), r.old_bytes);
            ASSERT_EQ(Entries(dir.path()), std::vector<std::string>{r.name});
        };
        for (std::size_t n = 0; n <= r.new_bytes.size(); ++n) {
            FailingSteps steps;
            steps.fail = Step::Write;
            steps.write_limit = n;
            steps.error = ENOSPC;
            check(steps, "write fails after " + std::to_string(n) + " bytes");
            ASSERT_EQ(steps.written, n);
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
        }
        struct Case {
            Step step;
            int error;
            const char* what;
        };
        for (const Case& c :
             {Case{Step::Create, EACCES, "create"}, Case{Step::Sync, EIO, "sync"},
              Case{Step::Close, EIO, "close (the flush of delayed writes)"},
              Case{Step::Rename, EXDEV, "rename"}, Case{Step::SyncFolder, EIO, "folder sync"}}) {
            FailingSteps steps;
            steps.fail = c.step;
            steps.error = c.error;
            check(steps, c.what);
        }
        FailingSteps works;
        ASSERT_TRUE(write_file_safely(path, r.new_bytes, works).ok);
        EXPECT_EQ(read_bytes(path), r.new_bytes);
        EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{r.name});
        fs::remove(path);
    }
}

TEST(SafeWrite, AFailedFolderSyncWithoutAWayBackSaysTheFileIsUnconfirmed) {
    ScratchDir dir;
    struct Case {
        const char* what;
        bool had_old;
        Bytes left;  // what the folder holds afterwards under the name
        bool unconfirmed;
    };
    // A new file goes again; an old file on a file system without hard links cannot come back.
    for (const Case& c :
         {Case{"new file", false, {}, false}, Case{"no hard links", true, kNew, true}}) {
        SCOPED_TRACE(c.what);
        fs::remove(dir.path() / "job.qvk");
        if (c.had_old) {
            write_bytes(dir / "job.qvk", kOld);
        }
        FailingSteps steps;
        steps.fail = FailingSteps::Step::Link;  // EPERM from link, then the folder sync fails
        steps.error = EPERM;
        const WriteResult w = write_file_safely(dir / "job.qvk", kNew, steps);
        EXPECT_FALSE(w.ok);
        const std::string message = text::gbk_to_utf8(w.message);
        EXPECT_NE(message.find(dir / "job.qvk"), std::string::npos);
        EXPECT_EQ(message.find("已经写入，但无法确认") != std::string::npos, c.unconfirmed)
            << message;
        if (c.had_old) {
            EXPECT_EQ(read_bytes(dir / "job.qvk"), c.left);
            EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"job.qvk"});
        } else {
            EXPECT_TRUE(Entries(dir.path()).empty());
        }
    }
}

TEST(SafeWrite, AProcessKilledWhileSavingLeavesOneWholeVersion) {
    ScratchDir dir;  // on the disk: the syncs are real here
    model::JobSettings s;
    RecordList first(s, std::vector<int>(1000, 20));
    RecordList second(s, std::vector<int>(1000, 35));
    const Bytes versions[] = {encode_project_file(s, first.head()),
                              encode_project_file(s, second.head())};
    const std::string path = dir / "job.qvk";
    ASSERT_TRUE(save_project_file(path, s, first.head()).ok);

    const unsigned random_start = std::random_device{}();
    SCOPED_TRACE("random start " + std::to_string(random_start));
    std::mt19937 random(random_start);
    std::uniform_int_distribution<int> delay_us(0, 40000);
    const auto start = std::chrono::steady_clock::now();
    int kills = 0;
    int seen[2] = {0, 0};
    while (kills < 200 && std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (bool second_next = true;; second_next = !second_next) {
                (void)save_project_file(path, s, second_next ? second.head() : first.head());
            }
        }
        ::usleep(static_cast<useconds_t>(delay_us(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended by itself: " << status;
        ++kills;
        const Bytes now = read_bytes(path);
        if (now == versions[0] || now == versions[1]) {
            ++seen[now == versions[1]];
        } else {
            FAIL() << "after kill " << kills << " the file holds " << now.size()
                   << " bytes, neither version";
        }
        // A killed save may leave its temporary file or the old file's second name; nothing else.
        for (const std::string& name : Entries(dir.path())) {
            if (name != "job.qvk") {
                ASSERT_EQ(name.rfind("job.qvk.", 0), 0u) << name;
                ASSERT_EQ(name.size(), std::string("job.qvk.").size() + 6) << name;
                fs::remove(dir.path() / name);
            }
        }
    }
    std::printf("%d kills: %d times the first version, %d times the second\n", kills, seen[0],
                seen[1]);
}

}  // namespace
}  // namespace qvprt::files
