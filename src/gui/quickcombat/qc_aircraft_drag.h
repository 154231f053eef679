#pragma once

#include <QModelIndexList>
#include <QStringList>
#include <optional>

class QMimeData;

namespace vokari::ui {

// The quick-combat editor's drag of installed aircraft: it carries the folder names (each row's
// Qt::UserRole data) of the dragged rows, in list order, so a drop target can tell such a drag
// from anything else dropped on it.
class QcAircraftDrag {
public:
    static QStringList mimeTypes();
    // The drag of the rows of `indexes` (any of their columns).
    static QMimeData* mimeData(const QModelIndexList& indexes);
    // The folder names a drop carries; nothing when it does not come from such a list.
    static std::optional<QStringList> draggedFolders(const QMimeData* data);
};

} // namespace vokari::ui
