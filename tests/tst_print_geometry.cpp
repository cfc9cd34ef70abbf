#include "data/schema.h"
#include "data/table_file.h"
#include "mainwin/tree_texts.h"
#include "printing/address_list.h"
#include "printing/envelope.h"
#include "printing/print_layouts.h"
#include "printing/print_line.h"
#include "test_install.h"

#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace zep;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zep::UnprintableMargins)

namespace {

constexpr int ScreenDpi = 96;

// An A4 sheet on a printer of 600 dots per inch that leaves 4 mm unprinted on every side.
PrinterDevice a4Printer600() {
    PrinterDevice d;
    d.dpiX = d.dpiY = 600;
    d.sheetWidth = 4960;  // 210 mm
    d.sheetHeight = 7016; // 297 mm
    d.offsetX = d.offsetY = 95;
    d.printableWidthMm = 202;
    d.printableHeightMm = 289;
    return d;
}

AddressListLayout a4Layout() {
    AddressListLayout layout;
    layout.lines[0] = u"[Name1]"_s;
    layout.lines[1] = u"[Name2]"_s;
    layout.lines[2] = u"[Strasse]"_s;
    layout.lines[3] = u"[PLZ1] [Ort]"_s;
    return layout;
}

const QStringList KnownNames{u"Name1"_s, u"Name2"_s, u"Strasse"_s, u"PLZ1"_s, u"Ort"_s};

// Addresses by Nr as field name -> value; a field missing from the map is an empty field.
using Address = std::map<QString, QString>;

AddressBlockLines blocksOf(const AddressListLayout& layout, const std::map<int, Address>& addresses) {
    return [&layout, addresses](int nr) -> std::optional<PrintLines> {
        const auto found = addresses.find(nr);
        if (found == addresses.end())
            return std::nullopt;
        const Address& address = found->second;
        PrintLines lines;
        for (size_t i = 0; i < lines.size(); ++i)
            lines[i] = SubstitutePrintLine(layout.lines[i], KnownNames, [&address](const QString& name) {
                const auto field = address.find(name);
                return std::optional<QString>(field == address.end() ? QString() : field->second);
            });
        return lines;
    };
}

std::vector<SelectionEntry> entriesOf(const QStringList& captions) {
    QStringList lines;
    for (int i = 0; i < captions.size(); ++i)
        lines << subtreeEntryLine(captions[i], i + 1);
    return selectionEntries(sortedSelectionLines(lines));
}

// One address per caption, Nr 1.. in the caption's position, with a full four-line block.
std::map<int, Address> fullAddresses(const QStringList& captions) {
    std::map<int, Address> addresses;
    for (int i = 0; i < captions.size(); ++i)
        addresses[i + 1] = {{u"Name1"_s, captions[i]},
                            {u"Name2"_s, u"Zusatz"_s},
                            {u"Strasse"_s, u"Weg 1"_s},
                            {u"PLZ1"_s, u"12345"_s},
                            {u"Ort"_s, u"Ort"_s}};
    return addresses;
}

QStringList numberedCaptions(int count) {
    QStringList captions;
    for (int i = 0; i < count; ++i)
        captions << u"Adresse %1"_s.arg(i, 3, 10, QChar(u'0'));
    return captions;
}

ListGeometry a4Geometry(int columns, const AddressListLayout& layout = a4Layout()) {
    AddressListOptions options;
    options.columns = columns;
    return setupListGeometry(layout, options, {}, printFontHeight(12, 600, ScreenDpi));
}

QList<int> xPositions(const PrintedPage& page) {
    QList<int> xs;
    for (const PrintedLine& line : page)
        if (!xs.contains(line.x))
            xs << line.x;
    return xs;
}

} // namespace

class TestPrintGeometry : public QObject {
    Q_OBJECT

private slots:
    void substitution_data();
    void substitution();
    void blankLines_data();
    void blankLines();
    void roundingHalvesToEven();
    void unprintableMarginsOfDevice();
    void marginsRaisedToUnprintable_data();
    void marginsRaisedToUnprintable();
    void previewFramesOfTheListPage();
    void fontHeight_data();
    void fontHeight();
    void fontRecord();
    void twoColumnsOnA4();
    void blockWithoutName2TakesFourLineHeights();
    void newInitialBeginsColumn();
    void newInitialBeyondLastColumn();
    void blockTooTallGoesToNextColumnOnce();
    void selectionSortedAndMissingSkipped();
    void previewShowsFirstPageOnly();
    void stopEndsRun();
    void fullPreviewReadsNoMoreAddresses();
    void envelopeStart_data();
    void envelopeStart();
    void envelopeLines();
    void envelopeRects();
    void layoutRecordsRoundTrip();
};

