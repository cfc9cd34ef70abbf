#pragma once

#include <QDialog>

class QAction;
class QComboBox;
class QFontComboBox;
class QTextCharFormat;
class QTextEdit;
class QToolBar;

namespace zep {

// The large note editor: rich text with bold, italic, underline, font, size, colour, lists and
// undo, on a scratch file of Qt rich text (HTML). "Speichern" writes the file and keeps the window
// open, OK saves and closes, "Abbrechen" closes; closing with unsaved changes asks first.
class NoteEditorWindow : public QDialog {
    Q_OBJECT

public:
    // text: Qt rich text, or plain text.
    NoteEditorWindow(const QString& path, const QString& text, QWidget* parent = nullptr);

    // True once a changed text was written to the file.
    bool savedChange() const { return savedChange_; }

    void accept() override;
    void reject() override;

private:
    void buildToolBar(QToolBar* bar);
    QAction* addAction(QToolBar* bar, const QString& name, const QString& text, const QKeySequence& key);
    void mergeFormat(const QTextCharFormat& format);
    void showFormatOfCursor();
    void toggleList(bool numbered);
    bool save();

    QString path_;
    bool savedChange_ = false;
    QTextEdit* RENotiz = nullptr;
    QAction* BtnFett = nullptr;
    QAction* BtnKursiv = nullptr;
    QAction* BtnUnter = nullptr;
    QFontComboBox* BoxFont = nullptr;
    QComboBox* BoxSize = nullptr;
};

} // namespace zep
