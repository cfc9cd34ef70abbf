#include "serial/serial_data_file.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/safe_file.h"
#include "data/cp1252.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/table.h"
#include "serial/serial_texts.h"

namespace zep {
namespace {

// Every control character becomes a blank: TAB and line breaks would shift the columns, and NUL,
// VT, FF or 0x1A (an end of file to some readers) cut or break the line for the word processor.
QString withoutControlCharacters(QString value) {
    for (QChar& c : value)
        if (c.unicode() < 0x20)
            c = u' ';
    return value;
}

QByteArray dataLine(const QStringList& values) {
    QStringList cleaned;
    cleaned.reserve(values.size());
    for (const QString& value : values)
        cleaned.append(withoutControlCharacters(value));
    return toCp1252(cleaned.join(u'\t')) + "\r\n";
}

QList<QStringList> recipientRecords(const QStringList& fieldNames, Table& recipients, Table& addresses) {
    QList<int> positions;
    for (const QString& name : fieldNames) {
        addresses.field(name); // a merge field the address table lacks is an error, not an empty column
        positions.append(addresses.fieldPosition(name));
    }
    QList<QStringList> records;
    for (recipients.first(); !recipients.eof(); recipients.next()) {
        if (!addresses.locate(u"Nr", recipients.field(u"NRAdresse").value()))
            continue;
        QStringList values;
        for (int position : positions)
            values.append(addresses.field(position).asString());
        records.append(values);
    }
    return records;
}

template <typename Step> void quietly(Step step) noexcept {
    try {
        step();
    } catch (const EngineError&) {
    } catch (const FileError&) {
    }
}

// Opens the addresses and suspends the recipients' controls for the time of one write; afterwards,
// also after a failure, the first recipient is current and the controls follow again.
class DataFileScope {
public:
    DataFileScope(Table& recipients, Table& addresses) : recipients_(recipients), addresses_(addresses) {
        addresses_.open();
        recipients_.disableControls();
    }
    // Nothing may leave a destructor: a step that fails here only leaves the cursor or a control as it is.
    ~DataFileScope() {
        quietly([this] { recipients_.first(); });
        quietly([this] { recipients_.enableControls(); });
        quietly([this] { addresses_.close(); });
    }
    DataFileScope(const DataFileScope&) = delete;
    DataFileScope& operator=(const DataFileScope&) = delete;

private:
    Table& recipients_;
    Table& addresses_;
};

} // namespace

QByteArray serialDataText(const QStringList& fieldNames, const QList<QStringList>& records) {
    QByteArray text = dataLine(fieldNames);
    for (const QStringList& record : records)
        text += dataLine(record);
    return text;
}

void writeSerialDataFile(const QString& path, const QStringList& fieldNames, Table& recipients, Table& addresses) {
    DataFileScope scope(recipients, addresses);
    writeFileSafely(path, serialDataText(fieldNames, recipientRecords(fieldNames, recipients, addresses)));
}

bool createSerialDataFile(const QString& path, const QStringList& fieldNames, Table& recipients, Table& addresses,
                          Interaction& interaction) {
    QString cause;
    try {
        writeSerialDataFile(path, fieldNames, recipients, addresses);
        return true;
    } catch (const EngineError& error) {
        cause = error.message();
    } catch (const FileError& error) {
        cause = error.message();
    }
    interaction.error(serial_texts::dataFileFailed() + u'\r' + cause, ApplicationName.toString());
    return false;
}

} // namespace zep
