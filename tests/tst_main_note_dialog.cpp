#include "app/safe_file.h"
#include "file_bytes.h"
#include "mainwin/ui/main_note_dialog.h"
#include "mainwin/ui/main_note_editor.h"
#include "mainwin/ui/note_editor_window.h"

#include "scripted_interaction.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QTimer>

#include <cerrno>
#include <functional>

using namespace zep;
using zep::test::readBytes;
using zep::test::ScriptedInteraction;
using zep::test::writeBytes;

namespace {

NoteEditorWindow* openEditor() {
    return qobject_cast<NoteEditorWindow*>(QApplication::activeModalWidget());
}

QTextEdit* textOf(QWidget& window) {
    return window.findChild<QTextEdit*>(QStringLiteral("RENotiz"));
}

void trigger(QWidget& window, const char* action) {
    window.findChild<QAction*>(QString::fromLatin1(action))->trigger();
}

void click(QWidget& window, const char* button) {
    window.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

// Replaces the whole text as typing would, so the document counts as changed.
void typeOver(QWidget& window, const QString& text) {
    QTextCursor cursor = textOf(window)->textCursor();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
}

// Runs the editor on a scratch file holding text and lets work drive the open window.
int runEditor(const QString& path, const QByteArray& text, const std::function<void(NoteEditorWindow&)>& work) {
    if (!writeBytes(path, text))
        return -1;
    QTimer::singleShot(0, [&] {
        NoteEditorWindow* window = openEditor();
        QVERIFY(window != nullptr);
        work(*window);
    });
    return RICHING(path);
}

// The note field's rich text read back from a scratch file, as the main window does.
QTextDocument* noteOf(NoteEdit& edit, const QString& path) {
    edit.setNoteText(QString::fromUtf8(readBytes(path)));
    return edit.document();
}

} // namespace

class TestMainNoteDialog : public QObject {
    Q_OBJECT

private slots:
    // Bold, italic, underline, colour and a list typed in the window reach the scratch file and come
    // back into the note field; the note then is stored as rich text, a plain note as plain text.
    void formattingReachesTheNote() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Temp.rtf"));
        ScriptedInteraction ui;
        const int result = runEditor(path, "rief an", [](NoteEditorWindow& window) {
            QTextEdit* text = textOf(window);
            QTextCursor cursor = text->textCursor();
            cursor.select(QTextCursor::Document);
            text->setTextCursor(cursor);
            trigger(window, "BtnFett");
            trigger(window, "BtnKursiv");
            trigger(window, "BtnUnter");
            trigger(window, "Farbe_Rot");
            cursor.movePosition(QTextCursor::End);
            text->setTextCursor(cursor);
            trigger(window, "BtnListe");
            click(window, "BtnOK");
        });
        QCOMPARE(result, 1);
        NoteEdit edit;
        QTextDocument* note = noteOf(edit, path);
        QCOMPARE(note->toPlainText(), QStringLiteral("rief an"));
        const QTextCharFormat format = note->begin().begin().fragment().charFormat();
        QVERIFY(format.fontWeight() >= QFont::Bold);
        QVERIFY(format.fontItalic());
        QVERIFY(format.fontUnderline());
        QCOMPARE(format.foreground().color(), QColor(0xC00000));
        QVERIFY(note->begin().textList() != nullptr);
        QVERIFY(isQtRichText(edit.noteText()));

        edit.setNoteText(QStringLiteral("nur Text\nzweite Zeile"));
        QCOMPARE(edit.noteText(), QStringLiteral("nur Text\nzweite Zeile"));
    }

