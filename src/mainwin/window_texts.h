#pragma once

#include <QDateTime>
#include <QString>

namespace zep {

// Caption of the main window for an open client: title, three blanks, ">>", name, two blanks,
// directory, "<<".
QString mainWindowCaption(const QString& clientName, const QString& clientDirectory);

// The clock panels: date as "dd.mm.yy", time as "hh:nn".
QString clockDateText(const QDateTime& now);
QString clockTimeText(const QDateTime& now);

// The About text: "ZEP V " + program title + " 32bit".
QString aboutText();

// Tab caption of the document list once a list is loaded: "Dokumente [n]".
QString documentTabCaption(int count);

// Texts of this window's own messages.
QString noteIsNoFileMessage();
QString noSerialLetterDocumentMessage();
// Caption of the multi-select file dialog of "Dokument holen".
QString fetchDocumentsCaption();
// Captions of the tree picker when a document moves or is copied to another entry.
QString moveTargetCaption();
QString copyTargetCaption();

} // namespace zep
