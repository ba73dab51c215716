#include "ui/editor/QvprtTestDlg.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "printing/job_summary.h"
#include "ui/editor/AboutDlg.h"
#include "ui/editor/QtPrompts.h"
#include "ui/editor/QvprtTestApp.h"
#include "ui/grid/GridModel.h"
#include "ui/grid/InPlaceEdit.h"
#include "ui/grid/MyEdit.h"
#include "ui/preview/MyPrintView.h"
#include "ui/preview/MyState.h"
#include "ui/qt_text.h"
#include "ui/style.h"
#include "ui/symbol_font.h"

namespace qvprt::ui {

using editor::Control;

namespace {

// Template 102 is laid out in dialog units of 1.5 pixels; the toolbar band is taller than the room
// the template leaves above the first group, so everything below it moves down by the difference.
int Px(int units) {
    return static_cast<int>(std::lround(units * 1.5));
}
constexpr int kTemplateBand = 58;  // 39 units
int Top(int units) {
    return Px(units) + CQvprtTestDlg::kToolbarBand - kTemplateBand;
}
QRect UnitRect(int x, int y, int w, int h) {
    return QRect(Px(x), Top(y), Px(w), Px(h));
}
// A drop-down list shows one line whatever height its template gives the open list.
constexpr int kComboHeight = 20;

struct ToolButton {
    int id;  // 0: separator
    const char* text;
    const char* icon;
    bool enabled;
};
// The commands that later work builds are present but disabled.
const ToolButton kToolButtons[] = {
    {ID_FILE_OPEN, "打开文件", "open", true},
    {ID_FILE_SAVE, "保存文件", "save", true},
    {0, nullptr, nullptr, false},
    {ID_UDISK, "存U盘", "udisk", true},
    {ID_EXCEL_IMPORT, "Excel导入", "excel", true},
    {0, nullptr, nullptr, false},
    {ID_ADD_ROW, "增加一行", "add_row", true},
    {ID_DELETE_ROW, "删除一行", "delete_row", true},
    {0, nullptr, nullptr, false},
    {ID_SUPERSCRIPT, "上标", "superscript", true},
    {ID_SUBSCRIPT, "下标", "subscript", true},
    {0, nullptr, nullptr, false},
    {ID_PREVIEW, "打印预览", "preview", true},
    {ID_PRINT, "打印", "print", true},
    {0, nullptr, nullptr, false},
    {ID_SYMBOL, "电气符号", "symbol", true},
    {0, nullptr, nullptr, false},
    {ID_EXIT, "退出", "exit", true},
};

// Widths asked for; the grid adds 4 pixels to each.
constexpr int kColumnWidths[editor::kGridColumns] = {16, 16, 40, 260, 90, 45, 45, 75, 95, 45};

struct BoxSpec {
    Control id;
    int x, y, w;
};
const BoxSpec kBoxes[] = {
    {Control::Material, 38, 53, 41},     {Control::MaterialParam, 126, 53, 40},
    {Control::Cut, 214, 53, 44},         {Control::Spacing, 293, 53, 34},
    {Control::Arrangement, 363, 53, 34}, {Control::Density, 432, 54, 33},
    {Control::FontSize, 41, 177, 60},    {Control::Decoration, 41, 213, 60},
    {Control::Direction, 41, 232, 60},   {Control::Scale, 41, 195, 60},
};

struct RadioSpec {
    Control id;
    const char* text;
    int x, y, w, h;
    bool hidden;
};
const RadioSpec kRadios[] = {
    {Control::AutoLength, "自动", 16, 121, 32, 10, true},
    {Control::FixedLength, "指定", 53, 121, 32, 10, true},
    {Control::LocalFont, "本地字库", 22, 286, 48, 10, false},
    {Control::ExternalFont, "外部字库", 22, 300, 48, 10, false},
    {Control::CurrentOnly, "当前段", 10, 87, 38, 10, false},
    {Control::CurrentAndBelow, "当前段以下", 52, 87, 53, 10, false},
};

struct LabelSpec {
    const char* text;
    int x, y;
};
const LabelSpec kLabels[] = {
    {"材料：", 13, 55},  {"材料参数：", 86, 55}, {"切割设置：", 173, 55}, {"字距：", 264, 55},
    {"排列：", 337, 55}, {"浓度：", 406, 56},    {"打印份数", 473, 56},   {"重复：", 15, 161},
    {"字号：", 15, 179}, {"缩放：", 15, 197},    {"修饰：", 15, 215},     {"方向：", 15, 235},
};

struct GroupSpec {
    const char* title;
    int x, y, w, h;
};
const GroupSpec kGroups[] = {
    {"文件信息", 4, 39, 542, 34},  {"段落信息", 4, 104, 106, 165}, {"段长", 9, 111, 96, 40},
    {"字库选择", 4, 272, 106, 41}, {"", 4, 314, 106, 84},          {"设置类型", 4, 76, 106, 25},
};

}  // namespace

CQvprtTestDlg::CQvprtTestDlg(printing::Ch375Driver& driver, editor::Prompts* prompts,
                             printing::Clock* clock, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    if (prompts == nullptr) {
        own_prompts_ = std::make_unique<QtPrompts>(this);
        prompts = own_prompts_.get();
    }
    prompts_ = prompts;
    // The one place the editor is made.
    editor_ = std::make_unique<editor::Editor>(
        *prompts_, *this, driver, clock != nullptr ? *clock : printing::system_clock());
    // Hidden until a print shows it; a window of its own, not owned by this one.
    status_window_ = std::make_unique<CMyState>();

    setObjectName(QStringLiteral("CQvprtTestDlg"));
    // The "*" shows while the job differs from the last file opened, saved or written.
    setWindowTitle(QStringLiteral("QvprtTest[*]"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kWindowColor);
    setPalette(p);
    resize(Px(550), Top(452) + kSummaryLine);

    BuildToolbar();
    BuildControls();
    SetUpGrid();
    SetTabOrder();
    // Below the template's size the controls would lie under the window's edges, and the grid
    // and the strip, which follow the edges, would vanish; the toolbar keeps all its buttons. A
    // smaller screen still holds the whole window.
    QSize least(std::max(Px(550), toolbar_->sizeHint().width()), Top(452) + kSummaryLine);
    if (const QScreen* s = screen()) {
        least = least.boundedTo(s->availableGeometry().size());
    }
    setMinimumSize(least);
    editor_->Initialize();
    layout_ready_ = true;

    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, &CQvprtTestDlg::ShowAbout);
    // A cell editor keeps these for its own text while it has something to undo.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
        const bool undo = keys == QKeySequence(Qt::CTRL | Qt::Key_Z);
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, undo] { UndoOrRedo(undo); });
    }
}

