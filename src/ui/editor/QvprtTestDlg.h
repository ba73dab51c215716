#pragma once
// The main window: the toolbar, the job setting boxes, the segment attribute panel, the grid and
// the bottom strip. It owns the editor, turns widget events into its calls and mirrors its state.

#include <QDialog>
#include <map>
#include <memory>

#include "editor/Editor.h"
#include "editor/ports.h"
#include "printing/ch375_driver.h"
#include "printing/clock.h"
#include "ui/grid/MyListCtrl.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolBar;

namespace qvprt::ui {

class CMyState;
class CMyPrintView;
class GridModel;

// Toolbar commands.
enum Command {
    ID_FILE_SAVE = 32775,
    ID_FILE_OPEN = 32776,
    ID_EXIT = 32777,
    ID_PRINT = 32779,
    ID_ADD_ROW = 32780,
    ID_DELETE_ROW = 32781,
    ID_PREVIEW = 32782,
    ID_EXCEL_IMPORT = 32783,
    ID_SYMBOL = 32784,
    ID_UDISK = 32785,
    ID_SUPERSCRIPT = 32773,
    ID_SUBSCRIPT = 32774,
};

// Controls without a counterpart in editor::Control.
enum OtherControl {
    IDC_SET_REPEAT = 1031,
    IDC_SERIAL = 1033,
    IDC_GRID = 1017,
    IDC_PICTURE = 1018,
    IDC_FONT_LIBRARY = 1023,
    IDC_HIDDEN_DEFAULT = 1029,
    IDC_BOTTOM_STRIP = 1035,
};

class CQvprtTestDlg : public QDialog, public editor::EditorView, public GridParent {
    Q_OBJECT
  public:
    // Template sizes: one dialog unit is 1.5 pixels with the 12-pixel dialog font.
    static constexpr int kToolbarBand = 76;
    // The job summary's line below the bottom strip.
    static constexpr int kSummaryLine = 18;

    // `prompts` replaces the message boxes and file dialogs (tests); null: the window's own.
    // `clock` null: the real one.
    explicit CQvprtTestDlg(printing::Ch375Driver& driver, editor::Prompts* prompts = nullptr,
                           printing::Clock* clock = nullptr, QWidget* parent = nullptr);
    ~CQvprtTestDlg() override;

    editor::Editor& editor() { return *editor_; }
    CMyListCtrl* grid() const { return grid_; }
    CMyState* statusWindow() const { return status_window_.get(); }
    CMyPrintView* previewWindow() const { return preview_window_; }
    QToolBar* toolbar() const { return toolbar_; }
    QAction* command(int id) const;
    // Any control by its template identifier.
    QWidget* control(int id) const;
    void ShowAbout();
    QLabel* summaryLine() const { return summary_; }
    // A window manager may ignore the maximise request, and a bare X server has none: then the
    // window takes the screen's free area itself rather than stay at its template size.
    void FillScreenUnlessMaximised();

    // EditorView
    void CommitCellEditor() override;
    void OpenCellEditor(int row, int column) override;
    void PostCall(std::function<void()> call) override;
    void ControlChanged(editor::Control control) override;
    void FocusControl(editor::Control control) override;
    void JobModifiedChanged(bool modified) override;
    void SetPreviewHeight(double millimetres) override;
    void ShowSegments() override;
    void SetStatusText(std::string_view text) override;
    void ShowStatus() override;
    void HideStatus() override;
    void CloseStatus() override;
    bool StatusExists() override;
    void ShowContinueCancel(bool show) override;
    void ShowCancelOnly(bool show) override;
    int GetAnswer() override;

    // GridParent
    void GridRowClicked(int row, int column) override;
    int GridCanEditCell(int row, int column) override;
    void GridCellCommitted(int row, int column, const std::string& gbk,
                           bool ended_by_enter) override;
    void GridHeaderClicked(int column) override;
    void GridTextRefused(int row, int column) override;
    void GridPaste(const QString& text) override;
    void GridMenuItems(QMenu& menu) override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  public slots:
    void reject() override;

  private:
    void BuildToolbar();
    void BuildControls();
    void PlaceSummary();
    void SetUpGrid();
    void SetTabOrder();
    void OnCommand(int id);
    void UndoOrRedo(bool undo);
    void MirrorControl(editor::Control control);
    const editor::ComboBox* EditorBox(editor::Control control) const;
    void OnBoxActivated(editor::Control control, int position);
    void OnRadioClicked(editor::Control control);
    void OnEditEdited(editor::Control control, const QString& text);

    std::unique_ptr<editor::Prompts> own_prompts_;
    editor::Prompts* prompts_;
    std::unique_ptr<editor::Editor> editor_;
    std::unique_ptr<CMyState> status_window_;
    QToolBar* toolbar_ = nullptr;
    std::map<int, QAction*> commands_;
    std::map<int, QWidget*> controls_;
    CMyListCtrl* grid_ = nullptr;
    GridModel* model_ = nullptr;
    QFrame* bottom_strip_ = nullptr;
    CMyPrintView* preview_window_ = nullptr;  // a child panel over the bottom strip
    QLabel* summary_ = nullptr;
    bool layout_ready_ = false;
};

}  // namespace qvprt::ui
