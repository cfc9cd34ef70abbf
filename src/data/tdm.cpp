#include "data/tdm.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "data/application_register.h"
#include "data/engine_error.h"
#include "data/schema.h"
#include "data/services.h"
#include "data/table_upgrade.h"
#include "data/tdm1.h"
#include "documents/associations.h"

#include <QFileInfo>

namespace zep {
namespace {

const QString kMarker = QString::fromUtf16(schema::kVersionMarker);

} // namespace

TDM::TDM(const InstallPaths& paths, Interaction& interaction, const Associations& associations, QObject* parent)
    : QObject(parent), paths_(paths), interaction_(interaction), associations_(associations),
      dm1_(std::make_unique<TDM1>(*this)) {
    configureTables();
}

TDM::~TDM() {
    DMDestroy();
}

void TDM::configureTables() {
    const QString adressen = schema::addresses().name, thema = schema::topics().name, dok = schema::documents().name,
                  serie = schema::serialLetters().name;
    for (Table* t : {&TAdr, &TAdrLook, &TAdrCopy, &TAdrSerie})
        t->setTableName(adressen);
    TAdrLook.setIndexFieldNames(QStringLiteral("Name1"));
    // The lookup lists show what the forms and dialogs post through the other objects.
    TAdrLook.setFollowsFile(true);
    TThemaLook.setFollowsFile(true);
    TThema.setTableName(thema);
    TThema.setIndexFieldNames(QStringLiteral("Nr"));
    TThemaLook.setTableName(thema);
    TDok.setTableName(dok);
    TDokVers.setTableName(dok);
    TDok.addLookupField(QStringLiteral("Adresse"), QStringLiteral("NrFirma"), &TAdrLook, QStringLiteral("Nr"),
                        QStringLiteral("Name1"));
    TDok.addLookupField(QStringLiteral("Thema"), QStringLiteral("NrThema"), &TThemaLook, QStringLiteral("Nr"),
                        QStringLiteral("Thema"));
    TDok.beforeInsert = [this](Table& t) {
        TDokBeforeInsert(t);
    };
    TDok.beforePost = [this](Table& t) {
        TDokBeforePost(t);
    };
    TSerie.setTableName(serie);
    TSerie.setIndexName(QStringLiteral("iDoku"));
    TSerieVers.setTableName(serie);
    TAdrVor.setTableName(schema::addressTemplates().name);
    TPro.setTableName(schema::applications().name);
    TPro.setIndexName(QStringLiteral("iExt"));

    DAdr.setDataSet(&TAdr);
    DAdrLook.setDataSet(&TAdrLook);
    DThema.setDataSet(&TThema);
    DThemaLook.setDataSet(&TThemaLook);
    DDok.setDataSet(&TDok);
    DPro.setDataSet(&TPro);
    DSerie.setDataSet(&TSerie);
    DSAdrVor.setDataSet(&TAdrVor);

    connect(&TAdrVor, &DataSet::opened, this, [this] {
        TAdrVor.setFieldVisible(u"Nr", false);
        TAdrVor.setDisplayWidth(u"Name", 30);
    });
    connect(&TSerie, &DataSet::opened, this, [this] {
        TSerie.hideAllFields();
        TSerie.setFieldVisible(u"NameAdresse", true);
        TSerie.setDisplayWidth(u"NameAdresse", 150);
    });
    connect(&DDok, &DataSource::dataChanged, this, &TDM::DDokDataChange);
    connect(&TPro, &DataSet::opened, this, &TDM::TProAfterOpen);
    connect(&DAdr, &DataSource::dataChanged, this, &TDM::DAdrDataChange);
    connect(&DAdr, &DataSource::stateChanged, this, &TDM::DAdrStateChange);
    connect(&DThema, &DataSource::dataChanged, this, &TDM::DThemaDataChange);
    connect(&DThema, &DataSource::stateChanged, this, &TDM::DThemaStateChange);
}

bool TDM::DMCreate() {
    SetGeneralDir(paths_.general);
    return CheckGeneralTables();
}

void TDM::DMDestroy() {
    try {
        CloseClientTables();
    } catch (const EngineError& e) {
        interaction_.error(e.message(), ApplicationName.toString());
    }
    CloseGeneralTables();
}

void TDM::SetGeneralDir(const QString& dir) {
    TAdrVor.setDirectory(dir);
    TPro.setDirectory(dir);
}

bool TDM::HasVersionMarker(const Table& table) const {
    return table.fieldNames().contains(kMarker);
}

// The marker, and every field the program reads: a table that lacks one is upgraded, not opened.
bool TDM::HasCurrentLayout(const Table& table, const TableLayout& layout) const {
    const QStringList names = table.fieldNames();
    if (!names.contains(kMarker))
        return false;
    for (const FieldDef& field : layout.fields)
        if (!names.contains(field.name, Qt::CaseInsensitive))
            return false;
    return true;
}

bool TDM::CheckGeneralTables() {
    try {
        if (!HasVersionMarker(TPro)) {
            interaction_.information(
                QStringLiteral("Falsche Datenbankversion !\n\r\n\rDatenbank wird nun aktualisiert"),
                ApplicationName.toString());
            if ((DO_UPDATE_GENERAL(TPro.directory(), kMarker) & 0xff) == 0) {
                interaction_.error(QStringLiteral("Die Tabelle \"%1\" konnte nicht aktualisiert werden.\n%2")
                                       .arg(TPro.filePath(), lastUpgradeError()),
                                   ApplicationName.toString());
                return false;
            }
        }
        TPro.open();
        FillApplicationsIfEmpty();
    } catch (const EngineError& e) {
        interaction_.error(e.message(), ApplicationName.toString());
        return false;
    }
    return true;
}

void TDM::FillApplicationsIfEmpty() {
    if (!TPro.isEmpty())
        return;
    START_01(TPro.directory(), associations_);
    TPro.refresh();
    LoadApplicationIcons();
}

void TDM::SetClientDataDir(const QString& dataDir) {
    for (Table* t :
         {&TAdr, &TAdrLook, &TAdrCopy, &TAdrSerie, &TDok, &TDokVers, &TThema, &TThemaLook, &TSerie, &TSerieVers})
        t->setDirectory(dataDir);
    dm1_->setDataDir(dataDir);
}

bool TDM::EnsureSerieTable() {
    if (QFileInfo::exists(resolveTableFile(TSerie.directory(), TSerie.tableName())))
        return true;
    // A template without the table copies nothing and still reports success: the file decides.
    return DIRCOPY(paths_.emptyData, TSerie.directory(), QStringLiteral("/Serie.*")) &&
           QFileInfo::exists(resolveTableFile(TSerie.directory(), TSerie.tableName()));
}

int TDM::OpenClientTables() {
    // A client whose data directory is gone has nothing to upgrade: that is a failure to open.
    if (!QFileInfo(TAdr.directory()).isDir())
        return -1;
    int result = -1;
    try {
        if (EnsureSerieTable() && HasCurrentLayout(TAdr, schema::addresses()) &&
            HasCurrentLayout(TThema, schema::topics()) && HasCurrentLayout(TDokVers, schema::documents()) &&
            HasCurrentLayout(TSerieVers, schema::serialLetters())) {
            for (Table* t : {&TAdr, &TAdrVor, &TThema, &TAdrLook, &TThemaLook, &TDok, &TSerie})
                t->open();
            TThemaLook.setIndexName(QStringLiteral("iName"));
            return 0;
        }
        result = -2;
    } catch (const EngineError&) {
        result = -1;
    }
    for (Table* t : {&TAdr, &TAdrLook, &TDok, &TThema, &TThemaLook, &TAdrVor, &TSerie})
        t->close(); // nothing stays half open
    return result;
}

void TDM::CloseClientTables() {
    if (TDok.isActive())
        SaveNote(); // a note being edited belongs to this client's document
    for (Table* t : {&TAdr, &TAdrLook, &TAdrCopy, &TAdrSerie, &TDok, &TThema, &TThemaLook, &TAdrVor, &TSerie})
        t->close();
}

void TDM::CloseDocumentQuery() {
    dm1_->CloseDocumentQuery();
}

void TDM::CloseGeneralTables() {
    TPro.close();
}

// Posts are committed transactions with full synchronous writes, so they are on disk when post()
// returns; what is left is to refuse a table that is not open.
void TDM::FlushAfterPost(const Table& table) const {
    if (!table.isActive())
        throw EngineError(QStringLiteral("Die Tabelle \"%1\" ist nicht geöffnet.").arg(table.tableName()));
}

void TDM::TDokBeforePost(Table& table) {
    for (const char16_t* name : {u"NrFirma", u"NrThema"}) {
        const FieldRef field = table.field(QStringView(name));
        if (field.isNull())
            field.setValue(-1);
    }
}

void TDM::TDokBeforeInsert(Table&) {
    SaveNote();
}

void TDM::SaveNote() {
    if (!noteEditor_ || !noteEditor_->isModified())
        return;
    ControlsSuspended suspended(TDok);
    noteEditor_->setModified(false); // a note that could not be stored is not tried again
    if (TDok.isEmpty() || !noteDocument_.isValid() || TDok.field(u"Nr").value() != noteDocument_)
        return; // the note's document is gone: its note never goes into another
    try {
        TDok.edit();
        TDok.field(u"Notice").setValue(noteEditor_->noteText());
        TDok.post();
    } catch (...) {
        TDok.cancel();
        throw;
    }
}

void TDM::DDokDataChange() {
    if (!TDok.isActive() || TDok.state() != DataSetState::Browse)
        return;
    noteDocument_ = TDok.field(u"Nr").value();
    if (!noteEditor_)
        return;
    noteEditor_->setNoteText(TDok.field(u"Notice").asString());
    noteEditor_->setModified(false);
}

void TDM::showNoDocument() {
    noteDocument_ = QVariant();
    if (!noteEditor_)
        return;
    noteEditor_->setNoteText(QString());
    noteEditor_->setModified(false);
}

void TDM::TProAfterOpen() {
    LoadApplicationIcons();
    TPro.setMaster(&DDok, QStringLiteral("Ext"));
}

void TDM::unlinkApplications() {
    TPro.clearMaster();
    TPro.setIndexName(QStringLiteral("iExt"));
    TPro.first();
}

void TDM::linkApplications() {
    TPro.setIndexName(QStringLiteral("iExt"));
    TPro.setMaster(&DDok, QStringLiteral("Ext"));
}

// Reads every application of the register, not only those of the current document that TPro shows
// while it follows TDok.
void TDM::LoadApplicationIcons() {
    IList.clear();
    IList.addLarge(QStringLiteral("---"), TIconList::noteIconSource());
    IList.addSmall(QStringLiteral("---"), TIconList::noteIconSource());
    Table all;
    all.setDirectory(TPro.directory());
    all.setTableName(TPro.tableName());
    all.open();
    for (all.first(); !all.eof(); all.next()) {
        const QStringList icons = associations_.programIcons(GETSYSTEMROOT(all.field(u"Anw").asString()));
        const qint64 index = all.field(u"IconNr").asInteger();
        if (index < 0 || index >= icons.size())
            continue;
        const QString ext = all.field(u"Ext").asString();
        IList.addSmall(ext, icons[index]);
        IList.addLarge(ext, icons[index]);
    }
}

void TDM::setAddressForm(EntryFormButtons* form) {
    addressForm_ = form;
    DAdrDataChange();
    DAdrStateChange();
}

void TDM::setTopicForm(EntryFormButtons* form) {
    topicForm_ = form;
    DThemaDataChange();
    DThemaStateChange();
}

void TDM::entryDataChange(EntryFormButtons* form, const DataSource& source, const Table& table) {
    if (!form || source.state() != DataSetState::Browse)
        return;
    const bool hasRecords = table.recordCount() > 0;
    form->setControlEnabled(QStringLiteral("BtnDel"), hasRecords);
    form->setControlEnabled(QStringLiteral("Panel1"), hasRecords);
}

void TDM::entryStateChange(EntryFormButtons* form, const DataSource& source) {
    if (!form)
        return;
    const bool editing = source.isEditing();
    form->setControlEnabled(QStringLiteral("BtnNeu"), !editing);
    form->setControlEnabled(QStringLiteral("BtnSave"), editing);
    form->setControlEnabled(QStringLiteral("BtnCancel"), editing);
    for (int i = 1; i <= 6; ++i)
        form->setControlEnabled(QStringLiteral("BtnNav%1").arg(i), !editing);
}

void TDM::DAdrDataChange() {
    entryDataChange(addressForm_, DAdr, TAdr);
}
void TDM::DAdrStateChange() {
    entryStateChange(addressForm_, DAdr);
}
void TDM::DThemaDataChange() {
    entryDataChange(topicForm_, DThema, TThema);
}
void TDM::DThemaStateChange() {
    entryStateChange(topicForm_, DThema);
}

} // namespace zep
