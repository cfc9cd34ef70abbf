#include "tools/address_dbase.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/safe_file.h"
#include "data/cp1252.h"
#include "data/format_error.h"
#include "data/schema.h"
#include "data/sqlite_db.h"
#include "data/table.h"
#include "data/treefile.h"
#include "data/unrepresentable_text.h"
#include "tools/dbase_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zep {

namespace {

constexpr int MaxText = 254;
// How many names the question before an import shows.
constexpr qsizetype PreviewNames = 5;

bool isExported(const FieldDef& field) {
    return field.name != QStringLiteral("Help") && field.name != QStringLiteral("VV34");
}

// Taken over from an imported file; the rest is set for a new top-level entry.
bool isImported(const FieldDef& field) {
    return isExported(field) && field.kind != FieldKind::AutoInc && field.name != QStringLiteral("Vor") &&
           field.name != QStringLiteral("Baum");
}

QList<FieldDef> exportedFields() {
    QList<FieldDef> fields;
    for (const FieldDef& field : schema::addresses().fields)
        if (isExported(field))
            fields.append(field);
    return fields;
}

QStringList dbfNamesOf(const QList<FieldDef>& fields) {
    QStringList names;
    for (const FieldDef& field : fields)
        names.append(field.name);
    return dbfFieldNames(names);
}

DbfField dbfFieldOf(const FieldDef& field, const QString& name, bool memoFits) {
    switch (field.kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt:
        return {name, 'N', 11, 0};
    case FieldKind::Number:
        return {name, 'N', 20, 4};
    case FieldKind::Date:
        return {name, 'D', 8, 0};
    case FieldKind::Logical:
        return {name, 'L', 1, 0};
    case FieldKind::Memo:
        return memoFits ? DbfField{name, 'C', MaxText, 0} : DbfField{name, 'M', 10, 0};
    case FieldKind::String:
        break;
    }
    return {name, 'C', std::clamp(field.size, 1, MaxText), 0};
}

QVariant convertedValue(const QVariant& value, const FieldDef& field) {
    if (!value.isValid())
        return {};
    switch (field.kind) {
    case FieldKind::String:
        return value.toString().left(field.size > 0 ? field.size : MaxText);
    case FieldKind::Memo:
        return value.toString();
    case FieldKind::Date:
        return value.typeId() == QMetaType::QDate ? value : QVariant();
    case FieldKind::Logical:
        return value.typeId() == QMetaType::Bool ? value : QVariant();
    case FieldKind::Number: {
        bool ok = false;
        const double number = value.toDouble(&ok);
        return ok ? QVariant(number) : QVariant();
    }
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt: {
        bool ok = false;
        const qint64 number = value.toLongLong(&ok);
        return ok ? QVariant(number) : QVariant();
    }
    }
    return {};
}

// The imported address fields the file holds, each with its column.
QList<std::pair<FieldDef, int>> matchedColumns(const DbfTable& table) {
    const QList<FieldDef> fields = exportedFields();
    const QStringList dbfNames = dbfNamesOf(fields);
    QList<std::pair<FieldDef, int>> matched;
    for (int f = 0; f < fields.size(); ++f) {
        if (!isImported(fields[f]))
            continue;
        for (int c = 0; c < table.fields.size(); ++c) {
            const QString& name = table.fields[c].name;
            if (name.compare(dbfNames[f], Qt::CaseInsensitive) == 0 ||
                name.compare(fields[f].name, Qt::CaseInsensitive) == 0) {
                matched.append({fields[f], c});
                break;
            }
        }
    }
    return matched;
}

QByteArray readWhole(const QString& path, bool required) {
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        if (!required && !file.exists())
            return {};
        const int cause = errno;
        throw FileError(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2.")
                            .arg(QDir::toNativeSeparators(path), fileErrorCause(cause, file)));
    }
    return file.readAll();
}

// The memo file beside a table: same name with ".dbt" in any letter case.
QString memoPathOf(const QString& dbfPath) {
    const QFileInfo info(dbfPath);
    const QStringList found = info.dir().entryList({info.completeBaseName() + QStringLiteral(".dbt")}, QDir::Files);
    return found.isEmpty() ? QString() : info.dir().filePath(found.first());
}

// A DOS code page holds characters the tree file cannot: such a name would read otherwise in the
// tree than in the table, so the file is refused before anything is kept.
void refuseUnrepresentableCaptions(const QString& dbfPath, const QStringList& captions) {
    const QString characters = unrepresentableCharactersOf(captions);
    if (!characters.isEmpty())
        throw FormatError(QStringLiteral("Die Datei \"%1\" enthält Namen mit Zeichen, die in der Baumansicht nicht "
                                         "gespeichert werden können: %2. Es wurde keine Adresse eingelesen.")
                              .arg(QDir::toNativeSeparators(dbfPath), characters));
}

} // namespace

