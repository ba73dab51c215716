// The print command: probe, open, compile in the printer's form, reset, send, report.
#include "editor/Editor.h"
#include "printing/job_stream.h"
#include "text/gbk.h"

namespace qvprt::editor {

namespace {
constexpr std::uint32_t kDevice = 0;
constexpr int kAfterJobWaitMs = 2000;
}  // namespace

int Editor::ProbePrinter() {
    const printing::ProbeResult r = printer_link_.probe_printer();
    if (r.found) {
        return 1;
    }
    std::string message = "端口打开错误, 请确认打印机已经正确联机！";
    if (r.failure == printing::OpenFailure::kNoPermission) {
        message +=
            "\n已找到打印机，但系统拒绝了访问：请安装打印机的访问规则（udev 规则），"
            "然后重新插拔打印机。";
    }
    ShowMessage(message, kAppTitle, MessageIcon::Exclamation);
    return 0;
}

void Editor::OnPrint() {
    last_outcome_ = Outcome::Done;
    if (usb_ready_ == 0) {
        usb_ready_ = ProbePrinter();
        if (usb_ready_ == 0) {
            last_outcome_ = Outcome::NoPrinter;
            return;
        }
    }
    if (!printer_link_.open()) {
        view_.HideStatus();
        ShowMessage("打开端口错误！", "提示");
        last_outcome_ = Outcome::NoPrinter;
        return;
    }
    auto status = [this](const char* utf8) { view_.SetStatusText(text::gbk(utf8)); };
    status("正在处理打印数据...");
    view_.ShowStatus();
    view_.CommitCellEditor();
    CompileSegments(false);

    status("");
    view_.ShowStatus();
    status("正在读取打印机状态...");
    driver_.CH375ResetDevice(kDevice);

    status("");
    view_.ShowStatus();
    status("正在传输打印数据...");

    printed_upto_ = printer_link_.send_job(settings_, segments_.head(), 0);
    switch (printed_upto_) {
        case printing::kSendNothing:
            view_.HideStatus();
            ShowMessage("没有选择（或录入）打印内容！", "提示");
            printer_link_.send_command(true);
            printer_link_.close();
            last_outcome_ = Outcome::Refused;
            break;
        case printing::kSendTooLarge:
            ShowMessage("已经超出最大打印量！", kAppTitle, MessageIcon::Question);
            view_.HideStatus();
            printer_link_.close();
            last_outcome_ = Outcome::Refused;
            break;
        case printing::kSendFailed:
            // The printer did not take the whole job: never report it as sent.
            view_.HideStatus();
            ShowMessage("打印数据传输失败，请检查打印机连接后重新打印！", "提示");
            printer_link_.close();
            printed_upto_ = 0;
            last_outcome_ = Outcome::PrinterFailed;
            break;
        default:
            status("全部打印内容传输完成，请等待打印结束！");
            clock_.Sleep(kAfterJobWaitMs);
            view_.HideStatus();
            printer_link_.close();
            break;
    }
    ReportCutRows();
}

}  // namespace qvprt::editor
