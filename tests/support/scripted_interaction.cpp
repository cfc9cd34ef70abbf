#include "scripted_interaction.h"

#include <QTest>

namespace zep::test {

ScriptedInteraction::ScriptedInteraction() : previous_(Interaction::installed()) {
    Interaction::setInstance(this);
}

ScriptedInteraction::~ScriptedInteraction() {
    Interaction::setInstance(previous_);
}

template <typename T> T ScriptedInteraction::take(QQueue<T>& queue, const QString& what, T cancelled) {
    if (!queue.isEmpty())
        return queue.dequeue();
    const QString message = QStringLiteral("ScriptedInteraction: no answer prepared for ") + what;
    errors_.append(message);
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
    return cancelled;
}

QStringList ScriptedInteraction::texts() const {
    QStringList result;
    for (const Shown& entry : shown_)
        result.append(entry.text);
    return result;
}

qsizetype ScriptedInteraction::unusedAnswers() const {
    return answers_.size() + files_.size() + directories_.size() + fonts_.size();
}

void ScriptedInteraction::information(const QString& text, const QString& caption) {
    shown_.append({Kind::Information, text, caption, {}});
}

void ScriptedInteraction::warning(const QString& text, const QString& caption) {
    shown_.append({Kind::Warning, text, caption, {}});
}

void ScriptedInteraction::error(const QString& text, const QString& caption) {
    shown_.append({Kind::Error, text, caption, {}});
}

Answer ScriptedInteraction::askYesNo(const QString& text, const QString& caption) {
    shown_.append({Kind::YesNo, text, caption, {}});
    const Answer answer = take(answers_, QStringLiteral("the question \"%1\"").arg(text), Answer::No);
    if (answer == Answer::Cancel)
        errors_.append(QStringLiteral("ScriptedInteraction: Cancel prepared for a yes/no question \"%1\"").arg(text));
    return answer == Answer::Yes ? Answer::Yes : Answer::No;
}

Answer ScriptedInteraction::askYesNoCancel(const QString& text, const QString& caption) {
    shown_.append({Kind::YesNoCancel, text, caption, {}});
    return take(answers_, QStringLiteral("the question \"%1\"").arg(text), Answer::Cancel);
}

Answer ScriptedInteraction::askOkAbort(const QString& text, const QString& caption) {
    shown_.append({Kind::OkAbort, text, caption, {}});
    const Answer answer = take(answers_, QStringLiteral("the question \"%1\"").arg(text), Answer::Abort);
    if (answer != Answer::Ok && answer != Answer::Abort)
        errors_.append(QStringLiteral("ScriptedInteraction: neither Ok nor Abort prepared for \"%1\"").arg(text));
    return answer == Answer::Ok ? Answer::Ok : Answer::Abort;
}

QString ScriptedInteraction::openFileName(const QString& caption, const QString& startDir, const QString& filter) {
    shown_.append({Kind::OpenFile, startDir, caption, filter});
    return take(files_, QStringLiteral("the open dialog \"%1\"").arg(caption), QString());
}

QString ScriptedInteraction::saveFileName(const QString& caption, const QString& startDir, const QString& filter) {
    shown_.append({Kind::SaveFile, startDir, caption, filter});
    return take(files_, QStringLiteral("the save dialog \"%1\"").arg(caption), QString());
}

QString ScriptedInteraction::directory(const QString& caption, const QString& startDir) {
    shown_.append({Kind::Directory, startDir, caption, {}});
    return take(directories_, QStringLiteral("the directory dialog \"%1\"").arg(caption), QString());
}

std::optional<FontDescription> ScriptedInteraction::font(const FontDescription& initial, const QString& caption) {
    shown_.append({Kind::Font, encodeFontString(initial), caption, {}});
    return take(fonts_, QStringLiteral("the font dialog \"%1\"").arg(caption), std::optional<FontDescription>());
}

void ScriptedInteraction::showInfo(const QString& text) {
    shown_.append({Kind::Info, text, {}, {}});
    infoVisible_ = true;
}

void ScriptedInteraction::hideInfo() {
    infoVisible_ = false;
}

} // namespace zep::test
