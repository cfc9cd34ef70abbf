#include "app/safe_file.h"
#include "mainwin/ui/main_note_dialog.h"

#include "scripted_interaction.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <functional>
#include <memory>

using namespace zep;
using zep::test::ScriptedInteraction;

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QDialog* openEditor() {
    return qobject_cast<QDialog*>(QApplication::activeModalWidget());
}

void clickOk(QDialog& dialog) {
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

} // namespace

class TestMainNoteDialog : public QObject {
    Q_OBJECT

private slots:
    // A changed note that cannot be saved is reported in German; the editor stays open with the
    // typed text, and a second OK after the disk has room again saves it.
    void failedSaveKeepsTheEditorOpen() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notiz.txt"));
        QVERIFY(writeBytes(path, "rief an"));
        ScriptedInteraction ui;
        bool stayedOpen = false;
        QString keptText;
        QTimer::singleShot(0, [&] {
            QDialog* dialog = openEditor();
            QVERIFY(dialog != nullptr);
            dialog->findChild<QPlainTextEdit*>(QStringLiteral("RENotiz"))->setPlainText(QStringLiteral("Neu äöü"));
            {
                const InjectedWriteFailure failure(ENOSPC, 0);
                clickOk(*dialog);
            }
            stayedOpen = dialog->isVisible() && dialog->result() != QDialog::Accepted;
            keptText = dialog->findChild<QPlainTextEdit*>(QStringLiteral("RENotiz"))->toPlainText();
            clickOk(*dialog);
        });

        const int result = RICHING(path);

        QVERIFY(stayedOpen);
        QCOMPARE(keptText, QStringLiteral("Neu äöü"));
        QCOMPARE(ui.texts(), QStringList{QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden: Der "
                                                        "Datenträger ist voll.")
                                             .arg(QDir::toNativeSeparators(path))});
        QCOMPARE(ui.shown().first().kind, ScriptedInteraction::Kind::Error);
        QCOMPARE(result, 1);
        QCOMPARE(readBytes(path), QByteArray("Neu \xC3\xA4\xC3\xB6\xC3\xBC"));
    }

    // Cancel after a failed save leaves the old file and reports no change.
    void cancelAfterFailedSaveKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notiz.txt"));
        QVERIFY(writeBytes(path, "rief an"));
        ScriptedInteraction ui;
        QTimer::singleShot(0, [&] {
            QDialog* dialog = openEditor();
            QVERIFY(dialog != nullptr);
            dialog->findChild<QPlainTextEdit*>(QStringLiteral("RENotiz"))->setPlainText(QStringLiteral("Neu"));
            {
                const InjectedWriteFailure failure(ENOSPC, 0);
                clickOk(*dialog);
            }
            dialog->reject();
        });

        QCOMPARE(RICHING(path), 0);
        QCOMPARE(ui.texts().size(), 1);
        QCOMPARE(readBytes(path), QByteArray("rief an"));
    }
};

QTEST_MAIN(TestMainNoteDialog)
#include "tst_main_note_dialog.moc"
