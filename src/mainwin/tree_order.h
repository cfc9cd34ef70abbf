#pragma once

#include <QStringView>

namespace zep {

// Order of sibling captions in the address and topic trees: German collation, case-sensitive, a
// lower-case letter before the same letter in upper case ("adam" < "Adam" < "bert"). Captions the
// collation holds equal although they differ (ignorable characters) are ordered by their code
// points, so the order never depends on the order the siblings had before.
int compareTreeCaptions(QStringView a, QStringView b);

} // namespace zep
