#include "gui/kit/row_table_model.h"

#include <utility>

namespace vokari::ui {

RowTableModel::RowTableModel(QStringList captions, std::function<int()> rowCount, Cell cell,
                             QObject* parent)
    : QAbstractTableModel(parent), captions_(std::move(captions)), rowCount_(std::move(rowCount)),
      cell_(std::move(cell)) {}

void RowTableModel::setDrag(QStringList mimeTypes, Drag drag) {
    mimeTypes_ = std::move(mimeTypes);
    drag_ = std::move(drag);
}

void RowTableModel::reset() {
    beginResetModel();
    endResetModel();
}

void RowTableModel::refresh() {
    const int rows = rowCount();
    if (rows > 0)
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
}

void RowTableModel::refreshRow(int row) {
    if (row >= 0 && row < rowCount())
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void RowTableModel::removeRow(int row, const std::function<void()>& change) {
    beginRemoveRows({}, row, row);
    change();
    endRemoveRows();
}

int RowTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_();
}

int RowTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(captions_.size());
}

QVariant RowTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    return cell_(index.row(), index.column(), role);
}

QVariant RowTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < captions_.size())
        return captions_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RowTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && drag_)
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList RowTableModel::mimeTypes() const {
    return mimeTypes_;
}

QMimeData* RowTableModel::mimeData(const QModelIndexList& indexes) const {
    return drag_ ? drag_(indexes) : nullptr;
}

} // namespace vokari::ui
