#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <stdexcept>

namespace zep {

// A step the word processor did not carry out. The text says why, for the log; the user sees the
// message of the step that failed.
class AutomationError : public std::runtime_error {
public:
    explicit AutomationError(const QString& why) : std::runtime_error(why.toStdString()) {}
    QString why() const { return QString::fromStdString(what()); }
};

// The word processor's automation object, one at a time. Members are addressed by their automation
// names, a dotted path from the object ("Documents.Open", "ActiveDocument.MailMerge.MainDocumentType");
// arguments are positional (QString, bool or int). Every failure, whatever its cause, reaches the
// caller as AutomationError; so does every call while nothing is connected.
class Automation {
public:
    enum class Connect { RunningOrNew, New };

    virtual ~Automation() = default;

    // Holds the object of programId: the running one or a new one, or always a new one. An object held
    // before is let go first, so a word processor the user has closed meanwhile is connected afresh.
    virtual void connect(const QString& programId, Connect how) = 0;
    // Lets go of the object without calling it.
    virtual void disconnect() = 0;
    virtual bool isConnected() const = 0;

    virtual QVariant call(const QString& member, const QVariantList& arguments) = 0;
    virtual void setProperty(const QString& member, const QVariant& value) = 0;
    virtual QVariant property(const QString& member) = 0;
};

} // namespace zep
