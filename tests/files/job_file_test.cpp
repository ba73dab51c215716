#include "files/job_file.h"

#include <gtest/gtest.h>

#include "file_test_util.h"
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

}  // namespace
}  // namespace qvprt::files
