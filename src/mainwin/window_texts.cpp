#include "mainwin/window_texts.h"

#include "app/program_info.h"

namespace zep {

QString mainWindowCaption(const QString& clientName, const QString& clientDirectory) {
    return ProgramTitle.toString() + QStringLiteral("   >>") + clientName + QStringLiteral("  ") + clientDirectory +
           QStringLiteral("<<");
}

QString clockDateText(const QDateTime& now) {
    return now.toString(QStringLiteral("dd.MM.yy"));
}

QString clockTimeText(const QDateTime& now) {
    return now.toString(QStringLiteral("hh:mm"));
}

QString aboutText() {
    return QStringLiteral("ZEP V ") + ProgramTitle.toString() + QStringLiteral(" 32bit");
}

QString documentTabCaption(int count) {
    return QStringLiteral("Dokumente [") + QString::number(count) + u']';
}

QString fetchDocumentsCaption() {
    return QStringLiteral("Dokument holen");
}

QString moveTargetCaption() {
    return QStringLiteral("Dokument verschieben nach...");
}

QString copyTargetCaption() {
    return QStringLiteral("Dokument kopieren nach ...");
}

QString noteIsNoFileMessage() {
    return QStringLiteral("Das ist eine Notiz, keine Datei");
}

QString noSerialLetterDocumentMessage() {
    return QStringLiteral("Es ist kein Dokument, dass als \rSerienbrief dienen soll, ausgewählt");
}

} // namespace zep
