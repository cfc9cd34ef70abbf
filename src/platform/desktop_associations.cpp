#include "platform/desktop_associations.h"

#include "app/profile_file.h"
#include "documents/command_line.h"
#include "documents/desktop_entry.h"
#include "documents/mime_description.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace zep {

namespace {

constexpr QStringView kDefaults = u"Default Applications";
constexpr QStringView kAdded = u"Added Associations";
constexpr QStringView kRemoved = u"Removed Associations";

// Every binary type descends from it; what handles it (a hex viewer) is no application for a document.
constexpr QStringView kOctetStream = u"application/octet-stream";

QStringList splitList(const QString& value) {
    QStringList items;
    for (QStringView item : QStringView(value).split(u';')) {
        item = item.trimmed();
        if (!item.isEmpty())
            items.append(item.toString());
    }
    return items;
}

QStringList mimeappsLists(const QDir& dir, const QStringList& desktops) {
    QStringList lists;
    for (const QString& desktop : desktops)
        lists.append(dir.filePath(desktop + QStringLiteral("-mimeapps.list")));
    lists.append(dir.filePath(QStringLiteral("mimeapps.list")));
    return lists;
}

QString applicationsDir(const QString& dataDir) {
    return QDir(dataDir).filePath(QStringLiteral("applications"));
}

} // namespace

DesktopDirectories DesktopDirectories::fromEnvironment() {
    DesktopDirectories dirs;
    dirs.data = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    dirs.config = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    const QString desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    for (const QString& desktop : desktops.split(u':', Qt::SkipEmptyParts))
        dirs.desktops.append(desktop.toLower());
    return dirs;
}

std::optional<DesktopApplication> DesktopAssociations::defaultApplication(const QString& extension) const {
    return firstApplication(typeAndAncestors(extension));
}

std::optional<DesktopApplication> DesktopAssociations::firstApplication(const QStringList& types) const {
    if (types.isEmpty())
        return std::nullopt;
    const Catalog catalog = readCatalog();
    for (const QString& type : types) {
        if (auto application = applicationFor(type, catalog))
            return application;
    }
    return std::nullopt;
}

FileType DesktopAssociations::fileType(const QString& extension) const {
    const QStringList types = typeAndAncestors(extension);
    if (types.isEmpty())
        return {};
    return {types.first(), germanDescription(mimeDb_.mimeTypeForName(types.first()))};
}

// The desktop has one action per type: what opens a document also plays it. Printing is no action of a
// desktop entry, so the print verb has nothing.
VerbCommand DesktopAssociations::verbCommand(const QString& typeName, DocumentVerb verb) const {
    const QMimeType type = mimeDb_.mimeTypeForName(typeName);
    if (verb == DocumentVerb::Print || !type.isValid())
        return {};
    const auto application = firstApplication(withAncestors(type));
    if (!application)
        return {};
    VerbCommand command{application->exec, QString(), QString(), QString(), application->entryFile};
    if (application->dbusActivatable) {
        command.ddeExec = QStringLiteral("%1");
        command.ddeApplication = application->id;
    }
    return command;
}

QStringList DesktopAssociations::registeredExtensions() const {
    QStringList extensions;
    for (const QMimeType& type : mimeDb_.allMimeTypes()) {
        for (const QString& suffix : type.suffixes()) {
            if (!suffix.isEmpty() && suffix.size() <= 3 && !suffix.contains(u'.'))
                extensions.append(suffix.toLower());
        }
    }
    extensions.sort();
    extensions.removeDuplicates();
    return extensions;
}

std::optional<DesktopApplication> DesktopAssociations::schemeHandler(const QString& scheme) const {
    if (scheme.isEmpty())
        return std::nullopt;
    return applicationFor(QStringLiteral("x-scheme-handler/") + scheme.toLower(), readCatalog());
}

namespace {

// An icon name with the fallbacks an icon theme looks up for it: the name shortened at each dash
// ("zep-writer-de", "zep-writer", "zep"). A path names one image and has none.
QStringList withThemeFallbacks(const QString& icon) {
    QStringList names{icon};
    if (icon.contains(u'/'))
        return names;
    for (qsizetype dash = icon.lastIndexOf(u'-'); dash > 0; dash = icon.lastIndexOf(u'-', dash - 1))
        names << icon.left(dash);
    return names;
}

} // namespace

