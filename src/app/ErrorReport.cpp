#include "app/ErrorReport.h"

#include <cxxabi.h>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace px {

QString ErrorReportText(const QString& className, const QString& message)
{
    return QStringLiteral("Fehlertyp: %1 %2Meldung: %3").arg(className, QStringLiteral("\n"), message);
}

QString ErrorReportText(const std::exception& error)
{
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    const QString name = QString::fromLatin1(status == 0 && demangled ? demangled.get() : mangled);
    return ErrorReportText(name, QString::fromLocal8Bit(error.what()));
}

} // namespace px
