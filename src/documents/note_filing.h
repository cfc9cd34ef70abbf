#pragma once

#include "documents/provisional_document.h"

#include <QDateTime>
#include <QString>

namespace zep {

// The record behind "Neue Notiz": a provisional note, completed as a note without file.
class NoteFiling : public ProvisionalDocument {
public:
    using ProvisionalDocument::ProvisionalDocument;

    // Completes the note: title, the note marker, "Ablage" as its file, the filing time; a link left
    // empty becomes -1. Throws EngineError; the note then stays provisional.
    void file(const QString& title, const QDateTime& now);
};

} // namespace zep
