#include "gui/quickcombat/qc_aircraft_drag.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <algorithm>

namespace vokari::ui {
namespace {

const QString kFoldersMime = QStringLiteral("application/x-vokari-aircraft-folders");

} // namespace

std::optional<QStringList> QcAircraftDrag::draggedFolders(const QMimeData* data) {
    if (!data || !data->hasFormat(kFoldersMime))
        return std::nullopt;
    QStringList folders;
    QDataStream stream(data->data(kFoldersMime));
    stream >> folders;
    return folders;
}

QStringList QcAircraftDrag::mimeTypes() {
    return {kFoldersMime};
}

QMimeData* QcAircraftDrag::mimeData(const QModelIndexList& indexes) {
    QModelIndexList rows;
    for (const QModelIndex& index : indexes)
        if (index.column() == 0)
            rows.append(index);
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList folders;
    for (const QModelIndex& row : rows)
        folders << row.data(Qt::UserRole).toString();
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << folders;
    auto* data = new QMimeData;
    data->setData(kFoldersMime, bytes);
    return data;
}

} // namespace vokari::ui
