#pragma once
// A filtered edit box: only digits or only letters, optionally forcing the letters' case.

#include <QLineEdit>

namespace qvprt::ui {

class CMyEdit : public QLineEdit {
    Q_OBJECT
  public:
    enum { FILTER_NONE = 0, FILTER_DIGITS = 1, FILTER_LETTERS = 2 };
    enum { CASE_ANY = 0, CASE_LOWER = 1, CASE_UPPER = 2 };

    explicit CMyEdit(QWidget* parent = nullptr);

    void SetDigitsMode(int limit);
    void SetLettersMode(int limit, int letter_case);
    QString GetEditText() const { return text(); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

  private:
    QString Filter(const QString& typed) const;

    int m_filter = FILTER_NONE;
    int m_case = CASE_ANY;
};

}  // namespace qvprt::ui
