#pragma once
// The line between a second start and the running VXMlog: the second one
// asks the first to come forward (handing over files to open) and exits.
#include <QObject>
#include <QStringList>

class QLocalServer;

namespace korv::boxlogger {

// Where the lock file and the socket live: the user's runtime folder.
QString instance_lock_path();
QString instance_socket_path();

// The program's arguments with every file made absolute against this
// process's working folder (and one pair of surrounding quotes dropped), so
// that a running instance elsewhere opens the same files. Options ("-...")
// stay as they are.
QStringList absolute_arguments(const QStringList& arguments);

class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Takes over the socket name (a crashed instance leaves its socket file).
    bool Listen(const QString& socket_path);

    // From the second start: true once the first one has the request.
    static bool SendToRunning(const QString& socket_path, const QStringList& files, int timeout_ms);

signals:
    void raise_requested(const QStringList& files);

private:
    void on_connection();
    QLocalServer* server_ = nullptr;
};

}  // namespace korv::boxlogger
