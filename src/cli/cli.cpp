#include "cli/cli.h"

#include <filesystem>
#include <optional>
#include <string_view>

#include "cli/cli_ports.h"
#include "cli/dump_json.h"
#include "cli/options.h"
#include "editor/Editor.h"
#include "printing/clock.h"
#include "printing/libusb_driver.h"
#include "printing/sim_printer.h"

namespace qvprt::cli {

namespace {

constexpr const char* kUsage =
    "usage: qvprt-cli dump FILE [--form edit|printer|none] [options]\n"
    "       qvprt-cli convert INPUT OUTPUT [options]\n"
    "       qvprt-cli print INPUT [--printer usb|sim:DIR] [options]\n"
    "       qvprt-cli devices\n"
    "       qvprt-cli COMMAND --help | --help | --version\n"
    "An argument \"--\" ends the options: every argument after it is a file name, so\n"
    "  qvprt-cli convert -- --odd-name.qvk out.qvk\n";

constexpr const char* kJobOptionsHelp =
    "Options (applied in this order, through the window's boxes and buttons):\n"
    "  --material tub|lab|stu          材料: sleeve tube, label, heat-shrink tube\n"
    "  --param N                       材料参数: position in the parameter box, from 0\n"
    "                                  (tube: 0 3.0, 1 4.0, 2 5.0, 3 6.0; label: 0 6mm, 1 9mm, 2 "
    "12mm)\n"
    "  --cut none|half|line            切割设置\n"
    "  --spacing 0..20                 字距\n"
    "  --arrangement center|left       排列\n"
    "  --density 1..15                 浓度\n"
    "  --copies N                      打印份数 (1..20; others are refused as in the window)\n"
    "Segment attributes, for every row (scope 当前段以下 from row 0):\n"
    "  --font-library local|external   字库选择\n"
    "  --length auto|N                 段长: automatic, or fixed N mm (6..150); a fixed length is\n"
    "                                  set before the font size, an automatic one after it\n"
    "  --font-size auto|1..6           字号\n"
    "  --repeat N                      重复 (1..100)\n"
    "  --scale 100|50                  缩放\n"
    "  --decoration none|border|underline   修饰\n"
    "  --direction h|v                 方向: horizontal, vertical\n"
    "  --verbose                       also print the print status texts\n";

constexpr const char* kDumpHelp =
    "usage: qvprt-cli dump FILE [--form edit|printer|none] [options]\n"
    "Opens FILE (.qvk project or .qvu U-disk print file, by the name's last letter) as the\n"
    "window's open command does and prints the job as JSON: \"settings\" and \"segments\".\n"
    "A spreadsheet (.xls, .xlsx, .ods, .csv) is imported as the window's Excel导入 does.\n"
    "  --form edit      compile the rows in the edit form first, as the preview does (default)\n"
    "  --form printer   compile in the printer form first, as the print does\n"
    "  --form none      show the records as read\n";

constexpr const char* kConvertHelp =
    "usage: qvprt-cli convert INPUT OUTPUT [options]\n"
    "Opens INPUT and writes OUTPUT by its extension: .qvk through the save-project command,\n"
    ".qvu through the U-disk command. The file name is lower-cased, as the window does.\n"
    "INPUT may be a spreadsheet (.xls, .xlsx, .ods, .csv), imported as Excel导入 does:\n"
    "  qvprt-cli convert wires.xlsx /media/stick/wires.qvu\n";

constexpr const char* kPrintHelp =
    "usage: qvprt-cli print INPUT [--printer usb|sim:DIR] [options]\n"
    "Opens (or, for a spreadsheet, imports) INPUT and runs the print command.\n"
    "  --printer usb     the printer on USB (default)\n"
    "  --printer sim:DIR a simulated printer; what it received is written into DIR (created\n"
    "                    when missing): job-1.bin, transfer-001.bin, ...\n";

constexpr const char* kDevicesHelp =
    "usage: qvprt-cli devices\n"
    "Lists the attached USB devices with the printer chip's IDs, one a line:\n"
    "  BUS:ADDRESS VENDOR:PRODUCT ok|no-permission\n"
    "Exit status 3 when there is none.\n";

constexpr const char* kExitHelp =
    "Exit status: 0 done, 1 usage, 2 a file could not be read or written, 3 no printer or the\n"
    "printer failed, 4 the job was refused (too large, nothing to print).\n";

// A clock for the simulated printer: the waits are for a real printer's mechanics.
class NoWaitClock final : public printing::Clock {
  public:
    void Sleep(int) override {}
};

struct Call {
    std::string command;
    std::vector<std::string> positional;
    JobOptions job;
    std::string form = "edit";
    std::string printer = "usb";
    bool verbose = false;
    bool help = false;
};

int Usage(std::FILE* err, const std::string& message) {
    std::fprintf(err, "qvprt-cli: %s\n%s", message.c_str(), kUsage);
    return kExitUsage;
}

// Parses the arguments after the command. Answers an empty string or the error.
std::string Parse(const std::vector<std::string>& args, Call& call) {
    const bool takes_job_options = call.command != "devices";
    bool options_ended = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (options_ended) {
            call.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            options_ended = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            call.help = true;
            continue;
        }
        if (a.rfind("--", 0) != 0) {
            call.positional.push_back(a);
            continue;
        }
        std::string name = a.substr(2);
        std::optional<std::string> value;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name == "verbose" && !value) {
            call.verbose = true;
            continue;
        }
        auto need_value = [&]() -> bool {
            if (!value && i + 1 < args.size()) {
                value = args[++i];
            }
            return value.has_value();
        };
        std::string error;
        if (name == "form" && call.command == "dump") {
            if (!need_value()) {
                return "--form needs a value";
            }
            if (*value != "edit" && *value != "printer" && *value != "none") {
                return "--form: expected edit, printer or none, got '" + *value + "'";
            }
            call.form = *value;
        } else if (name == "printer" && call.command == "print") {
            if (!need_value()) {
                return "--printer needs a value";
            }
            if (*value != "usb" && (value->rfind("sim:", 0) != 0 || value->size() == 4)) {
                return "--printer: expected usb or sim:DIR, got '" + *value + "'";
            }
            call.printer = *value;
        } else if (takes_job_options) {
            if (!need_value()) {
                return "--" + name + " needs a value";
            }
            if (!parse_job_option(name, *value, call.job, error)) {
                return "unknown option --" + name + " for " + call.command;
            }
            if (!error.empty()) {
                return error;
            }
        } else {
            return "unknown option --" + name + " for " + call.command;
        }
    }
    return {};
}

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return s;
}