CQvprtTestDlg::~CQvprtTestDlg() {
    // The grid and its model let go of the editor before it goes; an open cell editor is dropped.
    if (grid_ != nullptr) {
        grid_->Detach();
    }
    delete model_;
    model_ = nullptr;
}

QAction* CQvprtTestDlg::command(int id) const {
    auto it = commands_.find(id);
    return it == commands_.end() ? nullptr : it->second;
}

QWidget* CQvprtTestDlg::control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CQvprtTestDlg::BuildToolbar() {
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("toolbar"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(32, 32));
    toolbar_->setAutoFillBackground(true);
    toolbar_->setContentsMargins(0, 0, 0, 0);
    QPalette p = toolbar_->palette();
    p.setColor(QPalette::Window, kWindowColor);
    p.setColor(QPalette::Button, kWindowColor);
    toolbar_->setPalette(p);
    toolbar_->setStyleSheet(
        QStringLiteral("QToolBar { background: %1; border: none; padding: 2px; spacing: 0px; }"
                       "QToolButton { border: 1px solid transparent; padding: 0px; }"
                       "QToolButton:hover { border: 1px solid #a0a0a0; }"
                       "QToolButton:pressed { border: 1px solid #606060; }"
                       "QToolButton:disabled { color: #a0a0a0; }")
            .arg(WindowColorCss()));
    for (const ToolButton& b : kToolButtons) {
        if (b.id == 0) {
            toolbar_->addSeparator();
            continue;
        }
        const QIcon icon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(b.icon)));
        QAction* a = toolbar_->addAction(icon, QString::fromUtf8(b.text));
        a->setData(b.id);
        a->setEnabled(b.enabled);
        commands_[b.id] = a;
        if (QWidget* w = toolbar_->widgetForAction(a)) {
            w->setFixedSize(72, 72);
            w->setObjectName(QStringLiteral("cmd%1").arg(b.id));
        }
        const int id = b.id;
        connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
    toolbar_->setGeometry(0, 0, width(), kToolbarBand);
}

