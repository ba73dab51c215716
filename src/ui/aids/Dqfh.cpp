#include "ui/aids/Dqfh.h"

#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "layout/symbol_table.h"
#include "ui/qt_text.h"
#include "ui/style.h"
#include "ui/symbol_font.h"

namespace qvprt::ui {
namespace {

// The template's dialog units, converted as the main window's are.
int Px(int units) {
    return static_cast<int>(std::lround(units * 1.5));
}
QRect UnitRect(int x, int y, int w, int h) {
    return QRect(Px(x), Px(y), Px(w), Px(h));
}

constexpr int kColumns = 16;
constexpr int kRows = 5;

// The symbol picture, drawn from our font: one symbol centred in each cell of the grid the hit
// test divides the control into, so a symbol is collected where it is seen.
class SymbolPicture : public QWidget {
  public:
    explicit SymbolPicture(QWidget* parent) : QWidget(parent) {
        // Clicks and tooltips are the dialog's, as on a static control.
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const int cw = width() / kColumns;
        const int ch = height() / kRows;
        p.fillRect(rect(), Qt::white);
        QFont font;
        font.setFamilies({kSymbolFamily});
        font.setPixelSize(std::max(1, std::min(cw, ch) - 10));
        p.setFont(font);
        for (int i = 0; i < layout::SYMBOL_COUNT; ++i) {
            const QRect cell((i % kColumns) * cw, (i / kColumns) * ch, cw, ch);
            p.setPen(QColor(192, 192, 192));
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            p.setPen(Qt::black);
            p.drawText(cell, Qt::AlignCenter, QString(QChar(0xE000 + i)));
        }
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

}  // namespace

CDqfh::CDqfh(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    RegisterSymbolFont();
    setObjectName(QStringLiteral("164"));
    setWindowTitle(QStringLiteral("选择电气符号(双击选择符号)"));
    setFixedSize(Px(419), Px(179));
    QPalette palette = this->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        palette.setColor(QPalette::All, role, kWindowColor);
    }
    setPalette(palette);
    setAutoFillBackground(true);

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QStringLiteral("1"));
    m_ok->setGeometry(UnitRect(267, 149, 33, 13));
    m_ok->setDefault(true);
    m_picture = new SymbolPicture(this);
    m_picture->setObjectName(QStringLiteral("1042"));
    m_picture->setGeometry(UnitRect(2, 2, 417, 141));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("1043"));
    m_edit->setGeometry(UnitRect(2, 147, 181, 17));
    m_edit->setReadOnly(true);
    m_edit->setFont(SegmentTextFont(20));
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("2"));
    m_cancel->setGeometry(UnitRect(303, 149, 33, 13));
    m_reselect = new QPushButton(QStringLiteral("重新选择"), this);
    m_reselect->setObjectName(QStringLiteral("1044"));
    m_reselect->setGeometry(UnitRect(186, 149, 46, 13));
    auto* note =
        new QLabel(QStringLiteral("注意：如何电气符号无法正常显示，请重启电脑再试！"), this);
    note->setGeometry(UnitRect(2, 168, 268, 10));
    note->setAttribute(Qt::WA_TransparentForMouseEvents);

    connect(m_ok, &QPushButton::clicked, this, &CDqfh::OnOk);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_reselect, &QPushButton::clicked, this, [this] {
        m_picker.Reselect();
        ShowSymbols();
    });
}

editor::PictureRect CDqfh::PictureRect() const {
    const QRect r = m_picture->geometry();
    return {r.left(), r.top(), r.width(), r.height()};
}

void CDqfh::ShowSymbols() {
    m_edit->setText(FromGbk(m_picker.symbols()));
}

void CDqfh::OnOk() {
    // The edit box is read-only, so what it shows came from the picker and always has a code.
    if (std::optional<std::string> shown = ToGbk(m_edit->text())) {
        m_picker.SetSymbols(std::move(*shown));
    }
    accept();
}

void CDqfh::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_picker.OnDoubleClick(PictureRect(), pos.x(), pos.y())) {
        ShowSymbols();
    }
    QDialog::mouseDoubleClickEvent(event);
}

bool CDqfh::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int entry = editor::SymbolAt(PictureRect(), help->pos().x(), help->pos().y());
        if (entry < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const editor::PictureRect r = PictureRect();
        const int cw = r.width / kColumns;
        const int ch = r.height / kRows;
        const QRect cell(r.left + (entry % kColumns) * cw, r.top + (entry / kColumns) * ch, cw, ch);
        QToolTip::showText(help->globalPos(), FromGbk(editor::SymbolName(entry)), this, cell);
        return true;
    }
    return QDialog::event(event);
}

}  // namespace qvprt::ui
