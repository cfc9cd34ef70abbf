#include "app/registry.h"

namespace zep {

namespace {

const QString unnamedValue = QStringLiteral("@");

QStringView section(QStringView key) {
    while (key.endsWith(u'\\'))
        key.chop(1);
    return key;
}

QStringView storedName(QStringView valueName) {
    return valueName.isEmpty() ? QStringView(unnamedValue) : valueName;
}

} // namespace

QString Registry::readString(QStringView key, QStringView valueName, const QString& defaultValue) const {
    const QString value = file_.readString(section(key), storedName(valueName), QString());
    return value.isEmpty() ? defaultValue : value;
}

bool Registry::writeString(QStringView key, QStringView valueName, QStringView data) const {
    return file_.writeString(section(key), storedName(valueName), data);
}

QStringList Registry::valueNames(QStringView key) const {
    QStringList names = file_.keys(section(key));
    names.removeIf([](const QString& name) { return name == unnamedValue; });
    return names;
}

bool Registry::deleteValue(QStringView key, QStringView valueName) const {
    return file_.removeKey(section(key), storedName(valueName));
}

} // namespace zep
