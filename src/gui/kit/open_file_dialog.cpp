#include "gui/kit/open_file_dialog.h"

#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace vokari::ui {
namespace {

// The columns of QFileSystemModel.
enum Column { kName = 0, kSize = 1, kType = 2, kDate = 3 };

class WindowLanguageFiles : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QFileInfo info = files->fileInfo(source);
        switch (index.column()) {
        case kSize:
            if (info.isFile())
                return QLocale().formattedDataSize(info.size());
            break;
        case kType:
            if (info.isDir())
                return OpenFileDialog::tr("フォルダ");
            if (info.isFile())
                return info.suffix().isEmpty()
                           ? OpenFileDialog::tr("ファイル")
                           : OpenFileDialog::tr("%1 ファイル").arg(info.suffix().toUpper());
            if (info.isSymLink())
                return OpenFileDialog::tr("ショートカット");
            break;
        case kDate:
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        default:
            break;
        }
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

OpenFileDialog::OpenFileDialog(QWidget* parent, const QString& caption, const QString& folder,
                               const QString& filter)
    : QFileDialog(parent, caption, folder, filter) {
    setObjectName(QStringLiteral("CmndlgFileOpen"));
    // Before the proxy: only Qt's own dialog takes one.
    setOption(QFileDialog::DontUseNativeDialog);
    setProxyModel(new WindowLanguageFiles(this));
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
}

QString OpenFileDialog::chosenFile() const {
    const QStringList files = selectedFiles();
    return result() == QDialog::Accepted && !files.isEmpty() ? files.first() : QString();
}

} // namespace vokari::ui
