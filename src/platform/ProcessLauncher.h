#pragma once
// Starting other programs and handing files and addresses to the desktop's handlers.
#include <QString>
#include <QStringList>
#include <memory>

namespace px {

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts a program detached from this one. False when it could not be started.
    virtual bool start(const QString& program, const QStringList& args = {}) = 0;
    // The shell's "open": a file or URL with the desktop's handler (xdg-open).
    virtual bool open(const QString& fileOrUrl) = 0;
};

std::unique_ptr<ProcessLauncher> makeSystemProcessLauncher();

class FakeProcessLauncher : public ProcessLauncher {
public:
    QStringList started;   // program followed by its arguments, joined with ' '
    QStringList opened;
    bool result = true;
    bool start(const QString& program, const QStringList& args = {}) override
    {
        started << (QStringList{program} + args).join(QLatin1Char(' '));
        return result;
    }
    bool open(const QString& fileOrUrl) override { opened << fileOrUrl; return result; }
};

} // namespace px
