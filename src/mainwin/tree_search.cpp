#include "mainwin/tree_search.h"

namespace zep {

namespace {

QChar foldSearchChar(QChar c) {
    return c >= u'a' && c <= u'z' ? QChar(c.unicode() - (u'a' - u'A')) : c;
}

} // namespace

QString foldSearchText(QStringView text) {
    QString folded = text.toString();
    for (QChar& c : folded)
        c = foldSearchChar(c);
    return folded;
}

// Runs once per node on every keystroke: compares in place instead of folding a copy.
bool captionMatchesSearch(QStringView caption, QStringView foldedText) {
    if (foldedText.isEmpty() || caption.size() < foldedText.size())
        return false;
    for (qsizetype i = 0; i < foldedText.size(); ++i) {
        if (foldSearchChar(caption[i]) != foldedText[i])
            return false;
    }
    return true;
}

TreeModel::Node* findEntryByCaption(TreeModel::Node* start, QStringView text) {
    const QString folded = foldSearchText(text);
    if (folded.isEmpty())
        return nullptr;
    for (TreeModel::Node* node = start; node; node = TreeModel::next(node)) {
        if (captionMatchesSearch(node->caption(), folded))
            return node;
    }
    return nullptr;
}

} // namespace zep
