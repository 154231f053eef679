#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace vokari {
class CfsArcFile;
class CfsArcList;
} // namespace vokari

namespace vokari::ui {

// The rows of the installer's list: one per file of a package (folders are not shown), in the
// list's order: file name, folder in the package, "上書"/"追加" when it is to be unpacked, and
// its destination. Rows read the entries themselves, so a package of any size shows at once;
// whether a row replaces a file is asked of the disk only when the row is first shown, together
// with the rows that follow it on the screen.
class ArcFileModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { FileName = 0, Path = 1, Install = 2, InstallPath = 3, ColumnCount = 4 };

    explicit ArcFileModel(QObject* parent = nullptr);
    ~ArcFileModel() override;

    // Shows the files of `list`, kept alive while they are shown; null empties the list. The
    // list must gain no entries while it is shown: show it again once it has.
    void setList(std::shared_ptr<CfsArcList> list);
    const CfsArcList* list() const { return list_.get(); }
    CfsArcFile* entry(int row) const;

    // The user gave the row's entry a destination: the row shows its installPath from now on,
    // and its mark afresh.
    void showInstallPath(int row);
    // Every mark is asked of the disk again (files were unpacked).
    void refreshMarks();
    // While the package is being unpacked, rows not marked yet stay blank rather than ask the
    // disk from the window's thread; refreshMarks marks them afterwards.
    void setMarksFrozen(bool frozen) { marksFrozen_ = frozen; }

    static QString overwriteMark();
    static QString addMark();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    enum class Mark : uint8_t { Unknown, None, Overwrite, Add };
    struct Row {
        CfsArcFile* entry = nullptr;
        bool showsInstallPath = false;
        Mark mark = Mark::Unknown;
    };

    QString markText(size_t index) const;
    // Asks the disk for the marks not known yet of the rows from `first` on, a screenful of them.
    void fillMarks(size_t first) const;

    std::shared_ptr<CfsArcList> list_;
    // Marks are filled in as rows are shown.
    mutable std::vector<Row> rows_;
    bool marksFrozen_ = false;
};

} // namespace vokari::ui
