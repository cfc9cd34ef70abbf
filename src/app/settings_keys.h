#pragma once

#include <QStringView>

#include <array>

namespace zep {

struct SettingName {
    QStringView section;
    QStringView key;
};

struct IntSetting {
    SettingName name;
    int defaultValue;
};

struct TextSetting {
    SettingName name;
    QStringView defaultValue;
};

// Every key of "zep.ini" and "Mand.ini" with its default. Keys declared as a bare SettingName take
// their default from the window that reads them (design position, design font).
namespace keys {

// zep.ini
extern const IntSetting GeneralAutoStartTime;
extern const IntSetting GeneralMusik;
extern const IntSetting WiedervorlageZeigen;
extern const SettingName WindowMainTop;
extern const SettingName WindowMainLeft;
extern const SettingName WindowMainHeight;
extern const SettingName WindowMainWidth;
extern const IntSetting WindowMainMax;
extern const IntSetting WindowTreeTreeWidth;
extern const IntSetting WindowTreeAdrHeight;
extern const SettingName WindowTreeFont;
extern const SettingName WindowDocFont;
extern const IntSetting PrintAdrIndex;
extern const IntSetting PrintLetterIndex;

// Mand.ini. AdresseFeld[0..9] are the keys Feld1..Feld10: six free fields, two date and two number fields.
extern const std::array<TextSetting, 10> AdresseFeld;
extern const std::array<TextSetting, 6> DokumentFeld;
extern const IntSetting DokumentSortSpalte;
extern const IntSetting DokumentSortAbsteigend;
// The column arrangement window's spelling of the sort column key, and its own default of the order.
extern const IntSetting DokumentSortspalteArrangement;
extern const IntSetting DokumentSortAbsteigendArrangement;
extern const IntSetting AdressvorlageAktuell;
// 1 once the user no longer wants the network file system warning for this client.
extern const IntSetting NetzwerkWarnungAus;

} // namespace keys

} // namespace zep
