#include "app/settings.h"

namespace zep {

int SettingsFile::read(const IntSetting& setting) const {
    return read(setting.name, setting.defaultValue);
}

int SettingsFile::read(const SettingName& name, int defaultValue) const {
    return file_.readInteger(name.section, name.key, defaultValue);
}

QString SettingsFile::read(const TextSetting& setting) const {
    return read(setting.name, setting.defaultValue.toString());
}

QString SettingsFile::read(const SettingName& name, const QString& defaultValue) const {
    return file_.readString(name.section, name.key, defaultValue);
}

bool SettingsFile::write(const SettingName& name, int value) const {
    return file_.writeInteger(name.section, name.key, value);
}

bool SettingsFile::write(const SettingName& name, QStringView value) const {
    return file_.writeString(name.section, name.key, value);
}

QRect Settings::mainWindowRect(const QRect& design) const {
    const int left = read(keys::WindowMainLeft, design.left());
    const int top = read(keys::WindowMainTop, design.top());
    const int width = read(keys::WindowMainWidth, design.width());
    const int height = read(keys::WindowMainHeight, design.height());
    return QRect(left, top, width, height);
}

bool Settings::setMainWindowRect(const QRect& rect) const {
    return write(keys::WindowMainTop, rect.top()) && write(keys::WindowMainLeft, rect.left()) &&
           write(keys::WindowMainHeight, rect.height()) && write(keys::WindowMainWidth, rect.width());
}

FontDescription Settings::storedFont(const SettingName& name, const FontDescription& design) const {
    return applyFontString(read(name, QString()), design);
}

QString ClientSettings::addressFieldCaption(int number) const {
    Q_ASSERT(number >= 1 && number <= int(keys::AdresseFeld.size()));
    return read(keys::AdresseFeld.at(number - 1));
}

bool ClientSettings::setAddressFieldCaption(int number, QStringView caption) const {
    Q_ASSERT(number >= 1 && number <= int(keys::AdresseFeld.size()));
    return write(keys::AdresseFeld.at(number - 1), caption);
}

QString ClientSettings::documentFieldCaption(int number) const {
    Q_ASSERT(number >= 1 && number <= int(keys::DokumentFeld.size()));
    return read(keys::DokumentFeld.at(number - 1));
}

bool ClientSettings::setDocumentFieldCaption(int number, QStringView caption) const {
    Q_ASSERT(number >= 1 && number <= int(keys::DokumentFeld.size()));
    return write(keys::DokumentFeld.at(number - 1), caption);
}

} // namespace zep
