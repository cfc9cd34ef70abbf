#include "controls/ui/icon_list_painter.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>

namespace zep {

namespace {

QPixmap scaled(const QPixmap& pixmap, int size) {
    if (pixmap.isNull() || (pixmap.width() == size && pixmap.height() == size))
        return pixmap;
    return pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QString cacheKey(int size, const QString& source) {
    return QString::number(size) + u'|' + source;
}

} // namespace

void TIconListPainter::drawSmall(const QString& key, const QString& filePath, QPainter& painter, int x, int y) {
    painter.drawPixmap(x, y, smallPixmap(key, filePath));
}

void TIconListPainter::drawLarge(const QString& key, const QString& filePath, QPainter& painter, int x, int y) {
    painter.drawPixmap(x, y, FileIcon(filePath, key));
}

bool TIconListPainter::getLarge(const QString& key, QPixmap& icon) {
    const QString source = icons_.large(key);
    if (source.isEmpty())
        return false;
    icon = pixmapFor(source, QString(), largeSize);
    return true;
}

QPixmap TIconListPainter::smallPixmap(const QString& key, const QString& filePath) {
    return pixmapFor(icons_.small(key), filePath, smallSize);
}

QPixmap TIconListPainter::FileIcon(const QString& documentPath, const QString& extension) {
    return pixmapFor(icons_.large(extension), documentPath, largeSize);
}

QPixmap TIconListPainter::pixmapFor(const QString& source, const QString& filePath, int size) {
    if (source.isEmpty())
        return cachedFileIcon(filePath, size);
    const QString cacheId = cacheKey(size, source);
    auto found = cache_.constFind(cacheId);
    if (found != cache_.constEnd())
        return *found;
    QPixmap pixmap = sourcePixmap(source, size);
    // A source that names nothing usable (a removed file, a missing theme icon) shows the file's icon.
    if (pixmap.isNull())
        return fileIcon(filePath, size);
    cache_.insert(cacheId, pixmap);
    return pixmap;
}

QPixmap TIconListPainter::sourcePixmap(const QString& source, int size) {
    if (source == TIconList::noteIconSource())
        return noteIcon(size);
    if (QDir::isAbsolutePath(source))
        return scaled(QPixmap(source), size);
    return QIcon::fromTheme(source).pixmap(size, size);
}

// Files show the icon of their extension, as the desktop's file icons go: a list of many documents
// resolves it once per extension.
QPixmap TIconListPainter::cachedFileIcon(const QString& filePath, int size) {
    const qsizetype nameStart = filePath.lastIndexOf(u'/') + 1;
    const qsizetype dot = filePath.lastIndexOf(u'.');
    const QString extension = dot > nameStart ? filePath.mid(dot + 1).toLower() : QString();
    const QString cacheId = cacheKey(size, QStringLiteral("file.") + extension);
    auto found = cache_.constFind(cacheId);
    if (found == cache_.constEnd())
        found = cache_.insert(cacheId, fileIcon(filePath, size));
    return *found;
}

// A theme may name an icon for the type and still have no image for it: fall back on the pixmap,
// not on the icon.
QPixmap TIconListPainter::fileIcon(const QString& filePath, int size) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(filePath, QMimeDatabase::MatchExtension);
    const QIcon themed = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    QPixmap pixmap = scaled(themed.pixmap(size, size), size);
    if (pixmap.isNull())
        pixmap = scaled(QFileIconProvider().icon(QFileIconProvider::File).pixmap(size, size), size);
    if (pixmap.isNull()) {
        pixmap = QPixmap(size, size);
        pixmap.fill(Qt::transparent);
    }
    return pixmap;
}

QPixmap TIconListPainter::noteIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int margin = size / 8;
    const QRect sheet(margin, 0, size - 2 * margin - 1, size - 1);
    const int fold = size / 4;
    const QPolygon outline({sheet.topLeft(), QPoint(sheet.right() - fold, sheet.top()),
                            QPoint(sheet.right(), sheet.top() + fold), sheet.bottomRight(), sheet.bottomLeft()});
    painter.setPen(QColor(120, 110, 40));
    painter.setBrush(QColor(255, 240, 140));
    painter.drawPolygon(outline);
    painter.setPen(QColor(150, 140, 90));
    for (int y = sheet.top() + fold + 2; y < sheet.bottom() - 1; y += std::max(2, size / 6))
        painter.drawLine(sheet.left() + 2, y, sheet.right() - 2, y);
    return pixmap;
}

} // namespace zep
