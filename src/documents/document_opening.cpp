#include "documents/document_opening.h"

#include "addresses/entry_documents.h"
#include "app/interaction.h"
#include "app/program_info.h"
#include "app/tmand.h"
#include "data/tdm.h"
#include "documents/dde_lookup.h"
#include "documents/document_path.h"
#include "documents/document_printing.h"
#include "documents/shell_open.h"
#include "mainwin/window_texts.h"

#include <QFileInfo>

namespace zep {

bool IsNote(const QString& ext) {
    if (!isNoteExtension(ext))
        return false;
    Interaction::instance().information(noteIsNoFileMessage(), ApplicationName.toString());
    return true;
}

void DocumentOpener::OpenDocument(DocumentVerb mode) {
    const QString ext = dm_.TDok.field(u"Ext").asString();
    if (IsNote(ext))
        return;
    const DocumentPath document = ResolveDocumentPath(dm_.TDok.field(u"Datei").asString(), client_.FilesDir);
    if (!document.resolved()) {
        Interaction::instance().error(document.refusal, ApplicationName.toString());
        return;
    }
    const QString& path = document.path;
    if (mode == DocumentVerb::Print) {
        printDocument(path);
        return;
    }
    const std::optional<QString> program = chooseProgram();
    if (!program)
        return;
    if (windows_.copyAddress)
        windows_.copyAddress();
    // A missing file is no request for a running application: the opening below names it.
    const QString file = ShortPath(path);
    if (const auto dde = file.isEmpty() ? std::nullopt : FindDdeCommand(associations_, *program, path, mode)) {
        const auto notTaken = [opener = *this, program = *program, path, ext] {
            opener.shellOpen(program, path, ext);
        };
        if (windows_.executeDde(mode != DocumentVerb::Open, *program, dde->service, dde->topic, dde->command, file,
                                notTaken))
            return;
    }
    shellOpen(*program, path, ext);
}

// Printing needs no application of the register: the type decides the way. What cannot be printed is
// told before a printer is asked for; the address goes to the clipboard, as for opening, once the
// document is handed on.
void DocumentOpener::printDocument(const QString& path) {
    QString refusal;
    const PrintWay way = printWayFor(path);
    if (!QFileInfo(path).isFile())
        refusal = notFoundMessage(QStringLiteral("Datei"), path);
    else if (way == PrintWay::None)
        refusal = unprintableMessage(path);
    else
        refusal = spooler_.missingProgram(way);
    if (!refusal.isEmpty()) {
        Interaction::instance().error(refusal, ApplicationName.toString());
        return;
    }
    const std::optional<QString> printer = windows_.choosePrinter ? windows_.choosePrinter() : QString();
    if (!printer)
        return;
    if (windows_.copyAddress)
        windows_.copyAddress();
    spooler_.print(way, ShortPath(path), *printer);
}

// Without a program of its own, a document nothing on the desktop opens is offered to the applications
// that could.
void DocumentOpener::shellOpen(const QString& program, const QString& path, const QString& ext) const {
    std::function<void()> noApplication;
    if (program.isEmpty() && windows_.chooseOtherApplication)
        noApplication = [opener = *this, path, ext] {
            opener.offerApplications(path, ext);
        };
    ShellOpen(launcher_, program, path, client_.ClientDir, noApplication);
}

void DocumentOpener::offerApplications(const QString& path, const QString& ext) const {
    const std::optional<ApplicationChoice> choice =
        windows_.chooseOtherApplication(path, ext, associations_.applicationsFor(QFileInfo(path).suffix()));
    if (!choice)
        return;
    if (choice->remember)
        rememberApplication(dm_, ext, *choice);
    ShellOpen(launcher_, choice->program, path, client_.ClientDir);
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
