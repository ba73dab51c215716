#pragma once
// The serial-number dialog "设置序号": a type and a start and end value, with the values the range
// gives shown under the edits as the user types.

#include <QDialog>

#include "editor/serial_numbers.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace qvprt::ui {

class CMyEdit;

class CNumSet : public QDialog {
    Q_OBJECT
  public:
    // Opens on the caller's type and range.
    explicit CNumSet(const editor::SerialChoice& current, QWidget* parent = nullptr);

    // After 确定: the chosen type and range.
    const editor::SerialChoice& choice() const { return m_choice; }

    QRadioButton* radio(editor::SerialType type) const;
    CMyEdit* startEdit() const { return m_startEdit; }
    CMyEdit* endEdit() const { return m_endEdit; }
    QLabel* rangeLabel() const { return m_range; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* closeButton() const { return m_close; }

  private:
    editor::SerialType CheckedType() const;
    void ApplyType(editor::SerialType type);
    void ShowRange();
    void OnOk();

    editor::SerialChoice m_choice;
    QRadioButton* m_natural = nullptr;  // 1023
    QRadioButton* m_padded = nullptr;   // 1021
    QRadioButton* m_lower = nullptr;    // 1022
    QRadioButton* m_upper = nullptr;    // 1024
    CMyEdit* m_startEdit = nullptr;     // 1032
    CMyEdit* m_endEdit = nullptr;       // 1033
    QLabel* m_range = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_close = nullptr;
};

}  // namespace qvprt::ui
