#pragma once

#include <QIcon>

namespace zep {

// The state images of the trees ("Baum16"): 1 main entry, 2 root, 3 date, 4 daily, 5 weekly,
// 6 monthly. Any other index gives a null icon (no image).
QIcon baum16Image(int index);

} // namespace zep
