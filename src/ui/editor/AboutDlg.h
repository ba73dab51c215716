#pragma once
// The about box: the program's icon, name and version, and "确定".

#include <QDialog>

namespace qvprt::ui {

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace qvprt::ui