// The icons of the entries that run the program, then the theme's fallbacks of those icons and the
// generic program icon; nothing for a program no entry runs. The entries' own icons keep the first
// places, so a stored IconNr keeps naming the same icon.
QStringList DesktopAssociations::programIcons(const QString& programFile) const {
    QStringList icons;
    if (programFile.isEmpty())
        return icons;
    bool entryFound = false;
    if (isDesktopEntryFile(programFile)) {
        const std::optional<DesktopEntry> entry = readDesktopEntry(programFile);
        entryFound = entry.has_value();
        if (entry && !entry->icon.isEmpty())
            icons << entry->icon;
    } else {
        const Catalog catalog = readCatalog();
        for (auto it = catalog.cbegin(); it != catalog.cend(); ++it) {
            const auto application = readEntry(it.key(), it->path);
            if (!application || application->program != programFile)
                continue;
            entryFound = true;
            if (!application->icon.isEmpty())
                icons << application->icon;
        }
    }
    if (!entryFound)
        return icons;
    QStringList fallbacks;
    for (const QString& icon : std::as_const(icons))
        fallbacks << withThemeFallbacks(icon).mid(1);
    icons << fallbacks << QStringLiteral("application-x-executable");
    icons.removeDuplicates();
    return icons;
}

std::vector<DesktopAssociations::Layer> DesktopAssociations::layers() const {
    std::vector<Layer> all;
    for (const QString& dir : dirs_.config)
        all.push_back({mimeappsLists(QDir(dir), dirs_.desktops), -1});
    for (int i = 0; i < int(dirs_.data.size()); ++i)
        all.push_back({mimeappsLists(QDir(applicationsDir(dirs_.data[i])), dirs_.desktops), i});
    return all;
}

