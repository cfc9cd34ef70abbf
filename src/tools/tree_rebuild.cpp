#include "tools/tree_rebuild.h"

#include "data/format_error.h"
#include "data/sqlite_db.h"
#include "data/table_file.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace zep {

namespace {

// The entries in the order of the table's Vor index (null first, then by Vor, equal Vor by Nr),
// with the range of children of every entry.
class EntryLinks {
public:
    explicit EntryLinks(const std::vector<TreeSourceEntry>& entries) {
        const std::vector<qint64> vors = sortByVor(entries);
        // The entries in Nr order meet the Vor order in one merge: an entry's children are the run of
        // its Nr among the sorted Vors.
        std::vector<int> byNr(entries.size());
        std::iota(byNr.begin(), byNr.end(), 0);
        const auto nrBefore = [&](int a, int b) {
            return entries[size_t(a)].nr < entries[size_t(b)].nr;
        };
        if (!std::is_sorted(byNr.begin(), byNr.end(), nrBefore)) // the table is read in Nr order
            std::stable_sort(byNr.begin(), byNr.end(), nrBefore);
        childBegin_.resize(entries.size());
        childEnd_.resize(entries.size());
        size_t begin = 0;
        for (const int entry : byNr) {
            const qint64 nr = entries[size_t(entry)].nr;
            while (begin < vors.size() && vors[begin] < nr)
                ++begin;
            size_t end = begin;
            while (end < vors.size() && vors[end] == nr)
                ++end;
            childBegin_[size_t(entry)] = int(begin);
            childEnd_[size_t(entry)] = int(end);
        }
    }

    int size() const { return int(byVor_.size()); }
    // The entry at a position of the Vor order.
    int atVorPosition(int position) const { return byVor_[size_t(position)]; }
    // Positions in the Vor order of entry's children: [childBegin, childEnd).
    int childBegin(int entry) const { return childBegin_[size_t(entry)]; }
    int childEnd(int entry) const { return childEnd_[size_t(entry)]; }

private:
    // Fills byVor_ and returns the Vor at each of its positions. (Vor, Nr, entry) is packed into one
    // 128-bit number, so the sort compares integers; a null Vor is stored as 0, below every number.
    std::vector<qint64> sortByVor(const std::vector<TreeSourceEntry>& entries) {
        using Key = unsigned __int128;
        constexpr qint64 vorBias = qint64(1) - std::numeric_limits<qint32>::min(); // smallest Vor to 1
        constexpr qint64 nrBias = -qint64(std::numeric_limits<qint32>::min());     // smallest Nr to 0
        std::vector<Key> keys(entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            const TreeSourceEntry& e = entries[i];
            const auto vor = quint64(e.vor ? qint64(*e.vor) + vorBias : 0);
            const auto nr = quint64(qint64(e.nr) + nrBias);
            keys[i] = Key(vor) << 64 | Key(nr) << 32 | Key(i);
        }
        std::sort(keys.begin(), keys.end());
        byVor_.resize(entries.size());
        std::vector<qint64> vors(entries.size());
        for (size_t i = 0; i < keys.size(); ++i) {
            byVor_[i] = int(quint32(keys[i]));
            const auto vor = qint64(quint64(keys[i] >> 64));
            vors[i] = vor == 0 ? std::numeric_limits<qint64>::min() : vor - vorBias;
        }
        return vors;
    }

    std::vector<int> byVor_;
    std::vector<int> childBegin_;
    std::vector<int> childEnd_;
};

// Places the entries subtree by subtree, every entry after all of its descendants.
class LeavesFirst {
public:
    LeavesFirst(std::vector<TreeSourceEntry> entries, const TreeRebuildProgress& progress)
        : entries_(std::move(entries)), links_(entries_), progress_(progress), placed_(entries_.size(), false),
          nextChild_(entries_.size()) {
        for (int i = 0; i < links_.size(); ++i)
            nextChild_[size_t(i)] = links_.childBegin(i);
        result_.reserve(links_.size());
    }

