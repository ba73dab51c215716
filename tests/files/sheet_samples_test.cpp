// Every shared spreadsheet sample, read in place, against the cells its NAME.expected.json gives.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "files/sheet_reader.h"
#include "sheet_samples.h"
#include "text/gbk.h"

namespace qvprt::files {
namespace {

using SheetSamples = qvprt::testing::SheetSamplesTest;
using qvprt::testing::sheet_samples_dir;

const char* type_name(CellType t) {
    switch (t) {
        case CellType::Empty:
            return "empty";
        case CellType::String:
            return "string";
        case CellType::Number:
            return "number";
        case CellType::Date:
            return "date";
        case CellType::Bool:
            return "bool";
        case CellType::Error:
            return "error";
    }
    return "?";
}

void expect_cell(const QJsonObject& e, const SheetCell& c, SheetKind kind, const std::string& at) {
    SCOPED_TRACE(at);
    const std::string type = e["type"].toString().toStdString();
    ASSERT_EQ(type, type_name(c.type));
    const QJsonValue v = e["value"];
    if (type == "string" || type == "error") {
        EXPECT_EQ(v.toString().toStdString(), c.text);
    } else if (type == "number") {
        EXPECT_DOUBLE_EQ(v.toDouble(), c.number);
    } else if (type == "date") {
        EXPECT_EQ(v.toString().toStdString(), iso_text(c.date));
        // Serials from ISO texts are given to the microsecond, ours to the second.
        EXPECT_NEAR(e["serial"].toDouble(), c.number, 1e-5);
    } else if (type == "bool") {
        EXPECT_EQ(v.toBool(), c.boolean);
    }
    if (type == "number" || type == "date") {
        EXPECT_EQ(e["format"].toString().toStdString(), c.format);
    }
    // Workbook formats other than .xls mark their formula cells.
    if (kind != SheetKind::Xls && kind != SheetKind::Csv) {
        EXPECT_EQ(e["formula"].toBool(), c.formula);
    }
}

void check_sample(const std::string& name) {
    SCOPED_TRACE(name);
    const std::string base = name.substr(0, name.rfind('.'));
    QFile f(QString::fromStdString(sheet_samples_dir() + base + ".expected.json"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject expected = QJsonDocument::fromJson(f.readAll()).object();
    const SheetResult r = read_sheet(sheet_samples_dir() + name);
    ASSERT_TRUE(r.ok()) << text::gbk_to_utf8(r.message);
    const bool csv = name.ends_with(".csv");
    const SheetKind want = csv                       ? SheetKind::Csv
                           : name.ends_with(".xlsx") ? SheetKind::Xlsx
                           : name.ends_with(".ods")  ? SheetKind::Ods
                                                     : SheetKind::Xls;
    EXPECT_EQ(want, r.kind);
    EXPECT_EQ(expected["active_sheet"].toString().toStdString(), r.sheet.name);

    std::vector<QJsonArray> rows;
    for (const QJsonValue& row : expected["rows"].toArray()) {
        const QJsonArray cells = row.toArray();
        // The import skips CSV records without text in A and B; the reader leaves them out.
        if (csv && cells[0].toObject()["type"] == QString("empty") &&
            cells[1].toObject()["type"] == QString("empty")) {
            continue;
        }
        rows.push_back(cells);
    }
    ASSERT_LE(rows.size(), r.sheet.rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t col = 0; col < 3; ++col) {
            expect_cell(rows[i][static_cast<qsizetype>(col)].toObject(), r.sheet.rows[i][col],
                        r.kind,
                        "row " + std::to_string(i + 1) + " column " + static_cast<char>('A' + col));
        }
    }
    if (csv) {
        EXPECT_EQ(rows.size(), r.sheet.rows.size());
    } else if (rows.size() < r.sheet.rows.size()) {
        // The list ends at the first row blank in A and B.
        EXPECT_TRUE(r.sheet.rows[rows.size()][0].blank() && r.sheet.rows[rows.size()][1].blank());
    }
}

TEST_F(SheetSamples, EveryCellAsExpected) {
    for (const std::string& name : names) {
        check_sample(name);
    }
}

}  // namespace
}  // namespace qvprt::files