    // Undo takes back what was typed; a text changed back to the saved one is no change.
    void undoAndUnchangedText() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Temp.rtf"));
        ScriptedInteraction ui;
        const int result = runEditor(path, "rief an", [](NoteEditorWindow& window) {
            QTextEdit* text = textOf(window);
            text->moveCursor(QTextCursor::End);
            QTest::keyClicks(text, QStringLiteral(" weiter"));
            QCOMPARE(text->toPlainText(), QStringLiteral("rief an weiter"));
            QVERIFY(window.findChild<QAction*>(QStringLiteral("BtnUndo"))->isEnabled());
            while (text->document()->isUndoAvailable())
                trigger(window, "BtnUndo");
            QCOMPARE(text->toPlainText(), QStringLiteral("rief an"));
            click(window, "BtnOK");
        });
        QCOMPARE(result, 0);
        QCOMPARE(readBytes(path), QByteArray("rief an"));
        QVERIFY(ui.shown().isEmpty());
    }

    void closingAChangedNote_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("saved");
        QTest::newRow("save") << int(Answer::Yes) << 1 << true;
        QTest::newRow("discard") << int(Answer::No) << 0 << false;
    }

    // Abbrechen with unsaved changes asks; Yes saves, No discards.
    void closingAChangedNote() {
        QFETCH(int, answer);
        QFETCH(int, result);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Temp.rtf"));
        ScriptedInteraction ui;
        ui.setNextAnswer(Answer(answer));
        const int returned = runEditor(path, "rief an", [](NoteEditorWindow& window) {
            typeOver(window, QStringLiteral("Neu äöü"));
            click(window, "BtnAbbruch");
        });
        QCOMPARE(returned, result);
        QCOMPARE(ui.texts(),
                 QStringList{QStringLiteral("Die Notiz wurde geändert.\nSollen die Änderungen gespeichert werden?")});
        NoteEdit edit;
        QCOMPARE(noteOf(edit, path)->toPlainText(), saved ? QStringLiteral("Neu äöü") : QStringLiteral("rief an"));
    }

    // "Speichern" writes at once and keeps the window open; the change counts even when the window is
    // then left with Abbrechen.
    void saveKeepsTheWindowOpen() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Temp.rtf"));
        ScriptedInteraction ui;
        bool stayedOpen = false;
        const int result = runEditor(path, "alt", [&](NoteEditorWindow& window) {
            typeOver(window, QStringLiteral("gespeichert"));
            trigger(window, "BtnSpeichern");
            stayedOpen = window.isVisible();
            click(window, "BtnAbbruch");
        });
        QVERIFY(stayedOpen);
        QCOMPARE(result, 1);
        NoteEdit edit;
        QCOMPARE(noteOf(edit, path)->toPlainText(), QStringLiteral("gespeichert"));
    }

    // A changed note that cannot be saved is reported in German; the editor stays open with the
    // typed text, and a second OK after the disk has room again saves it.
    void failedSaveKeepsTheEditorOpen() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Temp.rtf"));
        ScriptedInteraction ui;
        bool stayedOpen = false;
        QString keptText;
        const int result = runEditor(path, "rief an", [&](NoteEditorWindow& window) {
            typeOver(window, QStringLiteral("Neu äöü"));
            {
                const InjectedWriteFailure failure(ENOSPC, 0);
                click(window, "BtnOK");
            }
            stayedOpen = window.isVisible();
            keptText = textOf(window)->toPlainText();
            click(window, "BtnOK");
        });
        QVERIFY(stayedOpen);
        QCOMPARE(keptText, QStringLiteral("Neu äöü"));
        QCOMPARE(ui.texts(), QStringList{QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden: Der "
                                                        "Datenträger ist voll.")
                                             .arg(QDir::toNativeSeparators(path))});
        QCOMPARE(ui.shown().first().kind, ScriptedInteraction::Kind::Error);
        QCOMPARE(result, 1);
        NoteEdit edit;
        QCOMPARE(noteOf(edit, path)->toPlainText(), QStringLiteral("Neu äöü"));
    }

    // A missing scratch file opens no editor and reports no change.
    void missingScratchFileIsNoChange() {
        QTemporaryDir dir;
        QCOMPARE(RICHING(dir.filePath(QStringLiteral("fehlt.rtf"))), 0);
    }
};

QTEST_MAIN(TestMainNoteDialog)
#include "tst_main_note_dialog.moc"
