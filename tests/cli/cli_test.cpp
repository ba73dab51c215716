// qvprt-cli run as a user runs it: a separate process, its exit status, stdout, stderr and files.
// What it writes is compared byte for byte with what the editor writes when the same steps are
// taken in process through the window's handlers.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <thread>

#include "cli/cli_ports.h"
#include "cli/dump_json.h"
#include "editor/fake_ports.h"
#include "printing/libusb_driver.h"
#include "sheet_samples.h"
#include "text/gbk.h"

extern char** environ;

namespace qvprt::cli {
namespace {

namespace fs = std::filesystem;
using editor::testing::EditorFixture;
using Bytes = std::vector<std::uint8_t>;

struct Result {
    int status = -1;
    std::string out, err;
};

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& s) {
    std::vector<std::string> v;
    std::istringstream in(s);
    for (std::string line; std::getline(in, line);) {
        v.push_back(line);
    }
    return v;
}

struct Row {
    std::string text;  // GBK
    std::string text2 = {};
    bool checked = true;
};

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("qvprt-cli-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // `cwd`: the folder the program starts in; empty: the test's own.
    Result Cli(const std::vector<std::string>& args, const std::string& cwd = {}) const {
        const std::string out = Path("stdout"), err = Path("stderr");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (!cwd.empty()) {
            posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
        }
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        std::vector<std::string> all{QVPRT_CLI};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        pid_t pid = 0;
        Result r;
        if (posix_spawn(&pid, QVPRT_CLI, &actions, nullptr, argv.data(), environ) == 0) {
            // A program that hangs fails the test instead of stopping it.
            int wstatus = 0;
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (waitpid(pid, &wstatus, WNOHANG) == 0) {
                if (std::chrono::steady_clock::now() > until) {
                    kill(pid, SIGKILL);
                    waitpid(pid, &wstatus, 0);
                    ADD_FAILURE() << "qvprt-cli did not end";
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
        }
        posix_spawn_file_actions_destroy(&actions);
        r.out = ReadFile(out);
        r.err = ReadFile(err);
        return r;
    }

    // A project file written by the editor from these rows.
    std::string Project(const std::string& name, const std::vector<Row>& rows) const {
        EditorFixture f;
        f.AddRows(static_cast<int>(rows.size()) - 1);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int r = static_cast<int>(i);
            editor::testing::Grid(f.editor).SetCellText(r, editor::COL_TEXT, rows[i].text);
            editor::testing::Grid(f.editor).SetCellText(r, editor::COL_TEXT2, rows[i].text2);
            editor::testing::Grid(f.editor).SetCheck(r, rows[i].checked);
        }
        f.prompts.files.push_back(Path(name));
        f.editor.SaveProjectFile();
        EXPECT_EQ(f.editor.last_outcome(), editor::Outcome::Done);
        return Path(name);
    }

    // An editor that opened `input` as the command line does.
    static void Open(EditorFixture& f, const std::string& input) {
        f.prompts.files.push_back(input);
        f.editor.OpenFile();
        ASSERT_EQ(f.editor.last_outcome(), editor::Outcome::Done);
        ASSERT_TRUE(f.prompts.messages.empty());
    }

    static std::vector<Row> Sample() {
        return {{text::gbk("电源+24V"), text::gbk("（第二行）")},
                {"\xAA\xA1" + std::string("K1")},
                {"X9"}};
    }

    fs::path dir_;
};

std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        names.push_back(fs::relative(e.path(), dir).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Every wrong call: its reason, then the usage on stderr, status 1, nothing on stdout, no file
// written or folder made.
TEST_F(CliTest, WrongCallsAreUsageErrors) {
    struct Case {
        std::vector<std::string> args;
        std::string first_line;
    };
    const std::string in = Project("in.qvk", Sample());
    const std::string out = Path("out.qvk");
    const std::string sim = "sim:" + Path("capture");
    const Case cases[] = {
        // commands
        {{}, "qvprt-cli: no command"},
        {{"show", in}, "qvprt-cli: unknown command 'show'"},
        {{"--dump", in}, "qvprt-cli: unknown command '--dump'"},
        {{"DUMP", in}, "qvprt-cli: unknown command 'DUMP'"},
        // files
        {{"dump"}, "qvprt-cli: dump takes 1 file"},
        {{"dump", in, in}, "qvprt-cli: dump takes 1 file"},
        {{"print", "--printer", sim}, "qvprt-cli: print takes 1 file"},
        {{"print", in, in, "--printer", sim}, "qvprt-cli: print takes 1 file"},
        {{"convert", in}, "qvprt-cli: convert takes 2 files"},
        {{"convert", in, out, Path("more.qvk")}, "qvprt-cli: convert takes 2 files"},
        {{"devices", in}, "qvprt-cli: devices takes 0 files"},
        {{"convert", in, Path("out.txt")},
         "qvprt-cli: OUTPUT must end in .qvk or .qvu: " + Path("out.txt")},
        // options
        {{"dump", in, "--bogus", "1"}, "qvprt-cli: unknown option --bogus for dump"},
        {{"convert", in, out, "--bogus=1"}, "qvprt-cli: unknown option --bogus for convert"},
        {{"print", in, "--form", "edit", "--printer", sim},
         "qvprt-cli: unknown option --form for print"},
        {{"dump", in, "--printer", sim}, "qvprt-cli: unknown option --printer for dump"},
        {{"devices", "--copies", "2"}, "qvprt-cli: unknown option --copies for devices"},
        {{"dump", in, "--verbose=yes"}, "qvprt-cli: unknown option --verbose for dump"},
        {{"print", in, "--repeat"}, "qvprt-cli: --repeat needs a value"},
        {{"dump", in, "--form"}, "qvprt-cli: --form needs a value"},
        // values
        {{"dump", in, "--form", "wide"},
         "qvprt-cli: --form: expected edit, printer or none, got 'wide'"},
        {{"print", in, "--printer", "lpt"},
         "qvprt-cli: --printer: expected usb or sim:DIR, got 'lpt'"},
        {{"print", in, "--printer=sim:"},
         "qvprt-cli: --printer: expected usb or sim:DIR, got 'sim:'"},
        {{"print", in, "--density", "16"}, "qvprt-cli: --density: expected 1..15, got '16'"},
        {{"print", in, "--density="}, "qvprt-cli: --density: expected 1..15, got ''"},
        {{"print", in, "--spacing", "21"}, "qvprt-cli: --spacing: expected 0..20, got '21'"},
        {{"print", in, "--copies=two"}, "qvprt-cli: --copies: expected a whole number, got 'two'"},
        {{"print", in, "--copies=-1"}, "qvprt-cli: --copies: expected a whole number, got '-1'"},
        {{"print", in, "--material", "paper"},
         "qvprt-cli: --material: expected tub, lab or stu, got 'paper'"},
        {{"dump", in, "--param", "-1"}, "qvprt-cli: --param: expected a position from 0, got '-1'"},
        {{"dump", in, "--cut", "diagonal"},
         "qvprt-cli: --cut: expected none, half or line, got 'diagonal'"},
        {{"dump", in, "--arrangement", "right"},
         "qvprt-cli: --arrangement: expected center or left, got 'right'"},
        {{"dump", in, "--font-library", "remote"},
         "qvprt-cli: --font-library: expected local or external, got 'remote'"},
        {{"dump", in, "--length", "long"},
         "qvprt-cli: --length: expected auto or a whole number, got 'long'"},
        {{"dump", in, "--font-size", "7"},
         "qvprt-cli: --font-size: expected auto or 1..6, got '7'"},
        {{"dump", in, "--repeat", "2.5"},
         "qvprt-cli: --repeat: expected a whole number, got '2.5'"},
        {{"dump", in, "--scale", "75"}, "qvprt-cli: --scale: expected 100 or 50, got '75'"},
        {{"dump", in, "--decoration", "shadow"},
         "qvprt-cli: --decoration: expected none, border or underline, got 'shadow'"},
        {{"dump", in, "--direction", "up"}, "qvprt-cli: --direction: expected h or v, got 'up'"},
        // values that only the opened job's boxes refuse
        {{"convert", in, out, "--material", "lab", "--param", "3"},
         "qvprt-cli: --param 3: the parameter box holds positions 0..2 for this material"},
        {{"print", in, "--printer", sim, "--font-library", "external", "--scale", "50"},
         "qvprt-cli: --scale: the scaling box is disabled while the external font library is "
         "chosen"},
    };
    const std::vector<std::string> usage = [&] {
        std::vector<std::string> lines = Lines(Cli({}).err);
        lines.erase(lines.begin());
        return lines;
    }();
    ASSERT_FALSE(usage.empty());
    EXPECT_EQ(usage[0].rfind("usage: qvprt-cli ", 0), 0u);
    const std::vector<std::string> before = Entries(dir_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first_line);
        const Result r = Cli(c.args);
        EXPECT_EQ(r.status, 1);
        std::vector<std::string> err = Lines(r.err);
        ASSERT_FALSE(err.empty());
        EXPECT_EQ(err[0], c.first_line);
        err.erase(err.begin());
        EXPECT_EQ(err, usage);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(Entries(dir_), before);
    }
}

TEST_F(CliTest, EveryCommandHasHelp) {
    for (const std::string command : {"dump", "convert", "print", "devices"}) {
        const Result r = Cli({command, "--help"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.rfind("usage: qvprt-cli " + command, 0), 0u) << r.out;
        EXPECT_NE(r.out.find("Exit status"), std::string::npos);
    }
    EXPECT_EQ(Cli({"--help"}).status, 0);
}

TEST_F(CliTest, DumpShowsEveryFieldInEachForm) {
    const std::string in = Project("in.qvk", Sample());
    // The edit form keeps the symbol's user-defined code (a private-use character in UTF-8), the
    // printer form has its printer code; the golden file pins every field of the edit form.
    const Result edit = Cli({"dump", in});
    ASSERT_EQ(edit.status, 0) << edit.err;
    EXPECT_TRUE(edit.err.empty()) << edit.err;
    EXPECT_EQ(edit.out, ReadFile(fs::path(QVPRT_CLI_DATA) / "sample.edit.json"));

    struct Case {
        const char* form;
        int compile;  // -1 none, 1 edit, 0 printer
    };
    for (const Case c : {Case{"edit", 1}, Case{"printer", 0}, Case{"none", -1}}) {
        SCOPED_TRACE(c.form);
        EditorFixture f;
        Open(f, in);
        if (c.compile >= 0) {
            f.editor.CompileSegments(c.compile == 1);
        }
        const Result r = Cli({"dump", in, "--form", c.form});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, dump_json(f.editor.settings(), f.editor.segments().head()));
    }
    EXPECT_NE(Cli({"dump", in, "--form", "printer"}).out.find("\"text_utf8\": \"\xE3\x80\x80K1\""),
              std::string::npos);
    // The summary follows the options: 3 rows × repeat 3 × 2 copies of 20 mm.
    EXPECT_NE(Cli({"dump", in, "--repeat", "3", "--copies", "2"})
                  .out.find("\"summary\": {\n    \"segments\": 3,\n    \"printed\": 18,\n"
                            "    \"feed_dots\": 4320,\n    \"material_m\": 0.4\n  }"),
              std::string::npos);
}

TEST_F(CliTest, ConvertWritesWhatTheWindowsCommandsWrite) {
    const std::string in = Project("in.qvk", Sample());
    struct Case {
        std::string output;   // as given
        std::string written;  // the name the editor gives it
    };
    for (const Case& c : {Case{"Out.QVK", "out.qvk"}, Case{"out.qvu", "out.qvu"}}) {
        SCOPED_TRACE(c.output);
        const Result r = Cli({"convert",
                              in,
                              Path(c.output),
                              "--density",
                              "12",
                              "--copies",
                              "3",
                              "--material",
                              "lab",
                              "--param",
                              "2",
                              "--cut",
                              "line",
                              "--spacing",
                              "4",
                              "--arrangement",
                              "left",
                              "--repeat",
                              "7",
                              "--decoration",
                              "border",
                              "--direction",
                              "v",
                              "--font-size",
                              "2",
                              "--length",
                              "40"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(r.err.empty()) << r.err;

        EditorFixture f;
        Open(f, in);
        f.editor.OnMaterialChanged(1);
        f.editor.OnMaterialParamChanged(2);
        f.editor.OnCutChanged(2);
        f.editor.OnSpacingChanged(4);
        f.editor.OnArrangementChanged(1);
        f.editor.OnDensityChanged(11);
        f.editor.OnCopiesChanged("3");
        f.editor.OnRowClicked(0, editor::COL_TEXT);
        f.editor.OnFixedLength();
        f.editor.OnEditTextChanged(editor::Control::LengthEdit, "40");
        f.editor.OnSetLength();
        f.editor.OnFontSizeChanged(2);
        f.editor.OnEditTextChanged(editor::Control::RepeatEdit, "7");
        f.editor.OnSetRepeat();
        f.editor.OnDecorationChanged(1);
        f.editor.OnDirectionChanged(1);
        ASSERT_TRUE(f.prompts.messages.empty());
        f.prompts.files.push_back(Path("reference" + c.written.substr(3)));
        if (c.written.ends_with(".qvk")) {
            f.editor.SaveProjectFile();
        } else {
            f.editor.SaveUdiskFile();
        }
        const std::string written = ReadFile(Path(c.written));
        ASSERT_FALSE(written.empty());
        EXPECT_EQ(written, ReadFile(Path("reference" + c.written.substr(3))));
        if (c.written.ends_with(".qvu")) {
            EXPECT_EQ(written[4], 3);     // copies
            EXPECT_EQ(written[5], 'L');   // cut
            EXPECT_EQ(written[6], 0x13);  // density 12, as the printer reads it from a stick
        }
    }
}

TEST_F(CliTest, PrintOnTheSimulatedPrinterCapturesEveryTransfer) {
    std::vector<Row> rows;
    for (int i = 0; i < 60; ++i) {
        rows.push_back({std::string(40, static_cast<char>('A' + i % 26))});
    }
    const std::string in = Project("in.qvk", rows);
    const Result r = Cli({"print", in, "--printer", "sim:" + Path("capture"), "--repeat", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;

    EditorFixture f;
    Open(f, in);
    f.editor.OnRowClicked(0, editor::COL_TEXT);
    f.editor.OnEditTextChanged(editor::Control::RepeatEdit, "2");
    f.editor.OnSetRepeat();
    f.editor.OnPrint();
    ASSERT_EQ(f.printer.jobs().size(), 1u);
    const auto& transfers = f.printer.transfers();
    ASSERT_GT(transfers.size(), 2u);
    ASSERT_TRUE(transfers.back().empty());
    auto bytes = [](const Bytes& b) { return std::string(b.begin(), b.end()); };
    EXPECT_EQ(ReadFile(Path("capture/job-1.bin")), bytes(f.printer.jobs()[0]));
    for (std::size_t i = 0; i < transfers.size(); ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "capture/transfer-%03zu.bin", i + 1);
        ASSERT_TRUE(fs::exists(Path(name))) << name;
        EXPECT_EQ(ReadFile(Path(name)), bytes(transfers[i])) << name;
    }
    char after[64];
    std::snprintf(after, sizeof after, "capture/transfer-%03zu.bin", transfers.size() + 1);
    EXPECT_FALSE(fs::exists(Path(after)));
    EXPECT_FALSE(fs::exists(Path("capture/job-2.bin")));
}

// The capture folder shows exactly what the printer received in this run: earlier captures go,
// other files stay, and a capture that cannot be written leaves none of its files.
TEST_F(CliTest, SimulatedPrinterFolderHoldsOnlyThisRunsCapture) {
    const std::string in = Project("in.qvk", Sample());
    const std::string blank = Project("blank.qvk", {{""}});
    const fs::path capture = Path("capture");
    auto names = [&] {
        std::set<std::string> v;
        for (const auto& e : fs::directory_iterator(capture)) {
            v.insert(e.path().filename().string() + (e.is_directory() ? "/" : ""));
        }
        return v;
    };
    auto plant = [&](const std::string& name) { std::ofstream(capture / name) << "old"; };
    fs::create_directories(capture);
    for (const char* old : {"job-1.bin", "job-7.bin", "transfer-001.bin", "transfer-099.bin",
                            "notes.txt", "job-1.txt"}) {
        plant(old);
    }
    Result r = Cli({"print", in, "--printer", "sim:" + capture.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::set<std::string> printed = names();
    EXPECT_TRUE(printed.count("job-1.bin") && printed.count("notes.txt") &&
                printed.count("job-1.txt"));
    EXPECT_FALSE(printed.count("job-7.bin") || printed.count("transfer-099.bin"));
    EXPECT_NE(ReadFile(capture / "job-1.bin"), "old");

    // A refused job: only the H command, no job file of the run before.
    r = Cli({"print", blank, "--printer", "sim:" + capture.string()});
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(names(), (std::set<std::string>{"job-1.txt", "notes.txt", "transfer-001.bin"}));
    EXPECT_EQ(ReadFile(capture / "transfer-001.bin"), std::string("\x02H"));

    // A name the capture needs is taken by a folder: nothing of the capture stays.
    plant("job-1.bin");
    fs::create_directories(capture / "transfer-002.bin");
    r = Cli({"print", in, "--printer", "sim:" + capture.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(Lines(r.err), std::vector<std::string>{"qvprt-cli: could not write the printer's "
                                                     "capture into " +
                                                     capture.string()});
    EXPECT_EQ(names(), (std::set<std::string>{"job-1.txt", "notes.txt", "transfer-002.bin/"}));
}

// "--" ends the options: what follows is a file name even when it looks like an option.
TEST_F(CliTest, DoubleDashEndsTheOptions) {
    Project("--odd-name.qvk", Sample());
    Result r = Cli({"convert", "--", "--odd-name.qvk", "out.qvk"}, dir_.string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(Path("out.qvk")), ReadFile(Path("--odd-name.qvk")));
    r = Cli({"convert", "--copies", "2", "--", "--odd-name.qvk", "--copies"}, dir_.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Lines(r.err)[0], "qvprt-cli: OUTPUT must end in .qvk or .qvu: --copies");
    r = Cli({"convert", "--odd-name.qvk", "out2.qvk"}, dir_.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Lines(r.err)[0], "qvprt-cli: unknown option --odd-name.qvk for convert");
    EXPECT_FALSE(fs::exists(Path("out2.qvk")));
    // After "--", --help is a file name too.
    r = Cli({"dump", "--", "--help"}, dir_.string());
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(Cli({"--help"}).out.find("\"--\" ends the options"), std::string::npos);
}

TEST_F(CliTest, RefusalsShowTheWindowsMessages) {
    const std::string in = Project("in.qvk", Sample());
    const std::string blank = Project("blank.qvk", {{""}, {""}});
    std::vector<Row> many(600, Row{std::string(50, 'W')});
    const std::string large = Project("large.qvk", many);
    const std::string capture = "sim:" + Path("capture");
    std::ofstream(Path("kept.qvu")) << "kept";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> err;
    };
    const Case cases[] = {
        // The edit is reset to 1, which is then taken: the job prints one copy.
        {{"print", in, "--printer", capture, "--copies", "21"},
         0,
         {"提示: 打印份数应在[1-20]之间！"}},
        {{"print", in, "--printer", capture, "--repeat", "101"},
         0,
         {"提示: 重复次数应在[1-100]之间！"}},
        {{"print", in, "--printer", capture, "--length", "151"},
         0,
         {"Prompt: 输入段长值应在(6-150)之间!"}},
        {{"print", blank, "--printer", capture}, 4, {"提示: 没有选择（或录入）打印内容！"}},
        {{"print", large, "--printer", capture}, 4, {"QvprtTest: 已经超出最大打印量！"}},
        // Nothing to print: no U-disk file is made, and one of that name stays as it was.
        {{"convert", blank, Path("empty.qvu")}, 4, {"提示: 没有选择（或录入）打印内容！"}},
        {{"convert", blank, Path("kept.qvu")}, 4, {"提示: 没有选择（或录入）打印内容！"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err[0]);
        fs::remove_all(Path("capture"));
        const Result r = Cli(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(Lines(r.err), c.err);
        if (c.status == 0) {
            const std::string job = ReadFile(Path("capture/job-1.bin"));
            ASSERT_GT(job.size(), 9u);
            EXPECT_EQ(job[4], 1);  // copies
        } else {
            EXPECT_FALSE(fs::exists(Path("capture/job-1.bin")));
        }
    }
    EXPECT_FALSE(fs::exists(Path("empty.qvu")));
    EXPECT_EQ(ReadFile(Path("kept.qvu")), "kept");
    // Nothing to print still sends the H command.
    Cli({"print", blank, "--printer", capture});
    EXPECT_EQ(ReadFile(Path("capture/transfer-001.bin")), std::string("\x02H"));
}

TEST_F(CliTest, FilesThatCannotBeReadOrWritten) {
    const std::string in = Project("in.qvk", Sample());
    fs::create_directories(Path("folder.qvk"));
    struct Case {
        std::vector<std::string> args;
    };
    for (const Case& c : {Case{{"dump", Path("missing.qvk")}},
                          Case{{"print", Path("missing.qvu"), "--printer", "sim:" + Path("c")}},
                          Case{{"convert", in, Path("folder.qvk")}},
                          Case{{"convert", in, Path("no-such-folder/out.qvu")}}}) {
        SCOPED_TRACE(c.args[1]);
        const Result r = Cli(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(r.out.empty());
    }
}

// An input that is no regular file is refused at once; each failure is one line with the reason
// in Chinese and nothing from a library beside it.
TEST_F(CliTest, InputsThatCannotBeReadSayWhyInOneLine) {
    ASSERT_EQ(::mkfifo(Path("pipe.qvk").c_str(), 0600), 0);
    fs::create_directories(Path("folder.qvk"));
    struct Case {
        std::string input;
        std::string reason;
    };
    const Case cases[] = {
        {"", "文件或文件夹不存在"},
        {Path("pipe.qvk"), "这不是一个普通文件"},
        {"/dev/zero", "这不是一个普通文件"},
        {Path("folder.qvk"), "这是一个文件夹"},
        {Path("missing.qvu"), "文件或文件夹不存在"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const Result r = Cli({"dump", c.input});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "提示: 无法打开文件“" + c.input + "”：" + c.reason + "。\n");
        EXPECT_TRUE(r.out.empty());
    }
}

TEST_F(CliTest, SpreadsheetsAreImportedAsTheWindowImportsThem) {
    if (!qvprt::testing::have_sheet_samples()) {
        GTEST_SKIP() << "the shared samples are not on this machine";
    }
    for (const std::string name :
         {"xlsx-excel-cn-blanks-decimals.xlsx", "ods-libreoffice-cn-text-cyrillic-sheet.ods",
          "csv-utf8bom-crlf-multiline-quoted.csv"}) {
        SCOPED_TRACE(name);
        const std::string input = qvprt::testing::sheet_samples_dir() + name;
        EditorFixture f;
        f.prompts.files.push_back(input);
        f.editor.OnExcelImport();
        ASSERT_EQ(f.editor.last_outcome(), editor::Outcome::Done);
        f.prompts.files.push_back(Path("want.qvk"));
        f.editor.SaveProjectFile();
        f.prompts.files.push_back(Path("want.qvu"));
        f.editor.SaveUdiskFile();

        for (const std::string out : {"got.qvk", "got.qvu"}) {
            const Result r = Cli({"convert", input, Path(out)});
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(ReadFile(Path(out)), ReadFile(Path("want" + out.substr(3))));
        }
        const Result dump = Cli({"dump", input});
        ASSERT_EQ(dump.status, 0) << dump.err;
        EditorFixture fresh;
        fresh.prompts.files.push_back(input);
        fresh.editor.OnExcelImport();
        fresh.editor.CompileSegments(true);
        EXPECT_TRUE(dump.out == dump_json(fresh.editor.settings(), fresh.editor.segments().head()));
    }
}

TEST_F(CliTest, SpreadsheetThatCannotBeImported) {
    std::ofstream(Path("broken.xlsx"), std::ios::binary) << "PK\x03\x04 truncated";
    std::ofstream(Path("blank.csv"), std::ios::binary) << "\r\n,\r\n";
    for (const std::string name : {"broken.xlsx", "blank.csv", "missing.ods"}) {
        SCOPED_TRACE(name);
        const Result r = Cli({"convert", Path(name), Path("out.qvu")});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err.rfind("提示: ", 0), 0u) << r.err;
        EXPECT_FALSE(fs::exists(Path("out.qvu")));
    }
}

TEST_F(CliTest, NoPrinterOnUsb) {
    if (!printing::list_printer_devices().empty()) {
        GTEST_SKIP() << "a printer is attached";
    }
    const std::string in = Project("in.qvk", Sample());
    const Result r = Cli({"print", in});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(Lines(r.err),
              std::vector<std::string>{"QvprtTest: 端口打开错误, 请确认打印机已经正确联机！"});
    const Result d = Cli({"devices"});
    EXPECT_EQ(d.status, 3);
    EXPECT_TRUE(d.out.empty());
    EXPECT_EQ(d.err, "qvprt-cli: no printer attached\n");
}

TEST(MessageLineTest, OneLinePerMessage) {
    EXPECT_EQ(
        message_line(text::gbk("共有{1}段超长，请选择其它字号！\r\n共有{2}"
                               "段所选字号不适合双行，请选择其它字号！\r\n"),
                     text::gbk("提示")),
        "提示: 共有{1}段超长，请选择其它字号！ 共有{2}段所选字号不适合双行，请选择其它字号！");
    EXPECT_EQ(message_line("a\nb", "T"), "T: a b");
}

}  // namespace
}  // namespace qvprt::cli
