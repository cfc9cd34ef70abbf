#include "data/icon_list.h"

namespace zep {

bool TIconList::add(std::vector<Entry>& list, const QString& key, const QString& source) {
    if (source.isEmpty())
        return false;
    list.push_back({key, source});
    return true;
}

QString TIconList::find(const std::vector<Entry>& list, const QString& key) {
    for (const Entry& entry : list)
        if (entry.key.compare(key, Qt::CaseInsensitive) == 0)
            return entry.source;
    return {};
}

bool TIconList::addSmall(const QString& key, const QString& source) {
    return add(small_, key, source);
}
bool TIconList::addLarge(const QString& key, const QString& source) {
    return add(large_, key, source);
}
QString TIconList::small(const QString& key) const {
    return find(small_, key);
}
QString TIconList::large(const QString& key) const {
    return find(large_, key);
}

void TIconList::clear() {
    small_.clear();
    large_.clear();
}

} // namespace zep
