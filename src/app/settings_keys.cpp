#include "app/settings_keys.h"

namespace zep::keys {

const IntSetting GeneralAutoStartTime{{u"General", u"AutoStartTime"}, 15};
const IntSetting GeneralMusik{{u"General", u"Musik"}, 1};
const IntSetting WiedervorlageZeigen{{u"Wiedervorlage", u"Zeigen"}, 0};
const SettingName WindowMainTop{u"WindowMain", u"Top"};
const SettingName WindowMainLeft{u"WindowMain", u"Left"};
const SettingName WindowMainHeight{u"WindowMain", u"Height"};
const SettingName WindowMainWidth{u"WindowMain", u"Width"};
const IntSetting WindowMainMax{{u"WindowMain", u"Max"}, 1};
const IntSetting WindowTreeTreeWidth{{u"WindowTree", u"TreeWidth"}, 250};
const IntSetting WindowTreeAdrHeight{{u"WindowTree", u"AdrHeight"}, 120};
const SettingName WindowTreeFont{u"WindowTree", u"Font"};
const SettingName WindowDocFont{u"WindowDoc", u"Font"};
const IntSetting PrintAdrIndex{{u"PrintAdr", u"Index"}, 0};
const IntSetting PrintLetterIndex{{u"PrintLetter", u"Index"}, 0};

const std::array<TextSetting, 10> AdresseFeld{{
    {{u"Adresse", u"Feld1"}, u"Feld1"},
    {{u"Adresse", u"Feld2"}, u"Feld2"},
    {{u"Adresse", u"Feld3"}, u"Feld3"},
    {{u"Adresse", u"Feld4"}, u"Feld4"},
    {{u"Adresse", u"Feld5"}, u"Feld5"},
    {{u"Adresse", u"Feld6"}, u"Feld6"},
    {{u"Adresse", u"Feld7"}, u"DatumsFeld1"},
    {{u"Adresse", u"Feld8"}, u"DatumsFeld2"},
    {{u"Adresse", u"Feld9"}, u"ZahlenFeld1"},
    {{u"Adresse", u"Feld10"}, u"ZahlenFeld2"},
}};
const std::array<TextSetting, 6> DokumentFeld{{
    {{u"Dokument", u"Feld1"}, u"Feld1"},
    {{u"Dokument", u"Feld2"}, u"Feld2"},
    {{u"Dokument", u"Feld3"}, u"Feld3"},
    {{u"Dokument", u"Feld4"}, u"Feld4"},
    {{u"Dokument", u"Feld5"}, u"Feld5"},
    {{u"Dokument", u"Feld6"}, u"Feld6"},
}};
const IntSetting NetzwerkWarnungAus{{u"Netzwerk", u"WarnungAus"}, 0};
const IntSetting DokumentSortSpalte{{u"Dokument", u"SortSpalte"}, 0};
const IntSetting DokumentSortAbsteigend{{u"Dokument", u"SortAbsteigend"}, 0};
const IntSetting DokumentSortspalteArrangement{{u"Dokument", u"Sortspalte"}, 0};
const IntSetting DokumentSortAbsteigendArrangement{{u"Dokument", u"SortAbsteigend"}, 1};
const IntSetting AdressvorlageAktuell{{u"Adressvorlage", u"Aktuell"}, 0};

} // namespace zep::keys