bool EndsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

int Devices(std::FILE* out, std::FILE* err) {
    const std::vector<printing::UsbPrinterDevice> devices = printing::list_printer_devices();
    for (const auto& d : devices) {
        std::fprintf(out, "%03d:%03d %04x:%04x %s\n", d.bus, d.address, d.id.vendor, d.id.product,
                     d.accessible ? "ok" : "no-permission");
    }
    if (devices.empty()) {
        std::fprintf(err, "qvprt-cli: no printer attached\n");
        return kExitPrinter;
    }
    return kExitDone;
}

int ExitFor(editor::Outcome outcome) {
    switch (outcome) {
        case editor::Outcome::Done:
            return kExitDone;
        case editor::Outcome::Cancelled:
        case editor::Outcome::FileError:
            return kExitFile;
        case editor::Outcome::NoPrinter:
        case editor::Outcome::PrinterFailed:
            return kExitPrinter;
        case editor::Outcome::Refused:
            return kExitRefused;
    }
    return kExitFile;
}

// Workbooks and CSV files go through the import command; its reader tells them apart by content.
bool IsSpreadsheet(const std::string& path) {
    const std::string lower = Lower(path);
    for (const char* ext : {".xls", ".xlsx", ".ods", ".csv"}) {
        if (EndsWith(lower, ext)) {
            return true;
        }
    }
    return false;
}

