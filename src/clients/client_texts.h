#pragma once

#include <QString>
#include <QStringList>

namespace zep::texts {

// The German texts of choosing, creating and opening clients, exactly as the user sees them.
QString openingNotice(const QString& clientName);
QString openingFailed(const QString& clientName);
QString wrongTableVersion();
QString deleteClientQuestion(const QString& clientName);
QString directoryExistsQuestion(const QString& clientDirectory);
QString createClientQuestion(const QString& clientName);
QString directoriesNotCreated();
QString templateNotCopied(const QString& templateDirectory);
QString clientTablesMissing(const QString& clientDirectory, const QStringList& tables);
QString replaceClientQuestion(const QString& listedName, const QString& listedDirectory, bool sameSpelling);
QString openClientNotReplaced(const QString& clientName);
// cause: why the list could not be written, shown on the next line when not empty.
QString clientNotRegistered(const QString& clientName, const QString& cause);
QString clientNotRemoved(const QString& clientName, const QString& cause);
QString invalidClientName(const QString& clientName);
QString invalidParentDirectory(const QString& parentDirectory);
QString noClientChosen();
QString networkFileSystemWarning(const QString& clientName);
QString settingNotSaved(const QString& settingsFile);

} // namespace zep::texts
