#pragma once

#include <QStandardPaths>
#include <QTest>

// A program a test reads its results with. The test set-up installs it, so under CI a missing one
// fails the test; elsewhere the test is skipped with the hint.
#define REQUIRE_TOOL(program, hint)                                                                                    \
    do {                                                                                                               \
        if (QStandardPaths::findExecutable(QStringLiteral(program)).isEmpty()) {                                       \
            if (qEnvironmentVariableIsSet("CI"))                                                                       \
                QFAIL(program " fehlt, obwohl die Testumgebung es installiert");                                       \
            QSKIP(hint);                                                                                               \
        }                                                                                                              \
    } while (false)
