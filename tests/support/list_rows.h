#pragma once

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QRect>
#include <QString>
#include <vector>

namespace vokari::test {

// A row of a list view, read and selected through the view's model.
struct ListRow {
    QAbstractItemView* list = nullptr;
    int row = -1;

    bool isValid() const { return list && row >= 0 && row < list->model()->rowCount(); }
    QModelIndex index(int column = 0) const { return list->model()->index(row, column); }
    QString text(int column) const { return index(column).data().toString(); }
    QString toolTip(int column) const { return index(column).data(Qt::ToolTipRole).toString(); }
    bool isSelected() const { return list->selectionModel()->isRowSelected(row); }
    void setSelected(bool isSelected) const {
        list->selectionModel()->select(
            index(), (isSelected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                         QItemSelectionModel::Rows);
    }
    // Where the row is drawn, in the view's viewport.
    QRect rect() const { return list->visualRect(index()); }
};

inline int rowCount(const QAbstractItemView* list) {
    return list->model()->rowCount();
}

inline ListRow rowAt(QAbstractItemView* list, int row) {
    return {list, row};
}

// The rows whose `column` reads `text` exactly.
inline std::vector<ListRow> findRows(QAbstractItemView* list, const QString& text, int column) {
    std::vector<ListRow> found;
    for (int row = 0; row < rowCount(list); ++row)
        if (list->model()->index(row, column).data().toString() == text)
            found.push_back({list, row});
    return found;
}

} // namespace vokari::test
