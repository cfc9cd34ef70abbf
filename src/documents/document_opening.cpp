#include "documents/document_opening.h"

#include "addresses/entry_documents.h"
#include "app/interaction.h"
#include "app/program_info.h"
#include "app/tmand.h"
#include "data/tdm.h"
#include "documents/dde_lookup.h"
#include "documents/shell_open.h"
#include "mainwin/window_texts.h"

namespace zep {

bool IsNote(const QString& ext) {
    if (!isNoteExtension(ext))
        return false;
    Interaction::instance().information(noteIsNoFileMessage(), ApplicationName.toString());
    return true;
}

void DocumentOpener::OpenDocument(DocumentVerb mode) {
    const QString path = ResolveDocumentPath(dm_.TDok.field(u"Datei").asString(), client_.FilesDir);
    if (IsNote(dm_.TDok.field(u"Ext").asString()))
        return;
    const std::optional<QString> program = chooseProgram();
    if (!program)
        return;
    if (windows_.copyAddress)
        windows_.copyAddress();
    // A missing file is no request for a running application: the opening below names it.
    const QString file = ShortPath(path);
    if (const auto dde = file.isEmpty() ? std::nullopt : FindDdeCommand(associations_, *program, path, mode)) {
        const auto notTaken = [opener = *this, program = *program, path, mode] {
            if (mode != DocumentVerb::Print)
                opener.shellOpen(program, path);
        };
        if (windows_.executeDde(mode != DocumentVerb::Open, *program, dde->service, dde->topic, dde->command, file,
                                notTaken))
            return;
    }
    if (mode == DocumentVerb::Print)
        return;
    shellOpen(*program, path);
}

void DocumentOpener::shellOpen(const QString& program, const QString& path) const {
    ShellOpen(launcher_, program, path, client_.ClientDir);
}

// None when the user aborts the choice among several applications.
std::optional<QString> DocumentOpener::chooseProgram() {
    const int count = dm_.TPro.isActive() ? dm_.TPro.recordCount() : 0;
    if (count == 0)
        return QString();
    if (count == 1)
        return dm_.TPro.field(u"Anw").asString();
    return windows_.chooseApplication();
}

} // namespace zep
