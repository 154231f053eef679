#pragma once

#include <QObject>
#include <QString>
#include <filesystem>

class QLocalServer;

// The running copy's side of a second start: a package the second copy was asked to open is
// handed over a local socket in the user's runtime folder, and the running copy opens it.
namespace vokari::ui {

class PackageHandOver : public QObject {
    Q_OBJECT
public:
    // `folder`: where the socket lives (default: the runtime directory).
    explicit PackageHandOver(std::filesystem::path folder = {}, QObject* parent = nullptr);
    ~PackageHandOver() override;

    // Starts listening; false when the socket cannot be made (the running copy then simply
    // receives nothing).
    bool listen();

    // From a second copy: hands `package` to the running copy. False when none answered.
    bool send(const QString& package) const;

signals:
    void packageReceived(const QString& package);

private:
    QString socketPath() const;

    std::filesystem::path folder_;
    QLocalServer* server_ = nullptr;
};

} // namespace vokari::ui