void TestPrintGeometry::substitution_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("known") << u"[Name1] [Ort]"_s << u"Becker Bonn"_s;
    QTest::newRow("case ignored") << u"[name1]"_s << u"Becker"_s;
    QTest::newRow("unknown name printed bare") << u"Tel. [Telefon]"_s << u"Tel. Telefon"_s;
    QTest::newRow("known but not a field") << u"[Land]"_s << u"Land"_s;
    QTest::newRow("unmatched bracket dropped") << u"a [b c"_s << u"a b c"_s;
    QTest::newRow("bracket at end dropped") << u"Ende ["_s << u"Ende "_s;
    QTest::newRow("new bracket restarts name") << u"[x [Name1]"_s << u"Becker"_s;
    QTest::newRow("closing bracket outside") << u"a] b"_s << u"a] b"_s;
    QTest::newRow("empty field") << u"[Name2]"_s << QString();
    QTest::newRow("empty placeholder") << u"[]"_s << QString();
}

void TestPrintGeometry::substitution() {
    QFETCH(QString, line);
    QFETCH(QString, expected);
    const QStringList known{u"Name1"_s, u"Name2"_s, u"Ort"_s, u"Land"_s};
    const Address address{{u"Name1"_s, u"Becker"_s}, {u"Name2"_s, QString()}, {u"Ort"_s, u"Bonn"_s}};
    const auto fieldText = [&address](const QString& name) -> std::optional<QString> {
        for (const auto& [field, value] : address)
            if (field.compare(name, Qt::CaseInsensitive) == 0)
                return value;
        return std::nullopt;
    };
    QCOMPARE(SubstitutePrintLine(line, known, fieldText), expected);
}

void TestPrintGeometry::blankLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("blank");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("blanks") << u"   "_s << true;
    QTest::newRow("text") << u" a "_s << false;
    QTest::newRow("tab") << u"\t"_s << false;
}

void TestPrintGeometry::blankLines() {
    QFETCH(QString, line);
    QFETCH(bool, blank);
    QCOMPARE(isBlankPrintLine(line), blank);
}

void TestPrintGeometry::roundingHalvesToEven() {
    QCOMPARE(roundHalfEven(2.5), 2);
    QCOMPARE(roundHalfEven(3.5), 4);
    QCOMPARE(roundHalfEven(-2.5), -2);
    QCOMPARE(roundHalfEven(-3.5), -4);
    QCOMPARE(roundHalfEven(4.49), 4);
    QCOMPARE(roundHalfEven(-4.51), -5);
}

void TestPrintGeometry::unprintableMarginsOfDevice() {
    QCOMPARE(unprintableMargins(a4Printer600()), (UnprintableMargins{4, 4, 4, 4}));
    PrinterDevice sheet;
    sheet.dpiX = sheet.dpiY = 254; // one pixel a tenth of a millimetre
    sheet.sheetWidth = 2100;
    sheet.sheetHeight = 2970;
    sheet.offsetX = 63; // 6.3 mm
    sheet.offsetY = 0;
    sheet.printableWidthMm = 198;
    sheet.printableHeightMm = 290;
    QCOMPARE(unprintableMargins(sheet), (UnprintableMargins{6, 6, 0, 7}));
    QCOMPARE(unprintableMargins(PrinterDevice{}), UnprintableMargins{});
}

void TestPrintGeometry::marginsRaisedToUnprintable_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("left");
    QTest::newRow("zero raised") << u"0"_s << 4;
    QTest::newRow("not a number") << u"x"_s << 4;
    QTest::newRow("below reach") << u"3"_s << 4;
    QTest::newRow("kept") << u"20"_s << 20;
}

void TestPrintGeometry::marginsRaisedToUnprintable() {
    QFETCH(QString, typed);
    QFETCH(int, left);
    AddressListLayout layout = a4Layout();
    layout.left = typed;
    const ListGeometry g = setupListGeometry(layout, AddressListOptions{}, unprintableMargins(a4Printer600()), -100);
    QCOMPARE(g.margins.left, left);
    QCOMPARE(g.columnWidth, 2100 - left * 10 - 200);
}

