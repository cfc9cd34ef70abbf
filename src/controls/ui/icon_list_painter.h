#pragma once

#include "data/icon_list.h"

#include <QHash>
#include <QPixmap>

class QPainter;

namespace zep {

// Draws the document icons kept by a TIconList. Sources are resolved once and cached: the note
// icon is the program's own, an absolute path an image file, anything else an icon theme name.
// A key that is not stored shows the desktop's icon for the document's file.
class TIconListPainter {
public:
    static constexpr int smallSize = 16;
    static constexpr int largeSize = 32;

    explicit TIconListPainter(const TIconList& icons) : icons_(icons) {}

    void drawSmall(const QString& key, const QString& filePath, QPainter& painter, int x, int y);
    void drawLarge(const QString& key, const QString& filePath, QPainter& painter, int x, int y);
    // The large image stored under key; false (and icon unchanged) when the key is not stored.
    bool getLarge(const QString& key, QPixmap& icon);

    QPixmap smallPixmap(const QString& key, const QString& filePath);
    // The 32x32 icon of one document: the image stored for its extension, else the desktop's icon of
    // the document's file.
    QPixmap FileIcon(const QString& documentPath, const QString& extension);

    // The desktop's icon for a file (by its type), at size x size pixels; never null.
    static QPixmap fileIcon(const QString& filePath, int size);
    // The image of a source (an icon name, an image file or the note icon); null when it names nothing.
    static QPixmap sourcePixmap(const QString& source, int size);
    // The program's own icon of a note without file.
    static QPixmap noteIcon(int size);
    // Drops resolved images, e.g. after the icon list was filled again.
    void clearCache() { cache_.clear(); }

private:
    QPixmap cachedFileIcon(const QString& filePath, int size);
    QPixmap pixmapFor(const QString& source, const QString& filePath, int size);

    const TIconList& icons_;
    QHash<QString, QPixmap> cache_; // by size and source
};

} // namespace zep
