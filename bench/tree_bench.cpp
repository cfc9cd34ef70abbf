// Speed of loading and saving a tree file against plain Qt tree items, in one run.
#include "tree_bench.h"

#include "controls/ui/tree_view2.h"
#include "data/treefile.h"
#include "mainwin/ui/tree_file_io.h"
#include "mainwin/ui/tree_mirror.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidget>
#include <algorithm>
#include <functional>

namespace zep::bench {

namespace {

constexpr int runs = 20;
constexpr int topLevelEntries = 100;

// A tree like a grown address book: a hundred companies, every further entry below an earlier
// one. Returned in file order (pre-order) with levels.
QList<TreeFileRecord> generateTree(int addresses) {
    QRandomGenerator random(7);
    QList<QList<int>> children(addresses + 1); // node 0 is the root
    for (int i = 1; i <= addresses; ++i) {
        const int parent = i <= topLevelEntries ? 0 : int(random.bounded(1, i));
        children[parent].append(i);
    }
    QList<TreeFileRecord> records;
    records.reserve(addresses);
    std::function<void(int, int)> visit = [&](int node, int level) {
        for (const int child : std::as_const(children[node])) {
            const int baum = level == 1 ? 1 : -1;
            records.append({QStringLiteral("Firma %1 Müller").arg(random.bounded(100000)), level, child, baum});
            visit(child, level + 1);
        }
    };
    visit(0, 1);
    return records;
}

// The same hierarchy as plain items, built the quickest way Qt offers: detached, then added at once.
void insertPlainItems(QTreeWidget& tree, const QList<TreeFileRecord>& records) {
    auto* root = new QTreeWidgetItem(QStringList{QStringLiteral("Adressen")});
    QList<QTreeWidgetItem*> path{root};
    for (const TreeFileRecord& record : records) {
        path.resize(record.level);
        auto* item = new QTreeWidgetItem(path.last(), QStringList{record.name});
        path.append(item);
    }
    tree.addTopLevelItem(root);
}

// Best of a few runs, in milliseconds; prepare runs untimed before each.
double measure(const std::function<void()>& prepare, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

void runTreeBenchmark(int addresses) {
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Adressen.dat"));
    const QString copy = dir.filePath(QStringLiteral("Kopie.dat"));
    const QList<TreeFileRecord> records = generateTree(addresses);
    writeTreeFile(file, records);

    TTreeView2 ours;
    QTreeWidget plain;
    const double load =
        measure([&] { treeModel(ours).clear(); }, [&] { LoadTreeFile(ours, file, QStringLiteral("Adressen")); });
    const double save = measure([] {}, [&] { SaveTreeFile(ours, copy); });
    const double qt = measure([&] { plain.clear(); }, [&] { insertPlainItems(plain, records); });

    out << QStringLiteral("Baumdatei mit %1 Adressen: laden %2 ms, speichern %3 ms; Qt-Einträge einfügen %4 ms\n")
               .arg(addresses)
               .arg(load, 0, 'f', 1)
               .arg(save, 0, 'f', 1)
               .arg(qt, 0, 'f', 1);
    out << QStringLiteral("Faktor laden %1x, laden und speichern %2x (Ziel höchstens 1.5x)\n")
               .arg(load / qt, 0, 'f', 2)
               .arg((load + save) / qt, 0, 'f', 2);
}

} // namespace zep::bench