int RunJob(const Call& call, std::FILE* out, std::FILE* err) {
    const std::string& input = call.positional[0];
    std::string output_kind;
    if (call.command == "convert") {
        const std::string lower = Lower(call.positional[1]);
        if (EndsWith(lower, ".qvk")) {
            output_kind = "qvk";
        } else if (EndsWith(lower, ".qvu")) {
            output_kind = "qvu";
        } else {
            return Usage(err, "OUTPUT must end in .qvk or .qvu: " + call.positional[1]);
        }
    }
    const bool simulated = call.command == "print" && call.printer != "usb";
    const std::string sim_dir = simulated ? call.printer.substr(4) : std::string();

    CliPrompts prompts(err);
    CliView view(err, call.verbose);
    printing::SimPrinter stand_in;  // answers the start-up probe quietly
    printing::SimPrinter sim;
    std::optional<printing::LibusbDriver> usb;
    ForwardingDriver driver(stand_in);
    NoWaitClock no_wait;
    printing::Clock& clock = simulated || call.command != "print"
                                 ? static_cast<printing::Clock&>(no_wait)
                                 : printing::system_clock();
    editor::Editor editor(prompts, view, driver, clock);
    editor.Initialize();
    view.RunPosted();

    prompts.QueueFile(input);
    if (IsSpreadsheet(input)) {
        // Rows left out (too long, too large a job) are told on stderr; the rest is the job.
        editor.OnExcelImport();
        view.RunPosted();
        if (editor.last_outcome() == editor::Outcome::FileError ||
            editor.last_outcome() == editor::Outcome::Cancelled) {
            return kExitFile;
        }
    } else {
        editor.OpenFile();
        view.RunPosted();
        if (editor.last_outcome() != editor::Outcome::Done) {
            return kExitFile;
        }
    }

    std::string error;
    if (!apply_job_options(editor, call.job, error, [&view]() { view.RunPosted(); })) {
        return Usage(err, error);
    }

    if (call.command == "dump") {
        if (call.form != "none") {
            editor.CompileSegments(call.form == "edit");
        }
        const std::string json = dump_json(editor.settings(), editor.segments().head());
        std::fwrite(json.data(), 1, json.size(), out);
        return std::fflush(out) == 0 ? kExitDone : kExitFile;
    }
    if (call.command == "convert") {
        prompts.QueueFile(call.positional[1]);
        if (output_kind == "qvk") {
            editor.SaveProjectFile();
        } else {
            editor.SaveUdiskFile();
        }
        view.RunPosted();
        return ExitFor(editor.last_outcome());
    }

    // print: the window's state after a start without a printer, so the print looks for one.
    if (simulated) {
        driver.SetTarget(sim);
    } else {
        usb.emplace();
        driver.SetTarget(*usb);
    }
    editor.ForgetPrinter();
    editor.OnPrint();
    view.RunPosted();
    int status = ExitFor(editor.last_outcome());
    if (simulated) {
        std::error_code ec;
        std::filesystem::create_directories(sim_dir, ec);
        if (!printing::write_sim_capture(sim, sim_dir)) {
            std::fprintf(err, "qvprt-cli: could not write the printer's capture into %s\n",
                         sim_dir.c_str());
            status = status == kExitDone ? kExitFile : status;
        }
    }
    return status;
}

}  // namespace

int run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    if (args.empty()) {
        return Usage(err, "no command");
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::fprintf(out, "qvprt-cli: the wire-marker editor without a window.\n%s\n%s%s", kUsage,
                     kJobOptionsHelp, kExitHelp);
        return kExitDone;
    }
    if (args[0] == "--version") {
        std::fprintf(out, "qvprt-cli %s\n", QVPRT_VERSION);
        return kExitDone;
    }
    Call call;
    call.command = args[0];
    std::size_t wanted = 0;
    const char* help = nullptr;
    if (call.command == "dump") {
        wanted = 1;
        help = kDumpHelp;
    } else if (call.command == "convert") {
        wanted = 2;
        help = kConvertHelp;
    } else if (call.command == "print") {
        wanted = 1;
        help = kPrintHelp;
    } else if (call.command == "devices") {
        wanted = 0;
        help = kDevicesHelp;
    } else {
        return Usage(err, "unknown command '" + call.command + "'");
    }
    const std::string error = Parse(args, call);
    if (call.help) {
        std::fprintf(out, "%s%s%s", help, wanted > 0 ? "\n" : "",
                     wanted > 0 ? kJobOptionsHelp : "");
        std::fprintf(out, "\n%s", kExitHelp);
        return kExitDone;
    }
    if (!error.empty()) {
        return Usage(err, error);
    }
    if (call.positional.size() != wanted) {
        return Usage(err, call.command + " takes " + std::to_string(wanted) +
                              (wanted == 1 ? " file" : " files"));
    }
    if (call.command == "devices") {
        return Devices(out, err);
    }
    return RunJob(call, out, err);
}

}  // namespace qvprt::cli
