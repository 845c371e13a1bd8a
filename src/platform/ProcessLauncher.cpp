#include "platform/ProcessLauncher.h"

#include <QProcess>

namespace px {
namespace {

class SystemProcessLauncher : public ProcessLauncher {
public:
    bool start(const QString& program, const QStringList& args) override
    {
        if (program.isEmpty())
            return false;
        return QProcess::startDetached(program, args);
    }

    // xdg-open hands the file or address to the desktop's handler; it works without a GUI
    // application object, unlike QDesktopServices.
    bool open(const QString& fileOrUrl) override
    {
        if (fileOrUrl.isEmpty())
            return false;
        // A relative name that begins with '-' would be read as an option.
        const QString arg = fileOrUrl.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + fileOrUrl
                                                                    : fileOrUrl;
        return QProcess::startDetached(QStringLiteral("xdg-open"), {arg});
    }
};

} // namespace

std::unique_ptr<ProcessLauncher> makeSystemProcessLauncher()
{
    return std::make_unique<SystemProcessLauncher>();
}

} // namespace px
