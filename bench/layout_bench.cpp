#include <benchmark/benchmark.h>

#include <string>

#include "editor/SegmentGrid.h"
#include "editor/compile.h"
#include "layout/measure.h"
#include "model/segment_list.h"
#include "text/bytes.h"

namespace {

using namespace qvprt;

// 1000 double-line rows of 50 bytes with marks, symbols, a serial mark and full-width
// punctuation, compiled for the printer.
void BM_CompileSegmentsPrinterForm(benchmark::State& state) {
    // Line 1: A, superscript 2, 中, a symbol, （1）, №, KM-0123456: 25 bytes.
    const std::string first =
        "A\xaa\xf2"
        "2\xd6\xd0\xaa\xb5\xa3\xa8"
        "1\xa3\xa9\xa1\xed"
        "KM-0123456";
    // Line 2: L, subscript x, “线”, 、, a symbol, ABCDEFGHIJ: 24 bytes.
    const std::string second =
        "L\xaa\xf3x\xa1\xb0\xcf\xdf\xa1\xb1\xa1\xa2\xaa\xc1"
        "ABCDEFGHIJ";
    const int rows = 1000;
    model::JobSettings settings;
    editor::SegmentGrid grid;
    model::SegmentList list;
    for (int r = 0; r < rows; ++r) {
        grid.InsertItem(r);
        grid.SetCheck(r, true);
        grid.SetCellText(r, editor::COL_TEXT, first);
        grid.SetCellText(r, editor::COL_TEXT2, second);
        model::SegmentNode* tail = list.push_back(settings);
        tail->font_size = 2;
        tail->auto_length = 1;
        tail->has_serial = 1;
        tail->serial_natural = 1;
        text::copy_field(tail->serial_start, "1");
        text::copy_field(tail->serial_end, "100");
    }
    if (first.size() + 1 + second.size() != 50) {
        state.SkipWithError("rows are not 50 bytes");
    }
    for (auto _ : state) {
        const editor::CompileResult r =
            editor::CompileSegments(false, grid, settings, list.head(), 0);
        benchmark::DoNotOptimize(r);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_CompileSegmentsPrinterForm)->Unit(benchmark::kMicrosecond);

// Growing from size 0 to 6: seven measurements.
void BM_AutoFitFontSizeFrom0To6(benchmark::State& state) {
    model::JobSettings settings;
    settings.material_index = 1;
    model::SegmentNode r;
    text::copy_field(r.text, "ABC");
    r.text_length = 3;
    r.length_dots = 240;
    for (auto _ : state) {
        r.font_size = 0;
        benchmark::DoNotOptimize(layout::AutoFitFontSize(r, settings));
        benchmark::DoNotOptimize(r.font_size);
    }
    if (r.font_size != 6) {
        state.SkipWithError("did not end at size 6");
    }
}
BENCHMARK(BM_AutoFitFontSizeFrom0To6);

}  // namespace
