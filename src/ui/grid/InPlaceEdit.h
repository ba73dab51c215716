#pragma once
// The editor laid over one grid cell while the user types into it. It ends on Enter, Escape or the
// loss of the keyboard focus, reports to the grid once and then deletes itself.

#include <QLineEdit>

namespace qvprt::ui {

class CMyListCtrl;

class CInPlaceEdit : public QLineEdit {
    Q_OBJECT
  public:
    static constexpr int kControlId = 1036;

    CInPlaceEdit(int row, int column, const QString& initial_text, CMyListCtrl* grid);

    void SetDigitsOnly(bool on) { m_digitsOnly = on; }
    bool digitsOnly() const { return m_digitsOnly; }
    int row() const { return m_row; }
    int column() const { return m_column; }

    // Reports the result to the grid (once) and goes away.
    void EndEdit();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QString Filter(const QString& typed) const;
    void Widen();

    int m_row;
    int m_column;
    QString m_initialText;
    bool m_digitsOnly = false;
    bool m_cancelled = false;
    bool m_enter = false;  // Enter ended the edit
    bool ended_ = false;
    CMyListCtrl* grid_;
};

}  // namespace qvprt::ui
