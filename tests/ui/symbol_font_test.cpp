// The built symbol font: a glyph at every symbol and mark code, no two alike, and a font list that
// measures as the Song face alone.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTest>
#include <vector>

#include "ui/editor/QvprtTestApp.h"
#include "ui/symbol_font.h"

namespace qvprt::ui {
namespace {

// The 77 symbols, then the superscript and the subscript mark.
std::vector<char16_t> SymbolCodes() {
    std::vector<char16_t> codes;
    for (char16_t c = 0xE000; c <= 0xE04C; ++c) {
        codes.push_back(c);
    }
    codes.push_back(0xE051);
    codes.push_back(0xE052);
    return codes;
}

QImage Render(const QFont& font, char16_t code) {
    const QFontMetrics m(font);
    QImage image(2 * m.height(), m.height(), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(0, m.ascent(), QString(QChar(code)));
    return image;
}

class SymbolFontTest : public QObject {
    Q_OBJECT
  private slots:
    void everyCodeHasAGlyph() {
        QVERIFY(RegisterSymbolFont());
        const QRawFont raw(SymbolFontData(), 20);
        QVERIFY(raw.isValid());
        QCOMPARE(raw.familyName(), kSymbolFamily);
        for (const char16_t c : SymbolCodes()) {
            QVERIFY2(raw.supportsCharacter(QChar(c)), qPrintable(QString::number(c, 16)));
        }
        // Nothing of the Song face's is taken over.
        for (const char16_t c : {u' ', u'A', u'0', u'国', char16_t{0xE04D}, char16_t{0xE050}}) {
            QVERIFY2(!raw.supportsCharacter(QChar(c)), qPrintable(QString::number(c, 16)));
        }
    }

    // At the grid's size and at a preview size: a symbol the user cannot tell from another would be
    // collected by mistake.
    void noTwoRenderAlike_data() {
        QTest::addColumn<int>("pixels");
        QTest::newRow("grid") << 12;
        QTest::newRow("preview") << 32;
    }
    void noTwoRenderAlike() {
        QFETCH(int, pixels);
        QFont font = SegmentTextFont(pixels);
        font.setStyleStrategy(QFont::NoAntialias);
        const std::vector<char16_t> codes = SymbolCodes();
        std::vector<QImage> images;
        QImage blank = Render(font, u' ');
        for (const char16_t c : codes) {
            images.push_back(Render(font, c));
            QVERIFY2(images.back() != blank, qPrintable(QString::number(c, 16)));
        }
        for (std::size_t i = 0; i < images.size(); ++i) {
            for (std::size_t j = i + 1; j < images.size(); ++j) {
                QVERIFY2(
                    images[i] != images[j],
                    qPrintable(
                        QStringLiteral("%1 and %2").arg(codes[i], 0, 16).arg(codes[j], 0, 16)));
            }
        }
    }

    // Our family comes first in the list, so its metrics are the line's: they must be the Song
    // face's, or every measured preview would move.
    void measuresAsTheSongFace_data() {
        QTest::addColumn<int>("pixels");
        QTest::newRow("grid") << 12;
        QTest::newRow("edit box") << 20;
        QTest::newRow("preview") << 37;
    }
    void measuresAsTheSongFace() {
        QFETCH(int, pixels);
        const QFont ours = SegmentTextFont(pixels);
        QFont song;
        song.setFamilies(SegmentTextFamilies().mid(1));
        song.setPixelSize(pixels);
        const QFontMetrics a(ours), b(song);
        QCOMPARE(a.ascent(), b.ascent());
        QCOMPARE(a.descent(), b.descent());
        QCOMPARE(a.height(), b.height());
        QCOMPARE(a.averageCharWidth(), b.averageCharWidth());
        const QString text = QStringLiteral("AB12 国标");
        QCOMPARE(a.horizontalAdvance(text), b.horizontalAdvance(text));
        // A symbol is as wide as an ideograph, a mark half as wide.
        QCOMPARE(a.horizontalAdvance(QChar(0xE000)), b.horizontalAdvance(QStringLiteral("国")));
        QCOMPARE(a.horizontalAdvance(QChar(0xE051)), (a.horizontalAdvance(QChar(0xE000)) + 1) / 2);
    }
};

}  // namespace
}  // namespace qvprt::ui

int main(int argc, char** argv) {
    qvprt::ui::CQvprtTestApp app(argc, argv);
    qvprt::ui::SymbolFontTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "symbol_font_test.moc"
