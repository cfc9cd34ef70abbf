#pragma once

#include "serial/automation.h"

#include <QSet>
#include <QStringList>

#include <functional>

namespace zep::test {

// The automation double: records every step as a line ("connect Word.Application running-or-new",
// "call Documents.Open("a.odt", false, 0)", "set Visible = true", "get Version", "disconnect") and
// fails the steps it is told to, naming a member or "connect": keeping the connection, or losing it
// as when the word processor went away. A call while nothing is connected fails, as it does on the
// real object.
class RecordingAutomation : public Automation {
public:
    void failAt(const QString& member) { failing_.insert(member); }
    void loseConnectionAt(const QString& member) { losing_.insert(member); }
    void succeedAt(const QString& member) {
        failing_.remove(member);
        losing_.remove(member);
    }
    const QStringList& steps() const { return steps_; }
    void clearSteps() { steps_.clear(); }
    // Run while connecting, as events are while the real object starts.
    std::function<void()> whileConnecting;

    void connect(const QString& programId, Connect how) override;
    void disconnect() override;
    bool isConnected() const override { return connected_; }
    QVariant call(const QString& member, const QVariantList& arguments) override;
    void setProperty(const QString& member, const QVariant& value) override;
    QVariant property(const QString& member) override;

private:
    void step(const QString& member, const QString& line);

    QStringList steps_;
    QSet<QString> failing_;
    QSet<QString> losing_;
    bool connected_ = false;
};

} // namespace zep::test
