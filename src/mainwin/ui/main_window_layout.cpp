#include "controls/ui/db_grid3.h"
#include "controls/ui/over_panel.h"
#include "controls/ui/tree_view2.h"
#include "mainwin/ui/main_icons.h"
#include "mainwin/ui/main_note_editor.h"
#include "mainwin/ui/main_window.h"
#include "mainwin/ui/tree_images.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace zep {

namespace {

template <typename T> T* named(T* widget, const QString& name, const QString& hint = {}) {
    widget->setObjectName(name);
    if constexpr (std::is_base_of_v<QWidget, T>) {
        if (!hint.isEmpty())
            widget->setToolTip(hint);
    }
    return widget;
}

QBoxLayout* tightLayout(QBoxLayout* layout) {
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// A sunken panel of the top strip.
QLabel* figurePanel(QWidget* parent, const QString& name, const QString& hint, const QString& caption, int width) {
    auto* panel = named(new QLabel(caption, parent), name, hint);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setMinimumWidth(width);
    return panel;
}

QToolButton* toolButton(QWidget* parent, const QString& name, const QString& hint, ToolImage image) {
    auto* button = named(new QToolButton(parent), name, hint);
    button->setIcon(toolIcon(image));
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(true);
    return button;
}

QFrame* separator(QWidget* parent, QFrame::Shape shape) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QPixmap summaryPicture() {
    return toolIcon(ToolImage::Summary).pixmap(64, 64);
}

} // namespace

void MainWindow::buildLayout() {
    auto* central = named(new QWidget(this), QStringLiteral("PnlMain"));
    auto* layout = tightLayout(new QVBoxLayout(central));
    layout->addWidget(buildTopStrip());
    Splitter1 = named(new QSplitter(Qt::Horizontal, central), QStringLiteral("Splitter1"));
    Splitter1->addWidget(buildTreePane());
    Splitter1->addWidget(buildDocumentPane());
    // The tree pane keeps its width when the window grows.
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setChildrenCollapsible(false);
    layout->addWidget(Splitter1, 1);
    setCentralWidget(central);

    TimerZeit = named(new QTimer(this), QStringLiteral("TimerZeit"));
    TimerZeit->setInterval(60000);
    TimerSys = named(new QTimer(this), QStringLiteral("TimerSys"));
    TimerSys->setInterval(5000);
}

QWidget* MainWindow::buildTopStrip() {
    ToolBar4 = named(new QWidget(this), QStringLiteral("ToolBar4"));
    auto* layout = new QHBoxLayout(ToolBar4);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    PnlDate = figurePanel(ToolBar4, QStringLiteral("PnlDate"), QStringLiteral("Datum"), QStringLiteral("Date"), 70);
    PnlTime = figurePanel(ToolBar4, QStringLiteral("PnlTime"), QStringLiteral("Zeit"), QStringLiteral("Time"), 50);
    PnlRAM = figurePanel(ToolBar4, QStringLiteral("PnlRAM"), QStringLiteral("Frei Arbeitsspeicher"),
                         QStringLiteral("Free RAM"), 70);
    PnlPage = figurePanel(ToolBar4, QStringLiteral("PnlPage"), QStringLiteral("Freier Speicher der Auslagerungsdatei"),
                          QStringLiteral("Free Page"), 70);
    PnlDisk = figurePanel(ToolBar4, QStringLiteral("PnlDisk"), QStringLiteral("Freier Speicher auf Laufwerk C:"),
                          QStringLiteral("Free Disk"), 110);
    for (QLabel* panel : {PnlDate, PnlTime, PnlRAM, PnlPage, PnlDisk})
        layout->addWidget(panel);
    layout->addWidget(separator(ToolBar4, QFrame::VLine));
    BoxAdrVor = named(new QComboBox(ToolBar4), QStringLiteral("BoxAdrVor"),
                      QStringLiteral("Adressformat für die Zwischenablage"));
    BoxAdrVor->setMinimumWidth(180);
    layout->addWidget(BoxAdrVor);
    BtnAdrCopy = named(new QToolButton(ToolBar4), QStringLiteral("BtnAdrCopy"),
                       QStringLiteral("Kopiert die Adresse im aktuellen Adressformat in die Zwischenablage"));
    BtnAdrCopy->setText(QStringLiteral("X"));
    QFont bold = BtnAdrCopy->font();
    bold.setBold(true);
    BtnAdrCopy->setFont(bold);
    BtnAdrCopy->setMinimumWidth(24);
    layout->addWidget(BtnAdrCopy);
    layout->addStretch(1);
    return ToolBar4;
}

QWidget* MainWindow::buildTreePane() {
    PnlBaum = named(new QWidget(this), QStringLiteral("PnlBaum"));
    auto* layout = tightLayout(new QVBoxLayout(PnlBaum));

    Tab00 = named(new QTabBar(PnlBaum), QStringLiteral("Tab00"));
    for (const QString& tab : {QStringLiteral("Adressen"), QStringLiteral("Themen"), QStringLiteral("Dokumente")})
        Tab00->addTab(tab);
    // All three tabs stay visible in a narrow pane; they shorten their captions rather than widen it.
    Tab00->setDocumentMode(true);
    Tab00->setUsesScrollButtons(false);
    Tab00->setElideMode(Qt::ElideRight);
    Tab00->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 2px 3px; border: 1px solid palette(mid); "
                                        "border-bottom: none; background: palette(button); margin-top: 2px; }"
                                        "QTabBar::tab:selected { background: palette(base); margin-top: 0px; }"));
    Tab00->setExpanding(false);
    layout->addWidget(Tab00);

    B_Tool1 = named(new QWidget(PnlBaum), QStringLiteral("B_Tool1"));
    auto* tool1 = tightLayout(new QHBoxLayout(B_Tool1));
    tool1->setContentsMargins(2, 2, 2, 2);
    tool1->addWidget(
        toolButton(B_Tool1, QStringLiteral("Btn_B_Neu"), QStringLiteral("Neuer Eintrag"), ToolImage::NewEntry));
    tool1->addWidget(
        toolButton(B_Tool1, QStringLiteral("Btn_B_Edit"), QStringLiteral("Eintrag bearbeiten"), ToolImage::EditEntry));
    tool1->addWidget(
        toolButton(B_Tool1, QStringLiteral("Btn_B_Del"), QStringLiteral("Eintrag löschen"), ToolImage::DeleteEntry));
    tool1->addSpacing(4);
    Edit_B_Such = named(new QLineEdit(B_Tool1), QStringLiteral("Edit_B_Such"), QStringLiteral("Eintrag suchen"));
    tool1->addWidget(Edit_B_Such, 1);
    tool1->addWidget(
        toolButton(B_Tool1, QStringLiteral("Btn_B_Such"), QStringLiteral("Weiter suchen"), ToolImage::Search));
    layout->addWidget(B_Tool1);

    auto* upper = new QWidget(PnlBaum);
    auto* upperLayout = tightLayout(new QHBoxLayout(upper));
    ToolBar2 = named(new QWidget(upper), QStringLiteral("ToolBar2"));
    auto* tool2 = tightLayout(new QVBoxLayout(ToolBar2));
    tool2->addWidget(toolButton(ToolBar2, QStringLiteral("Btn_B_KlappAuf"), {}, ToolImage::ExpandAll));
    tool2->addWidget(toolButton(ToolBar2, QStringLiteral("Btn_B_KlappZu"), {}, ToolImage::CollapseAll));
    auto* trenn = toolButton(ToolBar2, QStringLiteral("Btn_B_Trenn1"), {}, ToolImage::Separator);
    trenn->setEnabled(false);
    tool2->addWidget(trenn);
    tool2->addWidget(toolButton(ToolBar2, QStringLiteral("Btn_B_Font"), QStringLiteral("Schriftart"), ToolImage::Font));
    tool2->addStretch(1);
    upperLayout->addWidget(ToolBar2);

    auto* trees = new QWidget(upper);
    auto* treesLayout = tightLayout(new QVBoxLayout(trees));
    PnlOverOben = named(new TOverPanel(trees), QStringLiteral("PnlOverOben"));
    PnlOverOben->setStyle(TOverPanel::osOben);
    PnlOverUnten = named(new TOverPanel(trees), QStringLiteral("PnlOverUnten"));
    PnlOverUnten->setStyle(TOverPanel::osUnten);
    for (TOverPanel* strip : {PnlOverOben, PnlOverUnten}) {
        strip->setNormalColor(Qt::blue);
        strip->setActiveColor(Qt::red);
        strip->setFixedHeight(10);
    }
    treeStack_ = named(new QStackedWidget(trees), QStringLiteral("PnlTrees"));
    TVA = named(new TTreeView2(treeStack_), QStringLiteral("TVA"));
    TVB = named(new TTreeView2(treeStack_), QStringLiteral("TVB"));
    TVD = named(new TTreeView2(treeStack_), QStringLiteral("TVD"));
    for (TTreeView2* tree : {TVA, TVB, TVD}) {
        tree->setIndentation(25);
        tree->setHeaderHidden(true);
        tree->setUniformRowHeights(true);
        tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
        treeStack_->addWidget(tree);
    }
    for (TTreeView2* tree : {TVA, TVB}) { // entries are moved and copied by dragging; TVD is no source
        tree->setDragEnabled(true);
        tree->setAcceptDrops(true);
        tree->setDragDropMode(QAbstractItemView::DragDrop);
    }
    treesLayout->addWidget(PnlOverOben);
    treesLayout->addWidget(treeStack_, 1);
    treesLayout->addWidget(PnlOverUnten);
    upperLayout->addWidget(trees, 1);

    PnlAdress = named(new QWidget(PnlBaum), QStringLiteral("PnlAdress"));
    auto* address = new QGridLayout(PnlAdress);
    address->setContentsMargins(0, 0, 0, 0);
    Image1 = named(new QLabel(PnlAdress), QStringLiteral("Image1"));
    Image1->setPixmap(summaryPicture());
    Image1->setAlignment(Qt::AlignCenter);
    REAdr = named(new QTextEdit(PnlAdress), QStringLiteral("REAdr"));
    REAdr->setReadOnly(true);
    // REAdr lies over the picture; hiding it shows the picture.
    address->addWidget(Image1, 0, 0);
    address->addWidget(REAdr, 0, 0);

    Splitter2 = named(new QSplitter(Qt::Vertical, PnlBaum), QStringLiteral("Splitter2"));
    Splitter2->addWidget(upper);
    Splitter2->addWidget(PnlAdress);
    Splitter2->setStretchFactor(0, 1);
    Splitter2->setStretchFactor(1, 0);
    Splitter2->setChildrenCollapsible(false);
    layout->addWidget(Splitter2, 1);
    return PnlBaum;
}

