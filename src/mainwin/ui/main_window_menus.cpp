#include "mainwin/ui/main_window.h"

#include "controls/ui/db_grid3.h"
#include "controls/ui/tree_view2.h"

#include <QMenu>
#include <QMenuBar>

namespace zep {

namespace {

struct Item {
    const char16_t* name;
    const char16_t* caption;
};

QMenu* namedMenu(QWidget* parent, const QString& name, const QString& title) {
    auto* menu = new QMenu(title, parent);
    menu->setObjectName(name);
    return menu;
}

QAction* addItem(QMenu* menu, const Item& item) {
    QAction* action = menu->addAction(QString::fromUtf16(item.caption));
    action->setObjectName(QString::fromUtf16(item.name));
    return action;
}

// Connects every item to one handler that tells the senders apart.
template <typename Handler>
void addItems(QMenu* menu, std::initializer_list<Item> items, MainWindow* window, Handler handler) {
    for (const Item& item : items) {
        QAction* action = addItem(menu, item);
        QObject::connect(action, &QAction::triggered, window,
                         [window, action, handler] { (window->*handler)(action); });
    }
}

} // namespace

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));

    MA_Menu = namedMenu(this, QStringLiteral("MA_Menu"), QStringLiteral("Adressen"));
    addItems(MA_Menu, {{u"MA_Neu", u"Neu"}, {u"MA_Edit", u"Berabeiten"}, {u"MA_Del", u"Löschen"}}, this,
             &MainWindow::B_BtnClick);
    MA_Menu->addSeparator();
    QMenu* print = MA_Menu->addMenu(QStringLiteral("Drucken"));
    print->setObjectName(QStringLiteral("MA_Print"));
    addItems(print, {{u"MA_PrintBrief", u"Briefumschlag"}, {u"MA_PrintAdr", u"Adressen"}}, this,
             &MainWindow::B_BtnClick);
    addItems(MA_Menu, {{u"MA_Vorlage", u"Vorlage für Zwischenablage"}}, this, &MainWindow::B_BtnClick);
    MA_Menu->addSeparator();
    addItems(MA_Menu, {{u"MA_Font", u"Schriftart"}}, this, &MainWindow::B_BtnClick);
    bar->addMenu(MA_Menu);

    MT_Menu = namedMenu(this, QStringLiteral("MT_Menu"), QStringLiteral("Themen"));
    addItems(MT_Menu, {{u"MT_Neu", u"Neu"}, {u"MT_Edit", u"Bearbeiten"}, {u"MT_Del", u"Löschen"}}, this,
             &MainWindow::B_BtnClick);
    MT_Menu->addSeparator();
    addItems(MT_Menu, {{u"MT_Font", u"Schriftart"}}, this, &MainWindow::B_BtnClick);
    bar->addMenu(MT_Menu);

    QMenu* documents = namedMenu(this, QStringLiteral("MD_Menu"), QStringLiteral("Dokumente"));
    addItems(documents, {{u"MD_NeuDok", u"Neues Dokument"}, {u"MD_NeuNot", u"Neue Notiz"}, {u"MD_Holen", u"Holen"}},
             this, &MainWindow::D_BtnClick);
    documents->addSeparator();
    addItems(documents, {{u"MD_Open", u"Öffnen"}, {u"MD_Book", u"Detail"}, {u"MD_Del", u"Löschen"}}, this,
             &MainWindow::D_BtnClick);
    documents->addSeparator();
    addItems(documents, {{u"MD_Save", u"Speichern unter.."}, {u"MD_Move", u"Verschieben"}, {u"MD_Copy", u"Kopieren"}},
             this, &MainWindow::D_BtnClick);
    documents->addSeparator();
    addItems(documents, {{u"MD_Tab", u"Ansicht"}, {u"MD_Font", u"Schriftart"}}, this, &MainWindow::D_BtnClick);
    bar->addMenu(documents);

    QMenu* serial = namedMenu(this, QStringLiteral("MSer_Menu"), QStringLiteral("Seriendruck"));
    QMenu* letter = serial->addMenu(QStringLiteral("Serienbrief"));
    letter->setObjectName(QStringLiteral("MSer_Brief"));
    addItems(letter, {{u"MSer_Word", u"mit Word"}}, this, &MainWindow::D_BtnClick);
    bar->addMenu(serial);

    QMenu* catalogs = namedMenu(this, QStringLiteral("MKat_Menu"), QStringLiteral("&Kataloge"));
    addItems(catalogs,
             {{u"MKat_DokArt", u"&Dokument - Art"},
              {u"MKat_Autor", u"&Autor"},
              {u"MKat_AnredeBrief", u"Anrede Briefkopf"},
              {u"MKat_Anrede", u"Anrede"},
              {u"MKat_Herr", u"Herr / Frau"},
              {u"MKat_Gruss", u"Grusswort"}},
             this, &MainWindow::MKat_DokArtClick);
    // The tag of each catalog item is the number of the catalog it edits.
    const int tags[] = {1, 4, 10, 11, 12, 13};
    for (int i = 0; i < 6; ++i)
        catalogs->actions().at(i)->setData(tags[i]);
    bar->addMenu(catalogs);

    QMenu* tools = namedMenu(this, QStringLiteral("MTool_Menu"), QStringLiteral("&Tools"));
    addItems(tools, {{u"MTool_Mand", u"Mandanten"}, {u"MTool_Anw", u"&Anwendung..."}}, this, &MainWindow::MTool_Click);
    tools->addSeparator();
    QMenu* import = tools->addMenu(QStringLiteral("&Import"));
    import->setObjectName(QStringLiteral("MTool_Import"));
    addItems(import, {{u"MTool_ImpDBF", u"dBase"}}, this, &MainWindow::MTool_Click);
    QMenu* exportMenu = tools->addMenu(QStringLiteral("&Export"));
    exportMenu->setObjectName(QStringLiteral("MTool_Export"));
    addItems(exportMenu, {{u"MTool_ExpDBF", u"dBase"}}, this, &MainWindow::MTool_Click);
    tools->addSeparator();
    addItems(
        tools,
        {{u"MTool_Sicher", u"&Datensicherung"}, {u"MTool_Baum", u"&Baumstruktur"}, {u"MTool_Option", u"&Optionen"}},
        this, &MainWindow::MTool_Click);
    bar->addMenu(tools);

    QMenu* help = namedMenu(this, QStringLiteral("MHelp_Menu"), QStringLiteral("&Hilfe"));
    addItems(help,
             {{u"MHelp_View", u"Ü&bersicht"}, {u"MHelp_Tips", u"&Tips und Tricks"}, {u"MHelp_Support", u"Support"}},
             this, &MainWindow::MHelp_Click);
    help->actions().at(0)->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator();
    addItems(help, {{u"MHelp_Uber", u"Üb&er..."}}, this, &MainWindow::MHelp_Click);
    bar->addMenu(help);

    QMenu* close = namedMenu(this, QStringLiteral("MClose_Menu"), QStringLiteral("Beenden"));
    // Alt F4 is part of the caption: the desktop closes the window on that key itself.
    QAction* closeItem = addItem(close, {u"MClose_Close", u"Schließen      Alt F4"});
    connect(closeItem, &QAction::triggered, this, &QWidget::close);
    bar->addMenu(close);
}

