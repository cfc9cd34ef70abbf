#include "scripted_interaction.h"

#include <QTest>

namespace zep::test {

namespace {

QString answerName(Answer answer) {
    switch (answer) {
    case Answer::Yes:
        return QStringLiteral("Yes");
    case Answer::No:
        return QStringLiteral("No");
    case Answer::Cancel:
        return QStringLiteral("Cancel");
    case Answer::Ok:
        return QStringLiteral("Ok");
    case Answer::Abort:
        return QStringLiteral("Abort");
    }
    return {};
}

} // namespace

ScriptedInteraction::ScriptedInteraction() : previous_(Interaction::installed()) {
    Interaction::setInstance(this);
}

ScriptedInteraction::~ScriptedInteraction() {
    Interaction::setInstance(previous_);
    // A test that already failed may well have stopped before its questions; report only clean runs.
    if (unusedAnswers() == 0 || !QTest::runningTest() || QTest::currentTestFailed())
        return;
    QStringList unused;
    for (const Answer answer : std::as_const(answers_))
        unused.append(QStringLiteral("answer ") + answerName(answer));
    for (const QString& file : std::as_const(files_))
        unused.append(QStringLiteral("file \"%1\"").arg(file));
    for (const QStringList& list : std::as_const(fileLists_))
        unused.append(QStringLiteral("files \"%1\"").arg(list.join(u'|')));
    for (const QString& dir : std::as_const(directories_))
        unused.append(QStringLiteral("directory \"%1\"").arg(dir));
    for (const auto& font : std::as_const(fonts_))
        unused.append(QStringLiteral("font \"%1\"").arg(font ? encodeFontString(*font) : QStringLiteral("cancel")));
    if (!printers_.isEmpty())
        unused.append(QStringLiteral("%1 printer set-ups").arg(printers_.size()));
    fail(QStringLiteral("ScriptedInteraction: prepared but never asked for: ") + unused.join(QStringLiteral(", ")));
}

void ScriptedInteraction::fail(const QString& message) {
    errors_.append(message);
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

template <typename T> T ScriptedInteraction::take(QQueue<T>& queue, const QString& what, T cancelled) {
    if (!queue.isEmpty())
        return queue.dequeue();
    fail(QStringLiteral("ScriptedInteraction: no answer prepared for ") + what);
    return cancelled;
}

QStringList ScriptedInteraction::texts() const {
    QStringList result;
    for (const Shown& entry : shown_)
        result.append(entry.text);
    return result;
}

qsizetype ScriptedInteraction::unusedAnswers() const {
    return answers_.size() + files_.size() + fileLists_.size() + directories_.size() + fonts_.size() + printers_.size();
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

Answer ScriptedInteraction::askYesNo(const QString& text, const QString& caption, QuestionLook look) {
    shown_.append({Kind::YesNo, text, caption, {}, look});
    const Answer answer = take(answers_, QStringLiteral("the question \"%1\"").arg(text), Answer::No);
    if (answer == Answer::Cancel)
        fail(QStringLiteral("ScriptedInteraction: Cancel prepared for a yes/no question \"%1\"").arg(text));
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
        fail(QStringLiteral("ScriptedInteraction: neither Ok nor Abort prepared for \"%1\"").arg(text));
    return answer == Answer::Ok ? Answer::Ok : Answer::Abort;
}

QString ScriptedInteraction::openFileName(const QString& caption, const QString& startDir, const QString& filter) {
    shown_.append({Kind::OpenFile, startDir, caption, filter});
    return take(files_, QStringLiteral("the open dialog \"%1\"").arg(caption), QString());
}

QStringList ScriptedInteraction::openFileNames(const QString& caption, const QString& startDir, const QString& filter) {
    shown_.append({Kind::OpenFile, startDir, caption, filter});
    return take(fileLists_, QStringLiteral("the open dialog \"%1\"").arg(caption), QStringList());
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

bool ScriptedInteraction::setupPrinter(QPrinter& printer, const QString& caption) {
    shown_.append({Kind::Printer, {}, caption, {}});
    const PrinterSetup setup = take(printers_, QStringLiteral("the print dialog \"%1\"").arg(caption), PrinterSetup());
    return setup && setup(printer);
}

void ScriptedInteraction::showInfo(const QString& text) {
    shown_.append({Kind::Info, text, {}, {}});
    infoVisible_ = true;
}

void ScriptedInteraction::hideInfo() {
    infoVisible_ = false;
}

} // namespace zep::test