    // False when progress asked to stop.
    bool run() {
        for (int position = 0; position < links_.size(); ++position) {
            const int top = links_.atVorPosition(position);
            if (!placed_[size_t(top)] && !placeSubtree(top))
                return false;
        }
        return true;
    }

    QList<TreeFileRecord> take() { return std::move(result_); }

private:
    // The entry's first child not yet placed, or -1. Only the top-level entry can be a child of an
    // entry on the path (a Vor cycle): the walk does not go round it again.
    int nextChild(int entry, int top) {
        int& next = nextChild_[size_t(entry)];
        for (; next < links_.childEnd(entry); ++next) {
            const int child = links_.atVorPosition(next);
            if (!placed_[size_t(child)] && child != top)
                return child;
        }
        return -1;
    }

    bool placeSubtree(int top) {
        std::vector<int> path{top}; // from the top-level entry down to the entry being placed
        while (!path.empty()) {
            const int entry = path.back();
            if (const int child = nextChild(entry, top); child >= 0) {
                path.push_back(child);
                continue;
            }
            TreeSourceEntry& source = entries_[size_t(entry)];
            QString name = std::move(source.name); // each entry is placed once
            name.truncate(TreeNameMaxLength);
            result_.append({std::move(name), qint32(path.size()), source.nr, source.baum});
            placed_[size_t(entry)] = true;
            path.pop_back();
            if (progress_ && !progress_(int(result_.size()), links_.size()))
                return false;
        }
        return true;
    }

    std::vector<TreeSourceEntry> entries_;
    const EntryLinks links_;
    const TreeRebuildProgress& progress_;
    std::vector<char> placed_;   // not vector<bool>: one byte each is faster to test
    std::vector<int> nextChild_; // per entry: position in the Vor order of the next child to try
    QList<TreeFileRecord> result_;
};

} // namespace

std::optional<QList<TreeFileRecord>> collectTreeEntries(std::vector<TreeSourceEntry> entries,
                                                        const TreeRebuildProgress& progress) {
    LeavesFirst walk(std::move(entries), progress);
    if (!walk.run())
        return std::nullopt;
    return walk.take();
}

// One statement over the whole table on the engine's connection to the file; the statement is
// reset when it goes out of scope, so no reader is left open.
std::vector<TreeSourceEntry> readTreeSourceEntries(const TreeRebuildJob& job) {
    const std::shared_ptr<Connection> table = Connection::forFile(resolveTableFile(job.directory, job.tableName));
    std::vector<TreeSourceEntry> entries;
    const QString names = job.topics ? QStringLiteral("Thema") : QStringLiteral("Name1, Name2, Person");
    Statement select = table->prepare(
        QStringLiteral("SELECT Nr, Vor, Baum, %1 FROM %2 ORDER BY Nr").arg(names, quoteIdentifier(kStorageTable)));
    while (select.step()) {
        TreeSourceEntry entry;
        entry.nr = qint32(select.integer(0));
        if (!select.isNull(1))
            entry.vor = qint32(select.integer(1));
        entry.baum = qint32(select.integer(2));
        if (job.topics) {
            entry.name = select.text(3);
        } else {
            // Name2 is shown for persons only: for a firm it is not even decoded.
            const bool person = select.integer(5) != 0;
            entry.name = treeDisplayName(select.text(3), person ? select.text(4) : QString(), person);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool rebuildTreeFile(const TreeRebuildJob& job, const TreeRebuildProgress& progress) {
    std::optional<QList<TreeFileRecord>> records = collectTreeEntries(readTreeSourceEntries(job), progress);
    if (!records)
        return false;
    std::reverse(records->begin(), records->end()); // every entry before its descendants
    try {
        writeTreeFile(job.treeFile, *records);
    } catch (const FileError& error) {
        // The message the user knows, and below it what went wrong.
        throw FileError(treeFileNotFoundMessage(job.treeFile) + u'\n' + error.message());
    }
    return true;
}

} // namespace zep
