#pragma once
// The electrical symbol picker (template 164): the user double-clicks symbols in the picture, sees
// them collected in the edit box 1043, and ends with 确定 or 取消.

#include <QDialog>
#include <string>

#include "editor/symbol_picker.h"

class QLineEdit;
class QPushButton;

namespace qvprt::ui {

class CDqfh : public QDialog {
    Q_OBJECT
  public:
    explicit CDqfh(QWidget* parent = nullptr);

    // After 确定: the collected symbols, GBK in the edit form.
    const std::string& symbols() const { return m_picker.symbols(); }

    // The picture control's outer rectangle, in the dialog's client coordinates.
    editor::PictureRect PictureRect() const;
    QWidget* picture() const { return m_picture; }
    QLineEdit* edit() const { return m_edit; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* reselectButton() const { return m_reselect; }

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void ShowSymbols();
    void OnOk();

    editor::SymbolPicker m_picker;
    QWidget* m_picture = nullptr;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_reselect = nullptr;
};

}  // namespace qvprt::ui
