// The application-wide error report names the error's class and its message.
#include "app/ErrorReport.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace px;

TEST(ErrorReport, ShowsClassNameLineBreakAndMessage)
{
    EXPECT_EQ(ErrorReportText(QStringLiteral("EConvertError"), QStringLiteral("kaputt")),
              QStringLiteral("Fehlertyp: EConvertError \nMeldung: kaputt"));
    EXPECT_EQ(ErrorReportText(std::out_of_range("index 7")),
              QStringLiteral("Fehlertyp: std::out_of_range \nMeldung: index 7"));
    // Placeholders inside the parts are text, not further substitutions.
    EXPECT_EQ(ErrorReportText(QStringLiteral("%2"), QStringLiteral("%1")), QStringLiteral("Fehlertyp: %2 \nMeldung: %1"));
}