DesktopAssociations::Catalog DesktopAssociations::readCatalog() const {
    Catalog catalog;
    for (int i = 0; i < int(dirs_.data.size()); ++i) {
        const QDir applications(applicationsDir(dirs_.data[i]));
        QDirIterator it(applications.path(), {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            // An entry in a sub-directory has the directory in its id: "kde/app.desktop" is "kde-app.desktop".
            const QString id = applications.relativeFilePath(path).replace(u'/', u'-');
            if (!catalog.contains(id))
                catalog.insert(id, {path, i});
        }
    }
    return catalog;
}

QStringList DesktopAssociations::typeAndAncestors(const QString& extension) const {
    if (extension.isEmpty() || extension.contains(u'/'))
        return {};
    const QMimeType type = mimeDb_.mimeTypeForFile(QStringLiteral("x.") + extension, QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault())
        return {};
    return withAncestors(type);
}

QStringList DesktopAssociations::withAncestors(const QMimeType& type) const {
    QStringList types{type.name()};
    for (const QString& ancestor : type.allAncestors()) {
        if (ancestor != kOctetStream)
            types.append(ancestor);
    }
    return types;
}

// The first usable default of the mimeapps.list files; otherwise the first usable candidate.
std::optional<DesktopApplication> DesktopAssociations::applicationFor(const QString& mimeType,
                                                                      const Catalog& catalog) const {
    for (const Layer& layer : layers()) {
        for (const QString& list : layer.mimeappsLists) {
            if (auto application = firstUsable(associatedIds(list, kDefaults, mimeType), catalog))
                return application;
        }
    }
    return firstUsable(candidateIds(mimeType, catalog), catalog);
}

// The associations directory by directory, where a directory's removals hide its own entries and those
// of every later directory.
QStringList DesktopAssociations::candidateIds(const QString& mimeType, const Catalog& catalog) const {
    QStringList candidates;
    QStringList removed;
    for (const Layer& layer : layers()) {
        QStringList own;
        for (const QString& list : layer.mimeappsLists) {
            own += associatedIds(list, kAdded, mimeType);
            removed += associatedIds(list, kRemoved, mimeType);
        }
        own += entriesListing(mimeType, layer, catalog);
        own.removeIf([&removed](const QString& id) { return removed.contains(id); });
        candidates += own;
    }
    return candidates;
}

QList<DesktopApplication> DesktopAssociations::applicationsFor(const QString& extension) const {
    QList<DesktopApplication> found;
    QStringList seen;
    const Catalog catalog = readCatalog();
    for (const QString& type : typeAndAncestors(extension)) {
        QStringList ids;
        if (const auto preferred = applicationFor(type, catalog))
            ids << preferred->id;
        ids += candidateIds(type, catalog);
        for (const QString& id : std::as_const(ids)) {
            const auto entry = catalog.constFind(id);
            if (seen.contains(id) || entry == catalog.cend())
                continue;
            seen << id;
            if (auto application = readEntry(id, entry->path))
                found << *application;
        }
    }
    return found;
}

std::optional<DesktopApplication> DesktopAssociations::firstUsable(const QStringList& ids,
                                                                   const Catalog& catalog) const {
    for (const QString& id : ids) {
        const auto found = catalog.constFind(id);
        if (found == catalog.cend())
            continue;
        if (auto application = readEntry(id, found->path))
            return application;
    }
    return std::nullopt;
}

// The ids a mimeapps.list gives for a type in one section; its keys may name the type by an alias.
QStringList DesktopAssociations::associatedIds(const QString& listFile, QStringView section,
                                               const QString& mimeType) const {
    if (!QFileInfo::exists(listFile))
        return {};
    const ProfileFile list(listFile);
    QStringList ids;
    for (const QString& key : list.keys(section)) {
        if (canonicalType(key) == mimeType)
            ids += splitList(list.readString(section, key, QString()));
    }
    return ids;
}

// The entries of the layer's own applications directory that list the type, in id order.
QStringList DesktopAssociations::entriesListing(const QString& mimeType, const Layer& layer,
                                                const Catalog& catalog) const {
    QStringList ids;
    if (layer.dataDir < 0)
        return ids;
    for (auto it = catalog.cbegin(); it != catalog.cend(); ++it) {
        if (it->dataDir != layer.dataDir)
            continue;
        const std::optional<DesktopEntry> entry = readDesktopEntry(it->path);
        const QStringList listed = entry ? entry->mimeTypes : QStringList();
        if (std::any_of(listed.cbegin(), listed.cend(),
                        [&](const QString& type) { return canonicalType(type) == mimeType; }))
            ids.append(it.key());
    }
    return ids;
}

// An application entry the desktop offers and whose program is there; none otherwise. A terminal
// program is no such application: started on its own, as documents are opened, it has no window.
// The program is the one the command runs, after env's settings.
std::optional<DesktopApplication> DesktopAssociations::readEntry(const QString& id, const QString& path) const {
    const std::optional<DesktopEntry> entry = readDesktopEntry(path);
    if (!entry || entry->type != u"Application" || entry->hidden || entry->terminal)
        return std::nullopt;
    const std::optional<QStringList> words = splitCommandLine(entry->exec);
    DesktopApplication application;
    // A wrapper such as env or flatpak must be there as well as the program it runs.
    if (!words || words->isEmpty() || resolveProgram(words->first()).isEmpty())
        return std::nullopt;
    application.program = resolveProgram(programWord(*words));
    if (application.program.isEmpty())
        return std::nullopt;
    application.id = id;
    application.entryFile = QFileInfo(path).absoluteFilePath();
    application.name = entry->name;
    application.exec = entry->exec;
    application.icon = entry->icon;
    application.dbusActivatable = entry->dbusActivatable;
    return application;
}

// An absolute program must be an executable file; a bare name is looked up on the program path.
QString DesktopAssociations::resolveProgram(const QString& word) const {
    const QString program = resolveProgramWord(word, dirs_.programPath);
    const QFileInfo file(program);
    return file.isAbsolute() && file.isFile() && file.isExecutable() ? QDir::cleanPath(program) : QString();
}

QString DesktopAssociations::canonicalType(const QString& name) const {
    const QMimeType type = mimeDb_.mimeTypeForName(name.trimmed());
    return type.isValid() ? type.name() : name.trimmed().toLower();
}

} // namespace zep