int exportAddresses(const QString& dataDir, const QString& targetDir, const QDate& today) {
    Table table;
    table.setDirectory(dataDir);
    table.setTableName(schema::addresses().name);
    table.open();
    const QList<FieldDef> fields = exportedFields();
    QList<int> positions;
    for (const FieldDef& field : fields)
        positions.append(table.fieldPosition(field.name));
    DbfTable dbf;
    bool memoFits = true;
    for (int row = 0; row < table.recordCount(); ++row) {
        QVariantList record;
        for (int f = 0; f < fields.size(); ++f) {
            const QVariant value = positions[f] < 0 ? QVariant() : table.valueAt(row, positions[f]);
            if (fields[f].kind == FieldKind::Memo && toCp1252(value.toString()).size() > MaxText)
                memoFits = false;
            record.append(value);
        }
        dbf.records.append(record);
    }
    const QStringList names = dbfNamesOf(fields);
    for (int f = 0; f < fields.size(); ++f)
        dbf.fields.append(dbfFieldOf(fields[f], names[f], memoFits));
    const DbfFiles files = writeDbf(dbf, today);
    const QDir target(targetDir);
    // A table without memo fields leaves no memo file behind that an older table would own.
    replaceFilesTogether({{target.filePath(QString::fromUtf16(AddressDbfName)), files.table},
                          {target.filePath(QString::fromUtf16(AddressDbtName)),
                           files.memo.isEmpty() ? std::nullopt : std::optional<QByteArray>(files.memo)}});
    return int(dbf.records.size());
}

AddressImport readAddressImport(const QString& dbfPath) {
    const QString memoPath = memoPathOf(dbfPath);
    const DbfTable dbf =
        readDbf(readWhole(dbfPath, true), memoPath.isEmpty() ? QByteArray() : readWhole(memoPath, false), dbfPath);
    const QList<std::pair<FieldDef, int>> columns = matchedColumns(dbf);
    if (columns.isEmpty())
        throw FormatError(
            QStringLiteral("Die Datei \"%1\" enthält keine Adressfelder.").arg(QDir::toNativeSeparators(dbfPath)));
    AddressImport import{dbfPath, {}, {}, {}};
    for (const auto& [field, column] : columns)
        import.fields.append(field.name);
    const qsizetype name1 = import.fields.indexOf(QStringLiteral("Name1"));
    const qsizetype name2 = import.fields.indexOf(QStringLiteral("Name2"));
    const qsizetype person = import.fields.indexOf(QStringLiteral("Person"));
    for (const QVariantList& record : dbf.records) {
        QVariantList values;
        for (const auto& [field, column] : columns)
            values.append(convertedValue(record[column], field));
        import.captions.append(treeDisplayName(values.value(name1).toString(), values.value(name2).toString(),
                                               values.value(person).toBool()));
        import.records.append(values);
    }
    refuseUnrepresentableCaptions(dbfPath, import.captions);
    return import;
}

bool confirmAddressImport(const AddressImport& import, Interaction& interaction) {
    const QString file = QDir::toNativeSeparators(import.dbfPath);
    if (import.records.isEmpty()) {
        interaction.information(QStringLiteral("Die Datei \"%1\" enthält keine Adressen.").arg(file),
                                ApplicationName.toString());
        return false;
    }
    QStringList shown;
    for (const QString& caption : import.captions.first(std::min<qsizetype>(import.captions.size(), PreviewNames)))
        shown.append(caption.isEmpty() ? QStringLiteral("(ohne Namen)") : caption);
    if (import.captions.size() > PreviewNames)
        shown.append(QStringLiteral("..."));
    const bool one = import.records.size() == 1;
    const QString amount =
        one ? QStringLiteral("eine Adresse") : QStringLiteral("%1 Adressen").arg(import.records.size());
    const QString question = one ? QStringLiteral("Soll die Adresse importiert werden?")
                                 : QStringLiteral("Sollen die Adressen importiert werden?");
    return interaction.askYesNo(QStringLiteral("Die Datei \"%1\" enthält %2. So werden die Namen gelesen:\n\n%3\n\n%4")
                                    .arg(file, amount, shown.join(u'\n'), question),
                                ApplicationName.toString()) == Answer::Yes;
}

int importAddresses(const AddressImport& import, const QString& dataDir, const QString& treeFile) {
    const QList<TreeFileRecord> oldTree =
        QFileInfo::exists(treeFile) ? readTreeFile(treeFile) : QList<TreeFileRecord>();
    Table table;
    table.setDirectory(dataDir);
    table.setTableName(schema::addresses().name);
    table.open();
    const std::shared_ptr<Connection> connection = Connection::forFile(table.filePath());
    QList<TreeFileRecord> tree = oldTree;
    bool treeWritten = false;
    try {
        inTransaction(*connection, [&] {
            for (qsizetype r = 0; r < import.records.size(); ++r) {
                table.append();
                for (qsizetype f = 0; f < import.fields.size(); ++f)
                    table.field(import.fields[f]).setValue(import.records[r][f]);
                table.field(u"Vor").setValue(qint64(0));
                table.field(u"Baum").setValue(qint64(-1));
                table.post();
                tree.append({import.captions[r], 1, qint32(table.field(u"Nr").value().toLongLong()), -1});
            }
            writeTreeFile(treeFile, tree);
            treeWritten = true;
        });
    } catch (...) {
        table.cancel();
        if (treeWritten)
            writeTreeFile(treeFile, oldTree);
        throw;
    }
    return int(import.records.size());
}

} // namespace zep