// A4 with 20 mm margins on a printer that cannot reach 4 mm at each edge.
void TestPrintGeometry::previewFramesOfTheListPage() {
    const UnprintableMargins unprintable = unprintableMargins(a4Printer600());
    const ListGeometry g = setupListGeometry(a4Layout(), AddressListOptions{}, unprintable, -100);
    const ListPageFrames frames = listPageFrames(g, unprintable);
    QCOMPARE(frames.page, (TenthsRect{0, 0, 2100, -2970}));
    QCOMPARE(frames.printable, (TenthsRect{40, -40, 2060, -2930}));
    QCOMPARE(frames.margins, (TenthsRect{200, -200, 1900, -2770}));
}

void TestPrintGeometry::fontHeight_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("printerDpi");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("lineHeight");
    QTest::newRow("12 pt at 600 dpi") << 12 << 600 << -100 << 150;
    QTest::newRow("12 pt at 300 dpi") << 12 << 300 << -50 << 75;
    // A resolution of 254 makes a pixel a tenth of a millimetre: 12 points are 4.23 mm.
    QTest::newRow("12 pt at 254 dpi") << 12 << 254 << -42 << 63;
    QTest::newRow("10 pt at 254 dpi") << 10 << 254 << -34 << 51;
    QTest::newRow("0 pt") << 0 << 600 << 0 << 0;
}

void TestPrintGeometry::fontHeight() {
    QFETCH(int, points);
    QFETCH(int, printerDpi);
    QFETCH(int, height);
    QFETCH(int, lineHeight);
    QCOMPARE(printFontHeight(points, printerDpi, ScreenDpi), height);
    QCOMPARE(printLineHeight(height), lineHeight);
}

void TestPrintGeometry::fontRecord() {
    const PrintFont bold = decodePrintFont(u"Arial"_s, u"10"_s, u"12"_s);
    QCOMPARE(printFontDescription(bold), u"Arial, Fett, 12"_s);
    QCOMPARE(encodePrintFontStyle(bold), u"10"_s);
    const PrintFont both = decodePrintFont(u"Times"_s, u"11"_s, u"9"_s);
    QCOMPARE(printFontDescription(both), u"Times, Fett, Kursiv, 9"_s);
    const PrintFont shortStyle = decodePrintFont(u"A"_s, u"1"_s, u"zwölf"_s);
    QVERIFY(!shortStyle.bold && !shortStyle.italic);
    QCOMPARE(shortStyle.pointSize, 0);
    QCOMPARE(decodePrintFont(QString(40, u'x'), u"00"_s, u"12"_s).name.size(), PrintFontNameLength);
}

void TestPrintGeometry::twoColumnsOnA4() {
    const ListGeometry g = a4Geometry(2);
    QCOMPARE(g.columnWidth, 850);
    QCOMPARE(g.lineHeight, 150);
    // 2570 of usable height hold three blocks of five line heights per column.
    const QStringList captions = numberedCaptions(5);
    const AddressListLayout layout = a4Layout();
    const ComposedList list = composeAddressList(g, {2, false}, PrintMode::Print, entriesOf(captions),
                                                 blocksOf(layout, fullAddresses(captions)));
    QCOMPARE(list.pages.size(), size_t(1));
    QCOMPARE(xPositions(list.pages[0]), (QList<int>{200, 1050}));
    for (const PrintedLine& line : list.pages[0]) {
        QCOMPARE(line.width, 830); // cut at 83 mm
        QCOMPARE(line.height, 150);
    }
    const PrintedLine& secondColumn = list.pages[0][12];
    QCOMPARE(secondColumn.text, u"Adresse 003"_s);
    QCOMPARE(secondColumn.y, -(200 + 150));
}

void TestPrintGeometry::blockWithoutName2TakesFourLineHeights() {
    const AddressListLayout layout = a4Layout();
    std::map<int, Address> addresses = fullAddresses({u"Adam"_s, u"Berta"_s});
    addresses[1].erase(u"Name2"_s);
    const ComposedList list = composeAddressList(a4Geometry(1), {}, PrintMode::Print,
                                                 entriesOf({u"Adam"_s, u"Berta"_s}), blocksOf(layout, addresses));
    const PrintedPage& page = list.pages.at(0);
    QCOMPARE(page.size(), size_t(7));
    QCOMPARE(page[0], (PrintedLine{200, -350, 1680, 150, u"Adam"_s}));
    QCOMPARE(page[1], (PrintedLine{200, -500, 1680, 150, u"Weg 1"_s}));
    QCOMPARE(page[2], (PrintedLine{200, -650, 1680, 150, u"12345 Ort"_s}));
    // The next block: an empty line, then its first line, four line heights below the first block's.
    QCOMPARE(page[3].text, u"Berta"_s);
    QCOMPARE(page[3].y, -(350 + 4 * 150));
}

