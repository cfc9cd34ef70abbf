#pragma once

#include "documents/document_deletion.h"

#include <QDialog>

class QCheckBox;

namespace zep {

class Table;

// "Dokument löschen": removes the current document from the view, or only its link to the view when
// it is filed under both an address and a topic.
class DocumentDeleteDialog : public QDialog {
    Q_OBJECT
public:
    DocumentDeleteDialog(Table& documents, bool resubmissionView, QString linkField, QString filesDir,
                         QWidget* parent = nullptr);

private:
    bool fileMayGo();
    void BitBtn1Click();

    Table& documents_;
    DocumentDeletion plan_;
    QString linkField_;
    QString filesDir_;
    QCheckBox* CB = nullptr;
};

} // namespace zep
