#include "files/job_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>

#include "file_test_util.h"
#include "files/file_messages.h"
#include "files/file_names.h"
#include "files/project_file.h"
#include "files/safe_write.h"
#include "printing/udisk_file.h"
#include "text/gbk.h"

namespace qvprt::files {
namespace {

using namespace testing;

// The kind follows the last letter of the name; the content is then checked as that kind.
TEST(JobFile, KindByNameThenContentChecked) {
    ScratchDir dir;
    model::JobSettings s;
    RecordList list(s, {4, 5});
    const Bytes project = encode_project_file(s, list.head());
    const Bytes udisk = printing::encode_udisk_file(s, list.head());
    write_bytes(dir / "a.qvk", project);
    write_bytes(dir / "a.qvu", udisk);
    write_bytes(dir / "project-named.qvu", project);
    write_bytes(dir / "udisk-named.qvk", udisk);
    struct Case {
        const char* name;
        FileKind kind;
        ReadError error;
    };
    const Case cases[] = {
        {"a.qvk", FileKind::Project, ReadError::None},
        {"a.qvu", FileKind::Udisk, ReadError::None},
        {"project-named.qvu", FileKind::Udisk, ReadError::NotUdiskFile},
        {"udisk-named.qvk", FileKind::Project, ReadError::BadSetting},  // spacing 0x....4102
        {"missing.qvk", FileKind::Project, ReadError::OpenFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadResult r = read_job_file(dir / c.name, s);
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.count, r.ok() ? 2 : 0);
        if (!r.ok()) {
            EXPECT_NE(text::gbk_to_utf8(r.message).find(dir / c.name), std::string::npos);
        }
    }
}

TEST(JobFile, AnOversizedFileIsNotRead) {
    ScratchDir dir;
    write_bytes(dir / "big.qvk", Bytes(kMaxJobFileBytes + 1, 0));
    EXPECT_EQ(read_job_file(dir / "big.qvk", {}).error, ReadError::TooLarge);
}

// Only a regular file is read. A FIFO is refused at once, not waited on for a writer; a device
// is refused without reading it.
TEST(JobFile, WhatIsNotARegularFileIsRefusedWithoutBlocking) {
    ScratchDir dir;
    const std::string fifo = dir / "pipe.qvk";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directories(dir / "folder.qvu");
    // Lets a reader that waits in the open go on after a while, so that a regression fails here
    // instead of hanging.
    std::atomic<bool> done{false};
    std::thread writer([&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!done && std::chrono::steady_clock::now() < until) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::close(fd);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {fifo, "无法打开文件“" + fifo + "”：这不是一个普通文件。"},
        {"/dev/null", "无法打开文件“/dev/null”：这不是一个普通文件。"},
        {dir / "folder.qvu", "无法打开文件“" + (dir / "folder.qvu") + "”：这是一个文件夹。"},
        {"", "无法打开文件“”：文件或文件夹不存在。"},
        {dir / "none/x.qvk", "无法打开文件“" + (dir / "none/x.qvk") + "”：文件或文件夹不存在。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const auto start = std::chrono::steady_clock::now();
        const ReadResult r = read_job_file(c.path, {});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(r.error, ReadError::OpenFailed);
        EXPECT_EQ(text::gbk_to_utf8(r.message), c.message);
    }
    done = true;
    writer.join();
}

// The common reasons in Chinese, whatever the system's language; others as the system says them.
TEST(FileMessages, SystemReasons) {
    struct Case {
        int err;
        std::string reason;
    };
    const Case cases[] = {
        {EACCES, "没有访问权限"},
        {EPERM, "没有访问权限"},
        {ENOSPC, "磁盘已满，没有剩余空间"},
        {ENOENT, "文件或文件夹不存在"},
        {EISDIR, "这是一个文件夹"},
        {EROFS, "磁盘是只读的"},
        {EIO, std::generic_category().message(EIO)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(system_reason(c.err), c.reason) << c.err;
    }
    EXPECT_EQ(text::gbk_to_utf8(save_error_message("/media/u/a.qvu", system_reason(ENOSPC))),
              "无法保存文件“/media/u/a.qvu”：磁盘已满，没有剩余空间。磁盘上原有的文件没有改动。");
}

}  // namespace
}  // namespace qvprt::files
