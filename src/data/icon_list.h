#pragma once

#include <QString>
#include <vector>

namespace zep {

// The document icons by file extension: a 16- and a 32-pixel list, each with a parallel key list
// (key i names image i; keys compared without regard to case). Images are kept as their source
// (an icon name or an image file path); the window that draws resolves them.
class TIconList {
public:
    // The icon of a note without file, drawn by the window from its own images.
    static QString noteIconSource() { return QStringLiteral("zep:note"); }

    // An empty source is not an image: neither image nor key is added, so indexes stay aligned.
    bool addSmall(const QString& key, const QString& source);
    bool addLarge(const QString& key, const QString& source);
    // The source stored under a key (the first match), or empty.
    QString small(const QString& key) const;
    QString large(const QString& key) const;
    int countSmall() const { return int(small_.size()); }
    int countLarge() const { return int(large_.size()); }
    void clear();

private:
    struct Entry {
        QString key;
        QString source;
    };
    static bool add(std::vector<Entry>& list, const QString& key, const QString& source);
    static QString find(const std::vector<Entry>& list, const QString& key);
    std::vector<Entry> small_;
    std::vector<Entry> large_;
};

} // namespace zep
