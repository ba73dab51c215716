#include "ui/preview/preview_text.h"

#include <QFontInfo>
#include <QPainter>
#include <QRect>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "text/gbk.h"
#include "ui/symbol_font.h"

namespace qvprt::ui {

QFont PreviewQFont(const layout::PreviewFont& font, int dpi) {
    QFont f;
    // Symbols and marks from our font, the rest from the Song face; the turned face of vertical
    // text turns both, since every glyph is drawn turned.
    f.setFamilies(SegmentTextFamilies());
    const int pixels = std::max(1, static_cast<int>(std::lround(font.pixel_size * dpi / 96.0)));
    f.setPixelSize(pixels);
    f.setWeight(QFont::Normal);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    f.setStyleStrategy(QFont::NoAntialias);
    const int average = QFontMetrics(f).averageCharWidth();
    if (average > 0 && average != pixels) {
        f.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * pixels / average)), 1, 4000));
    }
    return f;
}

QString PreviewQString(std::string_view gbk) {
    return QString::fromStdU16String(text::gbk_to_utf16(gbk));
}

QtTextMeasurer::Entry& QtTextMeasurer::Get(const layout::PreviewFont& font) {
    auto& e = fonts_[{font.pixel_size, font.vertical}];
    if (!e) {
        QFont f = PreviewQFont(font, dpi_);
        e = std::make_unique<Entry>(Entry{f, QFontMetrics(f)});
    }
    return *e;
}

const QFont& QtTextMeasurer::Font(const layout::PreviewFont& font) {
    return Get(font).font;
}

const QFontMetrics& QtTextMeasurer::Metrics(const layout::PreviewFont& font) {
    return Get(font).metrics;
}

layout::TextExtent QtTextMeasurer::MeasureText(const QString& text,
                                               const layout::PreviewFont& font) {
    const QFontMetrics& m = Metrics(font);
    if (!font.vertical) {
        return {m.horizontalAdvance(text), m.height()};
    }
    // Turned glyphs: each takes the font's height along the line and its advance across it.
    int across = 0;
    for (const QChar c : text) {
        across = std::max(across, m.horizontalAdvance(c));
    }
    return {static_cast<int>(text.size()) * m.height(), text.isEmpty() ? m.height() : across};
}

layout::TextExtent QtTextMeasurer::Measure(std::string_view gbk, const layout::PreviewFont& font) {
    return MeasureText(PreviewQString(gbk), font);
}

void DrawPreviewLine(QPainter& painter, const QRect& line, const QString& text,
                     const layout::PreviewFont& font, QtTextMeasurer& measurer, bool centred) {
    if (text.isEmpty() || line.width() <= 0) {
        return;
    }
    painter.save();
    painter.setClipRect(line, Qt::IntersectClip);
    painter.setFont(measurer.Font(font));
    painter.setPen(Qt::black);
    if (!font.vertical) {
        const int flags = Qt::AlignTop | (centred ? Qt::AlignHCenter : Qt::AlignLeft) |
                          Qt::TextSingleLine | Qt::TextDontClip;
        painter.drawText(line, flags, text);
    } else {
        const QFontMetrics& m = measurer.Metrics(font);
        const int cell = m.height();
        const int width = static_cast<int>(text.size()) * cell;
        int x = centred ? line.left() + (line.width() - width) / 2 : line.left();
        for (const QChar c : text) {
            if (x >= line.right() + 1) {
                break;
            }
            if (x + cell > line.left()) {
                // The glyph's top faces right: its x axis runs down the cell.
                painter.save();
                painter.translate(x + cell, line.top());
                painter.rotate(90);
                painter.drawText(0, m.ascent(), QString(c));
                painter.restore();
            }
            x += cell;
        }
    }
    painter.restore();
}

}  // namespace qvprt::ui