void CQvprtTestDlg::BuildControls() {
    // Group boxes first so that the controls lie above their frames.
    for (const GroupSpec& g : kGroups) {
        auto* box = new QGroupBox(QString::fromUtf8(g.title), this);
        box->setGeometry(UnitRect(g.x, g.y, g.w, g.h));
        // The title sits on the frame's top line, as a dialog's group box draws it.
        box->setStyleSheet(
            QStringLiteral("QGroupBox { border: 1px solid #a0a0a0; margin-top: 6px; }"
                           "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: "
                           "top left; left: 6px; top: 0px; padding: 0px 1px; background: %1; }")
                .arg(WindowColorCss()));
    }
    for (const LabelSpec& l : kLabels) {
        auto* label = new QLabel(QString::fromUtf8(l.text), this);
        label->adjustSize();
        label->move(Px(l.x), Top(l.y));
    }
    for (const BoxSpec& b : kBoxes) {
        auto* combo = new QComboBox(this);
        combo->setGeometry(Px(b.x), Top(b.y), Px(b.w), kComboHeight);
        combo->setMaxVisibleItems(21);
        combo->setObjectName(QString::number(static_cast<int>(b.id)));
        controls_[static_cast<int>(b.id)] = combo;
        const Control id = b.id;
        connect(combo, &QComboBox::activated, this,
                [this, id](int position) { OnBoxActivated(id, position); });
    }
    auto* font_library = new QComboBox(this);
    font_library->setGeometry(Px(18), Top(314), Px(69), kComboHeight);
    font_library->setEnabled(false);
    font_library->hide();
    controls_[IDC_FONT_LIBRARY] = font_library;

    for (const RadioSpec& r : kRadios) {
        auto* radio = new QRadioButton(QString::fromUtf8(r.text), this);
        // The style's wider gap between circle and text would push "当前段以下" into its group's
        // frame.
        radio->setStyleSheet(QStringLiteral("QRadioButton { spacing: 3px; }"));
        radio->setGeometry(UnitRect(r.x, r.y, r.w, r.h));
        // Never narrower than its text.
        radio->resize(std::max(radio->width(), radio->sizeHint().width()), radio->height());
        // The editor keeps the radios' states; all six share this parent.
        radio->setAutoExclusive(false);
        radio->setObjectName(QString::number(static_cast<int>(r.id)));
        radio->setVisible(!r.hidden);
        controls_[static_cast<int>(r.id)] = radio;
        const Control id = r.id;
        connect(radio, &QRadioButton::clicked, this, [this, id] { OnRadioClicked(id); });
    }

    struct EditSpec {
        Control id;
        int x, y, w, h;
    };
    const EditSpec edits[] = {{Control::LengthEdit, 15, 125, 59, 14},
                              {Control::RepeatEdit, 41, 158, 33, 14},
                              {Control::CopiesEdit, 507, 53, 33, 14}};
    for (const EditSpec& e : edits) {
        // Length and repeat take digits only; the copies edit takes any text and its handler
        // answers a non-number.
        QLineEdit* edit = nullptr;
        if (e.id == Control::CopiesEdit) {
            edit = new QLineEdit(this);
        } else {
            auto* digits = new CMyEdit(this);
            digits->SetDigitsMode(0);
            edit = digits;
        }
        edit->setGeometry(UnitRect(e.x, e.y, e.w, e.h));
        edit->setObjectName(QString::number(static_cast<int>(e.id)));
        controls_[static_cast<int>(e.id)] = edit;
        const Control id = e.id;
        connect(edit, &QLineEdit::textEdited, this,
                [this, id](const QString& text) { OnEditEdited(id, text); });
    }

    struct ButtonSpec {
        int id;
        const char* text;
        int x, y, w, h;
    };
    const ButtonSpec buttons[] = {{static_cast<int>(Control::SetLength), "设定", 79, 125, 22, 14},
                                  {IDC_SET_REPEAT, "设定", 79, 158, 22, 14},
                                  {IDC_SERIAL, "设置序号", 15, 250, 82, 14},
                                  {IDC_HIDDEN_DEFAULT, "Button1", 439, 417, 50, 14}};
    for (const ButtonSpec& b : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(b.text), this);
        button->setGeometry(UnitRect(b.x, b.y, b.w, b.h));
        button->setAutoDefault(false);
        button->setObjectName(QString::number(b.id));
        controls_[b.id] = button;
    }
    connect(static_cast<QPushButton*>(controls_[static_cast<int>(Control::SetLength)]),
            &QPushButton::clicked, this, [this] { editor_->OnSetLength(); });
    connect(static_cast<QPushButton*>(controls_[IDC_SET_REPEAT]), &QPushButton::clicked, this,
            [this] { editor_->OnSetRepeat(); });
    connect(static_cast<QPushButton*>(controls_[IDC_SERIAL]), &QPushButton::clicked, this,
            [this] { editor_->OnSerialNumbers(); });
    // Enter pressed in the window goes to this hidden button and does nothing.
    auto* hidden_default = static_cast<QPushButton*>(controls_[IDC_HIDDEN_DEFAULT]);
    hidden_default->setDefault(true);
    hidden_default->hide();

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("1018"));
    const QRect pr = UnitRect(7, 324, 98, 68);
    picture->setGeometry(pr);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/printer_picture.svg"))
                           .pixmap(QSize(pr.width() - 8, pr.height() - 8)));
    controls_[IDC_PICTURE] = picture;

    // The preview strip lies over this, as a child panel that follows it.
    bottom_strip_ = new QFrame(this);
    bottom_strip_->setObjectName(QStringLiteral("1035"));
    bottom_strip_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bottom_strip_->setGeometry(UnitRect(4, 402, 541, 45));
    controls_[IDC_BOTTOM_STRIP] = bottom_strip_;
    preview_window_ = new CMyPrintView(this);
    preview_window_->setObjectName(QStringLiteral("157"));
    preview_window_->Reposition(bottom_strip_->geometry());
    preview_window_->raise();
    preview_window_->show();

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    PlaceSummary();
}

