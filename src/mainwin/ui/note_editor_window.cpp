#include "mainwin/ui/note_editor_window.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/safe_file.h"
#include "data/format_error.h"
#include "mainwin/ui/main_note_editor.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace zep {

namespace {

struct NamedColour {
    const char16_t* name;
    const char16_t* objectName;
    QRgb rgb;
};

constexpr NamedColour Colours[] = {{u"Schwarz", u"Farbe_Schwarz", 0x000000},
                                   {u"Rot", u"Farbe_Rot", 0xC00000},
                                   {u"Blau", u"Farbe_Blau", 0x0040C0},
                                   {u"Grün", u"Farbe_Gruen", 0x008000},
                                   {u"Grau", u"Farbe_Grau", 0x808080}};

QIcon colourIcon(QRgb rgb) {
    QPixmap swatch(16, 16);
    swatch.fill(QColor(rgb));
    return QIcon(swatch);
}

} // namespace

NoteEditorWindow::NoteEditorWindow(const QString& path, const QString& text, QWidget* parent)
    : QDialog(parent), path_(path) {
    setObjectName(QStringLiteral("TNotiz"));
    setWindowTitle(QStringLiteral("Anmerkung / Kurzbrief / Kurzfax"));
    RENotiz = new QTextEdit(this);
    RENotiz->setObjectName(QStringLiteral("RENotiz"));
    RENotiz->setAcceptRichText(true);
    if (isQtRichText(text))
        RENotiz->setHtml(text);
    else
        RENotiz->setPlainText(text);
    RENotiz->document()->setModified(false);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("NotizTool"));
    buildToolBar(bar);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BtnAbbruch"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &NoteEditorWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NoteEditorWindow::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(RENotiz, 1);
    layout->addWidget(buttons);
    connect(RENotiz, &QTextEdit::currentCharFormatChanged, this, &NoteEditorWindow::showFormatOfCursor);
    showFormatOfCursor();
    resize(900, 560);
}

QAction* NoteEditorWindow::addAction(QToolBar* bar, const QString& name, const QString& text, const QKeySequence& key) {
    QAction* action = bar->addAction(text);
    action->setObjectName(name);
    action->setShortcut(key);
    action->setToolTip(key.isEmpty() ? text : text + QStringLiteral(" (") + key.toString() + u')');
    return action;
}

void NoteEditorWindow::buildToolBar(QToolBar* bar) {
    connect(addAction(bar, QStringLiteral("BtnSpeichern"), QStringLiteral("Speichern"), QKeySequence::Save),
            &QAction::triggered, this, &NoteEditorWindow::save);
    bar->addSeparator();
    QAction* undo = addAction(bar, QStringLiteral("BtnUndo"), QStringLiteral("Rückgängig"), QKeySequence::Undo);
    QAction* redo = addAction(bar, QStringLiteral("BtnRedo"), QStringLiteral("Wiederholen"), QKeySequence::Redo);
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(undo, &QAction::triggered, RENotiz, &QTextEdit::undo);
    connect(redo, &QAction::triggered, RENotiz, &QTextEdit::redo);
    connect(RENotiz, &QTextEdit::undoAvailable, undo, &QAction::setEnabled);
    connect(RENotiz, &QTextEdit::redoAvailable, redo, &QAction::setEnabled);
    bar->addSeparator();
    BtnFett = addAction(bar, QStringLiteral("BtnFett"), QStringLiteral("F"), QKeySequence::Bold);
    BtnKursiv = addAction(bar, QStringLiteral("BtnKursiv"), QStringLiteral("K"), QKeySequence::Italic);
    BtnUnter = addAction(bar, QStringLiteral("BtnUnter"), QStringLiteral("U"), QKeySequence::Underline);
    BtnFett->setToolTip(QStringLiteral("Fett (Strg+B)"));
    BtnKursiv->setToolTip(QStringLiteral("Kursiv (Strg+I)"));
    BtnUnter->setToolTip(QStringLiteral("Unterstrichen (Strg+U)"));
    QFont font = BtnFett->font();
    font.setBold(true);
    BtnFett->setFont(font);
    font.setBold(false);
    font.setItalic(true);
    BtnKursiv->setFont(font);
    font.setItalic(false);
    font.setUnderline(true);
    BtnUnter->setFont(font);
    for (QAction* action : {BtnFett, BtnKursiv, BtnUnter})
        action->setCheckable(true);
    connect(BtnFett, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mergeFormat(format);
    });
    connect(BtnKursiv, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        mergeFormat(format);
    });
    connect(BtnUnter, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        mergeFormat(format);
    });
    bar->addSeparator();
    BoxFont = new QFontComboBox(bar);
    BoxFont->setObjectName(QStringLiteral("BoxFont"));
    BoxFont->setToolTip(QStringLiteral("Schriftart"));
    bar->addWidget(BoxFont);
    connect(BoxFont, &QFontComboBox::textActivated, this, [this](const QString& family) {
        QTextCharFormat format;
        format.setFontFamilies({family});
        mergeFormat(format);
    });
    BoxSize = new QComboBox(bar);
    BoxSize->setObjectName(QStringLiteral("BoxSize"));
    BoxSize->setToolTip(QStringLiteral("Schriftgröße"));
    BoxSize->setEditable(true);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 36})
        BoxSize->addItem(QString::number(size));
    bar->addWidget(BoxSize);
    connect(BoxSize, &QComboBox::textActivated, this, [this](const QString& text) {
        const double size = text.toDouble();
        if (size <= 0)
            return;
        QTextCharFormat format;
        format.setFontPointSize(size);
        mergeFormat(format);
    });
    auto* colour = new QToolButton(bar);
    colour->setObjectName(QStringLiteral("BtnFarbe"));
    colour->setText(QStringLiteral("Farbe"));
    colour->setToolTip(QStringLiteral("Schriftfarbe"));
    colour->setPopupMode(QToolButton::InstantPopup);
    auto* colours = new QMenu(colour);
    for (const NamedColour& entry : Colours) {
        QAction* action = colours->addAction(colourIcon(entry.rgb), QString::fromUtf16(entry.name));
        action->setObjectName(QString::fromUtf16(entry.objectName));
        connect(action, &QAction::triggered, this, [this, rgb = entry.rgb] {
            QTextCharFormat format;
            format.setForeground(QColor(rgb));
            mergeFormat(format);
        });
    }
    colour->setMenu(colours);
    bar->addWidget(colour);
    bar->addSeparator();
    connect(addAction(bar, QStringLiteral("BtnListe"), QStringLiteral("• Liste"), {}), &QAction::triggered, this,
            [this] { toggleList(false); });
    connect(addAction(bar, QStringLiteral("BtnNummern"), QStringLiteral("1. Liste"), {}), &QAction::triggered, this,
            [this] { toggleList(true); });
}

