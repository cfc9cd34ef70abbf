#include "tools/tree_rebuild.h"

#include "data/format_error.h"
#include "data/query.h"

#include <algorithm>
#include <limits>

namespace zep {

namespace {

// The order of the table's Vor index: null first, then by Vor, equal Vor by Nr.
bool vorOrderLess(const TreeSourceEntry& a, const TreeSourceEntry& b) {
    if (a.vor.has_value() != b.vor.has_value())
        return !a.vor.has_value();
    if (a.vor != b.vor)
        return *a.vor < *b.vor;
    return a.nr < b.nr;
}

// The entries in Vor order, with the range of children of every entry.
class EntryLinks {
public:
    explicit EntryLinks(const std::vector<TreeSourceEntry>& entries) {
        byVor_.resize(entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            byVor_[i] = int(i);
        std::sort(byVor_.begin(), byVor_.end(),
                  [&](int a, int b) { return vorOrderLess(entries[size_t(a)], entries[size_t(b)]); });
        // A null Vor below every Nr, so that it never names a parent.
        std::vector<qint64> vors(entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            const std::optional<qint32>& vor = entries[size_t(byVor_[i])].vor;
            vors[i] = vor ? *vor : std::numeric_limits<qint64>::min();
        }
        childBegin_.resize(entries.size());
        childEnd_.resize(entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            const auto range = std::equal_range(vors.begin(), vors.end(), qint64(entries[i].nr));
            childBegin_[i] = int(range.first - vors.begin());
            childEnd_[i] = int(range.second - vors.begin());
        }
    }

    int size() const { return int(byVor_.size()); }
    // The entry at a position of the Vor order.
    int atVorPosition(int position) const { return byVor_[size_t(position)]; }
    // Positions in the Vor order of entry's children: [childBegin, childEnd).
    int childBegin(int entry) const { return childBegin_[size_t(entry)]; }
    int childEnd(int entry) const { return childEnd_[size_t(entry)]; }

private:
    std::vector<int> byVor_;
    std::vector<int> childBegin_;
    std::vector<int> childEnd_;
};

} // namespace

std::optional<QList<TreeFileRecord>> collectTreeEntries(const std::vector<TreeSourceEntry>& entries,
                                                        const TreeRebuildProgress& progress) {
    const EntryLinks links(entries);
    const int total = links.size();
    std::vector<bool> placed(entries.size(), false);
    std::vector<int> nextChild(entries.size()); // position in the Vor order of the next child to try
    for (int i = 0; i < total; ++i)
        nextChild[size_t(i)] = links.childBegin(i);

    QList<TreeFileRecord> result;
    result.reserve(total);
    std::vector<int> path; // from the top-level entry down to the entry being placed
    for (int position = 0; position < total; ++position) {
        const int top = links.atVorPosition(position);
        if (placed[size_t(top)])
            continue;
        path.assign(1, top);
        while (!path.empty()) {
            const int entry = path.back();
            int& next = nextChild[size_t(entry)];
            // Only the top-level entry can be a child of an entry on the path (a Vor cycle): the
            // walk does not go round it again.
            while (next < links.childEnd(entry) &&
                   (placed[size_t(links.atVorPosition(next))] || links.atVorPosition(next) == top))
                ++next;
            if (next < links.childEnd(entry)) {
                path.push_back(links.atVorPosition(next));
                continue;
            }
            const TreeSourceEntry& source = entries[size_t(entry)];
            result.append({source.name.left(TreeNameMaxLength), qint32(path.size()), source.nr, source.baum});
            placed[size_t(entry)] = true;
            path.pop_back();
            if (progress && !progress(int(result.size()), total))
                return std::nullopt;
        }
    }
    return result;
}

std::vector<TreeSourceEntry> readTreeSourceEntries(const TreeRebuildJob& job) {
    const QString names = job.topics ? QStringLiteral("Thema") : QStringLiteral("Name1, Name2, Person");
    Query query;
    query.setDirectory(job.directory);
    query.setSql(QStringLiteral("SELECT Nr, Vor, Baum, %1 FROM %2 ORDER BY Nr").arg(names, job.tableName));
    query.open();
    std::vector<TreeSourceEntry> entries;
    entries.reserve(size_t(query.recordCount()));
    for (query.first(); !query.eof(); query.next()) {
        TreeSourceEntry entry;
        entry.nr = qint32(query.value(0).toLongLong());
        const QVariant vor = query.value(1);
        if (!vor.isNull())
            entry.vor = qint32(vor.toLongLong());
        entry.baum = qint32(query.value(2).toLongLong());
        entry.name =
            job.topics ? query.value(3).toString()
                       : treeDisplayName(query.value(3).toString(), query.value(4).toString(), query.value(5).toBool());
        entries.push_back(std::move(entry));
    }
    query.close();
    return entries;
}

bool rebuildTreeFile(const TreeRebuildJob& job, const TreeRebuildProgress& progress) {
    const std::optional<QList<TreeFileRecord>> leavesFirst = collectTreeEntries(readTreeSourceEntries(job), progress);
    if (!leavesFirst)
        return false;
    try {
        writeTreeFile(job.scratchFile, *leavesFirst);
        QList<TreeFileRecord> parentsFirst(leavesFirst->crbegin(), leavesFirst->crend());
        writeTreeFile(job.treeFile, parentsFirst);
    } catch (const FileError&) {
        // Either file: the user is told about the tree file.
        throw FileError(treeFileNotFoundMessage(job.treeFile));
    }
    return true;
}

} // namespace zep