void CQvprtTestDlg::PlaceSummary() {
    const QRect s = bottom_strip_->geometry();
    summary_->setGeometry(s.left(), s.bottom() + 1, s.width(), kSummaryLine);
}

void CQvprtTestDlg::SetUpGrid() {
    grid_ = new CMyListCtrl(this);
    grid_->setObjectName(QStringLiteral("1017"));
    grid_->setGeometry(UnitRect(113, 78, 431, 319));
    controls_[IDC_GRID] = grid_;
    model_ = new GridModel(editor_->view_grid());
    model_->SetCheckHandler(
        [this](int row, bool checked) { return editor_->SetRowCheck(row, checked); });
    grid_->SetGrid(model_, this);
    for (int c = 0; c < editor::kGridColumns; ++c) {
        grid_->SetColumnWidthPadded(c, kColumnWidths[c]);
    }
    grid_->SetGridColors(kWindowColor, Qt::black);
    // The in-place editor takes the grid's font, so both show the symbols and marks.
    const QFont grid_font = SegmentTextFont(12);
    grid_->setFont(grid_font);
    grid_->horizontalHeader()->setFont(grid_font);
    grid_->verticalHeader()->setDefaultSectionSize(QFontMetrics(grid_font).height() + 5);
    grid_->horizontalHeader()->setFixedHeight(QFontMetrics(grid_font).height() + 9);
}