void TestPrintGeometry::newInitialBeginsColumn() {
    const QStringList captions{u"Dahl"_s, u"Becker"_s, u"berg"_s};
    const AddressListLayout layout = a4Layout();
    const ComposedList list = composeAddressList(a4Geometry(2), {2, true}, PrintMode::Print, entriesOf(captions),
                                                 blocksOf(layout, fullAddresses(captions)));
    const PrintedPage& page = list.pages.at(0);
    QCOMPARE(page[0].text, u"Becker"_s);
    QCOMPARE(page[0].x, 200);
    QCOMPARE(page[4].text, u"berg"_s);
    QCOMPARE(page[4].x, 200);
    QCOMPARE(page[4].y, -(350 + 5 * 150));
    QCOMPARE(page[8].text, u"Dahl"_s);
    QCOMPARE(page[8].x, 1050);
    QCOMPARE(page[8].y, -350);
}

void TestPrintGeometry::newInitialBeyondLastColumn() {
    const QStringList captions{u"Becker"_s, u"Dahl"_s, u"Ernst"_s};
    const AddressListLayout layout = a4Layout();
    const auto blocks = blocksOf(layout, fullAddresses(captions));
    const ComposedList printed =
        composeAddressList(a4Geometry(2), {2, true}, PrintMode::Print, entriesOf(captions), blocks);
    QCOMPARE(printed.pages.size(), size_t(2));
    QCOMPARE(printed.pages[1].at(0).text, u"Ernst"_s);
    QCOMPARE(printed.pages[1].at(0).x, 200);
    QCOMPARE(printed.pages[1].at(0).y, -350);
    // The preview ends the run where the page is full.
    const ComposedList preview =
        composeAddressList(a4Geometry(2), {2, true}, PrintMode::Preview, entriesOf(captions), blocks);
    QCOMPARE(preview.pages.size(), size_t(1));
    QCOMPARE(preview.pages[0], printed.pages[0]);
}

void TestPrintGeometry::blockTooTallGoesToNextColumnOnce() {
    AddressListLayout layout = a4Layout();
    layout.pageHeight = u"100"_s; // 600 of usable height: four line heights
    std::map<int, Address> addresses = fullAddresses({u"A"_s, u"B"_s});
    const ComposedList list =
        composeAddressList(setupListGeometry(layout, {2, false}, {}, -100), {2, false}, PrintMode::Print,
                           entriesOf({u"A"_s, u"B"_s}), blocksOf(layout, addresses));
    // A four-line block with its empty line never fits: each goes to the next column once and is drawn whole, past the
    // margin.
    QCOMPARE(list.pages.size(), size_t(2));
    QCOMPARE(xPositions(list.pages[0]), (QList<int>{1050}));
    QCOMPARE(list.pages[0].size(), size_t(4));
    QCOMPARE(list.pages[0][3].y, -(350 + 3 * 150));
    QCOMPARE(list.pages[1][0], (PrintedLine{200, -350, 830, 150, u"B"_s}));
}

void TestPrintGeometry::selectionSortedAndMissingSkipped() {
    const QStringList lines{subtreeEntryLine(u"meyer"_s, 3), subtreeEntryLine(u"Albers"_s, 7),
                            subtreeEntryLine(u"Müller"_s, 9), u"kaputt"_s};
    const std::vector<SelectionEntry> entries = selectionEntries(sortedSelectionLines(lines));
    QCOMPARE(entries.size(), size_t(3));
    QCOMPARE(entries[0].caption, u"Albers"_s);
    QCOMPARE(entries[0].nr, 7);
    QCOMPARE(entries[1].caption, u"meyer"_s);
    QCOMPARE(entries[2].nr, 9);
    const AddressListLayout layout = a4Layout();
    std::map<int, Address> addresses;
    addresses[9] = {{u"Name1"_s, u"Müller"_s}};
    addresses[7] = {{u"Name1"_s, u"Albers"_s}};
    const ComposedList list =
        composeAddressList(a4Geometry(1), {}, PrintMode::Print, entries, blocksOf(layout, addresses));
    QCOMPARE(list.pages[0].size(), size_t(2));
    QCOMPARE(list.pages[0][1].text, u"Müller"_s);
    QCOMPARE(list.pages[0][1].y, -(350 + 2 * 150));
}

