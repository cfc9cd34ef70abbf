#include "mainwin/tree_search.h"

namespace zep {

QString foldSearchText(QStringView text) {
    QString folded = text.toString();
    for (QChar& c : folded) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return folded;
}

bool captionMatchesSearch(QStringView caption, QStringView foldedText) {
    if (foldedText.isEmpty() || caption.size() < foldedText.size())
        return false;
    return foldSearchText(caption.left(foldedText.size())) == foldedText;
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