QWidget* MainWindow::buildDocumentPane() {
    PnlDok = named(new QWidget(this), QStringLiteral("PnlDok"));
    auto* layout = tightLayout(new QVBoxLayout(PnlDok));
    Tab22 = named(new QTabBar(PnlDok), QStringLiteral("Tab22"));
    Tab22->addTab(QStringLiteral("Dokumente"));
    Tab22->setDocumentMode(true);
    Tab22->setExpanding(false);
    layout->addWidget(Tab22);

    D_Tool1 = named(new QWidget(PnlDok), QStringLiteral("D_Tool1"));
    auto* tool = tightLayout(new QHBoxLayout(D_Tool1));
    tool->setContentsMargins(2, 2, 2, 2);
    const struct {
        const char16_t* name;
        const char16_t* hint;
        ToolImage image;
    } buttons[] = {
        {u"Btn_D_NeuDok", u"Neues Dokument", ToolImage::NewDocument},
        {u"Btn_D_NeuNot", u"Neue Notiz", ToolImage::NewNote},
        {u"Btn_D_Holen", u"Dokument holen", ToolImage::FetchDocument},
        {u"Btn_D_Open", u"Dokument öffnen", ToolImage::OpenDocument},
        {u"Btn_D_Book", u"Detail", ToolImage::Detail},
        {u"Btn_D_Done", u"Dokument erledigt", ToolImage::Done},
        {u"Btn_D_Del", u"Eintrag löschen", ToolImage::DeleteEntry},
        {u"Btn_D_All", u"Dokumente von Untereinträgen werden angezeigt", ToolImage::SubEntries},
        {u"Btn_D_Font", u"Schriftart", ToolImage::Font},
        {u"Btn_D_Tab", u"Tabellenansicht bearbeiten", ToolImage::Table},
    };
    for (const auto& b : buttons) {
        auto* button = toolButton(D_Tool1, QString::fromUtf16(b.name), QString::fromUtf16(b.hint), b.image);
        tool->addWidget(button);
        if (b.image == ToolImage::Done || b.image == ToolImage::SubEntries)
            tool->addWidget(separator(D_Tool1, QFrame::VLine));
    }
    Btn_D_All = D_Tool1->findChild<QToolButton*>(QStringLiteral("Btn_D_All"));
    Btn_D_All->setCheckable(true);
    tool->addStretch(1);
    layout->addWidget(D_Tool1);

    D_Grid = named(new TDBGrid3(PnlDok), QStringLiteral("D_Grid"));
    D_Grid->setFirstColOffs_X(40);
    D_Grid->setHeaderRowClick(true);
    D_Grid->setHeaderColor(QColor(193, 213, 191));

    PnlNotiz = named(new QWidget(PnlDok), QStringLiteral("PnlNotiz"));
    auto* notiz = tightLayout(new QVBoxLayout(PnlNotiz));
    auto* header = tightLayout(new QHBoxLayout);
    header->setContentsMargins(4, 2, 2, 2);
    header->addWidget(new QLabel(QStringLiteral("Anmerkung / Kurzbrief / Kurzfax"), PnlNotiz));
    header->addStretch(1);
    header->addWidget(toolButton(PnlNotiz, QStringLiteral("Btn_D_Notiz"), {}, ToolImage::Note));
    notiz->addLayout(header);
    RE = new NoteEdit(PnlNotiz);
    notiz->addWidget(RE, 1);

    Splitter = named(new QSplitter(Qt::Vertical, PnlDok), QStringLiteral("Splitter"));
    Splitter->addWidget(D_Grid);
    Splitter->addWidget(PnlNotiz);
    Splitter->setStretchFactor(0, 3);
    Splitter->setStretchFactor(1, 1);
    Splitter->setChildrenCollapsible(false);
    layout->addWidget(Splitter, 1);
    return PnlDok;
}

} // namespace zep