// A format applies to the selection, or without one to the word under the cursor and what is typed next.
void NoteEditorWindow::mergeFormat(const QTextCharFormat& format) {
    QTextCursor cursor = RENotiz->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    RENotiz->mergeCurrentCharFormat(format);
    RENotiz->setFocus();
}

void NoteEditorWindow::showFormatOfCursor() {
    const QTextCharFormat format = RENotiz->currentCharFormat();
    BtnFett->setChecked(format.fontWeight() >= QFont::Bold);
    BtnKursiv->setChecked(format.fontItalic());
    BtnUnter->setChecked(format.fontUnderline());
    const QFont font = format.font();
    BoxFont->setCurrentFont(font);
    BoxSize->setEditText(QString::number(font.pointSizeF() > 0 ? font.pointSizeF() : RENotiz->font().pointSizeF()));
}

// The paragraphs of the selection become a list of the style, or leave a list of that style.
void NoteEditorWindow::toggleList(bool numbered) {
    QTextCursor cursor = RENotiz->textCursor();
    const QTextListFormat::Style style = numbered ? QTextListFormat::ListDecimal : QTextListFormat::ListDisc;
    cursor.beginEditBlock();
    if (QTextList* list = cursor.currentList(); list != nullptr && list->format().style() == style) {
        for (int i = list->count() - 1; i >= 0; --i)
            list->removeItem(i);
        QTextBlockFormat plain = cursor.blockFormat();
        plain.setIndent(0);
        cursor.setBlockFormat(plain);
    } else {
        QTextListFormat format;
        format.setStyle(style);
        cursor.createList(format);
    }
    cursor.endEditBlock();
    RENotiz->setFocus();
}

// A text that cannot be saved is reported; the window stays open so nothing typed is lost.
bool NoteEditorWindow::save() {
    if (!RENotiz->document()->isModified())
        return true;
    try {
        writeFileSafely(path_, RENotiz->toHtml().toUtf8());
    } catch (const FileError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
        return false;
    }
    RENotiz->document()->setModified(false);
    savedChange_ = true;
    return true;
}

void NoteEditorWindow::accept() {
    if (save())
        QDialog::accept();
}

void NoteEditorWindow::reject() {
    if (RENotiz->document()->isModified()) {
        const Answer answer = Interaction::instance().askYesNoCancel(
            QStringLiteral("Die Notiz wurde geändert.\nSollen die Änderungen gespeichert werden?"),
            ApplicationName.toString());
        if (answer == Answer::Cancel || (answer == Answer::Yes && !save()))
            return;
    }
    QDialog::reject();
}

} // namespace zep
