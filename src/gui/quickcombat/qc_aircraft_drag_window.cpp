#include "gui/quickcombat/qc_aircraft_drag_window.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <algorithm>

namespace vokari::ui {
namespace {

const QString kFoldersMime = QStringLiteral("application/x-vokari-aircraft-folders");

} // namespace

std::optional<QStringList> QcAircraftDragList::draggedFolders(const QMimeData* data) {
    if (!data || !data->hasFormat(kFoldersMime))
        return std::nullopt;
    QStringList folders;
    QDataStream stream(data->data(kFoldersMime));
    stream >> folders;
    return folders;
}

QStringList QcAircraftDragList::mimeTypes() const {
    return {kFoldersMime};
}

QMimeData* QcAircraftDragList::mimeData(const QList<QTreeWidgetItem*>& items) const {
    QList<QTreeWidgetItem*> rows = items;
    std::sort(rows.begin(), rows.end(), [this](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return indexOfTopLevelItem(a) < indexOfTopLevelItem(b);
    });
    QStringList folders;
    for (const QTreeWidgetItem* row : rows)
        folders << row->data(0, Qt::UserRole).toString();
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << folders;
    auto* data = new QMimeData;
    data->setData(kFoldersMime, bytes);
    return data;
}

} // namespace vokari::ui
