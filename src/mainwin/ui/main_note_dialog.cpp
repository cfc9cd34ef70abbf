#include "mainwin/ui/main_note_dialog.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/safe_file.h"
#include "data/format_error.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace zep {

namespace {

bool readText(const QString& path, QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    text = QString::fromUtf8(file.readAll());
    return true;
}

// A text that cannot be saved is reported; the caller keeps the dialog open so nothing typed is lost.
bool writeText(const QString& path, const QString& text) {
    try {
        writeFileSafely(path, text.toUtf8());
        return true;
    } catch (const FileError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
        return false;
    }
}

} // namespace

int RICHING(const QString& path, QWidget* parent) {
    QString text;
    if (!readText(path, text))
        return 0;
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("TNotiz"));
    dialog.setWindowTitle(QStringLiteral("Anmerkung / Kurzbrief / Kurzfax"));
    auto* editor = new QPlainTextEdit(text, &dialog);
    editor->setObjectName(QStringLiteral("RENotiz"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        if (editor->toPlainText() == text || writeText(path, editor->toPlainText()))
            dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(editor, 1);
    layout->addWidget(buttons);
    dialog.resize(640, 480);
    if (dialog.exec() != QDialog::Accepted || editor->toPlainText() == text)
        return 0;
    return 1;
}

} // namespace zep
