#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <optional>

class QMimeData;

namespace vokari::ui {

// The quick-combat editor's installed aircraft: a drag carries the folder names (each row's
// Qt::UserRole data) of the selected rows, in list order, so a drop target can tell such a
// drag from anything else dropped on it.
class QcAircraftDragList : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

    // The folder names a drop carries; nothing when it does not come from such a list.
    static std::optional<QStringList> draggedFolders(const QMimeData* data);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
};

} // namespace vokari::ui
