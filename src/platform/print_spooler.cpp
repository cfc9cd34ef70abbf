#include "platform/print_spooler.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "serial/word_version.h"

#include <QDebug>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace zep {

namespace {

QString resolved(const QString& program) {
    if (program.contains(u'/'))
        return QFileInfo(program).isExecutable() ? program : QString();
    return QStandardPaths::findExecutable(program);
}

QString failedMessage(const QString& document, const QString& reason) {
    return QStringLiteral("Das Dokument \"%1\" wurde nicht gedruckt:\n%2").arg(QFileInfo(document).fileName(), reason);
}

// After the windows have gone, the message still reaches the log rather than nobody.
void report(const QString& text) {
    if (Interaction* interaction = Interaction::installed())
        interaction->error(text, ApplicationName.toString());
    else
        qWarning().noquote() << text;
}

// What the program said on its error output, else its exit code.
QString endReason(QProcess& process) {
    const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (!said.isEmpty())
        return said;
    if (process.exitStatus() == QProcess::CrashExit)
        return QStringLiteral("%1 wurde abgebrochen.").arg(QFileInfo(process.program()).fileName());
    return QStringLiteral("%1 endete mit Fehler %2.")
        .arg(QFileInfo(process.program()).fileName())
        .arg(process.exitCode());
}

} // namespace

QString ProcessPrintSpooler::programFor(PrintWay way) const {
    if (way == PrintWay::PrintSystem)
        return resolved(printSystem_);
    if (way == PrintWay::Office)
        return office_.isEmpty() ? findOfficeProgram() : resolved(office_);
    return QString();
}

QString ProcessPrintSpooler::missingProgram(PrintWay way) const {
    if (!programFor(way).isEmpty())
        return QString();
    if (way == PrintWay::PrintSystem)
        return QStringLiteral("Zum Drucken fehlt das Programm \"lp\" des Drucksystems (Paket cups-client).");
    return QStringLiteral("Zum Drucken dieses Dokuments fehlt das Büroprogramm \"soffice\".");
}

// The process object lives until the program has ended: destroying it earlier would end the job.
void ProcessPrintSpooler::print(PrintWay way, const QString& document, const QString& printer) {
    const PrintCommand command = printCommand(way, programFor(way), document, printer);
    auto* process = new QProcess;
    process->setProgram(command.program);
    process->setArguments(command.arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::errorOccurred, process, [process, document](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        report(failedMessage(
            document,
            QStringLiteral("%1 konnte nicht gestartet werden.").arg(QFileInfo(process->program()).fileName())));
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::finished, process, [process, document] {
        if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)
            report(failedMessage(document, endReason(*process)));
        process->deleteLater();
    });
    process->start();
}

} // namespace zep
