#include "mainwin/tree_texts.h"
#include "data/treefile.h"

namespace zep {

QString treeTabCaption(const QString& rootCaption, int nodeCount) {
    return rootCaption + QStringLiteral(" [") + QString::number(nodeCount - 1) + u']';
}

QString subtreeEntryLine(const QString& caption, int number) {
    return caption + QChar(0x00B6) + QString::number(number);
}

QString treeFileMessage(const QString& path) {
    return treeFileNotFoundMessage(path);
}

QString missingRecordMessage() {
    return QStringLiteral("Es ist ein Fehler aufgetreten.\rSie sollten die Baumstruktur neu einlesen");
}

QString treeRebuildAdvice() {
    return missingRecordMessage() + QStringLiteral("\r(Menü Tools, Baumstruktur)");
}

QString damagedTreeFileMessage(const QString& damage) {
    return damage + u'\r' + treeRebuildAdvice();
}

QString treeWithoutRootMessage(const QString& path) {
    return QStringLiteral("Die Baumdatei \"%1\" wurde nicht geschrieben: dem Baum fehlt sein Stammeintrag.").arg(path);
}

QString noEntrySelectedMessage() {
    return QStringLiteral("Bitte wählen Sie zuerst den Eintrag, unter dem der neue Eintrag angelegt werden soll.");
}

QString scrollWorkerMissingMessage() {
    return QStringLiteral("Bitte diesen Fehler Sofort der HotLine melden Fehler 19");
}

QString scrollStopFailedMessage() {
    return QStringLiteral("Bitte diesen Fehler Sofort der HotLine melden Fehler 20");
}

} // namespace zep
