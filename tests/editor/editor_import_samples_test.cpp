// Every shared spreadsheet sample, imported through the "Excel导入" command into a fresh editor.
// The rows it must give are worked out here from the sample's NAME.expected.json by the import's
// rules, independently of the code under test.
#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QString>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "fake_ports.h"
#include "sheet_samples.h"

namespace qvprt::editor {
namespace {

using testing::EditorFixture;

using ImportSamples = qvprt::testing::SheetSamplesTest;
using qvprt::testing::sheet_samples_dir;

struct Text {
    std::string gbk;
    bool refused = false;
};

Text from_string(QString s) {
    s.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    QString kept;
    for (const QChar c : s) {
        if (c.unicode() >= 0x20) {
            kept += c;
        }
    }
    const text::EncodeResult r = text::utf8_to_gbk(kept.toStdString());
    return r.ok ? Text{r.bytes, false} : Text{{}, true};
}

std::string from_number(double v, const QString& format) {
    static const QRegularExpression zeros(QStringLiteral("^0+$"));
    char buf[400];
    if (zeros.match(format).hasMatch() && v == std::floor(v)) {
        std::snprintf(buf, sizeof buf, "%s%0*lld", v < 0 ? "-" : "",
                      static_cast<int>(format.size()), std::llabs(static_cast<long long>(v)));
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%f", v == 0 ? 0.0 : v);
    std::string s = buf;
    while (s.back() == '0') {
        s.pop_back();
    }
    if (s.back() == '.') {
        s.pop_back();
    }
    return s;
}

// "YYYY-MM-DD..." gives its date; "HH:MM:SS" stays below a day, else counts from the null date.
std::string from_date(const QJsonObject& cell, const QDate& null_date) {
    const QString v = cell["value"].toString();
    if (v.size() >= 10 && v[4] == QLatin1Char('-')) {
        return v.left(10).toStdString();
    }
    if (v.section(QLatin1Char(':'), 0, 0).toInt() < 24) {
        return v.toStdString();
    }
    const auto days = static_cast<qint64>(std::floor(cell["serial"].toDouble()));
    return null_date.addDays(days).toString(QStringLiteral("yyyy-MM-dd")).toStdString();
}

Text cell_text(const QJsonObject& cell, const QDate& null_date) {
    const QString type = cell["type"].toString();
    if (type == QLatin1String("string")) {
        return from_string(cell["value"].toString());
    }
    if (type == QLatin1String("number")) {
        return {from_number(cell["value"].toDouble(), cell["format"].toString())};
    }
    if (type == QLatin1String("date")) {
        return {from_date(cell, null_date)};
    }
    return {};
}

int repeat_of(const std::string& text) {
    if (text.empty()) {
        return 1;
    }
    const long v = std::strtol(text.c_str(), nullptr, 10);
    return v < 1 ? 1 : (v > 100 ? 100 : static_cast<int>(v));
}

struct Expected {
    std::vector<std::string> rows;  // "A|B*repeat", UTF-8
    std::vector<std::string> messages;
};

Expected expected_import(const QJsonObject& e, bool csv, const std::string& path) {
    const QString null_text = e["meta"].toObject()["null_date"].toString();
    const QDate null_date = null_text.isEmpty()
                                ? QDate(1899, 12, 30)
                                : QDate::fromString(null_text, QStringLiteral("yyyy-MM-dd"));
    Expected out;
    // A fresh editor holds one empty row, which a workbook's first row writes over.
    std::vector<std::string> grid = {"|*1"};
    int job_bytes = 10, overlong = 0, refused = 0, written = 0, row = 0;
    bool size_reached = false;
    for (const QJsonValue& r : e["rows"].toArray()) {
        const QJsonArray cells = r.toArray();
        const Text a = cell_text(cells[0].toObject(), null_date);
        const Text b = cell_text(cells[1].toObject(), null_date);
        if (!a.refused && !b.refused && a.gbk.empty() && b.gbk.empty()) {
            if (csv) {
                continue;
            }
            break;
        }
        const int target = csv ? written : row++;
        if (a.refused || b.refused) {
            ++refused;
            continue;
        }
        const std::size_t stored = a.gbk.size() + (b.gbk.empty() ? 0 : 1 + b.gbk.size());
        if (stored > 50) {
            ++overlong;
            continue;
        }
        job_bytes += 55 + static_cast<int>(stored);
        if (job_bytes >= 61440) {
            size_reached = true;
            break;
        }
        if (csv && written == 0) {
            grid.clear();
        }
        grid.resize(std::max<std::size_t>(grid.size(), target + 1), "|*1");
        const Text c = cell_text(cells[2].toObject(), null_date);
        grid[target] = text::gbk_to_utf8(a.gbk) + "|" + text::gbk_to_utf8(b.gbk) + "*" +
                       std::to_string(repeat_of(c.gbk));
        ++written;
    }
    out.rows = grid;
    if (written == 0) {
        out.messages.push_back("文件“" + path + "”中没有可导入的行，未做任何改动。");
    }
    if (size_reached) {
        out.messages.push_back("已经超出最大打印量！已导入" + std::to_string(written) +
                               "段，其余未导入。");
    }
    if (overlong > 0) {
        out.messages.push_back("共有" + std::to_string(overlong) + "段超长！每段最大长度50！");
    }
    if (refused > 0) {
        out.messages.push_back("共有" + std::to_string(refused) +
                               "段含有无法打印的字符（GBK字符集中没有），未导入！");
    }
    return out;
}

std::vector<std::string> grid_rows(const EditorFixture& f) {
    std::vector<std::string> v;
    const model::SegmentNode* n = f.editor.segments().head();
    for (int r = 0; r < f.editor.grid().GetItemCount(); ++r, n = n->next) {
        std::string text = f.editor.grid().GetItemText(r, COL_TEXT);
        if (!f.editor.grid().GetItemText(r, COL_TEXT2).empty()) {
            text += model::CODE_LINE_BREAK + f.editor.grid().GetItemText(r, COL_TEXT2);
        }
        EXPECT_EQ(text, std::string(n->text.data(), n->text_length)) << "row " << r;
        EXPECT_EQ(f.Cell(r, COL_REPEAT), std::to_string(n->repeat)) << "row " << r;
        v.push_back(f.Cell(r, COL_TEXT) + "|" + f.Cell(r, COL_TEXT2) + "*" + f.Cell(r, COL_REPEAT));
    }
    return v;
}

TEST_F(ImportSamples, EverySampleGivesTheRowsItsCellsMake) {
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        QFile file(QString::fromStdString(sheet_samples_dir() + name.substr(0, name.rfind('.')) +
                                          ".expected.json"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const std::string path = sheet_samples_dir() + name;
        const Expected want = expected_import(QJsonDocument::fromJson(file.readAll()).object(),
                                              name.ends_with(".csv"), path);

        EditorFixture f;
        f.prompts.files.push_back(path);
        f.editor.OnExcelImport();
        EXPECT_EQ(want.messages, f.prompts.Texts());
        EXPECT_EQ(want.rows, grid_rows(f));
        EXPECT_EQ(0, f.editor.current_row());
    }
}

}  // namespace
}  // namespace qvprt::editor
