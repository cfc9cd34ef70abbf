#pragma once

#include "app/install_paths.h"
#include "data/client_tables.h"
#include "data/data_source.h"
#include "data/icon_list.h"
#include "data/note_editor.h"
#include "data/table.h"

#include <QObject>
#include <memory>

namespace zep {

class Associations;
class Interaction;
class TDM1;

// The data module: owns every table object for the whole run and the notifications bound to them.
// Windows bind to its data sources and change data only through it.
class TDM : public QObject, public ClientTables {
    Q_OBJECT
public:
    TDM(const InstallPaths& paths, Interaction& interaction, const Associations& associations,
        QObject* parent = nullptr);
    ~TDM() override;

    // Creation: points the installation-wide tables at "General" and checks them. False ends the program.
    bool DMCreate();
    void DMDestroy();

    void SetGeneralDir(const QString& dir);
    bool CheckGeneralTables();
    void SetClientDataDir(const QString& dataDir) override;
    int OpenClientTables() override;
    void CloseClientTables() override;
    void CloseDocumentQuery() override;
    void CloseGeneralTables();
    bool HasVersionMarker(const Table& table) const;
    bool HasCurrentLayout(const Table& table, const TableLayout& layout) const;
    bool EnsureSerieTable();
    void FillApplicationsIfEmpty();
    // Writes a modified note into the document it was loaded from, and only there.
    void SaveNote();
    // The list selects a document TDok does not hold: the note editor shows and keeps nothing.
    void showNoDocument();
    void LoadApplicationIcons();
    // TPro with every application of the register (the register's dialogs), or only those of the
    // current document's extension (its normal state).
    void unlinkApplications();
    void linkApplications();
    void FlushAfterPost(const Table& table) const;

    TDM1& dm1() { return *dm1_; }
    const Associations& associations() const { return associations_; }
    void setNoteEditor(NoteEditor* editor) { noteEditor_ = editor; }
    // The open address or topic form whose buttons the notifications enable; nullptr when closed.
    void setAddressForm(EntryFormButtons* form);
    void setTopicForm(EntryFormButtons* form);

    // Notification handlers, connected in the constructor.
    void TDokBeforePost(Table& table);
    void TDokBeforeInsert(Table& table);
    void DDokDataChange();
    void TProAfterOpen();
    void DAdrDataChange();
    void DAdrStateChange();
    void DThemaDataChange();
    void DThemaStateChange();

    Table TAdr, TAdrLook, TAdrCopy, TAdrSerie, TAdrVor;
    Table TThema, TThemaLook;
    Table TDok, TDokVers;
    Table TPro;
    Table TSerie, TSerieVers;
    DataSource DAdr, DAdrLook, DThema, DThemaLook, DDok, DPro, DSerie, DSAdrVor;
    TIconList IList;

private:
    void configureTables();
    static void entryDataChange(EntryFormButtons* form, const DataSource& source, const Table& table);
    static void entryStateChange(EntryFormButtons* form, const DataSource& source);

    InstallPaths paths_;
    Interaction& interaction_;
    const Associations& associations_;
    std::unique_ptr<TDM1> dm1_;
    NoteEditor* noteEditor_ = nullptr;
    QVariant noteDocument_; // Nr of the document whose note the editor holds; null for none
    EntryFormButtons* addressForm_ = nullptr;
    EntryFormButtons* topicForm_ = nullptr;
};

} // namespace zep
