#include "printing/libusb_driver.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "printing/SerialPort.h"
#include "printing/fake_clock.h"
#include "printing/job_stream.h"
#include "printing/sim_printer.h"
#include "printing/virtual_ch375.h"
#include "text/bytes.h"

namespace qvprt::printing {
namespace {

using Bytes = VirtualCh375::Bytes;

// The device outlives the driver, which outlives the link.
struct Bench {
    explicit Bench(std::uint16_t vendor = 0x4348, std::uint16_t product = 0x5537)
        : device(vendor, product) {}
    VirtualCh375 device;
    // The emulated device answers on another thread; give it time even under a sanitizer.
    LibusbDriver driver{{.poll_ms = 200}};
    FakeClock clock;
    CSerialPort link{driver, clock};
};

TEST(LibusbDriverTest, FindsThePrinterUnderEitherIdAndTellsItsId) {
    for (const UsbId id : kPrinterUsbIds) {
        SCOPED_TRACE(id.vendor);
        Bench bench(id.vendor, id.product);
        const ProbeResult probe = bench.link.probe_printer();
        EXPECT_TRUE(probe.found);
        EXPECT_EQ(probe.usb_id, static_cast<std::uint32_t>(id.product) << 16 | id.vendor);
        bench.driver.CH375CloseDevice(0);
        EXPECT_EQ(bench.driver.CH375GetUsbID(0), 0u);
    }
}

TEST(LibusbDriverTest, OtherDevicesAreNoPrinter) {
    Bench bench(0x1A86, 0x7523);
    EXPECT_EQ(bench.driver.CH375OpenDevice(0), kInvalidHandle);
    EXPECT_EQ(bench.driver.last_open_failure(), OpenFailure::kNoPrinter);
    EXPECT_FALSE(bench.link.open());
    std::uint32_t length = 0;
    EXPECT_EQ(bench.driver.CH375WriteData(0, "", &length), 0);
    EXPECT_EQ(bench.driver.CH375QueryBufUpload(0), -1);
}

TEST(LibusbDriverTest, ListsOnlyDevicesWithTheChipsIds) {
    struct Case {
        std::uint16_t vendor, product;
        bool listed;
    };
    for (const Case c :
         {Case{0x4348, 0x5537, true}, Case{0x1A86, 0x5537, true}, Case{0x1A86, 0x7523, false}}) {
        SCOPED_TRACE(c.vendor);
        VirtualCh375 device(c.vendor, c.product);
        const std::vector<UsbPrinterDevice> list = list_printer_devices();
        if (!c.listed) {
            EXPECT_TRUE(list.empty());
            continue;
        }
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0].bus, 1);
        EXPECT_EQ(list[0].address, 1);
        EXPECT_EQ(list[0].id.vendor, c.vendor);
        EXPECT_EQ(list[0].id.product, c.product);
        EXPECT_TRUE(list[0].accessible);
        // Listing leaves the printer free for the driver.
        LibusbDriver driver;
        EXPECT_NE(driver.CH375OpenDevice(0), kInvalidHandle);
    }
}

