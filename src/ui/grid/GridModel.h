#pragma once
// The segment grid as a Qt item model. It reads the editor's SegmentGrid on every request and
// turns the grid's notifications into the model's signals; it keeps no copy of the rows.

#include <QAbstractTableModel>
#include <functional>
#include <utility>

#include "editor/SegmentGrid.h"

namespace qvprt::ui {

class GridModel : public QAbstractTableModel, public editor::SegmentGridListener {
    Q_OBJECT
  public:
    explicit GridModel(editor::SegmentGrid& grid, QObject* parent = nullptr);
    ~GridModel() override;

    editor::SegmentGrid& grid() { return grid_; }
    // Who sets a row's check box when the user clicks it; without one the grid is set directly.
    void SetCheckHandler(std::function<bool(int row, bool checked)> handler) {
        check_handler_ = std::move(handler);
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // SegmentGridListener
    void BeginInsertRows(int first, int last) override;
    void EndInsertRows() override;
    void BeginRemoveRows(int first, int last) override;
    void EndRemoveRows() override;
    void CellsChanged(int top, int left, int bottom, int right) override;
    void CurrentRowChanged(int row, bool ensure_visible) override;
    void HeaderCheckStateChanged(int column) override;

  signals:
    void currentRowSet(int row, bool ensureVisible);

  private:
    editor::SegmentGrid& grid_;
    std::function<bool(int, bool)> check_handler_;
};

}  // namespace qvprt::ui
