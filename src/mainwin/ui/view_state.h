#pragma once

#include <QString>

class QTreeWidget;

namespace zep {

class Table;
class DataSource;

// Which view of the main window is active: the "active tree" that other windows read.
struct ViewState {
    enum View { None = -1, Addresses = 0, Topics = 1, Documents = 2 };

    View view = None;
    Table* table = nullptr;           // TAdr or TThema; none in the documents view
    QString rootCaption;              // "Adressen", "Themen" or empty
    QString documentIndex;            // index of Dok.DB: "iFirma", "iThema" or empty
    DataSource* dataSource = nullptr; // DAdr or DThema
    QString treeFile;                 // the client's AdrTreeFile or TopicTreeFile
    QString linkField;                // "NrFirma" or "NrThema"
    QTreeWidget* tree = nullptr;      // TVA, TVB or TVD
    int tabIndex = -1;

    bool hasTable() const { return view == Addresses || view == Topics; }
};

} // namespace zep
