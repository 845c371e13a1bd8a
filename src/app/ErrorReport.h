#pragma once
// The text of the application-wide error handler: "Fehlertyp: %s %sMeldung: %s" with the
// error's class name, a line break and its message. The program goes on after showing it.
#include <QString>
#include <exception>

namespace px {

QString ErrorReportText(const QString& className, const QString& message);
QString ErrorReportText(const std::exception& error);

} // namespace px
