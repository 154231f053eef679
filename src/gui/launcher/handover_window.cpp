#include "gui/launcher/handover_window.h"

#include "platform/environment.h"
#include "platform/path_text.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

namespace vokari::ui {
namespace {

constexpr int kTimeoutMs = 3000;
// A path is short; anything longer is not one of ours.
constexpr qint64 kMaxMessage = 64 * 1024;

} // namespace

PackageHandOver::PackageHandOver(std::filesystem::path folder, QObject* parent)
    : QObject(parent), folder_(folder.empty() ? platform::runtimeDirectory() : std::move(folder)) {}

PackageHandOver::~PackageHandOver() = default;

QString PackageHandOver::socketPath() const {
    const std::string name = "vokari-" + platform::currentUserId() + ".socket";
#ifdef Q_OS_WIN
    // A named pipe, which has no folder: the name alone, one per user.
    return QString::fromStdString(name);
#else
    return QString::fromStdString(platform::utf8Of(folder_ / name));
#endif
}

bool PackageHandOver::listen() {
    if (server_)
        return server_->isListening();
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock says no other copy runs, so a socket left here is a dead copy's.
    QLocalServer::removeServer(socketPath());
    if (!server_->listen(socketPath()))
        return false;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            const auto read = [this, socket] {
                if (socket->bytesAvailable() > kMaxMessage) {
                    socket->abort();
                    return;
                }
                if (!socket->canReadLine())
                    return;
                const QString package = QFile::decodeName(
                    QByteArray::fromPercentEncoding(socket->readLine().trimmed()));
                socket->write("ok\n");
                socket->flush();
                socket->disconnectFromServer();
                if (!package.isEmpty())
                    emit packageReceived(package);
            };
            connect(socket, &QLocalSocket::readyRead, this, read);
            // The line may have come with the connection.
            read();
        }
    });
    return true;
}

bool PackageHandOver::send(const QString& package) const {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(kTimeoutMs))
        return false;
    // One line per package: the file name's bytes, percent-encoded, so any name survives.
    socket.write(QFile::encodeName(package).toPercentEncoding() + '\n');
    if (!socket.waitForBytesWritten(kTimeoutMs))
        return false;
    // The running copy answers once it has the path.
    return socket.waitForReadyRead(kTimeoutMs) && socket.readLine().startsWith("ok");
}

} // namespace vokari::ui
