#include "boxlogger/gui/instance_channel.h"

#include <QDeadlineTimer>
#include <QUuid>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <algorithm>

#include "boxlogger/core/hand_over.h"

namespace korv::boxlogger {

namespace {
// One request: "raise", its id, then a file per line, then an empty line.
constexpr char kRaise[] = "raise";

QString runtime_folder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    QDir().mkpath(folder);
    return folder;
}
}  // namespace

QStringList absolute_arguments(const QStringList& arguments) {
    QStringList absolute;
    for (QString argument : arguments) {
        if (argument.startsWith('-')) {
            absolute << argument;
            continue;
        }
        if (argument.size() >= 2 && argument.startsWith('"') && argument.endsWith('"'))
            argument = argument.mid(1, argument.size() - 2);
        absolute << QFileInfo(argument).absoluteFilePath();
    }
    return absolute;
}

QString instance_lock_path() { return runtime_folder() + "/VXMlog.lock"; }
QString instance_socket_path() { return runtime_folder() + "/VXMlog.socket"; }

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}
InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::Listen(const QString& socket_path) {
    QLocalServer::removeServer(socket_path);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceChannel::on_connection);
    return server_->listen(socket_path);
}

void InstanceChannel::on_connection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // A complete request ends with an empty line.
            const QByteArray pending = socket->peek(socket->bytesAvailable());
            const qsizetype end = pending.indexOf("\n\n");
            if (end < 0) return;
            socket->read(end + 2);
            QStringList lines = QString::fromUtf8(pending.left(end)).split('\n');
            if (lines.size() < 2 || lines.front() != kRaise) return;
            const QString id = lines[1];
            lines.remove(0, 2);
            // The sender may have given up waiting for the answer before and
            // asks again: it gets the answer, the files open once.
            const bool first_time = !answered_ids_.contains(id);
            answered_ids_.insert(id);
            socket->write("ok\n");
            socket->flush();
            if (first_time) emit raise_requested(lines);
        });
    }
}

bool InstanceChannel::SendToRunning(const QString& socket_path, const QStringList& files, const QString& request_id,
                                    int timeout_ms) {
    const QDeadlineTimer deadline(timeout_ms);
    const auto left = [&deadline] { return static_cast<int>(std::max<qint64>(0, deadline.remainingTime())); };
    QLocalSocket socket;
    socket.connectToServer(socket_path);
    if (!socket.waitForConnected(left())) return false;
    QByteArray request = QByteArray(kRaise) + "\n" + request_id.toUtf8() + "\n";
    for (const QString& file : files) request += file.toUtf8() + "\n";
    request += "\n";
    socket.write(request);
    if (!socket.waitForBytesWritten(left())) return false;
    while (!socket.canReadLine())
        if (deadline.hasExpired() || !socket.waitForReadyRead(left())) return false;
    return socket.readLine().startsWith("ok");
}

bool InstanceChannel::HandOver(const QString& socket_path, const QStringList& files) {
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return hand_over([&](int timeout_ms) { return SendToRunning(socket_path, files, id, timeout_ms); });
}

}  // namespace korv::boxlogger
