#pragma once
// The preview strip fed by an editor with scripted ports, as the main window feeds it, and
// pictures of it in QImages at 96 dpi.

#include <QImage>
#include <QPainter>
#include <string>

#include "editor/fake_ports.h"
#include "model/segment_list.h"
#include "text/bytes.h"
#include "text/gbk.h"
#include "ui/preview/MyPrintView.h"
#include "ui/preview/MyStatic.h"

namespace qvprt::ui::testing {

class StripView : public editor::testing::FakeView {
  public:
    void SetPreviewHeight(double mm) override {
        FakeView::SetPreviewHeight(mm);
        strip->SetPreviewHeight(mm);
    }
    void ShowSegments() override {
        FakeView::ShowSegments();
        strip->ShowSegments(editor->segments().head(), editor->settings());
    }
    CMyPrintView* strip = nullptr;
    editor::Editor* editor = nullptr;
};

struct PreviewHarness {
    CMyPrintView strip;
    editor::testing::FakePrompts prompts;
    StripView view;
    printing::SimPrinter printer;
    editor::testing::FakeClock clock;
    editor::Editor editor{prompts, view, printer, clock};

    explicit PreviewHarness(QSize size = QSize(1000, 80)) {
        view.strip = &strip;
        view.editor = &editor;
        editor.Initialize();
        strip.Reposition(QRect(QPoint(0, 0), size));
    }

    // Row `row` with its cell texts (UTF-8), rows added as needed; answers its record, whose
    // attributes the test then sets as the attribute commands would.
    model::SegmentNode& Row(int row, const char* text, const char* text2 = "") {
        while (editor.grid().GetItemCount() <= row) {
            editor.AddRow();
        }
        editor::testing::Grid(editor).SetCellText(row, editor::COL_TEXT, text::gbk(text));
        editor::testing::Grid(editor).SetCellText(row, editor::COL_TEXT2, text::gbk(text2));
        model::SegmentNode& n = *editor::testing::Records(editor).at(row);
        n.auto_length = 1;
        n.font_size = 3;
        return n;
    }
    static void Serial(model::SegmentNode& n, char kind, const char* start, const char* end) {
        n.has_serial = 1;
        n.serial_natural = kind == 'n';
        n.serial_padded = kind == 'p';
        n.serial_upper = kind == 'U';
        n.serial_lower = kind == 'l';
        text::copy_field(n.serial_start, start);
        text::copy_field(n.serial_end, end);
    }

    // The preview command, a paint of the picture, and the timer's adjustment.
    QImage Preview() {
        editor.OnPreview();
        QImage shot = Picture();
        strip.Adjust();
        return shot;
    }
    QImage Picture() {
        CMyStatic* p = strip.picture();
        QImage img(p->size(), QImage::Format_RGB32);
        img.setDotsPerMeterX(3780);  // 96 dpi
        img.setDotsPerMeterY(3780);
        QPainter painter(&img);
        p->Paint(painter, img.rect(), img.size());
        return img;
    }
    const layout::PreviewLayout& Layout() const { return strip.picture()->previewLayout(); }
    std::vector<layout::PreviewCopy> Copies(std::int64_t x0 = 0, std::int64_t x1 = 1 << 30) const {
        std::vector<layout::PreviewCopy> v;
        Layout().ForEachCopy(x0, x1, [&](const layout::PreviewCopy& c) { v.push_back(c); });
        return v;
    }
};

}  // namespace qvprt::ui::testing
