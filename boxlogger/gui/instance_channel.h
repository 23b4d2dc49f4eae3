#pragma once
// The line between a second start and the running VXMlog: the second one
// asks the first to come forward (handing over files to open) and exits.
#include <QObject>
#include <QSet>
#include <QString>
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

    // From a second start: one attempt, all of it within timeout_ms; true
    // once the first one has the request. A request sent again carries the
    // id it had, so the first opens its files once.
    static bool SendToRunning(const QString& socket_path, const QStringList& files, const QString& request_id,
                              int timeout_ms);
    // From a second start: attempts with one new id until the first answers
    // or the hand-over's budget is spent.
    static bool HandOver(const QString& socket_path, const QStringList& files);

signals:
    // Once per request id; a request sent again only gets its answer.
    void raise_requested(const QStringList& files);

private:
    void on_connection();
    QLocalServer* server_ = nullptr;
    QSet<QString> answered_ids_;
};

}  // namespace korv::boxlogger
