#pragma once

#include "documents/column_file.h"

#include <QDialog>

class QCheckBox;
class QListWidget;
class QTableWidgetItem;
class QToolButton;

namespace zep {

class SortHeadingBox;
class TStringGrid2;

// TT01 "Tabellenspalten anordnen": created at start and kept for the whole run. Its grid is the live
// arrangement of the document list, unsaved edits included; OK saves it to the column file with the
// sort settings of the client, "Zeigen" shows it without saving, abort (also Escape and the close
// box) reloads the saved one.
class ColumnArrangementDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* HelpTopic = "dok111";

    explicit ColumnArrangementDialog(QWidget* parent = nullptr);

    // The grid's rows as they stand.
    QList<ColumnRow> arrangement() const;
    // Grid rows from the column file (one empty row when it cannot be read, with a message), the
    // sort choice from the client's settings.
    void loadArrangement();
    // False, with a message, when the file or the settings could not be written.
    bool saveArrangement();
    bool headingsFitTheColumnFile(QList<ColumnRow>& rows);
    // "Zeigen" was used during the current showing.
    bool shown() const { return shown_; }
    // Escape and the close box act as the abort button.
    void reject() override;

signals:
    // The document list is to be built again from arrangement().
    void rebuildRequested();
    // The sort box lost its heading: the list sorts by its first column again.
    void sortColumnReset();
    void helpRequested(const QString& topic);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void setRows(const QList<ColumnRow>& rows, int current);
    int currentRow() const;
    QString selectedField() const;
    void editRows(int (*step)(QList<ColumnRow>&, int));
    void editRowsWithField(int (*step)(QList<ColumnRow>&, int, const QString&));
    void refreshSortBox();
    void GItemChanged(QTableWidgetItem* item);

    void BtnOKClick();
    void BtnZeigenClick();
    void BtnAbortClick();

    bool shown_ = false;
    TStringGrid2* G = nullptr;
    QListWidget* LB = nullptr;
    SortHeadingBox* SortBox = nullptr;
    QCheckBox* Sortcheck = nullptr;
};

} // namespace zep
