// Fills the tables of an existing client with addresses, topics and documents that look like an
// office's, for trying the windows by hand:  zep-demo-data <client directory> [documents]
#include "data/dataset.h"
#include "data/engine_error.h"
#include "data/table.h"
#include "mainwin/resubmission.h"
#include "tools/tree_rebuild.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>

using namespace zep;

namespace {

const QStringList kFirms = {"Bäckerei Schulz", "Müller & Söhne", "Autohaus Krämer", "Praxis Dr. Weiß",
                            "Stadtwerke Ulm",  "Gärtnerei Rose", "Kanzlei Berg",    "Hotel Sonne",
                            "Druckerei Lenz",  "Tischlerei Holz"};
const QStringList kPeople = {"Anna", "Jürgen", "Petra", "Stefan"};
const QStringList kTopics = {"Steuern", "Versicherungen", "Personal", "Fahrzeuge", "Miete", "Projekte"};
const QStringList kKinds = {"Brief", "Angebot", "Rechnung", "Vertrag", "Notiz"};
const QStringList kExtensions = {"odt", "pdf", "txt", "ods", "jpg", "---"}; // "---" marks a note

void open(Table& table, const QString& dataDir, const QString& name) {
    table.setDirectory(dataDir);
    table.setTableName(name);
    table.open();
}

// Firms at the top, two contact persons below each; returns the numbers of all addresses.
QList<qint64> addAddresses(const QString& dataDir) {
    Table addresses;
    open(addresses, dataDir, QStringLiteral("Adressen.DB"));
    QList<qint64> numbers;
    for (const QString& firm : kFirms) {
        addresses.append();
        addresses.field(u"Name1").setValue(firm);
        addresses.field(u"Ort").setValue(QStringLiteral("Köln"));
        addresses.field(u"Vor").setValue(0);
        addresses.post();
        const qint64 firmNr = addresses.field(u"Nr").value().toLongLong();
        numbers.append(firmNr);
        for (int p = 0; p < 2; ++p) {
            addresses.append();
            addresses.field(u"Person").setValue(true);
            addresses.field(u"Name1").setValue(kPeople[(firmNr + p) % kPeople.size()]);
            addresses.field(u"Name2").setValue(QStringLiteral("Meier"));
            addresses.field(u"Vor").setValue(firmNr);
            addresses.post();
            numbers.append(addresses.field(u"Nr").value().toLongLong());
        }
    }
    return numbers;
}

QList<qint64> addTopics(const QString& dataDir) {
    Table topics;
    open(topics, dataDir, QStringLiteral("Thema.DB"));
    QList<qint64> numbers;
    for (const QString& name : kTopics) {
        topics.append();
        topics.field(u"Thema").setValue(name);
        topics.field(u"Vor").setValue(0);
        topics.post();
        numbers.append(topics.field(u"Nr").value().toLongLong());
    }
    return numbers;
}

// Every seventh document has no rule; the others cycle through date, daily, weekly and monthly rules
// around today, so that "Heute", "Morgen" and "Ab Übermorgen" all list some.
void setRule(Table& documents, int i, const QDate& today) {
    static const QStringList types = {"", "D", "T", "W", "M", "D", "D"};
    const QString type = types[i % types.size()];
    documents.field(u"WTyp").setValue(type);
    const int shift = i % 5 - 2; // -2 .. 2
    if (type == u"D")
        documents.field(u"WDatum").setValue(today.addDays(shift));
    else if (type == u"T")
        documents.field(u"WTag").setValue(dayNumber(today) + shift);
    else if (type == u"W")
        documents.field(u"WTag").setValue(weekNumber(today) + shift);
    else if (type == u"M")
        documents.field(u"WTag").setValue(monthNumber(today) + shift);
}

void addDocuments(const QString& clientDir, int count, const QList<qint64>& addresses, const QList<qint64>& topics) {
    Table documents;
    open(documents, clientDir + QStringLiteral("/Daten"), QStringLiteral("Dok.DB"));
    QRandomGenerator random(7);
    const QDate today = QDate::currentDate();
    for (int i = 1; i <= count; ++i) {
        const QString ext = kExtensions[i % kExtensions.size()];
        const bool note = ext == u"---";
        const QString kind = note ? QStringLiteral("Notiz") : kKinds[i % (kKinds.size() - 1)];
        documents.append();
        documents.field(u"NrFirma").setValue(addresses[int(random.bounded(addresses.size()))]);
        documents.field(u"NrThema").setValue(i % 3 == 0 ? topics[int(random.bounded(topics.size()))] : -1);
        documents.field(u"Titel").setValue(QStringLiteral("%1 Nr. %2").arg(kind).arg(i));
        documents.field(u"Art").setValue(kind);
        documents.field(u"Autor").setValue(kPeople[i % kPeople.size()]);
        documents.field(u"EDatum").setValue(today.addDays(-int(random.bounded(400))));
        documents.field(u"Offen").setValue(i % 4 == 0);
        documents.field(u"Ext").setValue(ext);
        if (!note) {
            const QString file = QStringLiteral("Dok%1.%2").arg(i, 5, 10, QLatin1Char('0')).arg(ext);
            QFile out(clientDir + QStringLiteral("/Files/") + file);
            if (!out.open(QIODevice::WriteOnly) || out.write("Beispiel\n") != 9)
                throw EngineError(QStringLiteral("Die Datei %1 ließ sich nicht anlegen.").arg(out.fileName()));
            documents.field(u"Datei").setValue(file);
        }
        setRule(documents, i, today);
        documents.post();
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "Aufruf: zep-demo-data <Mandantenverzeichnis> [Dokumente]\n");
        return 2;
    }
    const QString clientDir = QDir(args[1]).absolutePath();
    const QString dataDir = clientDir + QStringLiteral("/Daten");
    try {
        const QList<qint64> addresses = addAddresses(dataDir);
        const QList<qint64> topics = addTopics(dataDir);
        addDocuments(clientDir, args.size() > 2 ? args[2].toInt() : 300, addresses, topics);
        rebuildTreeFile({dataDir, QStringLiteral("Adressen.DB"), false, dataDir + QStringLiteral("/Adressen.dat")});
        rebuildTreeFile({dataDir, QStringLiteral("Thema.DB"), true, dataDir + QStringLiteral("/Themen.dat")});
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