void CQvprtTestDlg::SetTabOrder() {
    // The template's order; hidden and disabled controls are skipped by the focus chain itself.
    static constexpr int kOrder[] = {
        1004, 1005, 1016, 1007, 1024, 1026, 1027, 1028, 1019, 1030, 1020, 1031,
        1010, 1006, 1025, 1033, 1022, 1021, 1023, 1017, 1011, 1039, 1040, 1032,
    };
    QWidget* previous = nullptr;
    for (int id : kOrder) {
        QWidget* next = control(id);
        if (previous != nullptr && next != nullptr) {
            QWidget::setTabOrder(previous, next);
        }
        if (next != nullptr) {
            previous = next;
        }
    }
}

// ---- commands ----

void CQvprtTestDlg::OnCommand(int id) {
    switch (id) {
        case ID_FILE_OPEN:
            editor_->OpenFile();
            break;
        case ID_FILE_SAVE:
            editor_->SaveProjectFile();
            break;
        case ID_UDISK:
            editor_->SaveUdiskFile();
            break;
        case ID_EXCEL_IMPORT:
            editor_->OnExcelImport();
            break;
        case ID_ADD_ROW:
            editor_->AddRow();
            break;
        case ID_DELETE_ROW:
            editor_->DeleteCheckedRows();
            break;
        case ID_PRINT:
            editor_->OnPrint();
            break;
        case ID_SUPERSCRIPT:
            editor_->OnSuperscript();
            break;
        case ID_SUBSCRIPT:
            editor_->OnSubscript();
            break;
        case ID_PREVIEW:
            editor_->OnPreview();
            break;
        case ID_SYMBOL:
            editor_->InsertSymbol();
            break;
        case ID_EXIT:
            if (editor_->OnExit()) {
                accept();
                return;
            }
            break;
        default:
            return;
    }
}

void CQvprtTestDlg::OnBoxActivated(Control id, int position) {
    switch (id) {
        case Control::Material:
            editor_->OnMaterialChanged(position);
            break;
        case Control::MaterialParam:
            editor_->OnMaterialParamChanged(position);
            break;
        case Control::Cut:
            editor_->OnCutChanged(position);
            break;
        case Control::Spacing:
            editor_->OnSpacingChanged(position);
            break;
        case Control::Arrangement:
            editor_->OnArrangementChanged(position);
            break;
        case Control::Density:
            editor_->OnDensityChanged(position);
            break;
        case Control::FontSize:
            editor_->OnFontSizeChanged(position);
            break;
        case Control::Decoration:
            editor_->OnDecorationChanged(position);
            break;
        case Control::Direction:
            editor_->OnDirectionChanged(position);
            break;
        case Control::Scale:
            editor_->OnScaleChanged(position);
            break;
        default:
            break;
    }
}

void CQvprtTestDlg::OnRadioClicked(Control id) {
    // The handler checks the radio and clears the other of its pair, as the platform's radios do.
    switch (id) {
        case Control::LocalFont:
            editor_->OnLocalFontLibrary();
            break;
        case Control::ExternalFont:
            editor_->OnExternalFontLibrary();
            break;
        case Control::AutoLength:
            editor_->OnAutoLength();
            break;
        case Control::FixedLength:
            editor_->OnFixedLength();
            break;
        case Control::CurrentOnly:
            editor_->OnScopeChanged(true);
            break;
        case Control::CurrentAndBelow:
            editor_->OnScopeChanged(false);
            break;
        default:
            break;
    }
}

void CQvprtTestDlg::OnEditEdited(Control id, const QString& text) {
    editor_->OnEditTextChanged(id, ToGbkLossy(text));
}

void CQvprtTestDlg::ShowAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CQvprtTestDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* about = menu.addAction(QStringLiteral("关于 QvprtTest(&A)..."));
    if (menu.exec(event->globalPos()) == about) {
        ShowAbout();
    }
}

void CQvprtTestDlg::UndoOrRedo(bool undo) {
    if (undo) {
        editor_->Undo();
    } else {
        editor_->Redo();
    }
}

void CQvprtTestDlg::reject() {
    // Escape leaves the window as it is; a cell editor handles its own Escape.
}

void CQvprtTestDlg::closeEvent(QCloseEvent* event) {
    if (!editor_->ConfirmClose()) {
        event->ignore();
        return;
    }
    event->accept();
    QDialog::done(QDialog::Rejected);
}

void CQvprtTestDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    toolbar_->setGeometry(0, 0, width(), kToolbarBand);
    if (!layout_ready_ || isMinimized()) {
        return;
    }
    QRect g = grid_->geometry();
    g.setRight(width() - 5 - 1);
    grid_->setGeometry(g);
    QRect s = bottom_strip_->geometry();
    s.setRight(width() - 5 - 1);
    s.setBottom(height() - 5 - kSummaryLine - 1);
    bottom_strip_->setGeometry(s);
    preview_window_->Reposition(s);
    PlaceSummary();
}

void CQvprtTestDlg::FillScreenUnlessMaximised() {
    const QScreen* s = screen();
    if (s == nullptr || isMinimized() || isFullScreen()) {
        return;
    }
    const QRect area = s->availableGeometry();
    const QRect frame = frameGeometry();
    if (frame.contains(area)) {
        return;
    }
    // The frame's margins stay outside the area.
    const QRect g = geometry();
    const QRect inside = area.adjusted(g.left() - frame.left(), g.top() - frame.top(),
                                       g.right() - frame.right(), g.bottom() - frame.bottom());
    // On a screen smaller than the least size the window still fits it.
    setMinimumSize(minimumSize().boundedTo(inside.size()));
    setGeometry(inside);
}

// ---- mirroring ----

const editor::ComboBox* CQvprtTestDlg::EditorBox(Control id) const {
    const editor::Controls& c = editor_->controls();
    switch (id) {
        case Control::Material:
            return &c.material;
        case Control::MaterialParam:
            return &c.material_param;
        case Control::Cut:
            return &c.cut;
        case Control::Spacing:
            return &c.spacing;
        case Control::Arrangement:
            return &c.arrangement;
        case Control::Density:
            return &c.density;
        case Control::FontSize:
            return &c.font_size;
        case Control::Decoration:
            return &c.decoration;
        case Control::Direction:
            return &c.direction;
        case Control::Scale:
            return &c.scale;
        default:
            return nullptr;
    }
}

void CQvprtTestDlg::MirrorControl(Control id) {
    QWidget* w = control(static_cast<int>(id));
    if (w == nullptr) {
        return;
    }
    // Setting a control from code never runs its change handler.
    const QSignalBlocker block(w);
    const editor::Controls& c = editor_->controls();
    if (const editor::ComboBox* box = EditorBox(id)) {
        auto* combo = static_cast<QComboBox*>(w);
        QStringList entries;
        for (const std::string& e : box->entries) {
            entries << FromGbk(e);
        }
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i) {
            shown << combo->itemText(i);
        }
        if (shown != entries) {
            combo->clear();
            combo->addItems(entries);
        }
        combo->setCurrentIndex(box->selection);
        combo->setEnabled(box->enabled);
        return;
    }
    auto set_radio = [w](bool checked, bool enabled = true) {
        auto* r = static_cast<QRadioButton*>(w);
        r->setChecked(checked);
        r->setEnabled(enabled);
    };
    auto set_edit = [w](const std::string& text, bool enabled = true) {
        auto* e = static_cast<QLineEdit*>(w);
        const QString t = FromGbk(text);
        if (e->text() != t) {
            e->setText(t);
        }
        e->setEnabled(enabled);
    };
    switch (id) {
        case Control::AutoLength:
            set_radio(c.auto_length);
            break;
        case Control::FixedLength:
            set_radio(c.fixed_length);
            break;
        case Control::LocalFont:
            set_radio(c.local_font);
            break;
        case Control::ExternalFont:
            set_radio(c.external_font, c.external_font_enabled);
            break;
        case Control::CurrentOnly:
            set_radio(c.current_only);
            break;
        case Control::CurrentAndBelow:
            set_radio(c.current_and_below);
            break;
        case Control::LengthEdit:
            set_edit(c.length_edit_text, c.length_edit_enabled);
            break;
        case Control::RepeatEdit:
            set_edit(c.repeat_edit_text);
            break;
        case Control::CopiesEdit:
            set_edit(c.copies_edit_text);
            break;
        case Control::SetLength:
            w->setEnabled(c.set_length_enabled);
            break;
        default:
            break;
    }
}

