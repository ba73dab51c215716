#include "files/file_names.h"

#include <gtest/gtest.h>

#include "file_test_util.h"
#include "files/project_file.h"

namespace qvprt::files {
namespace {

using namespace testing;

TEST(FileNames, OnlyTheFileNameIsLowerCasedAndTheExtensionAddedOnce) {
    struct Case {
        const char* chosen;
        const char* project;
        const char* udisk;
    };
    const Case cases[] = {
        {"/home/Ann/Jobs/Job", "/home/Ann/Jobs/job.qvk", "/home/Ann/Jobs/job.QVU"},
        {"/home/Ann/Jobs/JOB.QVK", "/home/Ann/Jobs/job.qvk", "/home/Ann/Jobs/job.qvk.QVU"},
        {"/home/Ann/Jobs/Job.QVU", "/home/Ann/Jobs/job.qvu.qvk", "/home/Ann/Jobs/job.qvu"},
        {"Job.qvk.TXT", "job.qvk.txt.qvk", "job.qvk.txt.QVU"},
        {"/A/JobQVK", "/A/jobqvk.qvk", "/A/jobqvk.QVU"},
        {"/Ä/ÄB", "/Ä/äb.qvk", "/Ä/äb.QVU"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(project_file_path(c.chosen), c.project) << c.chosen;
        EXPECT_EQ(udisk_file_path(c.chosen), c.udisk) << c.chosen;
    }
}

TEST(FileNames, KindIsTheLastLetter) {
    EXPECT_EQ(file_kind_for_path("/A/job.QVU"), FileKind::Udisk);
    EXPECT_EQ(file_kind_for_path("/A/job.qvu"), FileKind::Udisk);
    EXPECT_EQ(file_kind_for_path("/A/menu"), FileKind::Udisk);
    EXPECT_EQ(file_kind_for_path("/A/job.qvk"), FileKind::Project);
    EXPECT_EQ(file_kind_for_path("/U/job"), FileKind::Project);
    EXPECT_EQ(file_kind_for_path(""), FileKind::Project);
}

TEST(FileNames, SavingIntoAFolderWithCapitalsKeepsTheFolder) {
    ScratchDir dir;
    fs::create_directory(dir.path() / "MyJobs");
    const model::JobSettings s;
    RecordList list(s, {3});
    const std::string path = project_file_path(dir / "MyJobs/Cabinet");
    const WriteResult w = save_project_file(path, s, list.head());
    ASSERT_TRUE(w.ok) << w.reason;
    EXPECT_TRUE(fs::exists(dir.path() / "MyJobs" / "cabinet.qvk"));
}

}  // namespace
}  // namespace qvprt::files
