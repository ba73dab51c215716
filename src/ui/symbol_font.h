#pragma once
// "Qvprt Symbols", our own font with the electrical symbols and the script marks at the private-use
// code points the GBK user-defined area maps to. The Song face has nothing there, so every font
// that shows segment text asks for our family first and the Song face after it: private-use codes
// fall to our glyphs, everything else to the Song face. Our font carries the Song face's vertical
// metrics and average width, so such a font measures as the Song face alone does.

#include <QByteArray>
#include <QFont>
#include <QString>
#include <QStringList>

namespace qvprt::ui {

inline const QString kSymbolFamily = QStringLiteral("Qvprt Symbols");

// The built font file, as compiled into the program.
QByteArray SymbolFontData();

// Registers the font with the application once; later calls answer the first call's result.
// Needs a QGuiApplication.
bool RegisterSymbolFont();

// Our family, then the Song face under the names the platforms know it by. Registers the font.
QStringList SegmentTextFamilies();

// A normal-weight segment-text font of `pixels` pixels.
QFont SegmentTextFont(int pixels);

}  // namespace qvprt::ui
