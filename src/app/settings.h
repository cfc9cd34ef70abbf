#pragma once

#include "app/font_string.h"
#include "app/profile_file.h"
#include "app/settings_keys.h"

#include <QRect>
#include <QString>

namespace zep {

// Reads and writes the declared keys of one settings file; every call opens the file once.
class SettingsFile {
public:
    explicit SettingsFile(const QString& iniPath) : file_(iniPath) {}

    int read(const IntSetting& setting) const;
    int read(const SettingName& name, int defaultValue) const;
    QString read(const TextSetting& setting) const;
    QString read(const SettingName& name, const QString& defaultValue) const;

    bool write(const IntSetting& setting, int value) const { return write(setting.name, value); }
    bool write(const SettingName& name, int value) const;
    bool write(const TextSetting& setting, QStringView value) const { return write(setting.name, value); }
    bool write(const SettingName& name, QStringView value) const;

    const QString& path() const { return file_.path(); }
    // Why the last failed write failed, in German (see ProfileFile::lastError).
    const QString& lastError() const { return file_.lastError(); }

private:
    ProfileFile file_;
};

// The installation-wide "zep.ini".
class Settings : public SettingsFile {
public:
    using SettingsFile::SettingsFile;

    int autoStartTime() const { return read(keys::GeneralAutoStartTime); }
    bool setAutoStartTime(int seconds) const { return write(keys::GeneralAutoStartTime, seconds); }
    bool music() const { return read(keys::GeneralMusik) != 0; }
    bool setMusic(bool on) const { return write(keys::GeneralMusik, on ? 1 : 0); }
    // 0 never, 1 at program start, 2 at every client change.
    int resubmissionShow() const { return read(keys::WiedervorlageZeigen); }
    bool setResubmissionShow(int mode) const { return write(keys::WiedervorlageZeigen, mode); }

    // The normal (restored) rectangle; the design rectangle supplies what is missing.
    QRect mainWindowRect(const QRect& design) const;
    bool setMainWindowRect(const QRect& rect) const;
    bool mainWindowMaximised() const { return read(keys::WindowMainMax) == 1; }
    bool setMainWindowMaximised(bool on) const { return write(keys::WindowMainMax, on ? 1 : 0); }
    int treeWidth() const { return read(keys::WindowTreeTreeWidth); }
    bool setTreeWidth(int pixels) const { return write(keys::WindowTreeTreeWidth, pixels); }
    int addressPaneHeight() const { return read(keys::WindowTreeAdrHeight); }
    bool setAddressPaneHeight(int pixels) const { return write(keys::WindowTreeAdrHeight, pixels); }

    // The design font with whatever the stored font string holds readably.
    FontDescription treeFont(const FontDescription& design) const { return storedFont(keys::WindowTreeFont, design); }
    bool setTreeFont(const FontDescription& font) const { return write(keys::WindowTreeFont, encodeFontString(font)); }
    FontDescription documentFont(const FontDescription& design) const {
        return storedFont(keys::WindowDocFont, design);
    }
    bool setDocumentFont(const FontDescription& font) const {
        return write(keys::WindowDocFont, encodeFontString(font));
    }

    int printAddressIndex() const { return read(keys::PrintAdrIndex); }
    bool setPrintAddressIndex(int index) const { return write(keys::PrintAdrIndex, index); }
    int printLetterIndex() const { return read(keys::PrintLetterIndex); }
    bool setPrintLetterIndex(int index) const { return write(keys::PrintLetterIndex, index); }

private:
    FontDescription storedFont(const SettingName& name, const FontDescription& design) const;
};

// A client's "Mand.ini".
class ClientSettings : public SettingsFile {
public:
    using SettingsFile::SettingsFile;

    // number 1..10: Feld1..Feld6, the two date fields and the two number fields.
    QString addressFieldCaption(int number) const;
    bool setAddressFieldCaption(int number, QStringView caption) const;
    // number 1..6
    QString documentFieldCaption(int number) const;
    bool setDocumentFieldCaption(int number, QStringView caption) const;

    int sortColumn() const { return read(keys::DokumentSortSpalte); }
    bool setSortColumn(int column) const { return write(keys::DokumentSortSpalte, column); }
    bool sortDescending() const { return read(keys::DokumentSortAbsteigend) == 1; }
    bool setSortDescending(bool on) const { return write(keys::DokumentSortAbsteigend, on ? 1 : 0); }
    // The same two keys as the column arrangement window keeps them: it assumes descending when the
    // order is missing.
    int arrangementSortColumn() const { return read(keys::DokumentSortspalteArrangement); }
    bool arrangementSortDescending() const { return read(keys::DokumentSortAbsteigendArrangement) == 1; }
    bool setArrangementSort(int column, bool descending) const {
        return write(keys::DokumentSortspalteArrangement, column) &&
               write(keys::DokumentSortAbsteigendArrangement, descending ? 1 : 0);
    }
    // Nr of the current address template.
    int currentAddressTemplate() const { return read(keys::AdressvorlageAktuell); }
    bool setCurrentAddressTemplate(int nr) const { return write(keys::AdressvorlageAktuell, nr); }
    bool networkWarningOff() const { return read(keys::NetzwerkWarnungAus) == 1; }
    bool setNetworkWarningOff() const { return write(keys::NetzwerkWarnungAus, 1); }
};

} // namespace zep
