#include "platform/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <optional>
#include <unistd.h>

namespace px {

namespace {

int remainingMs(const QDeadlineTimer& deadline)
{
    return int(std::max<qint64>(0, deadline.remainingTime()));
}

// What one incoming connection has received and not yet delivered.
struct Connection {
    QByteArray buffer;
    std::deque<InstanceMessage> pending;
    bool delivering = false;
    bool dropped = false;
};

} // namespace

QString defaultInstanceSocketName()
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder) || !QFileInfo(folder).isDir())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("pixmora-%1").arg(::getuid()));
}

InstanceChannel::InstanceChannel(const QString& socketName, QObject* parent)
    : QObject(parent)
    , socketName_(socketName)
{
}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::lockFilePath() const
{
    // A bare name is placed by QLocalServer in the temporary folder; the lock goes beside it.
    const QString path = QDir::isAbsolutePath(socketName_) ? socketName_ : QDir(QDir::tempPath()).filePath(socketName_);
    return path + QStringLiteral(".lock");
}

InstanceChannel::SendResult InstanceChannel::trySend(const std::vector<InstanceMessage>& messages,
                                                     int timeoutMs, QString* error)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketName_);
    if (!socket.waitForConnected(remainingMs(deadline))) {
        const auto e = socket.error();
        if (e == QLocalSocket::ServerNotFoundError || e == QLocalSocket::ConnectionRefusedError)
            return SendResult::NoInstance;
        if (error)
            *error = socket.errorString();
        return SendResult::Failed;
    }
    for (const InstanceMessage& m : messages) {
        const QByteArray frame = encodeMessage(m);
        if (frame.isEmpty()) {
            if (error)
                *error = QStringLiteral("message 0x%1 too large to hand over").arg(m.number, 0, 16);
            socket.abort();
            return SendResult::Failed;
        }
        socket.write(frame);
    }
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remainingMs(deadline))) {
            if (error)
                *error = socket.errorString();
            socket.abort();
            return SendResult::Failed;
        }
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(remainingMs(deadline));
    return SendResult::Sent;
}

bool InstanceChannel::sendToRunningInstance(const std::vector<InstanceMessage>& messages, int timeoutMs)
{
    return trySend(messages, timeoutMs, nullptr) == SendResult::Sent;
}

bool InstanceChannel::startListening(QString* error)
{
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // Nobody answered on the socket (checked under the lock): what is left of it belongs to
    // an instance that ended without cleaning up.
    QLocalServer::removeServer(socketName_);
    if (!server->listen(socketName_)) {
        if (error)
            *error = server->errorString();
        return false;
    }
    connect(server.get(), &QLocalServer::newConnection, this, &InstanceChannel::onNewConnection);
    server_ = std::move(server);
    return true;
}

bool InstanceChannel::listen(QString* error)
{
    if (server_)
        return true;
    QLockFile lock(lockFilePath());
    if (!lock.tryLock(lockTimeoutMs_)) {
        if (error)
            *error = QStringLiteral("cannot take the lock %1").arg(lockFilePath());
        return false;
    }
    switch (trySend({}, 1000, error)) {
    case SendResult::Sent:
        if (error)
            *error = QStringLiteral("another instance is already running");
        return false;
    case SendResult::Failed:
        return false;
    case SendResult::NoInstance:
        break;
    }
    return startListening(error);
}

InstanceChannel::Role InstanceChannel::sendOrListen(const std::vector<InstanceMessage>& messages, QString* error)
{
    // Sent: another instance took the messages. Failed: one answered but did not take them.
    auto sendFirst = [&]() -> std::optional<Role> {
        switch (trySend(messages, 3000, error)) {
        case SendResult::Sent:
            return Role::Forwarded;
        case SendResult::Failed:
            return Role::Failed;
        case SendResult::NoInstance:
            break;
        }
        return std::nullopt;
    };
    if (const auto role = sendFirst())
        return *role;
    // Two starts at the same moment: the second to take the lock finds the first listening.
    QLockFile lock(lockFilePath());
    if (!lock.tryLock(lockTimeoutMs_)) {
        if (error)
            *error = QStringLiteral("cannot take the lock %1").arg(lockFilePath());
        return Role::Failed;
    }
    if (const auto role = sendFirst())
        return *role;
    return startListening(error) ? Role::Primary : Role::Failed;
}

void InstanceChannel::onNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // A few senders at a time are plenty; more are turned away rather than let them use
        // up the program's file handles.
        if (openConnections_ >= kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++openConnections_;
        QPointer<InstanceChannel> self(this);
        connect(socket, &QObject::destroyed, this, [self] {
            if (self)
                --self->openConnections_;
        });
        serve(socket);
    }
}

void InstanceChannel::serve(QLocalSocket* socket)
{
    auto state = std::make_shared<Connection>();
    QPointer<QLocalSocket> guard(socket);

    auto drop = [state, guard] {
        // Frames that were whole before the bad one are still delivered.
        state->dropped = true;
        state->buffer.clear();
        if (guard) {
            guard->abort();
            guard->deleteLater();
        }
    };

    // Frames are delivered in arrival order. A receiver may run a nested event loop (a message
    // box); data arriving meanwhile is queued behind the message being handled.
    auto receive = [this, state, guard, drop] {
        if (state->dropped || !guard)
            return;
        state->buffer.append(guard->readAll());
        while (true) {
            InstanceMessage m;
            const DecodeStatus status = decodeMessage(state->buffer, &m);
            if (status == DecodeStatus::Message) {
                state->pending.push_back(std::move(m));
                continue;
            }
            if (status == DecodeStatus::BadFrame)
                drop();
            break;
        }
        if (state->delivering)
            return;
        state->delivering = true;
        QPointer<InstanceChannel> self(this);
        while (!state->pending.empty()) {
            const InstanceMessage m = std::move(state->pending.front());
            state->pending.pop_front();
            emit messageReceived(m);
            if (!self)
                return;
        }
        state->delivering = false;
    };

    // A sender that goes quiet in the middle of a frame is dropped after a while.
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->setInterval(idleTimeoutMs_);
    connect(idle, &QTimer::timeout, socket, drop);
    idle->start();
    connect(socket, &QLocalSocket::readyRead, idle, qOverload<>(&QTimer::start));
    connect(socket, &QLocalSocket::readyRead, socket, receive);
    connect(socket, &QLocalSocket::disconnected, socket, [receive, guard] {
        receive();
        if (guard)
            guard->deleteLater();
    });
    receive();
}

} // namespace px
