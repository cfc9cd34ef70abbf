#include "mainwin/tree_order.h"

#include <QCollator>
#include <QLocale>

namespace zep {

namespace {

const QCollator& germanCollator() {
    // One per thread: a collator is costly to build and not safe to share between threads.
    thread_local const QCollator collator = [] {
        QCollator c(QLocale(QLocale::German, QLocale::Germany));
        c.setCaseSensitivity(Qt::CaseSensitive);
        c.setNumericMode(false);
        return c;
    }();
    return collator;
}

} // namespace

int compareTreeCaptions(QStringView a, QStringView b) {
    const int byCollation = germanCollator().compare(a, b);
    if (byCollation != 0)
        return byCollation;
    return a.compare(b, Qt::CaseSensitive);
}

} // namespace zep
