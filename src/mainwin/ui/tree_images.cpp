#include "mainwin/ui/tree_images.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace zep {

namespace {

constexpr int imageSize = 16;

// A main entry: a closed folder.
void drawFolder(QPainter& p) {
    p.setPen(QColor(120, 90, 20));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(1, 5, 13, 9);
    p.drawRect(1, 3, 5, 2);
}

// The root: a small stack of cards.
void drawRoot(QPainter& p) {
    p.setPen(QColor(30, 60, 130));
    p.setBrush(QColor(150, 180, 230));
    p.drawRect(4, 1, 10, 8);
    p.setBrush(QColor(90, 130, 210));
    p.drawRect(1, 6, 10, 8);
}

// The resubmission kinds: a coloured tile with the kind's letter.
void drawLetterTile(QPainter& p, const QColor& colour, QChar letter) {
    p.setPen(colour.darker(150));
    p.setBrush(colour);
    p.drawRoundedRect(1, 1, 13, 13, 2, 2);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, QString(letter));
}

QPixmap drawImage(int index) {
    QPixmap pixmap(imageSize, imageSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (index) {
    case 1:
        drawFolder(p);
        break;
    case 2:
        drawRoot(p);
        break;
    case 3:
        drawLetterTile(p, QColor(40, 120, 200), u'D');
        break;
    case 4:
        drawLetterTile(p, QColor(200, 60, 60), u'T');
        break;
    case 5:
        drawLetterTile(p, QColor(40, 150, 70), u'W');
        break;
    case 6:
        drawLetterTile(p, QColor(150, 80, 170), u'M');
        break;
    default:
        break;
    }
    return pixmap;
}

} // namespace

QIcon baum16Image(int index) {
    if (index < 1 || index > 6)
        return {};
    // Drawn once: every node of a large tree shares the same icon data.
    static QHash<int, QIcon> images;
    auto it = images.find(index);
    if (it == images.end())
        it = images.insert(index, QIcon(drawImage(index)));
    return *it;
}

} // namespace zep
