#include "data/schema.h"

namespace zep::schema {
namespace {

FieldDef autoInc(const char16_t* name) {
    return {QString::fromUtf16(name), FieldKind::AutoInc, 0};
}
FieldDef integer(const char16_t* name) {
    return {QString::fromUtf16(name), FieldKind::Integer, 0};
}
FieldDef smallInt(const char16_t* name) {
    return {QString::fromUtf16(name), FieldKind::SmallInt, 0};
}
FieldDef text(const QString& name, int size) {
    return {name, FieldKind::String, size};
}
FieldDef text(const char16_t* name, int size) {
    return text(QString::fromUtf16(name), size);
}
FieldDef memo(const char16_t* name) {
    return {QString::fromUtf16(name), FieldKind::Memo, 0};
}
FieldDef date(const char16_t* name) {
    return {QString::fromUtf16(name), FieldKind::Date, 0};
}
FieldDef logical(const char16_t* name) {
    return {QString::fromUtf16(name), FieldKind::Logical, 0};
}
FieldDef number(const QString& name) {
    return {name, FieldKind::Number, 0};
}
FieldDef number(const char16_t* name) {
    return number(QString::fromUtf16(name));
}
FieldDef marker() {
    return text(kVersionMarker, 1);
}

IndexDef index(const char16_t* name, std::initializer_list<const char16_t*> fields) {
    IndexDef def{QString::fromUtf16(name), {}, false};
    for (const char16_t* field : fields)
        def.fields << QString::fromUtf16(field);
    return def;
}

QString numbered(const char16_t* prefix, int i) {
    return QString::fromUtf16(prefix) + QString::number(i);
}

// Tree tables share their head: number, parent, main-entry flag and rebuild marker.
std::vector<FieldDef> treeHead() {
    return {autoInc(u"Nr"), integer(u"Vor"), integer(u"Baum"), text(u"Help", 1)};
}

TableLayout makeAddresses() {
    TableLayout t{QStringLiteral("Adressen.DB"), treeHead(), {}};
    auto add = [&](FieldDef f) {
        t.fields.push_back(std::move(f));
    };
    add(logical(u"Person"));
    for (const char16_t* name : {u"Name1", u"Name2", u"Name3"})
        add(text(name, 80));
    add(text(u"Strasse", 80));
    add(text(u"PLZ1", 10));
    add(text(u"Ort", 60));
    add(text(u"Land", 40));
    add(text(u"PLZ2", 10));
    add(text(u"PF", 20));
    for (int i = 1; i <= 6; ++i)
        add(text(numbered(u"Tel", i), 40));
    add(text(u"Fax", 40));
    add(text(u"Fax2", 40));
    for (const char16_t* name : {u"Mail", u"Mail2", u"Internet1", u"Internet2"})
        add(text(name, 120));
    for (const char16_t* name : {u"AnredeBrief", u"Anrede", u"Herr_Frau", u"Grusswort"})
        add(text(name, 80));
    add(text(u"BBank", 60));
    add(text(u"BBLZ", 20));
    add(text(u"BKonto", 40));
    for (int i = 1; i <= 6; ++i)
        add(text(numbered(u"Feld", i), 100));
    add(date(u"Datum1"));
    add(date(u"Datum2"));
    add(number(u"Zahl1"));
    add(number(u"Zahl2"));
    add(memo(u"Notice"));
    add(marker());
    t.indexes = {index(u"iVor", {u"Vor"}), index(u"iName1", {u"Name1"})};
    return t;
}

TableLayout makeTopics() {
    TableLayout t{QStringLiteral("Thema.DB"), treeHead(), {}};
    t.fields.push_back(text(u"Thema", 100));
    t.fields.push_back(marker());
    t.indexes = {index(u"iVor", {u"Vor"}), index(u"iName", {u"Thema"})};
    return t;
}

TableLayout makeDocuments() {
    TableLayout t{QStringLiteral("Dok.DB"),
                  {autoInc(u"Nr"), integer(u"NrFirma"), integer(u"NrThema"), text(u"Ext", 3), text(u"Titel", 50),
                   text(u"Art", 50), text(u"Datei", 200), text(u"Autor", 50), date(u"EDatum"), date(u"ADatum"),
                   date(u"WDatum"), text(u"WTyp", 1), integer(u"WTag"), smallInt(u"Offen"), memo(u"Notice")},
                  {}};
    for (int i = 1; i <= 6; ++i)
        t.fields.push_back(text(numbered(u"Feld", i), 100));
    t.fields.push_back(marker());
    t.indexes = {index(u"iFirma", {u"NrFirma"}), index(u"iThema", {u"NrThema"})};
    return t;
}

TableLayout makeSerialLetters() {
    return {QStringLiteral("Serie.db"),
            {autoInc(u"NR"), integer(u"NRDoku"), integer(u"NRAdresse"), text(u"NameAdresse", 100), marker()},
            {index(u"iDoku", {u"NRDoku"})}};
}

TableLayout makeApplications() {
    return {QStringLiteral("Programm.DB"),
            {text(u"Ext", 3), text(u"Anw", 255), text(u"Titel", 80), integer(u"IconNr"), marker()},
            {index(u"iExt", {u"Ext"})}};
}

TableLayout makeAddressTemplates() {
    return {QStringLiteral("AdrVorlage.DB"), {autoInc(u"Nr"), text(u"Name", 30), memo(u"Adr")}, {}};
}

// Print layouts keep whole millimetres and the font as name, style flags ("10" bold, "01" italic) and size text.
void addFont(TableLayout& t, const QString& suffix) {
    t.fields.push_back(text(QStringLiteral("FN") + suffix, 32));
    t.fields.push_back(text(QStringLiteral("FS") + suffix, 2));
    t.fields.push_back(text(QStringLiteral("FG") + suffix, 10));
}

TableLayout makeAddressPrintLayouts() {
    TableLayout t{QStringLiteral("AdrPrt.db"), {autoInc(u"Nr"), text(u"Bezeichnung", 50)}, {}};
    for (const char16_t* name : {u"B", u"H", u"RO", u"RU", u"RL", u"RR"})
        t.fields.push_back(integer(name));
    addFont(t, QString());
    for (int i = 1; i <= 10; ++i)
        t.fields.push_back(text(numbered(u"T", i), 255));
    t.indexes = {index(u"iBez", {u"Bezeichnung"})};
    return t;
}

TableLayout makeEnvelopeLayouts() {
    TableLayout t{
        QStringLiteral("Brief.db"), {autoInc(u"Nr"), text(u"Bezeichnung", 50), integer(u"B"), integer(u"H")}, {}};
    for (int i = 1; i <= 10; ++i) {
        t.fields.push_back(text(numbered(u"T", i), 255));
        for (const char16_t* axis : {u"X", u"Y", u"W"})
            t.fields.push_back({numbered(axis, i), FieldKind::Integer, 0});
        addFont(t, QString::number(i));
    }
    t.indexes = {index(u"iBez", {u"Bezeichnung"})};
    return t;
}

} // namespace

const TableLayout& addresses() {
    static const TableLayout t = makeAddresses();
    return t;
}
const TableLayout& topics() {
    static const TableLayout t = makeTopics();
    return t;
}
const TableLayout& documents() {
    static const TableLayout t = makeDocuments();
    return t;
}
const TableLayout& serialLetters() {
    static const TableLayout t = makeSerialLetters();
    return t;
}
const TableLayout& applications() {
    static const TableLayout t = makeApplications();
    return t;
}
const TableLayout& addressTemplates() {
    static const TableLayout t = makeAddressTemplates();
    return t;
}
const TableLayout& addressPrintLayouts() {
    static const TableLayout t = makeAddressPrintLayouts();
    return t;
}
const TableLayout& envelopeLayouts() {
    static const TableLayout t = makeEnvelopeLayouts();
    return t;
}

const std::vector<const TableLayout*>& clientTables() {
    static const std::vector<const TableLayout*> all{&addresses(), &topics(), &documents(), &serialLetters()};
    return all;
}

const std::vector<const TableLayout*>& generalTables() {
    static const std::vector<const TableLayout*> all{&applications(), &addressTemplates(), &addressPrintLayouts(),
                                                     &envelopeLayouts()};
    return all;
}

} // namespace zep::schema
