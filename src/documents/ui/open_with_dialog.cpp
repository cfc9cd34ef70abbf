#include "documents/ui/open_with_dialog.h"

#include "app/ui/named_controls.h"
#include "data/table.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace zep {

namespace {

constexpr int kPanelHeight = 25;
constexpr int kVisiblePanels = 5;

QWidget* panel(const QString& ext, const QString& title) {
    auto* widget = new QWidget;
    auto* layout = new QHBoxLayout(widget);
    layout->setContentsMargins(6, 0, 6, 0);
    auto* extLabel = new QLabel(ext, widget);
    extLabel->setObjectName(QStringLiteral("L_Ext"));
    QFont bold = extLabel->font();
    bold.setBold(true);
    extLabel->setFont(bold);
    extLabel->setMinimumWidth(48);
    auto* nameLabel = new QLabel(title, widget);
    nameLabel->setObjectName(QStringLiteral("L_Name"));
    layout->addWidget(extLabel);
    layout->addWidget(nameLabel, 1);
    return widget;
}

} // namespace

OpenWithDialog::OpenWithDialog(Table& applications, QWidget* parent)
    : QDialog(parent, Qt::Tool), applications_(applications) {
    setObjectName(QStringLiteral("TN06"));
    setWindowTitle(QStringLiteral("Datei öffnen mit..."));
    DBCtrlGrid1 = new QListWidget(this);
    DBCtrlGrid1->setObjectName(QStringLiteral("DBCtrlGrid1"));
    DBCtrlGrid1->setFrameShape(QFrame::NoFrame);
    DBCtrlGrid1->setMinimumHeight(kPanelHeight * kVisiblePanels + 2);
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
    resize(340, kPanelHeight * kVisiblePanels + 60);
    fillPanels();
    connect(DBCtrlGrid1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            applications_.setRecNo(row + 1);
    });
    connect(DBCtrlGrid1, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
}

void OpenWithDialog::fillPanels() {
    const int current = applications_.recNo() - 1;
    const int ext = applications_.fieldPosition(u"Ext");
    const int title = applications_.fieldPosition(u"Titel");
    for (int row = 0; row < applications_.recordCount(); ++row) {
        auto* item = new QListWidgetItem(DBCtrlGrid1);
        item->setSizeHint(QSize(0, kPanelHeight));
        DBCtrlGrid1->setItemWidget(
            item, panel(applications_.valueAt(row, ext).toString(), applications_.valueAt(row, title).toString()));
    }
    DBCtrlGrid1->setCurrentRow(qMax(0, current));
}

std::optional<QString> OpenWithDialog::choose(Table& applications, QWidget* parent) {
    OpenWithDialog dialog(applications, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return applications.field(u"Anw").asString();
}

} // namespace zep
