#include "ui/editor/AboutDlg.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qvprt::ui {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于 QvprtTest"));
    setObjectName(QStringLiteral("CAboutDlg"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/app.svg")).pixmap(32, 32));
    auto* line1 =
        new QLabel(QStringLiteral("QvprtTest %1 版").arg(QStringLiteral(QVPRT_VERSION)), this);
    auto* line2 = new QLabel(QStringLiteral("线号打印机标签编辑程序"), this);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(line1);
    texts->addWidget(line2);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    top->addSpacing(12);
    top->addWidget(ok, 0, Qt::AlignTop);
    setLayout(top);
    setFixedSize(sizeHint());
}

}  // namespace qvprt::ui
