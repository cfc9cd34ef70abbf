#include "mainwin/ui/resubmission_marks.h"

#include <QImage>

#include <array>

namespace zep {

namespace {

// Letters 5 pixels wide and 7 high, drawn pixel by pixel so that they stay sharp at this size.
using Glyph = std::array<const char*, 7>;

constexpr Glyph LetterD = {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."};
constexpr Glyph LetterT = {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."};
constexpr Glyph LetterW = {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"};
constexpr Glyph LetterM = {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"};
constexpr Glyph Exclamation = {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."};

constexpr int Width = 8;
constexpr int Height = 16;
// The badge covers columns 0..6 and rows 3..11, its corners cut; the glyph sits one pixel inside it.
constexpr int BadgeLeft = 0;
constexpr int BadgeRight = 6;
constexpr int BadgeTop = 3;
constexpr int BadgeBottom = 11;

QPixmap drawMark(const Glyph& glyph, QColor badge, QColor ink) {
    QImage image(Width, Height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = BadgeTop; y <= BadgeBottom; ++y) {
        for (int x = BadgeLeft; x <= BadgeRight; ++x) {
            const bool corner = (x == BadgeLeft || x == BadgeRight) && (y == BadgeTop || y == BadgeBottom);
            if (!corner)
                image.setPixelColor(x, y, badge);
        }
    }
    for (int y = 0; y < int(glyph.size()); ++y) {
        for (int x = 0; glyph[size_t(y)][x] != '\0'; ++x) {
            if (glyph[size_t(y)][x] == '#')
                image.setPixelColor(BadgeLeft + 1 + x, BadgeTop + 1 + y, ink);
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

const QPixmap& resubmissionMarkPixmap(int mark) {
    // The rule types in the colours of the resubmission tree's images; overdue in amber, apart from all four.
    static const std::array<QPixmap, ResubmissionMarkCount> marks = {
        drawMark(LetterD, QColor(40, 120, 200), Qt::white),    drawMark(LetterT, QColor(200, 60, 60), Qt::white),
        drawMark(LetterW, QColor(40, 150, 70), Qt::white),     drawMark(LetterM, QColor(150, 80, 170), Qt::white),
        drawMark(Exclamation, QColor(245, 175, 0), Qt::black),
    };
    return marks.at(size_t(mark));
}

} // namespace zep
