#include "mainwin/ui/main_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zep {

namespace {

constexpr int Size = 20;

const QColor Ink(40, 40, 40);
const QColor Paper(252, 252, 246);
const QColor Blue(40, 90, 180);
const QColor Red(190, 40, 40);
const QColor Green(30, 140, 60);
const QColor Yellow(245, 205, 70);

void sheet(QPainter& p, const QRectF& r) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 4, r.top());
    path.lineTo(r.right(), r.top() + 4);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(Ink, 1));
    p.setBrush(Paper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 4, r.top()), QPointF(r.right() - 4, r.top() + 4));
    p.drawLine(QPointF(r.right() - 4, r.top() + 4), QPointF(r.right(), r.top() + 4));
}

void textLines(QPainter& p, const QRectF& r, int count) {
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (int i = 0; i < count; ++i) {
        const qreal y = r.top() + 6 + i * 3;
        p.drawLine(QPointF(r.left() + 2.5, y), QPointF(r.right() - 2.5, y));
    }
}

void plus(QPainter& p, QPointF c, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(c, 4.5, 4.5);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(c + QPointF(-2.5, 0), c + QPointF(2.5, 0));
    p.drawLine(c + QPointF(0, -2.5), c + QPointF(0, 2.5));
}

void cross(QPainter& p, QPointF c) {
    p.setPen(QPen(Red, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
    p.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
}

void pencil(QPainter& p) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(Yellow);
    QPolygonF body{{7, 17}, {8, 13}, {16, 5}, {19, 8}, {11, 16}};
    p.drawPolygon(body);
    p.setBrush(Ink);
    p.drawPolygon(QPolygonF{{7, 17}, {8, 15}, {9, 16}});
}

void entryBox(QPainter& p) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(220, 232, 250));
    p.drawRect(QRectF(2.5, 3.5, 11, 8));
    p.drawRect(QRectF(5.5, 11.5, 11, 6));
}

void magnifier(QPainter& p) {
    p.setPen(QPen(Ink, 2));
    p.setBrush(QColor(210, 230, 250));
    p.drawEllipse(QPointF(8, 8), 5, 5);
    p.setPen(QPen(Ink, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 12), QPointF(17, 17));
}

void treeLines(QPainter& p, bool expanded) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(Paper);
    p.drawRect(QRectF(2.5, 2.5, 8, 8));
    p.drawLine(QPointF(4.5, 6.5), QPointF(8.5, 6.5));
    if (!expanded)
        p.drawLine(QPointF(6.5, 4.5), QPointF(6.5, 8.5));
    if (expanded) {
        p.drawLine(QPointF(6.5, 10.5), QPointF(6.5, 16.5));
        p.drawLine(QPointF(6.5, 13.5), QPointF(11.5, 13.5));
        p.drawLine(QPointF(6.5, 16.5), QPointF(11.5, 16.5));
        p.setBrush(Blue);
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(12, 12, 6, 3));
        p.drawRect(QRectF(12, 15, 6, 3));
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(Blue);
        p.drawRect(QRectF(12, 5, 6, 3));
    }
}

void fontGlyph(QPainter& p) {
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Blue);
    p.drawText(QRectF(0, 0, 12, 19), Qt::AlignCenter, QStringLiteral("A"));
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(Red);
    p.drawText(QRectF(9, 4, 11, 15), Qt::AlignCenter, QStringLiteral("a"));
}

void note(QPainter& p) {
    p.setPen(QPen(QColor(170, 140, 20), 1));
    p.setBrush(QColor(255, 240, 140));
    p.drawRect(QRectF(3.5, 3.5, 13, 13));
    textLines(p, QRectF(3.5, 2, 13, 13), 3);
}

void openFolder(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(QRectF(2.5, 6.5, 15, 10));
    p.drawRect(QRectF(2.5, 4.5, 6, 2));
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygonF{{4.5, 9.5}, {19.5, 9.5}, {17.5, 16.5}, {2.5, 16.5}});
}

void arrowInto(QPainter& p) {
    p.setPen(QPen(Green, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(3, 4), QPointF(11, 12));
    p.drawPolyline(QPolygonF{{6, 12}, {11, 12}, {11, 7}});
}

void check(QPainter& p) {
    p.setPen(QPen(Green, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{{4, 11}, {8, 15}, {16, 5}});
}

void table(QPainter& p) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(Paper);
    p.drawRect(QRectF(2.5, 3.5, 15, 13));
    p.setBrush(QColor(193, 213, 191));
    p.drawRect(QRectF(2.5, 3.5, 15, 3));
    for (qreal y : {9.5, 12.5})
        p.drawLine(QPointF(2.5, y), QPointF(17.5, y));
    p.drawLine(QPointF(8.5, 3.5), QPointF(8.5, 16.5));
}

void subEntries(QPainter& p) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(Blue);
    p.drawRect(QRectF(2.5, 2.5, 6, 4));
    p.setBrush(QColor(120, 160, 220));
    p.drawRect(QRectF(10.5, 8.5, 6, 4));
    p.drawRect(QRectF(10.5, 14.5, 6, 4));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{5.5, 6.5}, {5.5, 16.5}, {10.5, 16.5}});
    p.drawLine(QPointF(5.5, 10.5), QPointF(10.5, 10.5));
}

void draw(QPainter& p, ToolImage image) {
    const QRectF page(4.5, 1.5, 11, 16);
    switch (image) {
    case ToolImage::NewEntry:
        entryBox(p);
        plus(p, {14.5, 14.5}, Green);
        break;
    case ToolImage::EditEntry:
        entryBox(p);
        pencil(p);
        break;
    case ToolImage::DeleteEntry:
        entryBox(p);
        cross(p, {14, 14});
        break;
    case ToolImage::Search:
        magnifier(p);
        break;
    case ToolImage::ExpandAll:
        treeLines(p, true);
        break;
    case ToolImage::CollapseAll:
        treeLines(p, false);
        break;
    case ToolImage::Separator:
        p.setPen(QPen(QColor(150, 150, 150), 1));
        p.drawLine(QPointF(3, 10.5), QPointF(17, 10.5));
        break;
    case ToolImage::Font:
        fontGlyph(p);
        break;
    case ToolImage::NewDocument:
        sheet(p, page);
        textLines(p, page, 3);
        plus(p, {14.5, 14.5}, Green);
        break;
    case ToolImage::NewNote:
        note(p);
        plus(p, {14.5, 14.5}, Green);
        break;
    case ToolImage::FetchDocument:
        sheet(p, QRectF(7.5, 3.5, 10, 14));
        arrowInto(p);
        break;
    case ToolImage::OpenDocument:
        openFolder(p);
        break;
    case ToolImage::Detail:
        sheet(p, page);
        textLines(p, page, 2);
        magnifier(p);
        break;
    case ToolImage::Done:
        sheet(p, page);
        check(p);
        break;
    case ToolImage::SubEntries:
        subEntries(p);
        break;
    case ToolImage::Table:
        table(p);
        break;
    case ToolImage::Note:
        note(p);
        pencil(p);
        break;
    case ToolImage::Summary:
        sheet(p, page);
        textLines(p, page, 3);
        break;
    }
}

} // namespace

QIcon toolIcon(ToolImage image) {
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, image);
    painter.end();
    return QIcon(pixmap);
}

} // namespace zep
