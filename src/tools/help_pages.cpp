#include "tools/help_pages.h"

#include "app/safe_file.h"
#include "data/format_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zep {

const QList<HelpPage>& helpPages() {
    static const QList<HelpPage> pages{
        {QStringLiteral("tip010"), QStringLiteral("Tips und Tricks")},
        {QStringLiteral("not010"), QStringLiteral("Neue Notiz")},
        {QStringLiteral("notiz"), QStringLiteral("Notizeditor")},
        {QStringLiteral("dok020"), QStringLiteral("Neues Dokument und Dokument kopieren")},
        {QStringLiteral("dok030"), QStringLiteral("Dokument hinzufügen")},
        {QStringLiteral("dok100"), QStringLiteral("Dokument-Detail")},
        {QStringLiteral("dok111"), QStringLiteral("Tabellenspalten anordnen")},
        {QStringLiteral("anw010"), QStringLiteral("Anwendungen")},
        {QStringLiteral("Adr080"), QStringLiteral("Adressvorlagen für die Zwischenablage")},
        {QStringLiteral("adr090"), QStringLiteral("Adressen drucken")},
        {QStringLiteral("adr100"), QStringLiteral("Briefumschlag drucken")},
        {QStringLiteral("100"), QStringLiteral("Kataloge")},
        {QStringLiteral("sicherung"), QStringLiteral("Datensicherung")},
        {QStringLiteral("dbase"), QStringLiteral("dBase-Import und -Export")},
        {QStringLiteral("zep050"), QStringLiteral("Support")},
    };
    return pages;
}

QString helpPageFileName(const QString& topic) {
    return topic.toLower() + QStringLiteral(".html");
}

QString helpContentsHtml() {
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>Inhalt</title></head><body>"
                                  "<h2>ZEP – Hilfe</h2><p>Wählen Sie ein Thema:</p><ul>");
    for (const HelpPage& page : helpPages())
        html += QStringLiteral("<li><a href=\"%1\">%2</a></li>")
                    .arg(helpPageFileName(page.topic), page.title.toHtmlEscaped());
    return html + QStringLiteral("</ul></body></html>");
}

void writeDefaultHelpPages(const QString& helpDir) {
    if (!QDir().mkpath(helpDir))
        throw FileError(QStringLiteral("Das Verzeichnis \"%1\" kann nicht angelegt werden.")
                            .arg(QDir::toNativeSeparators(helpDir)));
    for (const HelpPage& page : helpPages()) {
        const QString target = QDir(helpDir).filePath(helpPageFileName(page.topic));
        if (QFileInfo::exists(target))
            continue;
        QFile shipped(QStringLiteral(":/help/") + helpPageFileName(page.topic));
        if (!shipped.open(QIODevice::ReadOnly))
            throw FileError(QStringLiteral("Die Hilfeseite \"%1\" fehlt im Programm.").arg(page.topic));
        writeFileSafely(target, shipped.readAll());
    }
}

} // namespace zep
