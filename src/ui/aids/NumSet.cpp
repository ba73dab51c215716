#include "ui/aids/NumSet.h"

#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "ui/grid/MyEdit.h"
#include "ui/qt_text.h"
#include "ui/style.h"

namespace qvprt::ui {
namespace {

using editor::SerialType;

// The template's dialog units, converted as the main window's are.
int Px(int units) {
    return static_cast<int>(std::lround(units * 1.5));
}
QRect UnitRect(int x, int y, int w, int h) {
    return QRect(Px(x), Px(y), Px(w), Px(h));
}

QString FieldText(const std::array<char, 4>& field) {
    std::string s;
    for (char c : field) {
        if (c == '\0') {
            break;
        }
        s += c;
    }
    return FromGbk(s);
}

}  // namespace

CNumSet::CNumSet(const editor::SerialChoice& current, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_choice(current) {
    setWindowTitle(QStringLiteral("设置序号"));
    setFixedSize(Px(210), Px(106));
    QPalette palette = this->palette();
    palette.setColor(QPalette::All, QPalette::Window, kWindowColor);
    palette.setColor(QPalette::All, QPalette::Button, kWindowColor);
    setPalette(palette);
    setAutoFillBackground(true);

    auto* types = new QGroupBox(QStringLiteral("选择序号类型"), this);
    types->setGeometry(UnitRect(5, 4, 202, 40));
    auto add_radio = [this](const char* id, const char* text, QRect r) {
        auto* b = new QRadioButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromUtf8(id));
        b->setGeometry(r);
        return b;
    };
    m_natural = add_radio("1023", "自然数字序号：  0-999", UnitRect(9, 15, 98, 11));
    m_padded = add_radio("1021", "格式数字序号：000-999", UnitRect(107, 15, 99, 11));
    m_lower = add_radio("1022", "小写字母序号：a-z", UnitRect(9, 29, 98, 11));
    m_upper = add_radio("1024", "大写字母序号：A-Z", UnitRect(107, 29, 99, 11));

    auto* range = new QGroupBox(QStringLiteral("序号"), this);
    range->setGeometry(UnitRect(5, 47, 152, 54));
    auto* start_label = new QLabel(QStringLiteral("开始序号："), this);
    start_label->setGeometry(UnitRect(14, 60, 40, 10));
    m_startEdit = new CMyEdit(this);
    m_startEdit->setObjectName(QStringLiteral("1032"));
    m_startEdit->setGeometry(UnitRect(52, 58, 24, 13));
    auto* end_label = new QLabel(QStringLiteral("结束序号："), this);
    end_label->setGeometry(UnitRect(84, 60, 40, 10));
    m_endEdit = new CMyEdit(this);
    m_endEdit->setObjectName(QStringLiteral("1033"));
    m_endEdit->setGeometry(UnitRect(122, 58, 24, 13));
    m_range = new QLabel(this);
    m_range->setObjectName(QStringLiteral("range"));
    m_range->setGeometry(UnitRect(14, 78, 138, 18));
    m_range->setWordWrap(true);

    m_ok = new QPushButton(QStringLiteral("确定(&O)"), this);
    m_ok->setObjectName(QStringLiteral("1"));
    m_ok->setGeometry(UnitRect(162, 56, 41, 14));
    m_ok->setDefault(true);
    m_close = new QPushButton(QStringLiteral("关闭(&X)"), this);
    m_close->setObjectName(QStringLiteral("2"));
    m_close->setGeometry(UnitRect(162, 80, 41, 14));

    for (SerialType t :
         {SerialType::Natural, SerialType::Padded, SerialType::Lower, SerialType::Upper}) {
        connect(radio(t), &QRadioButton::clicked, this, [this, t] { ApplyType(t); });
    }
    connect(m_startEdit, &QLineEdit::textChanged, this, &CNumSet::ShowRange);
    connect(m_endEdit, &QLineEdit::textChanged, this, &CNumSet::ShowRange);
    connect(m_ok, &QPushButton::clicked, this, &CNumSet::OnOk);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    const SerialType initial = editor::InitialSerialType(current);
    radio(initial)->setChecked(true);
    ApplyType(initial);
    m_startEdit->setText(FieldText(current.start));
    m_endEdit->setText(FieldText(current.end));
}

QRadioButton* CNumSet::radio(SerialType type) const {
    switch (type) {
        case SerialType::Padded:
            return m_padded;
        case SerialType::Lower:
            return m_lower;
        case SerialType::Upper:
            return m_upper;
        case SerialType::Natural:
            break;
    }
    return m_natural;
}

SerialType CNumSet::CheckedType() const {
    // The radios are read in the dialog's own order: 1023, 1021, 1024, 1022.
    if (m_natural->isChecked())
        return SerialType::Natural;
    if (m_padded->isChecked())
        return SerialType::Padded;
    if (m_upper->isChecked())
        return SerialType::Upper;
    if (m_lower->isChecked())
        return SerialType::Lower;
    return SerialType::Natural;
}

void CNumSet::ApplyType(SerialType type) {
    const editor::SerialEditMode mode = editor::EditModeFor(type);
    for (CMyEdit* e : {m_startEdit, m_endEdit}) {
        if (mode.digits) {
            e->SetDigitsMode(mode.limit);
        } else {
            e->SetLettersMode(mode.limit,
                              mode.upper_case ? CMyEdit::CASE_UPPER : CMyEdit::CASE_LOWER);
        }
        e->clear();
    }
    ShowRange();
}

void CNumSet::ShowRange() {
    m_range->setText(
        QString::fromUtf8(editor::SerialPreview(CheckedType(), ToGbkLossy(m_startEdit->text()),
                                                ToGbkLossy(m_endEdit->text()))
                              .c_str()));
}

void CNumSet::OnOk() {
    const editor::SerialAccept r = editor::AcceptSerial(
        CheckedType(), ToGbkLossy(m_startEdit->text()), ToGbkLossy(m_endEdit->text()));
    if (const auto* refusal = std::get_if<std::string_view>(&r)) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("提示"),
                        QString::fromUtf8(refusal->data(), static_cast<qsizetype>(refusal->size())),
                        QMessageBox::NoButton, this);
        box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        box.exec();
        return;
    }
    m_choice = std::get<editor::SerialChoice>(r);
    accept();
}

}  // namespace qvprt::ui
