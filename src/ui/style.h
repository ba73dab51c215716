#pragma once
// The look every window of the program shares.

#include <QColor>
#include <QString>

namespace qvprt::ui {

// Background of every window: the main window and its controls, the grid and its header, the
// toolbar band, the status window and the preview strip.
inline constexpr QColor kWindowColor(242, 243, 246);

// The same colour as a style sheet spells it, for the widgets whose look comes from a sheet.
inline QString WindowColorCss() {
    return QStringLiteral("rgb(%1,%2,%3)")
        .arg(kWindowColor.red())
        .arg(kWindowColor.green())
        .arg(kWindowColor.blue());
}

}  // namespace qvprt::ui