TEST(LibusbDriverTest, OpenDrainsStaleRepliesSoTheNextStatusIsFresh) {
    Bench bench;
    bench.device.queue_upload(Bytes(9, 'N'));
    bench.device.queue_upload(Bytes(64, 'N'));
    bench.device.set_status_reply({'B', 0, 0, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(bench.link.open());
    EXPECT_EQ(bench.device.packets_waiting(), 0u);
    EXPECT_EQ(bench.driver.CH375QueryBufUpload(0), 0);
    // Were any stale byte left, this would read 'N'.
    EXPECT_FALSE(bench.link.query_ready());
    bench.device.set_status_reply({'N', 1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_TRUE(bench.link.query_ready());
    EXPECT_EQ(bench.device.out_transfers(), (std::vector<Bytes>{{0x01, 'A'}, {}, {0x01, 'A'}, {}}));
}

TEST(LibusbDriverTest, ReadKeepsPacketsApartAndTakesQueuedOnesFirst) {
    Bench bench;
    ASSERT_TRUE(bench.link.open());
    bench.device.queue_upload({1, 2, 3});
    bench.device.queue_upload({4, 5});
    EXPECT_EQ(bench.driver.CH375QueryBufUpload(0), 2);
    std::uint8_t buffer[64] = {};
    std::uint32_t length = 2;
    ASSERT_EQ(bench.driver.CH375ReadData(0, buffer, &length), 1);
    EXPECT_EQ(length, 2u);
    length = 8;
    ASSERT_EQ(bench.driver.CH375ReadData(0, buffer + 2, &length), 1);
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{1, 2, 4, 5}));
    // Straight from the endpoint: a 64-byte packet into a 9-byte buffer.
    bench.device.queue_upload(Bytes(64, 7));
    length = 9;
    ASSERT_EQ(bench.driver.CH375ReadData(0, buffer, &length), 1);
    EXPECT_EQ(length, 9u);
    EXPECT_EQ(bench.driver.CH375QueryBufUpload(0), 0);
}

TEST(LibusbDriverTest, FullJobGoesOutAsItsTransfersAndOneEmptyOne) {
    Bench bench;
    ASSERT_TRUE(bench.link.open());
    Bytes job(kMaxJobBytes);
    std::iota(job.begin(), job.end(), std::uint8_t{0});
    for (std::size_t at = 0; at < job.size(); at += kMaxTransferBytes) {
        ASSERT_TRUE(bench.link.write_transfer(job.data() + at, kMaxTransferBytes));
    }
    ASSERT_TRUE(bench.link.write_transfer(job.data(), 0));
    const auto out = bench.device.out_transfers();
    ASSERT_EQ(out.size(), 16u);
    Bytes joined;
    for (std::size_t i = 0; i < 15; ++i) {
        EXPECT_EQ(out[i].size(), 4096u);
        joined.insert(joined.end(), out[i].begin(), out[i].end());
    }
    EXPECT_EQ(joined, job);
    EXPECT_TRUE(out[15].empty());
}

TEST(LibusbDriverTest, ResetKeepsThePrinterUsableEvenWhenItReEnumerates) {
    Bench bench;
    ASSERT_TRUE(bench.link.open());
    EXPECT_EQ(bench.device.opens(), 1);
    EXPECT_EQ(bench.driver.CH375ResetDevice(0), 1);
    EXPECT_EQ(bench.device.opens(), 1);
    bench.device.fail_next_reset();
    EXPECT_EQ(bench.driver.CH375ResetDevice(0), 1);
    EXPECT_EQ(bench.device.resets(), 2);
    EXPECT_EQ(bench.device.opens(), 2);  // found and opened again
    EXPECT_TRUE(bench.link.send_command(true));
    EXPECT_EQ(bench.device.out_transfers(), (std::vector<Bytes>{{0x02, 'H'}}));
}

TEST(LibusbDriverTest, PrinterUnpluggedBetweenTwoTransfersStopsTheJob) {
    Bench bench;
    model::JobSettings settings;
    model::SegmentList list;
    for (int i = 0; i < 100; ++i) {
        model::SegmentNode* tail = list.push_back(settings);
        text::copy_field(tail->text, std::string(50, 'x'));
        tail->text_length = 50;
    }
    model::SegmentNode* head = list.head();
    // The same job reaches a printer that stays: the reference for what was sent.
    SimPrinter sim;
    FakeClock clock;
    CSerialPort sim_link(sim, clock);
    ASSERT_TRUE(sim_link.open());
    ASSERT_EQ(sim_link.send_job(settings, head, 0), 100);
    ASSERT_GT(sim.transfers().size(), 2u);

    ASSERT_TRUE(bench.link.open());
    bench.device.unplug_after(1);
    EXPECT_EQ(bench.link.send_job(settings, head, 0), kSendFailed);
    EXPECT_EQ(bench.device.out_transfers(), std::vector<Bytes>{sim.transfers()[0]});
    EXPECT_FALSE(bench.link.write_transfer(nullptr, 0));
    bench.link.close();
}

TEST(LibusbDriverTest, StatusQueryOfAFailingPrinterAnswersNotReady) {
    using Fault = VirtualCh375::Fault;
    struct Case {
        const char* name;
        bool out;  // the fault meets the query's write, else the reply's read
        Fault fault;
    };
    for (const Case c : {Case{"unplugged at the query", true, Fault::kVanish},
                         Case{"stalls at the query", true, Fault::kRefuse},
                         Case{"unplugged before the reply", false, Fault::kVanish},
                         Case{"stalls at the reply", false, Fault::kRefuse}}) {
        SCOPED_TRACE(c.name);
        Bench bench;
        ASSERT_TRUE(bench.link.open());  // one IN transfer: the drain finds nothing
        if (c.out) {
            bench.device.fail_out_transfer(1, c.fault);
        } else {
            bench.device.fail_in_transfer(2, c.fault);
        }
        EXPECT_FALSE(bench.link.query_ready());
        EXPECT_TRUE(bench.link.is_open());
        bench.link.close();
        EXPECT_EQ(bench.driver.CH375GetUsbID(0), 0u);
    }
}

}  // namespace
}  // namespace qvprt::printing

int main(int argc, char** argv) {
    qvprt::printing::run_under_umockdev(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
