// Opening clients with the real data module over real client directories.
#include "app/program_info.h"
#include "app/tmand.h"
#include "clients/client_opening.h"
#include "data/schema.h"
#include "data/tdm.h"
#include "fake_associations.h"
#include "scripted_interaction.h"
#include "test_install.h"
#include "tools/installation_layout.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;

namespace {

QByteArray hashOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class ClientOpeningTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    InstallPaths paths_;
    test::FakeAssociations associations_;

    QString programKey() const { return ProgramKey.toString(); }
    Registry registry() const { return Registry(paths_.registryFile); }

    // A registered client made from the template, whose Dok.DB is of an older layout with two documents:
    // without Feld6 and, unless told otherwise, without the version marker.
    QString clientWithOldDocuments(const QString& name, bool keepMarker = false) {
        const QString dir = tmp_.filePath(name);
        const QString data = dir + QStringLiteral("/Daten");
        QDir().mkpath(data);
        for (const QString& file : QDir(paths_.emptyData).entryList(QDir::Files))
            QFile::copy(QDir(paths_.emptyData).filePath(file), QDir(data).filePath(file));
        QFile::remove(data + QStringLiteral("/Dok.DB"));
        TableLayout old = schema::documents();
        std::erase_if(old.fields, [&](const FieldDef& field) {
            return field.name == u"Feld6" || (!keepMarker && field.name == QString::fromUtf16(schema::kVersionMarker));
        });
        createTableFile(data + QStringLiteral("/Dok.DB"), old);
        Table dok;
        test::openTable(dok, data, QStringLiteral("Dok.DB"));
        test::appendRecord(dok, {{"Titel", "Angebot"}, {"NrFirma", 3}, {"Notice", "zwei\r\nZeilen"}});
        test::appendRecord(dok, {{"Titel", "Rechnung"}, {"WDatum", QDate(2026, 12, 7)}});
        dok.close();
        ClientList(registry(), programKey()).registerClient(name, dir);
        ClientList(registry(), programKey()).setLastClient(name);
        return dir;
    }

private slots:
    void initTestCase() {
        ensureInstallationLayout(tmp_.filePath(QStringLiteral("inst")));
        paths_ = InstallPaths::fromDirectory(tmp_.filePath(QStringLiteral("inst")));
    }

    void outdatedClientIsUpgradedKeepingRecords_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("keepMarker");
        QTest::newRow("without the marker") << "Alt" << false;
        QTest::newRow("with the marker, without a field") << "Halb" << true;
    }

    void outdatedClientIsUpgradedKeepingRecords() {
        QFETCH(QString, name);
        QFETCH(bool, keepMarker);
        test::ScriptedInteraction ui;
        const QString dir = clientWithOldDocuments(name, keepMarker);
        TDM dm(paths_, ui, associations_);
        QVERIFY(dm.DMCreate());
        TMand client;
        int dialogs = 0;
        ClientOpening opening(paths_, registry(), dm, client, ui, [&](int) { return ++dialogs, false; });
        QVERIFY(opening.OpenClient(programKey(), QString(), 0));
        QCOMPARE(dialogs, 0);
        QVERIFY(
            ui.texts().contains(QStringLiteral("Falsche Datenbankversion !\n\r\n\rDatenbank wird nun aktualisiert")));
        QVERIFY(dm.TDok.isActive());
        QVERIFY(dm.HasVersionMarker(dm.TDokVers));
        QVERIFY(dm.TDok.fieldNames().contains(QStringLiteral("Feld6")));
        QCOMPARE(dm.TDok.recordCount(), 2);
        QVERIFY(dm.TDok.findKey({1}));
        QCOMPARE(dm.TDok.field(u"Titel").asString(), QStringLiteral("Angebot"));
        QCOMPARE(dm.TDok.field(u"Notice").asString(), QStringLiteral("zwei\r\nZeilen"));
        QVERIFY(dm.TDok.findKey({2}));
        QCOMPARE(dm.TDok.field(u"WDatum").asDate(), QDate(2026, 12, 7));
        QCOMPARE(client.ClientName, name);
        QCOMPARE(client.DataDir, dir + QStringLiteral("/Daten"));
        QVERIFY(!ui.infoVisible());
    }

    // An upgrade that cannot write changes nothing, says so and leaves every table closed.
    void upgradeThatCannotWriteOpensNothing() {
        test::ScriptedInteraction ui;
        const QString dir = clientWithOldDocuments(QStringLiteral("Gesperrt"));
        const QString dokPath = dir + QStringLiteral("/Daten/Dok.DB");
        const QByteArray before = hashOf(dokPath);
        QVERIFY(QDir().mkpath(dokPath + QStringLiteral(".upgrade"))); // the scratch copy cannot be written
        TDM dm(paths_, ui, associations_);
        QVERIFY(dm.DMCreate());
        TMand client;
        int dialogs = 0;
        ClientOpening opening(paths_, registry(), dm, client, ui, [&](int) { return ++dialogs, false; });
        QVERIFY(!opening.OpenClient(programKey(), QString(), 0));
        QCOMPARE(dialogs, 1); // the list is shown after the failure
        QVERIFY(ui.texts().contains(QStringLiteral("Es trat ein Fehler beim Öffnen des Mandanten \"Gesperrt\" auf.")));
        QVERIFY(!dm.TDok.isActive() && !dm.TAdr.isActive() && !dm.TThema.isActive() && !dm.TSerie.isActive());
        QCOMPARE(hashOf(dokPath), before);
        QVERIFY(!ui.infoVisible());
    }

    void missingClientDirectoryCannotBeOpened() {
        test::ScriptedInteraction ui;
        ClientList(registry(), programKey())
            .registerClient(QStringLiteral("Weg"), tmp_.filePath(QStringLiteral("weg")));
        ClientList(registry(), programKey()).setLastClient(QStringLiteral("Weg"));
        TDM dm(paths_, ui, associations_);
        QVERIFY(dm.DMCreate());
        TMand client;
        ClientOpening opening(paths_, registry(), dm, client, ui, [](int) { return false; });
        QVERIFY(!opening.OpenClient(programKey(), QString(), 0));
        // No upgrade is offered for a directory that is not there: the notice, then the error.
        QCOMPARE(ui.texts(),
                 (QStringList{QStringLiteral("Öffne Mandanten \"Weg\"\n\r\n\rBitte warten..."),
                              QStringLiteral("Es trat ein Fehler beim Öffnen des Mandanten \"Weg\" auf.")}));
        QVERIFY(!dm.TDok.isActive());
    }
};

QTEST_GUILESS_MAIN(ClientOpeningTest)
#include "tst_client_opening.moc"
