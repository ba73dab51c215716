#include <gtest/gtest.h>

#include "fake_ports.h"
#include "printing/job_stream.h"

namespace qvprt::editor {
namespace {

using testing::EditorFixture;
using Bytes = std::vector<std::uint8_t>;

class PrintTest : public ::testing::Test {
  protected:
    // Rows with texts of the given lengths.
    static void Fill(EditorFixture& f, const std::vector<int>& lengths) {
        f.AddRows(static_cast<int>(lengths.size()) - 1);
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            testing::Grid(f.editor).SetCellText(
                static_cast<int>(i), COL_TEXT,
                std::string(static_cast<std::size_t>(lengths[i]), 'A'));
        }
    }
    static std::vector<int> LargestJob(int last) {
        std::vector<int> v(583, 50);  // 10 + 583 * 105 = 61225
        v.insert(v.end(), {last, 1, 1});
        return v;
    }
};

TEST_F(PrintTest, AJobIsSentWithItsStatusTexts) {
    EditorFixture f;
    Fill(f, {3, 5});
    f.editor.OnPrint();
    ASSERT_EQ(f.printer.jobs().size(), 1u);
    EXPECT_EQ(f.printer.jobs()[0].size(), 10u + 58 + 60);
    EXPECT_EQ(f.view.status, (std::vector<std::string>{
                                 "正在处理打印数据...", "<show>", "", "<show>",
                                 "正在读取打印机状态...", "", "<show>", "正在传输打印数据...",
                                 "全部打印内容传输完成，请等待打印结束！", "<hide>"}));
    EXPECT_EQ(f.clock.sleeps, (std::vector<int>{2000}));
    EXPECT_EQ(f.editor.printed_upto(), 2);
    EXPECT_FALSE(f.editor.printer_link().is_open());
    EXPECT_TRUE(f.prompts.messages.empty());
    EXPECT_EQ(f.editor.last_outcome(), Outcome::Done);
    const auto& calls = f.printer.calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "reset"), calls.end());
}

TEST_F(PrintTest, NothingToPrintSendsTheHCommand) {
    EditorFixture f;
    Fill(f, {3, 0});
    testing::Grid(f.editor).SetCheck(0, false);
    f.editor.OnPrint();
    EXPECT_EQ(f.prompts.Texts(), (std::vector<std::string>{"没有选择（或录入）打印内容！"}));
    EXPECT_TRUE(f.printer.jobs().empty());
    EXPECT_EQ(f.printer.commands(), (std::vector<Bytes>{{0x02, 0x48}}));
    EXPECT_EQ(f.clock.sleeps, (std::vector<int>{1000}));
    EXPECT_FALSE(f.editor.printer_link().is_open());
    EXPECT_EQ(f.editor.last_outcome(), Outcome::Refused);
}

TEST_F(PrintTest, LargestJobIsSentOneByteMoreIsRefused) {
    struct Case {
        int last;
        bool sent;
    };
    for (const Case c : {Case{48, true}, Case{49, false}}) {
        EditorFixture f;
        Fill(f, LargestJob(c.last));
        f.editor.OnPrint();
        if (c.sent) {
            ASSERT_EQ(f.printer.jobs().size(), 1u);
            EXPECT_EQ(f.printer.jobs()[0].size(), 61440u);
            EXPECT_TRUE(f.prompts.messages.empty());
        } else {
            EXPECT_TRUE(f.printer.transfers().empty());
            ASSERT_EQ(f.prompts.messages.size(), 1u);
            EXPECT_EQ(f.prompts.messages[0],
                      (testing::Shown{"已经超出最大打印量！", "QvprtTest", MessageIcon::Question}));
        }
        EXPECT_FALSE(f.editor.printer_link().is_open());
        EXPECT_EQ(f.editor.last_outcome(), c.sent ? Outcome::Done : Outcome::Refused);
    }
}

TEST_F(PrintTest, PrinterUnpluggedAfterStartUp) {
    EditorFixture f;
    Fill(f, {3});
    ASSERT_EQ(f.editor.usb_ready(), 1);
    f.printer.behaviour.present = false;
    f.editor.OnPrint();
    EXPECT_EQ(f.prompts.Texts(), (std::vector<std::string>{"打开端口错误！"}));
    EXPECT_EQ(f.editor.usb_ready(), 1);
    EXPECT_TRUE(f.printer.jobs().empty());
    EXPECT_EQ(f.editor.last_outcome(), Outcome::NoPrinter);
}

TEST_F(PrintTest, StartedWithoutAPrinterTheFirstPrintProbesAgain) {
    EditorFixture f(false);
    f.printer.behaviour.present = false;
    f.editor.Initialize();
    EXPECT_EQ(f.editor.usb_ready(), 0);
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].text, "端口打开错误, 请确认打印机已经正确联机！");
    EXPECT_EQ(f.prompts.messages[0].icon, MessageIcon::Exclamation);
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "A1");
    f.editor.OnPrint();  // still none: the probe's message again, nothing else
    EXPECT_EQ(f.prompts.messages.size(), 2u);
    EXPECT_TRUE(f.view.status.empty());
    EXPECT_EQ(f.editor.last_outcome(), Outcome::NoPrinter);
    f.printer.behaviour.present = true;
    f.editor.OnPrint();
    EXPECT_EQ(f.editor.usb_ready(), 1);
    EXPECT_EQ(f.printer.jobs().size(), 1u);
    EXPECT_EQ(f.prompts.messages.size(), 2u);
    EXPECT_EQ(f.editor.last_outcome(), Outcome::Done);
}

TEST_F(PrintTest, AccessRefusedSaysSo) {
    EditorFixture f(false);
    f.printer.behaviour.open_failure = printing::OpenFailure::kNoPermission;
    f.editor.Initialize();
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    const std::string& text = f.prompts.messages[0].text;
    EXPECT_EQ(text.rfind("端口打开错误, 请确认打印机已经正确联机！\n", 0), 0u);
    EXPECT_NE(text.find("访问规则"), std::string::npos);
}

TEST_F(PrintTest, RefusedTransferIsReportedAsAFailure) {
    struct Case {
        int refuse_write;  // counts every write of the print, the job's transfers among them
    };
    for (const Case c : {Case{1}, Case{2}, Case{3}}) {
        EditorFixture f;
        Fill(f, std::vector<int>(100, 50));  // three transfers and the empty one
        f.printer.behaviour.refuse_write = c.refuse_write;
        f.editor.OnPrint();
        EXPECT_EQ(f.prompts.Texts(),
                  (std::vector<std::string>{"打印数据传输失败，请检查打印机连接后重新打印！"}));
        EXPECT_EQ(f.prompts.messages[0].caption, "提示");
        EXPECT_EQ(f.view.status.back(), "<hide>");
        EXPECT_EQ(std::count(f.view.status.begin(), f.view.status.end(),
                             "全部打印内容传输完成，请等待打印结束！"),
                  0);
        EXPECT_TRUE(f.printer.jobs().empty());
        EXPECT_EQ(f.editor.printed_upto(), 0);
        EXPECT_FALSE(f.editor.printer_link().is_open());
        EXPECT_EQ(f.editor.last_outcome(), Outcome::PrinterFailed);
    }
}

}  // namespace
}  // namespace qvprt::editor
