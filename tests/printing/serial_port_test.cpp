#include "printing/SerialPort.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "printing/fake_clock.h"
#include "printing/job_stream.h"
#include "printing/sim_printer.h"
#include "text/bytes.h"

namespace qvprt::printing {
namespace {

using Bytes = SimPrinter::Bytes;
using Calls = std::vector<std::string>;

class LinkTest : public ::testing::Test {
  protected:
    // Opens the link and forgets the calls that took.
    void OpenQuietly() {
        ASSERT_TRUE(link.open());
        printer.behaviour.refuse_write = 0;
        calls_before = printer.calls().size();
    }
    Calls NewCalls() const {
        return Calls(printer.calls().begin() + static_cast<std::ptrdiff_t>(calls_before),
                     printer.calls().end());
    }

    SimPrinter printer;
    FakeClock clock;
    CSerialPort link{printer, clock};
    std::size_t calls_before = 0;
};

TEST_F(LinkTest, OpenDrainsEveryWaitingPacketWithOneByteReads) {
    printer.behaviour.waiting_at_open = 3;
    EXPECT_EQ(link.open_marker(), -1);
    ASSERT_TRUE(link.open());
    EXPECT_EQ(printer.calls(), (Calls{"open", "query", "read 1", "read 1", "read 1"}));
    EXPECT_TRUE(link.is_open());
    EXPECT_EQ(link.open_marker(), 0);
    // The stale packets are gone: the next reply read is the printer's answer.
    EXPECT_TRUE(link.query_ready());
}

TEST_F(LinkTest, OpenThatFailsChangesNothing) {
    for (const auto failure : {OpenFailure::kNoPrinter, OpenFailure::kNoPermission}) {
        SCOPED_TRACE(static_cast<int>(failure));
        printer.behaviour.present = failure != OpenFailure::kNoPrinter;
        printer.behaviour.open_failure =
            failure == OpenFailure::kNoPrinter ? OpenFailure::kNone : failure;
        EXPECT_FALSE(link.open());
        EXPECT_FALSE(link.is_open());
        EXPECT_EQ(link.open_marker(), -1);
        EXPECT_EQ(printer.calls().back(), "open");
    }
    EXPECT_EQ(printer.calls().size(), 2u);
}

TEST_F(LinkTest, ClosedLinkMakesNoDriverCall) {
    EXPECT_FALSE(link.query_ready());
    EXPECT_FALSE(link.send_command(true));
    EXPECT_FALSE(link.send_command(false));
    link.close();
    EXPECT_TRUE(printer.calls().empty());
    EXPECT_TRUE(clock.sleeps.empty());

    OpenQuietly();
    link.close();
    link.close();
    EXPECT_EQ(NewCalls(), Calls{"close"});
    EXPECT_FALSE(link.is_open());
    EXPECT_EQ(link.open_marker(), 0);
}

TEST_F(LinkTest, StatusReplyIsReadyExactlyWhenItBeginsWithN) {
    struct Case {
        const char* name;
        Bytes reply;
        bool ready;
    };
    const Case cases[] = {
        {"N and zeros", {'N', 0, 0, 0, 0, 0, 0, 0, 0}, true},
        {"N and anything", {'N', 0xFF, 'B', 1, 2, 3, 4, 5, 6}, true},
        {"short N", {'N'}, true},
        {"busy", {'B', 'N', 'N', 'N', 'N', 'N', 'N', 'N', 'N'}, false},
        {"zero byte", {0, 'N', 0, 0, 0, 0, 0, 0, 0}, false},
        {"no reply", {}, false},
    };
    OpenQuietly();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer.behaviour.status_reply = c.reply;
        const std::size_t before = printer.transfers().size();
        EXPECT_EQ(link.query_ready(), c.ready);
        ASSERT_EQ(printer.transfers().size(), before + 2);
        EXPECT_EQ(printer.transfers()[before], (Bytes{0x01, 0x41}));
        EXPECT_EQ(printer.transfers()[before + 1], Bytes{});
        EXPECT_EQ(printer.calls().back(), "read 9");
    }
    EXPECT_TRUE(printer.jobs().empty());
}

TEST_F(LinkTest, RefusedStatusQueryIsNotReadyAndReadsNothing) {
    OpenQuietly();
    printer.behaviour.refuse_write = 1;
    EXPECT_FALSE(link.query_ready());
    EXPECT_EQ(NewCalls(), (Calls{"write 2", "write 0"}));
}

TEST_F(LinkTest, CommandsWriteTwoBytesThenWait) {
    OpenQuietly();
    EXPECT_TRUE(link.send_command(true));
    EXPECT_TRUE(link.send_command(false));
    EXPECT_EQ(printer.transfers(), (std::vector<Bytes>{{0x02, 0x48}, {0x01, 0x44}}));
    EXPECT_EQ(NewCalls(), (Calls{"write 2", "write 2"}));
    EXPECT_EQ(clock.sleeps, (std::vector<int>{1000, 1000}));

    printer.behaviour.refuse_write = 3;  // the third write since the printer was created
    EXPECT_FALSE(link.send_command(true));
    EXPECT_EQ(clock.sleeps.size(), 2u);
}

TEST_F(LinkTest, DestructorClosesAnOpenLinkOnly) {
    { CSerialPort never(printer, clock); }
    EXPECT_TRUE(printer.calls().empty());
    {
        CSerialPort other(printer, clock);
        ASSERT_TRUE(other.open());
    }
    EXPECT_EQ(printer.calls().back(), "close");
    EXPECT_FALSE(printer.is_open());
}

TEST_F(LinkTest, ProbeTellsWhyNoPrinterWasFound) {
    const ProbeResult found = link.probe_printer();
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.usb_id, 0x55374348u);
    EXPECT_EQ(printer.calls(), (Calls{"open", "usbid"}));
    EXPECT_TRUE(printer.is_open());  // the probe leaves the device open
    EXPECT_FALSE(link.is_open());

