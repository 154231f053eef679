#include "gui/installer/arc_file_model.h"

#include "gui/kit/message_box_dialog.h"
#include "installer/cfs_arc_list.h"

namespace vokari::ui {

ArcFileModel::ArcFileModel(QObject* parent) : QAbstractTableModel(parent) {}

ArcFileModel::~ArcFileModel() = default;

void ArcFileModel::setList(std::shared_ptr<CfsArcList> list) {
    beginResetModel();
    rows_.clear();
    list_ = std::move(list);
    if (list_) {
        rows_.reserve(list_->fileList.count());
        for (auto& item : list_->fileList)
            if (!item.value.isFolder())
                rows_.push_back({&item.value});
    }
    endResetModel();
}

CfsArcFile* ArcFileModel::entry(int row) const {
    return row >= 0 && static_cast<size_t>(row) < rows_.size() ? rows_[size_t(row)].entry : nullptr;
}

void ArcFileModel::showInstallPath(int row) {
    if (!entry(row))
        return;
    rows_[size_t(row)].showsInstallPath = true;
    rows_[size_t(row)].mark = Mark::Unknown;
    emit dataChanged(index(row, Install), index(row, InstallPath));
}

void ArcFileModel::refreshMarks() {
    for (Row& row : rows_)
        row.mark = Mark::Unknown;
    if (!rows_.empty())
        emit dataChanged(index(0, Install), index(rowCount() - 1, Install));
}

QString ArcFileModel::overwriteMark() {
    return tr("上書");
}

QString ArcFileModel::addMark() {
    return tr("追加");
}

void ArcFileModel::fillMarks(size_t first) const {
    // A view asks its rows top down: the marks of the rows after this one, as many as a window
    // shows, come from the same listing of their folders.
    constexpr size_t kBatch = 256;
    std::vector<size_t> asked;
    std::vector<const CfsArcFile*> entries;
    for (size_t i = first; i < rows_.size() && i < first + kBatch; ++i) {
        Row& row = rows_[i];
        if (row.mark != Mark::Unknown)
            continue;
        if (!row.entry->shouldInstall()) {
            row.mark = Mark::None;
            continue;
        }
        asked.push_back(i);
        entries.push_back(row.entry);
    }
    const std::vector<bool> found = existingFiles(entries);
    for (size_t k = 0; k < asked.size(); ++k)
        rows_[asked[k]].mark = found[k] ? Mark::Overwrite : Mark::Add;
}

QString ArcFileModel::markText(size_t index) const {
    const Row& row = rows_[index];
    if (row.mark == Mark::Unknown && !marksFrozen_)
        fillMarks(index);
    switch (row.mark) {
    case Mark::Overwrite:
        return overwriteMark();
    case Mark::Add:
        return addMark();
    case Mark::Unknown:
    case Mark::None:
        break;
    }
    return {};
}

int ArcFileModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ArcFileModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ArcFileModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<size_t>(index.row()) >= rows_.size())
        return {};
    const Row& row = rows_[size_t(index.row())];
    const CfsArcFile& entry = *row.entry;
    if (role == Qt::UserRole && index.column() == FileName)
        return qs(entry.fullPath()); // the row's key
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case FileName:
        return qs(entry.fileName());
    case Path:
        return qs(entry.filePath());
    case Install:
        return markText(size_t(index.row()));
    case InstallPath:
        return qs(row.showsInstallPath ? entry.installPath() : entry.defaultInstallPath());
    default:
        return {};
    }
}

QVariant ArcFileModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case FileName:
        return tr("ファイル名");
    case Path:
        return tr("パス");
    case Install:
        return tr("インストール");
    case InstallPath:
        return tr("インストールパス");
    default:
        return {};
    }
}

} // namespace vokari::ui
