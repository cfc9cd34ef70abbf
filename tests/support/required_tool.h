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

// A tool that is there but cannot work here (strace without the right to trace): skipped with the
// hint, except under CI, where the set-up gives it that right and the test fails.
#define SKIP_OR_FAIL_UNDER_CI(hint)                                                                                    \
    do {                                                                                                               \
        if (qEnvironmentVariableIsSet("CI"))                                                                           \
            QFAIL(hint);                                                                                               \
        QSKIP(hint);                                                                                                   \
    } while (false)
