#pragma once

#include <QListWidget>

#include <functional>

namespace zep {

class DataSource;

// A one-column grid of panels over a data source: one panel per visible record, painted by the owner,
// the current record's panel selected. Selecting a panel moves the data set; a move of the data set
// from elsewhere selects its panel. The grid neither inserts nor deletes.
class TDBCtrlGrid : public QListWidget {
    Q_OBJECT
public:
    // Paints the panel of a record (0-based row) into its rectangle.
    using PanelPainter = std::function<void(QPainter& painter, const QRect& panel, int row, bool current)>;

    TDBCtrlGrid(DataSource& source, int panelHeight, int visiblePanels, QWidget* parent = nullptr);

    void setPanelPainter(PanelPainter painter) { painter_ = std::move(painter); }
    int panelHeight() const { return panelHeight_; }
    // Reads the panels again from the data set.
    void refill();

private:
    class Delegate;
    void followDataSet();

    DataSource& source_;
    int panelHeight_;
    PanelPainter painter_;
    bool following_ = false;
};

} // namespace zep