void TestPrintGeometry::previewShowsFirstPageOnly() {
    // Three blocks per column: thirteen full blocks in two columns need three pages.
    const QStringList captions = numberedCaptions(14);
    AddressListLayout layout = a4Layout();
    std::map<int, Address> addresses = fullAddresses(captions);
    addresses[14][u"Name2"_s].clear(); // the last block is shorter
    addresses[14][u"Strasse"_s].clear();
    addresses[14][u"PLZ1"_s].clear();
    addresses[14][u"Ort"_s].clear();
    const auto blocks = blocksOf(layout, addresses);
    const ComposedList printed =
        composeAddressList(a4Geometry(2), {2, false}, PrintMode::Print, entriesOf(captions), blocks);
    QCOMPARE(printed.pages.size(), size_t(3));
    const ComposedList preview =
        composeAddressList(a4Geometry(2), {2, false}, PrintMode::Preview, entriesOf(captions), blocks);
    QCOMPARE(preview.pages.size(), size_t(1));
    // The page is full for a four-line block, but the last, one-line block fits in the last column.
    PrintedPage expected = printed.pages[0];
    expected.push_back({1050, -(200 + 150 + 3 * 5 * 150), 830, 150, u"Adresse 013"_s});
    QCOMPARE(preview.pages[0], expected);
}

void TestPrintGeometry::stopEndsRun() {
    const QStringList captions = numberedCaptions(30);
    const AddressListLayout layout = a4Layout();
    QList<int> pagesSeen;
    const ComposedList list = composeAddressList(a4Geometry(1), {}, PrintMode::Print, entriesOf(captions),
                                                 blocksOf(layout, fullAddresses(captions)), [&pagesSeen](int pages) {
                                                     pagesSeen << pages;
                                                     return pagesSeen.size() > 4;
                                                 });
    QVERIFY(list.stopped);
    QCOMPARE(pagesSeen, (QList<int>{1, 1, 1, 1, 2}));
    QCOMPARE(list.pages.size(), size_t(2));
}

void TestPrintGeometry::fullPreviewReadsNoMoreAddresses() {
    // One column of 2.1 mm lines: 61 one-line blocks leave 0.8 mm of the 257 mm, less than a line.
    AddressListLayout layout;
    layout.lines[0] = u"[Name1]"_s;
    const ListGeometry g = setupListGeometry(layout, {}, {}, -14);
    QCOMPARE(g.lineHeight, 21);
    const QStringList captions = numberedCaptions(200);
    std::map<int, Address> addresses = fullAddresses(captions);
    const auto blocks = blocksOf(layout, addresses);
    QList<int> read;
    const ComposedList preview =
        composeAddressList(g, {}, PrintMode::Preview, entriesOf(captions), [&read, &blocks](int nr) {
            read << nr;
            return blocks(nr);
        });
    QCOMPARE(preview.pages[0].size(), size_t(61));
    QCOMPARE(read.size(), 61);
}

void TestPrintGeometry::envelopeStart_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<UnprintableMargins>("unprintable");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("drawnAngle");
    QTest::newRow("preview") << int(PrintMode::Preview) << UnprintableMargins{} << 0 << 1000 << -500 << 360;
    QTest::newRow("preview turned") << int(PrintMode::Preview) << UnprintableMargins{4, 4, 4, 4} << 90 << 1000 << -500
                                    << 270;
    QTest::newRow("print") << int(PrintMode::Print) << UnprintableMargins{} << 0 << 500 << -1200 << 90;
    QTest::newRow("print with margins") << int(PrintMode::Print) << UnprintableMargins{4, 0, 6, 5} << 0 << 460 << -1140
                                        << 90;
    QTest::newRow("print turned") << int(PrintMode::Print) << UnprintableMargins{} << 45 << 500 << -1200 << 45;
}

void TestPrintGeometry::envelopeStart() {
    QFETCH(int, mode);
    QFETCH(UnprintableMargins, unprintable);
    QFETCH(int, angle);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, drawnAngle);
    QCOMPARE(envelopeLineStart(100, 50, angle, 2200, PrintMode(mode), unprintable), (EnvelopePoint{x, y, drawnAngle}));
}

