#include "platform/InstanceChannel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace px;

namespace {

class InstanceChannelTest : public ::testing::Test {
protected:
    QString socketPath() const { return dir_.filePath("pixmora-test"); }

    // Runs the event loop until pred holds or two seconds passed.
    template <typename Pred>
    static bool waitFor(Pred pred)
    {
        const QDeadlineTimer deadline(2000);
        while (!pred() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return pred();
    }

    static void collect(InstanceChannel& channel, std::vector<InstanceMessage>& into)
    {
        QObject::connect(&channel, &InstanceChannel::messageReceived,
                         [&into](const InstanceMessage& m) { into.push_back(m); });
    }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(InstanceChannelTest, SecondStartForwardsAndFirstReceivesInOrder)
{
    InstanceChannel first(socketPath());
    std::vector<InstanceMessage> received;
    collect(first, received);
    QString error;
    ASSERT_EQ(first.sendOrListen({}, &error), InstanceChannel::Role::Primary) << error.toStdString();

    const std::vector<InstanceMessage> sent = {
        {msg::OpenFile, 0, "/home/user/Bild mit Ü.png"},
        {msg::ShowProgram, 0, {}},
        {0x9999, 3, "unknown numbers are delivered too"},
    };
    InstanceChannel second(socketPath());
    EXPECT_EQ(second.sendOrListen(sent, &error), InstanceChannel::Role::Forwarded) << error.toStdString();
    EXPECT_TRUE(waitFor([&] { return received.size() >= sent.size(); }));
    EXPECT_EQ(received, sent);
}

TEST_F(InstanceChannelTest, OnlyOneListensAndTheSocketIsTheUsersAlone)
{
    InstanceChannel first(socketPath());
    ASSERT_TRUE(first.listen());
    InstanceChannel second(socketPath());
    QString error;
    EXPECT_FALSE(second.listen(&error));
    EXPECT_FALSE(error.isEmpty());

    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(socketPath()).constData(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u) << std::oct << st.st_mode;
}

TEST_F(InstanceChannelTest, StaleSocketOfAnEndedInstanceIsReplaced)
{
    // What an instance that was killed leaves behind: a bound socket nobody listens on.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketPath());
    ASSERT_LT(size_t(path.size()), sizeof addr.sun_path);
    memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);

    InstanceChannel channel(socketPath());
    EXPECT_FALSE(channel.sendToRunningInstance({{msg::StartCapture, 0, {}}}, 500));
    QString error;
    EXPECT_EQ(channel.sendOrListen({}, &error), InstanceChannel::Role::Primary) << error.toStdString();
    EXPECT_TRUE(InstanceChannel(socketPath()).sendToRunningInstance({}, 500));
}

TEST_F(InstanceChannelTest, BadFrameDropsOnlyThatConnection)
{
    InstanceChannel server(socketPath());
    std::vector<InstanceMessage> received;
    collect(server, received);
    ASSERT_TRUE(server.listen());

    QLocalSocket rogue;
    rogue.connectToServer(socketPath());
    ASSERT_TRUE(rogue.waitForConnected(1000));
    // A whole frame, then garbage, then a frame that must not be taken from this peer.
    rogue.write(encodeMessage({msg::StartCapture, 0, {}}) + "garbage!" + encodeMessage({msg::ShowProgram, 0, {}}));
    rogue.flush();
    EXPECT_TRUE(waitFor([&] { return rogue.state() == QLocalSocket::UnconnectedState; }));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].number, msg::StartCapture);

    EXPECT_TRUE(InstanceChannel(socketPath()).sendToRunningInstance({{msg::OpenFile, 0, "x"}}));
    EXPECT_TRUE(waitFor([&] { return received.size() == 2; }));
    EXPECT_EQ(received.back().number, msg::OpenFile);
}

