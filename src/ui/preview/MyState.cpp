#include "ui/preview/MyState.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "ui/style.h"

namespace qvprt::ui {

namespace {
// Template sizes in dialog units of 1.5 pixels.
constexpr int kWidth = 525;  // 350 units
constexpr int kHeight = 81;  // 54 units
}  // namespace

CMyState::CMyState(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_statusText(QStringLiteral("正在处理打印数据...")) {
    setObjectName(QStringLiteral("CMyState"));
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kWindowColor);
    setPalette(p);
    setStyleSheet(QStringLiteral("CMyState { border: 1px solid #808080; }"));

    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("1041"));
    label_->setGeometry(8, 8, 509, 27);  // 339 x 18 units
    label_->setAlignment(Qt::AlignCenter);
    QFont status_font(QStringLiteral("宋体"));
    status_font.setPixelSize(16);
    label_->setFont(status_font);
    QPalette lp = label_->palette();
    lp.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label_->setPalette(lp);

    // Black text that turns red while the button is held down.
    const QString button_style =
        QStringLiteral(
            "QPushButton { background: %1; color: black; border: 1px solid #808080; "
            "padding: 2px; } QPushButton:pressed { color: red; }")
            .arg(WindowColorCss());
    continue_ = new QPushButton(QStringLiteral("继续打印"), this);
    continue_->setObjectName(QStringLiteral("1045"));
    cancel_ = new QPushButton(QStringLiteral("取消打印"), this);
    cancel_->setObjectName(QStringLiteral("1046"));
    for (QPushButton* b : {continue_, cancel_}) {
        b->setStyleSheet(button_style);
        b->setAutoDefault(false);
        b->hide();
    }
    continue_->setGeometry(kWidth / 2 - 110, 44, 90, 26);
    cancel_->setGeometry(kWidth / 2 + 20, 44, 90, 26);
    connect(continue_, &QPushButton::clicked, this, &CMyState::OnContinue);
    connect(cancel_, &QPushButton::clicked, this, &CMyState::OnCancel);

    label_->setText(m_statusText);
    m_ready = true;
}

void CMyState::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        move(screen->geometry().center() - rect().center());
    }
    raise();
}

void CMyState::SetStatusText(const QString& text) {
    if (!m_ready) {
        return;
    }
    m_statusText = text;
    label_->setText(text);
    // The print run blocks the event loop between its texts.
    if (isVisible()) {
        label_->repaint();
    }
}

void CMyState::ShowContinueCancel(bool show) {
    if (show == m_bothShown) {
        return;
    }
    m_bothShown = show;
    if (show) {
        m_answer = ANSWER_NONE;
    }
    continue_->setVisible(show);
    cancel_->setVisible(show);
}

void CMyState::ShowCancelOnly(bool show) {
    if (show == m_cancelOnlyShown) {
        return;
    }
    m_cancelOnlyShown = show;
    if (show) {
        m_answer = ANSWER_AUTO;
    }
    continue_->setVisible(false);
    cancel_->setVisible(show);
}

void CMyState::OnContinue() {
    continue_->hide();
    cancel_->hide();
    m_answer = ANSWER_CONTINUE;
}

void CMyState::OnCancel() {
    continue_->hide();
    cancel_->hide();
    m_answer = ANSWER_CANCEL;
    m_bothShown = false;
    m_cancelOnlyShown = false;
    hide();
}

void CMyState::CloseStatus() {
    closed_ = true;
    hide();
}

void CMyState::keyPressEvent(QKeyEvent* event) {
    // The print run keeps using the window: Enter and Escape neither close nor destroy it.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMyState::reject() {}

}  // namespace qvprt::ui
