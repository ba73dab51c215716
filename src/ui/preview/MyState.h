#pragma once
// The print status window: one line of blue text, on top of everything, and the two buttons the
// print run asks for when it needs a decision.

#include <QDialog>

class QLabel;
class QPushButton;

namespace qvprt::ui {

class CMyState : public QDialog {
    Q_OBJECT
  public:
    enum { ANSWER_NONE = 0, ANSWER_CONTINUE = 1, ANSWER_CANCEL = 2, ANSWER_AUTO = 3 };

    explicit CMyState(QWidget* parent = nullptr);

    void SetStatusText(const QString& text);
    QString statusText() const { return m_statusText; }
    void ShowContinueCancel(bool show);
    void ShowCancelOnly(bool show);
    int GetAnswer() const { return m_answer; }
    void CloseStatus();
    bool closed() const { return closed_; }

    QPushButton* continueButton() const { return continue_; }
    QPushButton* cancelButton() const { return cancel_; }
    QLabel* label() const { return label_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

  private:
    void OnContinue();
    void OnCancel();

    bool m_ready = false;
    int m_answer = ANSWER_NONE;
    bool m_bothShown = false;
    bool m_cancelOnlyShown = false;
    QString m_statusText;
    QLabel* label_;
    QPushButton* continue_;
    QPushButton* cancel_;
    bool closed_ = false;
};

}  // namespace qvprt::ui
