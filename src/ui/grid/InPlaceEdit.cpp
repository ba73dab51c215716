#include "ui/grid/InPlaceEdit.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "model/text_codes.h"
#include "text/gbk.h"
#include "ui/grid/MyListCtrl.h"

namespace qvprt::ui {

namespace {

// Bytes a text takes in GBK; a character without a code (only pasted text can hold one) counts as
// one byte, as the '?' it would never be written as.
int GbkBytes(const QString& s) {
    return static_cast<int>(text::gbk(s.toStdString()).size());
}

bool IsControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

}  // namespace

CInPlaceEdit::CInPlaceEdit(int row, int column, const QString& initial_text, CMyListCtrl* grid)
    : QLineEdit(grid->viewport()),
      m_row(row),
      m_column(column),
      m_initialText(initial_text),
      grid_(grid) {
    setObjectName(QStringLiteral("CInPlaceEdit"));
    setFont(grid->font());
    setAlignment(Qt::AlignCenter);
    setFrame(true);
    setText(m_initialText);
    connect(this, &QLineEdit::textEdited, this, [this] { Widen(); });
}

bool CInPlaceEdit::event(QEvent* e) {
    // Enter, Escape, Delete and the Ctrl shortcuts belong to the editor, not to the dialog's
    // buttons or the window's shortcuts.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        // Undo and redo go to the window's job history once the edit has none of its own left.
        const QKeyCombination keys = k->keyCombination();
        const bool undo = keys == QKeyCombination(Qt::ControlModifier, Qt::Key_Z);
        const bool redo =
            keys == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
            keys == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
        if ((undo && !isUndoAvailable()) || (redo && !isRedoAvailable())) {
            e->ignore();
            return true;
        }
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Escape ||
            k->key() == Qt::Key_Delete || k->key() == Qt::Key_Clear ||
            (k->modifiers() & Qt::ControlModifier)) {
            e->accept();
            return true;
        }
    }
    return QLineEdit::event(e);
}

QString CInPlaceEdit::Filter(const QString& typed) const {
    QString accepted;
    int bytes = GbkBytes(text());
    for (QChar c : typed) {
        if (IsControl(c)) {
            accepted += c;
            continue;
        }
        if (m_digitsOnly && !(c.isDigit() && c.unicode() < 0x80) && c != QLatin1Char('.')) {
            continue;
        }
        const std::optional<std::string> gbk = [&]() -> std::optional<std::string> {
            text::EncodeResult r = text::encode_gbk(std::u16string(1, c.unicode()));
            return r.ok ? std::optional(r.bytes) : std::nullopt;
        }();
        if (!gbk.has_value() || bytes >= model::kMaxTextBytes) {
            continue;
        }
        bytes += static_cast<int>(gbk->size());
        accepted += c;
    }
    return accepted;
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        m_cancelled = true;
        grid_->setFocus(Qt::OtherFocusReason);
        EndEdit();
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        m_enter = true;
        grid_->setFocus(Qt::OtherFocusReason);
        EndEdit();
        return;
    }
    const QString typed = e->text();
    const bool is_text =
        !typed.isEmpty() && !IsControl(typed.front()) && !(e->modifiers() & Qt::ControlModifier);
    if (!is_text) {
        QLineEdit::keyPressEvent(e);
        // Keys the edit has no use for (Up, Down, Page Up...) would otherwise move the grid's
        // row under the open editor.
        e->accept();
        return;
    }
    const QString accepted = Filter(typed);
    if (accepted == typed) {
        QLineEdit::keyPressEvent(e);
    } else if (!accepted.isEmpty()) {
        insert(accepted);
        Widen();
    }
    e->accept();
}

void CInPlaceEdit::keyReleaseEvent(QKeyEvent* e) {
    QLineEdit::keyReleaseEvent(e);
    // The grid moves its current row on the release of Up and Down; not while a cell is edited.
    e->accept();
}

void CInPlaceEdit::inputMethodEvent(QInputMethodEvent* e) {
    const QString commit = e->commitString();
    if (commit.isEmpty()) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    const QString accepted = Filter(commit);
    QInputMethodEvent filtered(e->preeditString(), e->attributes());
    filtered.setCommitString(accepted, e->replacementStart(), e->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    Widen();
}

void CInPlaceEdit::Widen() {
    const int needed = fontMetrics().horizontalAdvance(text()) + 5;
    if (width() >= needed) {
        return;
    }
    const int right_limit = grid_->viewport()->width();
    const int new_width = std::min(needed, right_limit - x());
    if (new_width > width()) {
        resize(new_width, height());
    }
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // A popup menu (the editor's own copy/paste menu) does not take the keyboard focus from the
    // editor; the focus comes back when the menu closes.
    if (e->reason() == Qt::PopupFocusReason) {
        return;
    }
    EndEdit();
}

void CInPlaceEdit::EndEdit() {
    if (ended_) {
        return;
    }
    ended_ = true;
    std::optional<QString> result;
    if (!m_cancelled) {
        result = text();
    }
    // The grid may open the next editor from inside this call; this one goes right after.
    grid_->EditEnded(this, m_row, m_column, result, m_enter);
    hide();
    deleteLater();
}

}  // namespace qvprt::ui
