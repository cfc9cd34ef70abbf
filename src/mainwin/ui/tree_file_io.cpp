#include "mainwin/ui/tree_file_io.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "data/format_error.h"
#include "data/treefile.h"
#include "mainwin/tree_levels.h"
#include "mainwin/tree_texts.h"
#include "mainwin/ui/tree_nodes.h"
#include "mainwin/ui/tree_repaint.h"

#include <QTreeWidget>

namespace zep {

namespace {

void tellUser(const QString& text) {
    Interaction::instance().error(text, ApplicationName.toString());
}

// Builds the nodes detached from the tree, so the view hears of them once, not per node.
QList<QTreeWidgetItem*> buildNodes(const QList<TreeFileRecord>& records, const QString& rootCaption) {
    const bool withRoot = !rootCaption.isEmpty();
    QList<int> levels;
    levels.reserve(records.size());
    for (const TreeFileRecord& record : records)
        levels.append(record.level);
    const QList<int> parents = treeParentsFromLevels(levels, withRoot);

    QList<QTreeWidgetItem*> nodes;
    nodes.reserve(records.size() + 1);
    QList<QTreeWidgetItem*> topLevel;
    if (withRoot) {
        nodes.append(new TreeNode(rootCaption, 0, TreeRootNode));
        topLevel.append(nodes.first());
    }
    for (qsizetype i = 0; i < records.size(); ++i) {
        const TreeFileRecord& record = records[i];
        auto* node = new TreeNode(record.name, record.nr, record.baum);
        if (parents[i] < 0)
            topLevel.append(node);
        else
            nodes[parents[i]]->addChild(node);
        nodes.append(node);
    }
    return topLevel;
}

void appendRecords(const QTreeWidgetItem* item, int level, QList<TreeFileRecord>& records) {
    records.append({item->text(0), level, nodeNumber(item), nodeType(item)});
    for (int i = 0; i < item->childCount(); ++i)
        appendRecords(item->child(i), level + 1, records);
}

} // namespace

bool LoadTreeFile(QTreeWidget& tree, const QString& path, const QString& rootCaption) {
    QList<TreeFileRecord> records;
    try {
        records = readTreeFile(path);
    } catch (const FormatError& error) {
        tellUser(error.message());
        return false;
    } catch (const FileError&) {
        tellUser(treeFileMessage(path));
        return false;
    }
    RepaintSuspended suspended(tree);
    tree.clear();
    tree.addTopLevelItems(buildNodes(records, rootCaption));
    return true;
}

bool SaveTreeFile(const QTreeWidget& tree, const QString& path) {
    QList<TreeFileRecord> records;
    // The first node is the root: level 0, never written. Any further top-level node (only a
    // damaged file makes one) is written at level 0 too, so a reload puts it back.
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        appendRecords(tree.topLevelItem(i), 0, records);
    if (!records.isEmpty())
        records.removeFirst();
    try {
        writeTreeFile(path, records);
    } catch (const FileError&) {
        tellUser(treeFileMessage(path));
        return false;
    }
    return true;
}

} // namespace zep
