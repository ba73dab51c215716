#include "ui/grid/GridModel.h"

#include "ui/qt_text.h"

namespace qvprt::ui {

using editor::COL_CHECK;
using editor::kGridColumns;

namespace {
const char* const kTitles[kGridColumns] = {"",     "",     "段号", "字段内容", "下行内容",
                                           "重复", "字号", "修饰", "方向",     "缩放"};
}

GridModel::GridModel(editor::SegmentGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {
    grid_.SetListener(this);
}

GridModel::~GridModel() {
    grid_.SetListener(nullptr);
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.GetItemCount();
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kGridColumns;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == COL_CHECK) {
                return {};
            }
            return FromGbk(grid_.GetItemText(index.row(), index.column()));
        case Qt::CheckStateRole:
            if (index.column() != COL_CHECK) {
                return {};
            }
            return grid_.GetCheck(index.row()) ? Qt::Checked : Qt::Unchecked;
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        default:
            return {};
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    // Only the row's check box is set through the view; cell texts go through the grid's commit.
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        role != Qt::CheckStateRole || index.column() != COL_CHECK) {
        return false;
    }
    const bool checked = value.toInt() == Qt::Checked;
    return check_handler_ ? check_handler_(index.row(), checked)
                          : grid_.SetCheck(index.row(), checked);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kGridColumns) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QString::fromUtf8(kTitles[section]);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == COL_CHECK) {
        f |= Qt::ItemIsUserCheckable;
    }
    return f;
}

void GridModel::BeginInsertRows(int first, int last) {
    beginInsertRows(QModelIndex(), first, last);
}

void GridModel::EndInsertRows() {
    endInsertRows();
}

void GridModel::BeginRemoveRows(int first, int last) {
    beginRemoveRows(QModelIndex(), first, last);
}

void GridModel::EndRemoveRows() {
    endRemoveRows();
}

void GridModel::CellsChanged(int top, int left, int bottom, int right) {
    emit dataChanged(index(top, left), index(bottom, right));
}

void GridModel::CurrentRowChanged(int row, bool ensure_visible) {
    emit currentRowSet(row, ensure_visible);
}

void GridModel::HeaderCheckStateChanged(int column) {
    emit headerDataChanged(Qt::Horizontal, column, column);
}

}  // namespace qvprt::ui
