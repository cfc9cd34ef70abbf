#include "addresses/address_template.h"
#include "data/schema.h"
#include "data/table.h"
#include "data/table_file.h"
#include "test_install.h"

#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

// The address the templates are filled with; names compared without regard to case, as fields are.
std::optional<QString> sampleField(const QString& name) {
    static const QMap<QString, QString> fields{{QStringLiteral("name1"), QStringLiteral("Müller")},
                                               {QStringLiteral("name2"), QStringLiteral("Anna")},
                                               {QStringLiteral("strasse"), QStringLiteral("Hauptstraße 5")},
                                               {QStringLiteral("plz1"), QStringLiteral("80331")},
                                               {QStringLiteral("ort"), QStringLiteral("München")},
                                               {QStringLiteral("person"), QStringLiteral("Wahr")},
                                               {QStringLiteral("tel1"), QString()}};
    const auto found = fields.constFind(name.toLower());
    if (found == fields.cend())
        return std::nullopt;
    return *found;
}

} // namespace

class AddressTemplatesTest : public QObject {
    Q_OBJECT

private slots:
    void fillTemplate_data() {
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QString>("result");
        QTest::newRow("address block") << "[Name1] [Name2]\r\n[Strasse]\r\n[PLZ1] [Ort]"
                                       << "Müller Anna\r\nHauptstraße 5\r\n80331 München\r\n";
        QTest::newRow("field name in other case") << "[name1]"
                                                  << "Müller\r\n";
        QTest::newRow("unknown name: the name") << "[Firma]"
                                                << "Firma\r\n";
        QTest::newRow("no closing bracket: unchanged") << "Tel: [Tel1"
                                                       << "Tel: [Tel1\r\n";
        QTest::newRow("closing bracket in a later line only") << "a [Ort\r\nb]"
                                                              << "a [Ort\r\nb]\r\n";
        QTest::newRow("empty placeholder") << "x[]y"
                                           << "xy\r\n";
        QTest::newRow("second [ starts afresh") << "[Ab[Ort]"
                                                << "München\r\n";
        QTest::newRow("] outside a placeholder is kept") << "a]b [Ort] c]"
                                                         << "a]b München c]\r\n";
        QTest::newRow("blank before the name is part of it") << "[ Ort]"
                                                             << " Ort\r\n";
        QTest::newRow("logical field") << "Person: [Person]"
                                       << "Person: Wahr\r\n";
        QTest::newRow("empty field") << "Tel: [Tel1]!"
                                     << "Tel: !\r\n";
        QTest::newRow("empty lines keep their line end") << "[Ort]\r\n\r\nEnde"
                                                         << "München\r\n\r\nEnde\r\n";
        QTest::newRow("final line break adds no line") << "[Ort]\r\n"
                                                       << "München\r\n";
        QTest::newRow("lines broken by LF alone") << "[Name1]\n[Ort]"
                                                  << "Müller\r\nMünchen\r\n";
        QTest::newRow("empty template") << ""
                                        << "";
        QTest::newRow("two placeholders after an unclosed one") << "[a [Ort] [PLZ1]"
                                                                << "München 80331\r\n";
    }
    void fillTemplate() {
        QFETCH(QString, templateText);
        QFETCH(QString, result);
        QCOMPARE(FillAddressTemplate(templateText, sampleField), result);
    }

    // The clipboard gets the current template filled with the current address, or nothing at all.
    void clipboardTextComesFromTheCurrentTemplate_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<std::optional<QString>>("text");
        QTest::newRow("the current template") << 2 << std::optional<QString>(QStringLiteral("Anna Müller\r\n"));
        QTest::newRow("none chosen") << 0 << std::optional<QString>();
        QTest::newRow("the current one deleted") << 9 << std::optional<QString>();
    }

    void clipboardTextComesFromTheCurrentTemplate() {
        QFETCH(int, current);
        QFETCH(std::optional<QString>, text);
        QTemporaryDir dir;
        createTableFile(dir.filePath(schema::addressTemplates().name), schema::addressTemplates());
        test::createClientTables(dir.path());
        Table templates;
        test::openTable(templates, dir.path(), schema::addressTemplates().name);
        test::appendRecord(templates, {{QStringLiteral("Name"), QStringLiteral("Anschrift")},
                                       {QStringLiteral("Adr"), QStringLiteral("[Name1]")}});
        test::appendRecord(templates, {{QStringLiteral("Name"), QStringLiteral("Vorname zuerst")},
                                       {QStringLiteral("Adr"), QStringLiteral("[Name2] [Name1]")}});
        Table addresses;
        test::openTable(addresses, dir.path(), QStringLiteral("Adressen.DB"));
        test::appendRecord(addresses, {{QStringLiteral("Name1"), QStringLiteral("Müller")},
                                       {QStringLiteral("Name2"), QStringLiteral("Anna")}});
        // The template table stands on the first template, which must not be copied instead.
        QVERIFY(templates.locate(u"Nr", 1));
        QCOMPARE(addressClipboardText(templates, addresses, current), text);
    }
};

QTEST_GUILESS_MAIN(AddressTemplatesTest)
#include "tst_address_templates.moc"
