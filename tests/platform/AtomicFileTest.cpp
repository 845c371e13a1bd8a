// Files appear whole or not at all, and a replaced file keeps its permissions.
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace px;

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(AtomicFile, WritesANewFileWithoutLeavingTemporaryFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.bmp"));
    QString error;
    ASSERT_TRUE(writeFileAtomically(path, [](QIODevice& f, QString*) { return f.write("BMdata") == 6; }, &error))
        << error.toStdString();
    EXPECT_EQ(contents(path), "BMdata");
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("shot.bmp")});
    EXPECT_TRUE(QFile::permissions(path) & QFile::ReadOwner);
}

TEST(AtomicFile, FailedWriteLeavesTheOldFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.png"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old picture");
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QString error;
    EXPECT_FALSE(writeFileAtomically(path, [](QIODevice& f, QString* why) {
        f.write("half of a new pic");
        *why = QStringLiteral("encoder failed");
        return false;
    }, &error));
    EXPECT_EQ(error, QStringLiteral("encoder failed"));
    EXPECT_EQ(contents(path), "old picture");
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("shot.png")});

    ASSERT_TRUE(writeFileAtomically(path, [](QIODevice& f, QString*) { return f.write("new") == 3; }));
    EXPECT_EQ(contents(path), "new");
    EXPECT_EQ(QFile::permissions(path) & (QFile::ReadOther | QFile::ReadGroup | QFile::ReadOwner | QFile::WriteOwner),
              QFile::ReadOwner | QFile::WriteOwner);
}

TEST(AtomicFile, WritesThroughALinkAndHandlesLongNames)
{
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("real.png"));
    const QString link = dir.filePath(QStringLiteral("link.png"));
    ASSERT_TRUE(QFile::link(real, link));
    ASSERT_TRUE(writeFileAtomically(link, [](QIODevice& f, QString*) { return f.write("via link") == 8; }));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contents(real), "via link");

    const QString longName = dir.filePath(QString(250, QLatin1Char('n')) + QStringLiteral(".png"));
    QString error;
    EXPECT_TRUE(writeFileAtomically(longName, [](QIODevice& f, QString*) { return f.write("x") == 1; }, &error))
        << error.toStdString();
}

TEST(AtomicFile, MissingFolderIsAnErrorWithTheReason)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(writeFileAtomically(dir.filePath(QStringLiteral("no/such/x.bmp")),
                                     [](QIODevice&, QString*) { return true; }, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("x.bmp"))) << error.toStdString();
}

} // namespace