// ---- EditorView ----

void CQvprtTestDlg::CommitCellEditor() {
    if (grid_->openEditor() != nullptr) {
        grid_->setFocus(Qt::OtherFocusReason);
        grid_->CommitEditor();
    }
}

void CQvprtTestDlg::OpenCellEditor(int row, int column) {
    grid_->OpenCellEditor(row, column);
}

void CQvprtTestDlg::PostCall(std::function<void()> call) {
    QMetaObject::invokeMethod(
        this, [call = std::move(call)] { call(); }, Qt::QueuedConnection);
}

void CQvprtTestDlg::ControlChanged(Control id) {
    MirrorControl(id);
}

void CQvprtTestDlg::JobModifiedChanged(bool modified) {
    setWindowModified(modified);
}

void CQvprtTestDlg::FocusControl(Control id) {
    if (QWidget* w = control(static_cast<int>(id))) {
        w->setFocus(Qt::OtherFocusReason);
    }
}

void CQvprtTestDlg::SetPreviewHeight(double millimetres) {
    if (preview_window_ != nullptr) {
        preview_window_->SetPreviewHeight(millimetres);
    }
}

void CQvprtTestDlg::ShowSegments() {
    if (preview_window_ != nullptr) {
        preview_window_->ShowSegments(editor_->segments().head(), editor_->settings());
    }
    summary_->setText(FromGbk(printing::job_summary_text(
        printing::summarize_job(editor_->segments().head(), editor_->settings()))));
}

void CQvprtTestDlg::SetStatusText(std::string_view text) {
    status_window_->SetStatusText(FromGbk(text));
}

void CQvprtTestDlg::ShowStatus() {
    status_window_->show();
    status_window_->raise();
    // The print run blocks the event loop until it returns: let the window system map and expose
    // the status window now, or the user would see it only after the job was sent.
    QElapsedTimer waited;
    waited.start();
    while (status_window_->windowHandle() != nullptr &&
           !status_window_->windowHandle()->isExposed() && waited.elapsed() < 250) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    }
    status_window_->repaint();
}

void CQvprtTestDlg::HideStatus() {
    status_window_->hide();
}

void CQvprtTestDlg::CloseStatus() {
    status_window_->CloseStatus();
}

bool CQvprtTestDlg::StatusExists() {
    return !status_window_->closed();
}

void CQvprtTestDlg::ShowContinueCancel(bool show) {
    status_window_->ShowContinueCancel(show);
}

void CQvprtTestDlg::ShowCancelOnly(bool show) {
    status_window_->ShowCancelOnly(show);
}

int CQvprtTestDlg::GetAnswer() {
    return status_window_->GetAnswer();
}

// ---- GridParent ----

void CQvprtTestDlg::GridRowClicked(int row, int column) {
    editor_->OnRowClicked(row, column);
}

int CQvprtTestDlg::GridCanEditCell(int row, int column) {
    return editor_->OnCanEditCell(row, column);
}

void CQvprtTestDlg::GridCellCommitted(int row, int column, const std::string& gbk,
                                      bool ended_by_enter) {
    editor_->CommitCell(row, column, gbk, ended_by_enter);
}

void CQvprtTestDlg::GridHeaderClicked(int column) {
    editor_->OnCheckColumnClick(column);
}

void CQvprtTestDlg::GridTextRefused(int row, int column) {
    editor_->OnCellTextRefused(row, column);
}

void CQvprtTestDlg::GridMenuItems(QMenu& menu) {
    QAction* undo = menu.addAction(QStringLiteral("撤销"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->setEnabled(editor_->CanUndo());
    connect(undo, &QAction::triggered, this, [this] { UndoOrRedo(true); });
    QAction* redo = menu.addAction(QStringLiteral("重做"));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    redo->setEnabled(editor_->CanRedo());
    connect(redo, &QAction::triggered, this, [this] { UndoOrRedo(false); });
    menu.addSeparator();
}

void CQvprtTestDlg::GridPaste(const QString& text) {
    editor_->PasteText(text.toStdString());
}

}  // namespace qvprt::ui
