#pragma once
// Fonts, measurement and text drawing of the preview strip. Measuring and painting build their
// fonts here, so the layout's widths are the widths painted.

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <map>
#include <memory>
#include <string_view>
#include <utility>

#include "layout/preview_layout.h"
#include "ui/style.h"

class QPainter;
class QRect;

namespace qvprt::ui {

// The strip's colours.
inline constexpr QColor kPreviewBackground = kWindowColor;
inline const QColor kPreviewBand(255, 255, 0);
inline const QColor kPreviewMarker(255, 0, 0);

// Our symbol font before "宋体" (or "@宋体", whose glyphs are turned when drawn) with character
// height and average width both s × dpi / 96 pixels: a Latin character is as wide as it is high, as
// on the tube.
QFont PreviewQFont(const layout::PreviewFont& font, int dpi);

// GBK to what Qt draws; the serial and line codes stay the characters they are.
QString PreviewQString(std::string_view gbk);

class QtTextMeasurer : public layout::TextMeasurer {
  public:
    explicit QtTextMeasurer(int dpi) : dpi_(dpi) {}
    int dpi() const { return dpi_; }
    layout::TextExtent Measure(std::string_view gbk, const layout::PreviewFont& font) override;
    layout::TextExtent MeasureText(const QString& text, const layout::PreviewFont& font);
    // The font and its metrics, built once per size and face.
    const QFont& Font(const layout::PreviewFont& font);
    const QFontMetrics& Metrics(const layout::PreviewFont& font);

  private:
    struct Entry {
        QFont font;
        QFontMetrics metrics;
    };
    Entry& Get(const layout::PreviewFont& font);

    int dpi_;
    std::map<std::pair<int, bool>, std::unique_ptr<Entry>> fonts_;
};

// Draws one line of a copy at the top of `line`, centred or from its left edge, cut at its edges.
// Vertical text turns every character a quarter turn clockwise in a cell as wide as the font is
// high, the line still running left to right.
void DrawPreviewLine(QPainter& painter, const QRect& line, const QString& text,
                     const layout::PreviewFont& font, QtTextMeasurer& measurer, bool centred);

}  // namespace qvprt::ui
