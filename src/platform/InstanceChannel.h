#pragma once
// One running program per user. The first instance listens on a per-user local socket; a
// later start connects, hands over its messages and ends. The check and the start of the
// listener are made under a lock file so that two simultaneous starts cannot both listen.
#include "platform/InstanceMessage.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QLocalServer;
class QLocalSocket;

namespace px {

// The socket name: "pixmora-<uid>" in $XDG_RUNTIME_DIR (or the temporary folder), as a full
// path. The lock file is the socket path with ".lock" appended.
QString defaultInstanceSocketName();

// At most this much unread data is held per connection (one whole frame).
// Senders served at the same time, and how long one may stay silent before it is dropped.
constexpr int kMaxConnections = 8;
constexpr int kIdleTimeoutMs = 10000;

class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(const QString& socketName = defaultInstanceSocketName(), QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Sends the messages to a running instance. True when one was running and took them all
    // (they were written to its socket; there is no reply). Several messages share one
    // connection; the receiver delivers them in order.
    bool sendToRunningInstance(const std::vector<InstanceMessage>& messages, int timeoutMs = 3000);

    // Becomes the listening instance. False (with *error) when another instance already
    // listens or the socket cannot be created.
    bool listen(QString* error = nullptr);

    // How long a start waits for the lock another start holds (default 5000 ms). A lock left
    // by a start that died is taken over at once.
    void setLockTimeout(int ms) { lockTimeoutMs_ = ms; }
    void setIdleTimeout(int ms) { idleTimeoutMs_ = ms; }

    // Convenience for start-up: send when another instance runs, else listen.
    enum class Role { Forwarded, Primary, Failed };
    Role sendOrListen(const std::vector<InstanceMessage>& messages, QString* error = nullptr);

signals:
    // A complete, well-formed frame arrived. Unknown numbers are delivered too; the receiver
    // decides (and ignores them).
    void messageReceived(const px::InstanceMessage& message);

private:
    int openConnections_ = 0;
    int idleTimeoutMs_ = kIdleTimeoutMs;
    enum class SendResult { NoInstance, Sent, Failed };
    // NoInstance: nobody listens (no socket, or a stale one). Failed: an instance answered
    // but did not take the messages; then no second listener may be started.
    SendResult trySend(const std::vector<InstanceMessage>& messages, int timeoutMs, QString* error);
    bool startListening(QString* error);
    QString lockFilePath() const;
    void onNewConnection();
    void serve(QLocalSocket* socket);

    QString socketName_;
    int lockTimeoutMs_ = 5000;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace px
