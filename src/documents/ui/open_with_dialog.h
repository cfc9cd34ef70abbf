#pragma once

#include <QDialog>

#include <optional>

class QListWidget;

namespace zep {

class Table;

// TN06 "Datei öffnen mit...": the applications registered for the current document's extension (the
// records of TPro as it follows the document), one panel each; OK takes the selected one.
class OpenWithDialog : public QDialog {
    Q_OBJECT
public:
    explicit OpenWithDialog(Table& applications, QWidget* parent = nullptr);

    // The program path of the chosen record after OK; none when the dialog was aborted.
    static std::optional<QString> choose(Table& applications, QWidget* parent);

private:
    void fillPanels();

    Table& applications_;
    QListWidget* DBCtrlGrid1 = nullptr;
};

} // namespace zep
