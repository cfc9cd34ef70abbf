#include "recording_automation.h"

namespace zep::test {
namespace {

QString argumentText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        return u'"' + value.toString() + u'"';
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return value.toString();
    }
}

} // namespace

void RecordingAutomation::connect(const QString& programId, Connect how) {
    steps_.append(
        QStringLiteral("connect %1 %2")
            .arg(programId, how == Connect::RunningOrNew ? QStringLiteral("running-or-new") : QStringLiteral("new")));
    if (whileConnecting)
        whileConnecting();
    if (failing_.contains(QStringLiteral("connect")))
        throw AutomationError(QStringLiteral("connection refused"));
    connected_ = true;
}

void RecordingAutomation::disconnect() {
    steps_.append(QStringLiteral("disconnect"));
    connected_ = false;
}

QVariant RecordingAutomation::call(const QString& member, const QVariantList& arguments) {
    QStringList texts;
    for (const QVariant& argument : arguments)
        texts.append(argumentText(argument));
    step(member, QStringLiteral("call %1(%2)").arg(member, texts.join(QStringLiteral(", "))));
    return {};
}

void RecordingAutomation::setProperty(const QString& member, const QVariant& value) {
    step(member, QStringLiteral("set %1 = %2").arg(member, argumentText(value)));
}

QVariant RecordingAutomation::property(const QString& member) {
    step(member, QStringLiteral("get ") + member);
    return QStringLiteral("8.0");
}

void RecordingAutomation::step(const QString& member, const QString& line) {
    steps_.append(line);
    if (!connected_)
        throw AutomationError(QStringLiteral("not connected"));
    if (losing_.contains(member)) {
        connected_ = false;
        throw AutomationError(member + QStringLiteral(": connection lost"));
    }
    if (failing_.contains(member))
        throw AutomationError(member + QStringLiteral(" failed"));
}

} // namespace zep::test
