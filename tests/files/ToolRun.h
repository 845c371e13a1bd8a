#pragma once
// Running an independent tool (ImageMagick, libtiff's and libjpeg's programs) on files the
// tests wrote, and collecting what it printed.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace px::testtools {

struct ToolRun {
    int exitCode = -1;  // -1: it could not start, timed out or crashed
    QByteArray out;
    QByteArray err;
};

inline ToolRun runTool(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    ToolRun r;
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace px::testtools