    struct Case {
        bool present;
        OpenFailure open_failure;
        OpenFailure expected;
    };
    const Case cases[] = {
        {false, OpenFailure::kNone, OpenFailure::kNoPrinter},
        {true, OpenFailure::kNoPermission, OpenFailure::kNoPermission},
        {true, OpenFailure::kOpenFailed, OpenFailure::kOpenFailed},
    };
    for (const Case& c : cases) {
        printer.behaviour.present = c.present;
        printer.behaviour.open_failure = c.open_failure;
        const ProbeResult r = link.probe_printer();
        EXPECT_FALSE(r.found);
        EXPECT_EQ(r.failure, c.expected);
        EXPECT_EQ(printer.calls().back(), "open");
    }
}

// A job of n records of 50 bytes each.
class LinkJobTest : public LinkTest {
  protected:
    void Make(int n) {
        model::SegmentNode* tail = nullptr;
        for (int i = 0; i < n; ++i) {
            tail = list_.push_back(settings);
            head = list_.head();
            text::copy_field(tail->text, std::string(50, static_cast<char>('a' + i % 26)));
            tail->text_length = 50;
        }
    }

    model::JobSettings settings;
    model::SegmentList list_;
    model::SegmentNode* head = nullptr;
};

TEST_F(LinkJobTest, JobArrivesWholeAndEndsAtTheEmptyTransfer) {
    Make(100);
    OpenQuietly();
    const int size = link.encoded_job_size(head);
    EXPECT_EQ(size, encoded_job_size(head));
    EXPECT_EQ(link.send_job(settings, head, 0), 100);
    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(static_cast<int>(printer.jobs()[0].size()), size);
    EXPECT_EQ(printer.jobs()[0][0], 0x02);
    EXPECT_EQ(printer.jobs()[0].back(), 'E');
    EXPECT_TRUE(printer.transfers().back().empty());
    for (const Bytes& t : printer.transfers()) {
        EXPECT_LE(t.size(), 4097u);
    }
}

TEST_F(LinkJobTest, RefusedTransferStopsTheJob) {
    Make(100);
    OpenQuietly();
    printer.behaviour.refuse_write = 2;
    EXPECT_EQ(link.send_job(settings, head, 0), kSendFailed);
    // Nothing follows the refused transfer, not even the empty one.
    EXPECT_EQ(NewCalls().size(), 2u);
    EXPECT_TRUE(printer.jobs().empty());
    ASSERT_EQ(printer.transfers().size(), 1u);
    EXPECT_EQ(printer.pending_job(), printer.transfers()[0]);
}

TEST_F(LinkJobTest, CaptureWritesEachJobAndTransferToItsFile) {
    Make(1);
    OpenQuietly();
    ASSERT_EQ(link.send_job(settings, head, 0), 1);
    ASSERT_TRUE(link.send_command(true));
    const auto dir = std::filesystem::path(::testing::TempDir()) / "sim_capture";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(write_sim_capture(printer, dir.string()));
    auto read = [&](const char* name) {
        std::ifstream in(dir / name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(read("job-1.bin"), printer.jobs()[0]);
    EXPECT_EQ(read("transfer-001.bin"), printer.jobs()[0]);
    EXPECT_TRUE(std::filesystem::exists(dir / "transfer-002.bin"));
    EXPECT_EQ(read("transfer-003.bin"), (Bytes{0x02, 0x48}));
    EXPECT_FALSE(std::filesystem::exists(dir / "job-2.bin"));
    EXPECT_FALSE(write_sim_capture(printer, (dir / "missing").string()));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qvprt::printing
