#include "documents/ui/open_with_dialog.h"

#include "app/ui/named_controls.h"
#include "controls/ui/db_ctrl_grid.h"
#include "data/data_source.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace zep {

namespace {
constexpr int kPanelHeight = 25;
constexpr int kVisiblePanels = 5;
constexpr int kExtWidth = 48; // L_Ext, then L_Name
} // namespace

OpenWithDialog::OpenWithDialog(DataSource& applications, QWidget* parent)
    : QDialog(parent, Qt::Tool), applications_(applications) {
    setObjectName(QStringLiteral("TN06"));
    setWindowTitle(QStringLiteral("Datei öffnen mit..."));
    DBCtrlGrid1 = new TDBCtrlGrid(applications_, kPanelHeight, kVisiblePanels, this);
    DBCtrlGrid1->setObjectName(QStringLiteral("DBCtrlGrid1"));
    DBCtrlGrid1->setFrameShape(QFrame::NoFrame);
    DBCtrlGrid1->setPanelPainter([this](QPainter& painter, const QRect& panel, int row, bool current) {
        paintPanel(painter, panel, row, current);
    });
    auto* ok = makeButton(QStringLiteral("BitBtn11"), QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* abort = makeButton(QStringLiteral("BitBtn12"), QStringLiteral("Abbrechen"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(abort);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBCtrlGrid1, 1);
    layout->addLayout(buttons);
    resize(340, DBCtrlGrid1->height() + 60);
    connect(DBCtrlGrid1, &TDBCtrlGrid::itemDoubleClicked, this, &QDialog::accept);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
}

// L_Ext in bold, then L_Name.
void OpenWithDialog::paintPanel(QPainter& painter, const QRect& panel, int row, bool current) {
    const DataSet& set = *applications_.dataSet();
    const QPalette& colours = palette();
    painter.fillRect(panel, current ? colours.highlight() : colours.base());
    painter.setPen(current ? colours.highlightedText().color() : colours.text().color());
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    const QRect text = panel.adjusted(6, 0, -6, 0);
    painter.drawText(text.adjusted(0, 0, -(text.width() - kExtWidth), 0), Qt::AlignVCenter | Qt::AlignLeft,
                     set.valueAt(row, set.fieldPosition(u"Ext")).toString());
    painter.setFont(font());
    painter.drawText(text.adjusted(kExtWidth + 8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     set.valueAt(row, set.fieldPosition(u"Titel")).toString());
}

std::optional<QString> OpenWithDialog::choose(DataSource& applications, QWidget* parent) {
    OpenWithDialog dialog(applications, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return applications.dataSet()->field(u"Anw").asString();
}

} // namespace zep
