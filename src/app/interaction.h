#pragma once

#include "app/font_string.h"

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;

namespace zep {

enum class Answer { Yes, No, Cancel, Ok, Abort };

// The icon of a yes/no box: a question, or a warning or error that asks how to go on.
enum class QuestionLook { Question, Warning, Error };

// Every question, message and dialog the program shows goes through this one interface, so that
// tests can install a scripted double. Texts are shown exactly as passed ("\r" and "\n" are line breaks).
class Interaction {
public:
    virtual ~Interaction() = default;

    virtual void information(const QString& text, const QString& caption) = 0;
    virtual void warning(const QString& text, const QString& caption) = 0;
    virtual void error(const QString& text, const QString& caption) = 0;

    // Yes or No (closing the box counts as No).
    virtual Answer askYesNo(const QString& text, const QString& caption,
                            QuestionLook look = QuestionLook::Question) = 0;
    // Yes, No or Cancel (closing the box counts as Cancel).
    virtual Answer askYesNoCancel(const QString& text, const QString& caption) = 0;
    // A warning with OK and Abort (closing the box counts as Abort).
    virtual Answer askOkAbort(const QString& text, const QString& caption) = 0;

    // The chosen path, or "" when the user cancels. A filter is in Qt's form: "Texte (*.txt *.rtf);;Alle (*)".
    virtual QString openFileName(const QString& caption, const QString& startDir, const QString& filter) = 0;
    // Several files chosen at once; empty when the user cancels.
    virtual QStringList openFileNames(const QString& caption, const QString& startDir, const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& startDir, const QString& filter) = 0;
    virtual QString directory(const QString& caption, const QString& startDir) = 0;
    // The chosen font, or nothing when the user cancels.
    virtual std::optional<FontDescription> font(const FontDescription& initial, const QString& caption) = 0;

    // The print dialog on a printer: a CUPS queue or a PDF file, with its settings. False when the
    // user cancels.
    virtual bool setupPrinter(QPrinter& printer, const QString& caption) = 0;

    // A notice that stays visible, without blocking, until hideInfo(); a second showInfo replaces the text.
    virtual void showInfo(const QString& text) = 0;
    virtual void hideInfo() = 0;

    // The process-wide instance: set by the application at start-up, or by a test. Using it before
    // one is set is a programming error and aborts.
    static Interaction& instance();
    // The installed instance or nullptr.
    static Interaction* installed();
    // Does not take ownership; pass nullptr to clear.
    static void setInstance(Interaction* interaction);
};

} // namespace zep
