#include "ui/grid/MyEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace qvprt::ui {

namespace {
bool IsLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}
}  // namespace

CMyEdit::CMyEdit(QWidget* parent) : QLineEdit(parent) {}

void CMyEdit::SetDigitsMode(int limit) {
    m_filter = FILTER_DIGITS;
    if (limit != 0) {
        setMaxLength(limit);
    }
}

void CMyEdit::SetLettersMode(int limit, int letter_case) {
    m_filter = FILTER_LETTERS;
    if (limit != 0) {
        setMaxLength(limit);
    }
    m_case = (letter_case >= CASE_ANY && letter_case <= CASE_UPPER) ? letter_case : CASE_ANY;
}

QString CMyEdit::Filter(const QString& typed) const {
    QString accepted;
    for (QChar c : typed) {
        char16_t u = c.unicode();
        if (IsLetter(u) && m_case == CASE_LOWER) {
            u = QChar(u).toLower().unicode();
        } else if (IsLetter(u) && m_case == CASE_UPPER) {
            u = QChar(u).toUpper().unicode();
        }
        const bool ok = m_filter == FILTER_NONE ||
                        (m_filter == FILTER_DIGITS && u >= u'0' && u <= u'9') ||
                        (m_filter == FILTER_LETTERS && IsLetter(u));
        if (ok) {
            accepted += QChar(u);
        }
    }
    return accepted;
}

void CMyEdit::keyPressEvent(QKeyEvent* e) {
    const QString typed = e->text();
    if (typed.isEmpty() || typed.front().unicode() < 0x20 || typed.front().unicode() == 0x7f ||
        (e->modifiers() & Qt::ControlModifier)) {
        // Backspace, cursor keys and shortcuts.
        QLineEdit::keyPressEvent(e);
        return;
    }
    const QString accepted = Filter(typed);
    if (accepted == typed) {
        QLineEdit::keyPressEvent(e);
    } else if (!accepted.isEmpty()) {
        QKeyEvent changed(e->type(), e->key(), e->modifiers(), accepted, e->isAutoRepeat());
        QLineEdit::keyPressEvent(&changed);
    }
    e->accept();
}

void CMyEdit::inputMethodEvent(QInputMethodEvent* e) {
    if (e->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    QInputMethodEvent filtered(e->preeditString(), e->attributes());
    filtered.setCommitString(Filter(e->commitString()), e->replacementStart(),
                             e->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

}  // namespace qvprt::ui
