#pragma once

#include <functional>

class QDialog;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QString;
class QWidget;

namespace zep {

class DataSource;
class DBCheckBox;
class DBComboBox;
class DBLookupComboBox;
class TDM;
class Table;

// The document's address and topic as drop-down lists, bound to NrFirma and NrThema of the current
// document of the data module, or of another table object on the documents; shared by the document
// dialogs.
DBLookupComboBox* addressLookup(TDM& dm, const QString& name, QWidget* parent, DataSource* documents = nullptr);
DBLookupComboBox* topicLookup(TDM& dm, const QString& name, QWidget* parent, DataSource* documents = nullptr);

// Fills the pick lists of a document's kind ("Art") and author from their catalogs.
void fillDocumentPickLists(DBComboBox& art, DBComboBox& author);

// The title edit (Edit1) of a new document, as long as the documents' Titel field holds.
QLineEdit* titleEdit(Table& documents, QWidget* parent);

// The right-hand column of a filing dialog: its picture on top, then OK (the default button, set into
// ok), "Abbrechen" (rejects) and "Hilfe" (opens helpTopic), under the object names given.
QVBoxLayout* filingButtonColumn(QDialog& dialog, QWidget* picture, QPushButton*& ok, const QString& abortName,
                                const QString& helpName, const QString& helpTopic);

// A filing dialog's kind (DBComboBox2), address and topic lookups and author (DBComboBox1), bound to
// the documents' current record; the lookups tell linkChanged when the user picks an entry.
struct FilingFields {
    DBComboBox* art;
    DBLookupComboBox* address;
    DBLookupComboBox* topic;
    DBComboBox* author;
};
FilingFields filingFields(TDM& dm, DataSource* documents, QWidget* parent, const std::function<void()>& linkChanged);

// "in Bearbeitung" (CB1), bound to the document's Offen.
DBCheckBox* inWorkCheckBox(DataSource* documents, QWidget* parent);

// The filing fields of a document dialog under their labels, in their order: title, kind, address,
// topic and author, then "in Bearbeitung" when given.
void addFilingRows(QFormLayout& form, QWidget* title, QWidget* art, QWidget* address, QWidget* topic, QWidget* author,
                   QWidget* inWork = nullptr);

} // namespace zep