void MainWindow::buildPopupMenus() {
    PA_Menu = namedMenu(this, QStringLiteral("PA_Menu"), {});
    addItems(PA_Menu, {{u"PA_Neu", u"Neu"}, {u"PA_Edit", u"Bearbeiten"}, {u"PA_Del", u"Löschen"}}, this,
             &MainWindow::B_BtnClick);
    PA_Menu->addSeparator();
    QMenu* print = PA_Menu->addMenu(QStringLiteral("Drucken"));
    print->setObjectName(QStringLiteral("PA_Print"));
    addItems(print, {{u"PA_PrintBrief", u"Briefumschlag"}, {u"PA_PrintAdr", u"Adressen"}}, this,
             &MainWindow::B_BtnClick);
    PA_Menu->addSeparator();
    addItems(PA_Menu, {{u"PA_Font", u"Schriftart"}}, this, &MainWindow::B_BtnClick);

    PT_Menu = namedMenu(this, QStringLiteral("PT_Menu"), {});
    addItems(PT_Menu, {{u"PT_Neu", u"Neu"}, {u"PT_Edit", u"Bearbeiten"}, {u"PT_Del", u"Löschen"}}, this,
             &MainWindow::B_BtnClick);
    PT_Menu->addSeparator();
    addItems(PT_Menu, {{u"PT_Font", u"Schriftart"}}, this, &MainWindow::B_BtnClick);

    PD_Menu = namedMenu(this, QStringLiteral("PD_Menu"), {});
    addItems(PD_Menu, {{u"PD_Open", u"Öffnen"}, {u"PD_Book", u"Detail"}, {u"PD_Del", u"Löschen"}}, this,
             &MainWindow::D_BtnClick);
    PD_Menu->addSeparator();
    addItems(PD_Menu, {{u"PD_Save", u"Speichern unter..."}, {u"PD_Move", u"Verschieben"}, {u"PD_Copy", u"Kopieren"}},
             this, &MainWindow::D_BtnClick);
    PD_Menu->addSeparator();
    addItems(PD_Menu, {{u"PD_Print", u"Drucken"}, {u"PD_Play", u"Abspielen"}}, this, &MainWindow::D_BtnClick);
    PD_Menu->findChild<QAction*>(QStringLiteral("PD_Play"))->setVisible(false);

    const auto popupOn = [this](QWidget* widget, QMenu* menu) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, this,
                [widget, menu](const QPoint& pos) { menu->popup(widget->mapToGlobal(pos)); });
    };
    popupOn(TVA, PA_Menu);
    popupOn(TVB, PT_Menu);
    connect(D_Grid, &TDBGrid3::contextMenuRequested, this, [this](QPoint globalPos) { PD_Menu->popup(globalPos); });
}

} // namespace zep
