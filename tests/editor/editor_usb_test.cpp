// The print command against a printer on an emulated USB bus that fails at each step of a job.
#include <gtest/gtest.h>

#include <chrono>

#include "fake_ports.h"
#include "printing/libusb_driver.h"
#include "printing/virtual_ch375.h"

namespace qvprt::editor {
namespace {

using printing::VirtualCh375;
using Fault = VirtualCh375::Fault;
using Bytes = VirtualCh375::Bytes;

constexpr const char* kDone = "全部打印内容传输完成，请等待打印结束！";
constexpr const char* kFailed = "打印数据传输失败，请检查打印机连接后重新打印！";

// The device outlives the driver, which outlives the editor.
struct Bench {
    VirtualCh375 device;
    // The emulated device answers on another thread; give it time even under a sanitizer.
    printing::LibusbDriver driver{{.poll_ms = 200}};
    testing::FakePrompts prompts;
    testing::FakeView view;
    testing::FakeClock clock;
    Editor editor{prompts, view, driver, clock};

    // 100 rows of 50 bytes: 10510 bytes, sent as 3999, 4095 and 2416 bytes and the empty transfer.
    Bench() {
        editor.Initialize();
        for (int i = 0; i < 100; ++i) {
            if (i > 0) {
                editor.AddRow();
            }
            testing::Grid(editor).SetCellText(i, COL_TEXT,
                                              std::string(50, static_cast<char>('A' + i % 26)));
        }
    }
    int DoneTexts() const {
        return static_cast<int>(std::count(view.status.begin(), view.status.end(), kDone));
    }
};

TEST(PrintOnTheBusTest, APrinterFailingAtAnyStepEndsThePrintWithItsMessage) {
    enum class Where { None, Out, In, Reset };
    struct Case {
        const char* name;
        Where where;
        int at;  // the transfer's number, from 1
        Fault fault;
        std::size_t taken;   // OUT transfers the printer took
        bool stale = false;  // a packet waits for the opening drain
    };
    const Case cases[] = {
        {"healthy printer", Where::None, 0, Fault::kVanish, 4},
        {"unplugged at the first data transfer", Where::Out, 1, Fault::kVanish, 0},
        {"unplugged at the middle data transfer", Where::Out, 2, Fault::kVanish, 1},
        {"unplugged at the last data transfer", Where::Out, 3, Fault::kVanish, 2},
        {"unplugged at the empty transfer", Where::Out, 4, Fault::kVanish, 3},
        {"stalls at the first data transfer", Where::Out, 1, Fault::kRefuse, 0},
        {"stalls at the middle data transfer", Where::Out, 2, Fault::kRefuse, 1},
        {"stalls at the last data transfer", Where::Out, 3, Fault::kRefuse, 2},
        {"stalls at the empty transfer", Where::Out, 4, Fault::kRefuse, 3},
        {"unplugged at the reset", Where::Reset, 0, Fault::kVanish, 0},
        {"refuses the reset", Where::Reset, 0, Fault::kRefuse, 0},
        {"unplugged at the opening drain", Where::In, 1, Fault::kVanish, 0, true},
        {"stalls at the opening drain", Where::In, 1, Fault::kRefuse, 0, true},
        {"never completes the first data transfer", Where::Out, 1, Fault::kHang, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        ASSERT_EQ(b.editor.usb_ready(), 1);
        if (c.stale) {
            b.device.queue_upload(Bytes(9, 'N'));
        }
        switch (c.where) {
            case Where::None:
                break;
            case Where::Out:
                b.device.fail_out_transfer(c.at, c.fault);
                break;
            case Where::In:
                b.device.fail_in_transfer(c.at, c.fault);
                break;
            case Where::Reset:
                b.device.fail_reset(c.fault);
                break;
        }
        const auto start = std::chrono::steady_clock::now();
        b.editor.OnPrint();
        const auto took = std::chrono::steady_clock::now() - start;
        // The driver's 5 s write time-out ends a transfer that never completes.
        EXPECT_LT(took, std::chrono::seconds(6));
        if (c.fault == Fault::kHang) {
            EXPECT_GE(took, std::chrono::milliseconds(4900)) << "the transfer did not hang";
        }

        const auto out = b.device.out_transfers();
        EXPECT_EQ(out.size(), c.taken);
        EXPECT_FALSE(b.editor.printer_link().is_open());
        EXPECT_EQ(b.driver.CH375GetUsbID(0), 0u) << "the device is still held";
        EXPECT_EQ(b.view.status.back(), "<hide>");
        if (c.where == Where::None) {
            ASSERT_EQ(out.size(), 4u);
            EXPECT_EQ(out[0].size(), 3999u);
            EXPECT_EQ(out[1].size(), 4095u);
            EXPECT_EQ(out[2].size(), 2416u);
            EXPECT_TRUE(out[3].empty());
            EXPECT_TRUE(b.prompts.messages.empty());
            EXPECT_EQ(b.editor.printed_upto(), 100);
            EXPECT_EQ(b.DoneTexts(), 1);
            continue;
        }
        EXPECT_EQ(b.prompts.Texts(), std::vector<std::string>{kFailed});
        EXPECT_EQ(b.editor.printed_upto(), 0);
        EXPECT_EQ(b.DoneTexts(), 0);
        EXPECT_EQ(b.editor.last_outcome(), Outcome::PrinterFailed);
    }
}

}  // namespace
}  // namespace qvprt::editor

int main(int argc, char** argv) {
    qvprt::printing::run_under_umockdev(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