void TestPrintGeometry::envelopeLines() {
    EnvelopeLayout layout;
    layout.width = u"220"_s;
    for (int i = 1; i <= PrintLineCount; ++i)
        layout.lines[size_t(i - 1)] = newEnvelopeLine(i);
    QCOMPARE(layout.lines[0].y, u"40"_s);
    QCOMPARE(layout.lines[9].y, u"130"_s);
    QCOMPARE(layout.lines[9].x, u"100"_s);
    QCOMPARE(layout.lines[9].font, defaultPrintFont());
    const auto substitute = [](const QString& text) {
        return text == u"[Name2]"_s ? QString() : text.toUpper();
    };
    QVERIFY(placeEnvelopeLines(layout, PrintMode::Preview, {}, substitute, 254, ScreenDpi).empty());
    layout.lines[1].text = u"[Name2]"_s;
    layout.lines[4].text = u"absender"_s;
    layout.lines[4].x = u"zehn"_s;
    layout.lines[4].font.pointSize = 8;
    const auto placed = placeEnvelopeLines(layout, PrintMode::Preview, {}, substitute, 254, ScreenDpi);
    QCOMPARE(placed.size(), size_t(2));
    QCOMPARE(placed[0].text, QString()); // drawn as an empty text, not skipped
    QCOMPARE(placed[0].y, -500);
    QCOMPARE(placed[1].text, u"ABSENDER"_s);
    QCOMPARE(placed[1].x, 0);
    QCOMPARE(placed[1].y, -800);
    QCOMPARE(placed[1].fontHeight, printFontHeight(8, 254, ScreenDpi));
}

void TestPrintGeometry::envelopeRects() {
    EnvelopeLayout layout;
    layout.width = u"220"_s;
    layout.height = u"110"_s;
    QCOMPARE(envelopeRect(layout), (TenthsRect{0, 0, 2200, -1100}));
    QCOMPARE(envelopePrintableRect(layout, {4, 3, 6, 5}), (TenthsRect{50, -40, 2140, -1100}));
}

void TestPrintGeometry::layoutRecordsRoundTrip() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    createTableFile(dir.filePath(u"AdrPrt.db"_s), schema::addressPrintLayouts());
    createTableFile(dir.filePath(u"Brief.db"_s), schema::envelopeLayouts());
    Table list;
    test::openTable(list, dir.path(), u"AdrPrt.db"_s);
    AddressListLayout layout = a4Layout();
    layout.left = u"x7"_s;
    layout.font = {u"Liberation Serif"_s, true, false, 11};
    list.append();
    writeAddressListLayout(list, u"Liste"_s, layout);
    list.post();
    Table again;
    test::openTable(again, dir.path(), u"AdrPrt.db"_s);
    again.first();
    const AddressListLayout read = readAddressListLayout(again);
    QCOMPARE(read.left, u"0"_s);
    QCOMPARE(read.pageHeight, u"297"_s);
    QCOMPARE(read.font, layout.font);
    QCOMPARE(read.lines, layout.lines);
    QCOMPARE(again.field(u"FS").asString(), u"10"_s);

    Table envelopes;
    test::openTable(envelopes, dir.path(), u"Brief.db"_s);
    EnvelopeLayout envelope;
    for (int i = 1; i <= PrintLineCount; ++i)
        envelope.lines[size_t(i - 1)] = newEnvelopeLine(i);
    envelope.lines[2] = {u"[Ort]"_s, u"15"_s, u"25"_s, u"270"_s, {u"Arial"_s, false, true, 14}};
    envelopes.append();
    writeEnvelopeLayout(envelopes, u"C5"_s, envelope);
    envelopes.post();
    envelopes.first();
    const EnvelopeLayout back = readEnvelopeLayout(envelopes);
    QCOMPARE(back.width, u"200"_s);
    QCOMPARE(back.lines[2].text, u"[Ort]"_s);
    QCOMPARE(back.lines[2].angle, u"270"_s);
    QCOMPARE(back.lines[2].font, envelope.lines[2].font);
    QCOMPARE(back.lines[9].y, u"130"_s);
    const std::vector<LayoutName> names = readLayoutNames(envelopes);
    QCOMPARE(names.size(), size_t(1));
    QCOMPARE(names[0].name, u"C5"_s);
}

QTEST_GUILESS_MAIN(TestPrintGeometry)
#include "tst_print_geometry.moc"
