#pragma once

#include "app/interaction.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>

namespace zep::test {

// The interaction double: installs itself as Interaction::instance() for its lifetime, records every
// message, question and dialog exactly, and answers from queues the test fills beforehand. A question
// asked with an empty queue fails the running test and is answered as if the user had cancelled; an
// answer, file, directory or font still queued when the double is destroyed fails the running test too.
class ScriptedInteraction : public Interaction {
public:
    enum class Kind {
        Information,
        Warning,
        Error,
        YesNo,
        YesNoCancel,
        OkAbort,
        OpenFile,
        SaveFile,
        Directory,
        Font,
        Printer,
        Info
    };

    struct Shown {
        Kind kind;
        QString text; // message or question; for dialogs the start directory
        QString caption;
        QString filter;                             // file dialogs only
        QuestionLook look = QuestionLook::Question; // yes/no questions only
    };

    ScriptedInteraction();
    ~ScriptedInteraction() override;
    ScriptedInteraction(const ScriptedInteraction&) = delete;
    ScriptedInteraction& operator=(const ScriptedInteraction&) = delete;

    void setNextAnswer(Answer answer) { answers_.enqueue(answer); }
    // For open and save dialogs; "" answers as a cancelled dialog.
    void setNextFile(const QString& path) { files_.enqueue(path); }
    // For the multi-select open dialog; an empty list answers as a cancelled dialog.
    void setNextFiles(const QStringList& paths) { fileLists_.enqueue(paths); }
    void setNextDirectory(const QString& path) { directories_.enqueue(path); }
    // std::nullopt answers as a cancelled dialog.
    void setNextFont(const std::optional<FontDescription>& font) { fonts_.enqueue(font); }
    // For the print dialog: sets the printer up as the user would and returns true, or returns false
    // for a cancelled dialog. The double stays free of the print module; the test's function holds it.
    using PrinterSetup = std::function<bool(QPrinter&)>;
    void setNextPrinter(const PrinterSetup& setup) { printers_.enqueue(setup); }

    const QList<Shown>& shown() const { return shown_; }
    // The texts of everything shown, in order.
    QStringList texts() const;
    // What went wrong, each also failing the running test: questions asked without a prepared answer or
    // with a wrong one, answers never asked for.
    const QStringList& errors() const { return errors_; }
    // Answers prepared but never asked for.
    qsizetype unusedAnswers() const;
    bool infoVisible() const { return infoVisible_; }

    void information(const QString& text, const QString& caption) override;
    void warning(const QString& text, const QString& caption) override;
    void error(const QString& text, const QString& caption) override;
    Answer askYesNo(const QString& text, const QString& caption, QuestionLook look = QuestionLook::Question) override;
    Answer askYesNoCancel(const QString& text, const QString& caption) override;
    Answer askOkAbort(const QString& text, const QString& caption) override;
    QString openFileName(const QString& caption, const QString& startDir, const QString& filter) override;
    QStringList openFileNames(const QString& caption, const QString& startDir, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& startDir, const QString& filter) override;
    QString directory(const QString& caption, const QString& startDir) override;
    std::optional<FontDescription> font(const FontDescription& initial, const QString& caption) override;
    bool setupPrinter(QPrinter& printer, const QString& caption) override;
    void showInfo(const QString& text) override;
    void hideInfo() override;

private:
    void fail(const QString& message);
    template <typename T> T take(QQueue<T>& queue, const QString& what, T cancelled);

    Interaction* previous_ = nullptr;
    QList<Shown> shown_;
    QStringList errors_;
    QQueue<Answer> answers_;
    QQueue<QString> files_;
    QQueue<QStringList> fileLists_;
    QQueue<QString> directories_;
    QQueue<std::optional<FontDescription>> fonts_;
    QQueue<PrinterSetup> printers_;
    bool infoVisible_ = false;
};

} // namespace zep::test
