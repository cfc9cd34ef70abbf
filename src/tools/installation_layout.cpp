#include "tools/installation_layout.h"

#include "app/safe_file.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/schema.h"
#include "data/table.h"
#include "tools/help_pages.h"
#include "tools/installation_content.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

namespace zep {
namespace {

using Filler = std::function<void(Table&)>;

const char16_t* const kTemplateTreeFiles[] = {u"Adressen.dat", u"Themen.dat"};

bool hasTables(const QString& dir, const std::vector<const TableLayout*>& layouts) {
    for (const TableLayout* layout : layouts)
        if (!QFileInfo(resolveTableFile(dir, layout->name)).isFile())
            return false;
    return true;
}

void makeDirectory(const QString& path) {
    if (!QDir().mkpath(path))
        throw EngineError(QStringLiteral("Das Verzeichnis \"%1\" kann nicht angelegt werden.").arg(path));
}

void ensureEmptyFile(const QString& path) {
    if (!QFileInfo::exists(path))
        writeFileSafely(path, {});
}

void appendRecord(Table& table, const std::vector<std::pair<QString, QVariant>>& values) {
    table.append();
    for (const auto& [name, value] : values)
        table.field(name).setValue(value);
    table.post();
}

// A table with first records is built under a scratch name and renamed when complete.
void ensureTable(const QString& dir, const TableLayout& layout, const Filler& fill = {}) {
    if (QFileInfo::exists(resolveTableFile(dir, layout.name)))
        return;
    const QString scratchName = layout.name + QStringLiteral(".anlegen");
    const QString scratch = QDir(dir).filePath(scratchName);
    QFile::remove(scratch);
    createTableFile(scratch, layout);
    if (fill) {
        Table table;
        table.setDirectory(dir);
        table.setTableName(scratchName);
        table.open();
        fill(table);
        table.close();
    }
    const QString path = QDir(dir).filePath(layout.name);
    try {
        renameDurably(scratch, path);
    } catch (const FileError& error) {
        // a table whose name is not on disk is built again next time
        QFile::remove(QFileInfo::exists(scratch) ? scratch : path);
        throw EngineError(QStringLiteral("Die Tabelle \"%1\" kann nicht angelegt werden.\n").arg(layout.name) +
                          error.message());
    }
}

void fillAddressTemplates(Table& t) {
    appendRecord(t,
                 {{QStringLiteral("Name"), QStringLiteral("Briefanschrift")},
                  {QStringLiteral("Adr"), QStringLiteral("[Anrede]\r\n[Name1] [Name2]\r\n[Name3]\r\n[Strasse]\r\n\r\n"
                                                         "[PLZ1] [Ort]")}});
    appendRecord(t, {{QStringLiteral("Name"), QStringLiteral("Name und Telefon")},
                     {QStringLiteral("Adr"), QStringLiteral("[Name1] [Name2]\r\nTel. [Tel1]\r\nFax [Fax]\r\n[Mail]")}});
}

void fillAddressPrintLayouts(Table& t) {
    appendRecord(t, {{QStringLiteral("Bezeichnung"), QStringLiteral("Adressliste A4")},
                     {QStringLiteral("B"), 210},
                     {QStringLiteral("H"), 297},
                     {QStringLiteral("RO"), 20},
                     {QStringLiteral("RU"), 20},
                     {QStringLiteral("RL"), 20},
                     {QStringLiteral("RR"), 20},
                     {QStringLiteral("FN"), QStringLiteral("DejaVu Sans")},
                     {QStringLiteral("FS"), QStringLiteral("00")},
                     {QStringLiteral("FG"), QStringLiteral("10")},
                     {QStringLiteral("T1"), QStringLiteral("[Name1] [Name2]")},
                     {QStringLiteral("T2"), QStringLiteral("[Strasse], [PLZ1] [Ort]")},
                     {QStringLiteral("T3"), QStringLiteral("Tel. [Tel1]   Mail [Mail]")}});
}

// A "DIN lang" envelope: the address block in the window on the right half.
void fillEnvelopeLayouts(Table& t) {
    std::vector<std::pair<QString, QVariant>> values{{QStringLiteral("Bezeichnung"), QStringLiteral("DIN lang")},
                                                     {QStringLiteral("B"), 220},
                                                     {QStringLiteral("H"), 110}};
    const QStringList lines{QStringLiteral("[Anrede]"),
                            QStringLiteral("[Name1] [Name2]"),
                            QStringLiteral("[Name3]"),
                            QStringLiteral("[Strasse]"),
                            QString(),
                            QStringLiteral("[PLZ1] [Ort]")};
    for (int i = 1; i <= 10; ++i) {
        const QString n = QString::number(i);
        values.push_back({u'T' + n, i <= lines.size() ? lines[i - 1] : QString()});
        values.push_back({u'X' + n, 110});
        values.push_back({u'Y' + n, 45 + 6 * i});
        values.push_back({u'W' + n, 0});
        values.push_back({QStringLiteral("FN") + n, QStringLiteral("DejaVu Sans")});
        values.push_back({QStringLiteral("FS") + n, QStringLiteral("00")});
        values.push_back({QStringLiteral("FG") + n, QStringLiteral("12")});
    }
    appendRecord(t, values);
}

} // namespace

void ensureInstallationLayout(const QString& installDir) {
    const QDir root(installDir);
    const QString general = root.filePath(QStringLiteral("General"));
    const QString empty = root.filePath(QStringLiteral("Empty"));
    const QString emptyData = root.filePath(QStringLiteral("Empty/Daten"));
    const QString templates = root.filePath(QStringLiteral("Vorlagen"));
    for (const QString& dir : {general, emptyData, templates})
        makeDirectory(dir);

    ensureTable(general, schema::applications());
    ensureTable(general, schema::addressTemplates(), fillAddressTemplates);
    ensureTable(general, schema::addressPrintLayouts(), fillAddressPrintLayouts);
    ensureTable(general, schema::envelopeLayouts(), fillEnvelopeLayouts);
    for (const TableLayout* layout : schema::clientTables())
        ensureTable(emptyData, *layout);
    // A new client copies everything of "Empty/Daten", so it starts with empty trees.
    for (const char16_t* treeFile : kTemplateTreeFiles)
        ensureEmptyFile(QDir(emptyData).filePath(QString::fromUtf16(treeFile)));

    writeDefaultCatalogs(general);
    writeDefaultColumnFile(QDir(general).filePath(QStringLiteral("Tab.dat")));
    writeTemplateClientIni(QDir(empty).filePath(QStringLiteral("Mand.ini")));
    writeDefaultTemplates(templates);
    writeDefaultHelpPages(root.filePath(QStringLiteral("help")));
    // The files are durable in their folders; the new folders need their own entries on disk.
    for (const QString& dir : {installDir, empty})
        syncFolder(dir);
}

bool hasTemplateTables(const QString& emptyDataDir) {
    return hasTables(emptyDataDir, schema::clientTables());
}

QStringList missingClientTables(const QString& dataDir) {
    QStringList missing;
    for (const TableLayout* layout : schema::clientTables())
        if (layout != &schema::serialLetters() && !QFileInfo(resolveTableFile(dataDir, layout->name)).isFile())
            missing << layout->name;
    return missing;
}

bool isInstallationComplete(const QString& installDir) {
    const QDir root(installDir);
    const QString general = root.filePath(QStringLiteral("General"));
    const QString emptyData = root.filePath(QStringLiteral("Empty/Daten"));
    if (!QFileInfo(root.filePath(QStringLiteral("Vorlagen"))).isDir() || !hasTables(general, schema::generalTables()) ||
        !hasTemplateTables(emptyData))
        return false;
    QStringList files{QDir(general).filePath(QStringLiteral("Tab.dat")),
                      root.filePath(QStringLiteral("Empty/Mand.ini"))};
    for (const char16_t* treeFile : kTemplateTreeFiles)
        files << QDir(emptyData).filePath(QString::fromUtf16(treeFile));
    for (const QString& file : files)
        if (!QFileInfo(file).isFile())
            return false;
    return true;
}

} // namespace zep
