#pragma once

#include <QAbstractTableModel>
#include <QMimeData>
#include <QStringList>
#include <functional>

namespace vokari::ui {

// The rows of a flat list, read from the window's own data when the view draws them, so a list
// of tens of thousands of rows shows at once. The window keeps its data and tells the model
// when rows come, go or change.
class RowTableModel : public QAbstractTableModel {
public:
    // What row `row` shows in `column` for `role`; an invalid QVariant for nothing.
    using Cell = std::function<QVariant(int row, int column, int role)>;
    // The data of rows dragged away.
    using Drag = std::function<QMimeData*(const QModelIndexList& rows)>;

    RowTableModel(QStringList captions, std::function<int()> rowCount, Cell cell,
                  QObject* parent = nullptr);

    // Rows that can be dragged away, with `drag` packing them.
    void setDrag(QStringList mimeTypes, Drag drag);

    // The window's data was replaced.
    void reset();
    // The window's data changed in place: the view reads its rows again.
    void refresh();
    void refreshRow(int row);
    // `change` removes row `row` from the window's data.
    void removeRow(int row, const std::function<void()>& change);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

private:
    QStringList captions_;
    std::function<int()> rowCount_;
    Cell cell_;
    QStringList mimeTypes_;
    Drag drag_;
};

} // namespace vokari::ui
