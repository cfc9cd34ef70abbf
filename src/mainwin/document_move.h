#pragma once

#include <QStringView>

namespace zep {

class DataSet;

// Files the current document under another entry of the same tree by its link field ("NrFirma" or
// "NrThema"); the file stays where it is. False, with nothing written, when it already belongs to
// that entry. A refused post is cancelled, so no edit stays pending for the next move to post.
bool linkDocumentToEntry(DataSet& documents, QStringView linkField, qint64 entryNumber);

} // namespace zep
