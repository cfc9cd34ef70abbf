#pragma once

#include <QDialog>

#include <optional>

namespace zep {

class DataSource;
class TDBCtrlGrid;

// TN06 "Datei öffnen mit...": the applications registered for the current document's extension (the
// records of TPro as it follows the document), one panel each; OK takes the selected one.
class OpenWithDialog : public QDialog {
    Q_OBJECT
public:
    explicit OpenWithDialog(DataSource& applications, QWidget* parent = nullptr);

    // The program path of the chosen record after OK; none when the dialog was aborted.
    static std::optional<QString> choose(DataSource& applications, QWidget* parent);

private:
    void paintPanel(QPainter& painter, const QRect& panel, int row, bool current);

    DataSource& applications_;
    TDBCtrlGrid* DBCtrlGrid1 = nullptr;
};

} // namespace zep
