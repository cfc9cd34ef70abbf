#pragma once

#include "addresses/ui/entry_record_editor.h"

#include "data/note_editor.h"

#include <QDialog>

class QTreeWidget;
class QWidget;

namespace zep {

class DBCheckBox;
class DBEdit;
class MainWindow;
class TDM;
class Table;

// Shows the topic form TB02 modally for the selected topic (edit) or for a new one below the selected
// node. Returns whether a topic was saved while the form was open.
bool EditTopic(MainWindow& window, bool edit);

// TB02 "Thema": one record of the topic table, bound to the data module's TThema, and the topic
// tree kept in step with it. While shown it is the data module's topic form.
class TopicForm : public QDialog, public EntryFormButtons {
    Q_OBJECT
public:
    // edit false: the form starts a new topic below the selected node when shown.
    TopicForm(MainWindow& window, bool edit, QWidget* parent = nullptr);
    ~TopicForm() override;

    void setControlEnabled(const QString& objectName, bool enabled) override;
    bool isNewRecord() const { return editor_.isNew(); }
    bool savedAny() const { return savedAny_; }

    void BtnNeuClick(QObject* sender);
    void BtnNav1Click(QObject* sender);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    QWidget* buildToolBar();
    QWidget* buildPanel();

    void FormShow();
    void FormClose();
    void newRecord();
    bool save();
    void cancel();
    void deleteEntry();
    void showError(const QString& message) const;

    MainWindow& window_;
    TDM& dm_;
    Table& table_;
    QTreeWidget& tree_;
    bool edit_ = false;
    EntryRecordEditor editor_;
    bool savedAny_ = false;
    bool shownOnce_ = false;
    DBEdit* thema_ = nullptr;
    DBCheckBox* mainEntry_ = nullptr;
};

} // namespace zep
