#include "boxlogger/gui/instance_channel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace korv::boxlogger {

namespace {
// One request: "raise", then a file per line, then an empty line.
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
            if (lines.isEmpty() || lines.front() != kRaise) return;
            lines.removeFirst();
            socket->write("ok\n");
            socket->flush();
            emit raise_requested(lines);
        });
    }
}

bool InstanceChannel::SendToRunning(const QString& socket_path, const QStringList& files, int timeout_ms) {
    QLocalSocket socket;
    socket.connectToServer(socket_path);
    if (!socket.waitForConnected(timeout_ms)) return false;
    QByteArray request = QByteArray(kRaise) + "\n";
    for (const QString& file : files) request += file.toUtf8() + "\n";
    request += "\n";
    socket.write(request);
    if (!socket.waitForBytesWritten(timeout_ms)) return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeout_ms)) return false;
    return socket.readLine().startsWith("ok");
}

}  // namespace korv::boxlogger