TEST_F(InstanceChannelTest, FrameArrivingByteByByteIsDeliveredOnce)
{
    InstanceChannel server(socketPath());
    std::vector<InstanceMessage> received;
    collect(server, received);
    ASSERT_TRUE(server.listen());

    QLocalSocket peer;
    peer.connectToServer(socketPath());
    ASSERT_TRUE(peer.waitForConnected(1000));
    const InstanceMessage m{msg::CopyData, msg::CopyDataBitmap, QByteArray(70000, 'B')};
    const QByteArray frame = encodeMessage(m);
    for (qsizetype i = 0; i < 40; ++i) {
        peer.write(frame.mid(i, 1));
        peer.flush();
        QCoreApplication::processEvents();
    }
    peer.write(frame.mid(40));
    while (peer.bytesToWrite() > 0) {
        peer.flush();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_TRUE(waitFor([&] { return !received.empty(); }));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], m);
}

TEST_F(InstanceChannelTest, LockHeldByALiveStartIsWaitedForAndALeftOverLockIsNot)
{
    {
        QLockFile held(socketPath() + ".lock");
        ASSERT_TRUE(held.tryLock(0));
        InstanceChannel channel(socketPath());
        channel.setLockTimeout(200);
        QString error;
        EXPECT_FALSE(channel.listen(&error));
        EXPECT_EQ(channel.sendOrListen({}, &error), InstanceChannel::Role::Failed);
    }

    // A start that died while holding the lock leaves the file behind.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(socketPath() + ".lock");
        _exit(lock.tryLock(0) ? 0 : 1);   // _exit: the lock file stays
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFile::exists(socketPath() + ".lock"));

    InstanceChannel channel(socketPath());
    channel.setLockTimeout(200);
    QString error;
    EXPECT_EQ(channel.sendOrListen({}, &error), InstanceChannel::Role::Primary) << error.toStdString();
}

TEST(InstanceChannel, DefaultSocketIsPerUserInTheRuntimeFolder)
{
    const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    EXPECT_EQ(defaultInstanceSocketName(), runtime.path() + QStringLiteral("/pixmora-%1").arg(getuid()));
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(defaultInstanceSocketName().endsWith(QStringLiteral("/pixmora-%1").arg(getuid())));
    if (!old.isNull())
        qputenv("XDG_RUNTIME_DIR", old);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

TEST_F(InstanceChannelTest, SilentAndSurplusSendersAreTurnedAway)
{
    InstanceChannel first(socketPath());
    first.setIdleTimeout(300);
    std::vector<InstanceMessage> received;
    collect(first, received);
    ASSERT_TRUE(first.listen());

    // Eight senders that connect and say nothing fill every place; a ninth is refused.
    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < kMaxConnections; ++i) {
        silent.push_back(std::make_unique<QLocalSocket>());
        silent.back()->connectToServer(socketPath());
        ASSERT_TRUE(silent.back()->waitForConnected(1000));
    }
    QLocalSocket surplus;
    surplus.connectToServer(socketPath());
    surplus.write(encodeMessage({msg::ShowProgram, 0, {}}));
    surplus.flush();
    EXPECT_TRUE(waitFor([&] { return surplus.state() == QLocalSocket::UnconnectedState; }));

    // Half a frame and then silence: dropped once the idle time has passed, and the places
    // are free again.
    silent.front()->write(encodeMessage({msg::OpenFile, 0, "/tmp/x.png"}).left(10));
    silent.front()->flush();
    EXPECT_TRUE(waitFor([&] {
        return std::all_of(silent.begin(), silent.end(),
                           [](const auto& s) { return s->state() == QLocalSocket::UnconnectedState; });
    }));
    EXPECT_TRUE(received.empty());

    InstanceChannel later(socketPath());
    EXPECT_EQ(later.sendOrListen({{msg::ShowProgram, 0, {}}}), InstanceChannel::Role::Forwarded);
    EXPECT_TRUE(waitFor([&] { return received.size() == 1; }));
}
