#include "ui/symbol_font.h"

#include <QFile>
#include <QFontDatabase>

// The font lives in a static library, whose resource initialiser the linker would drop.
static void InitSymbolFontResource() {
    Q_INIT_RESOURCE(qvprt_symbol_font);
}

namespace qvprt::ui {

QByteArray SymbolFontData() {
    InitSymbolFontResource();
    QFile file(QStringLiteral(":/fonts/QvprtSymbols.ttf"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

bool RegisterSymbolFont() {
    static const bool registered =
        QFontDatabase::addApplicationFontFromData(SymbolFontData()) != -1;
    return registered;
}

QStringList SegmentTextFamilies() {
    RegisterSymbolFont();
    return {kSymbolFamily, QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"),
            QStringLiteral("SimSun")};
}

QFont SegmentTextFont(int pixels) {
    QFont font;
    font.setFamilies(SegmentTextFamilies());
    font.setPixelSize(pixels);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace qvprt::ui
