#include "mainwin/ui/tree_file_io.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "data/format_error.h"
#include "mainwin/tree_texts.h"
#include "mainwin/ui/tree_mirror.h"
#include "mainwin/ui/tree_repaint.h"

#include <QTreeWidget>

namespace zep {

namespace {

void tellUser(const QString& text) {
    Interaction::instance().error(text, ApplicationName.toString());
}

} // namespace

bool LoadTreeFile(QTreeWidget& tree, const QString& path, const QString& rootCaption) {
    QString damage;
    try {
        RepaintSuspended suspended(tree);
        damage = treeModel(tree).load(path, rootCaption);
    } catch (const FileError&) {
        tellUser(treeFileMessage(path));
        return false;
    }
    if (!damage.isEmpty())
        tellUser(damagedTreeFileMessage(damage));
    return true;
}

bool SaveTreeFile(const QTreeWidget& tree, const QString& path) {
    const TreeModel& model = treeModel(tree);
    try {
        model.save(path);
    } catch (const FileError& error) {
        tellUser(model.hasRoot() ? treeFileMessage(path) : error.message());
        return false;
    }
    return true;
}

} // namespace zep
