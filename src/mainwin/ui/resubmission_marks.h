#pragma once

#include <QPixmap>

namespace zep {

// ILWV8: the resubmission marks of the document list, 8 pixels wide and 16 high: 0 date, 1 daily,
// 2 weekly, 3 monthly (a letter on a coloured badge), 4 overdue (an exclamation mark on amber).
constexpr int ResubmissionMarkCount = 5;
const QPixmap& resubmissionMarkPixmap(int mark);

} // namespace zep
