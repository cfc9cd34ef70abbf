#pragma once

#include "app/interaction.h"

#include <QPointer>

class QLabel;
class QWidget;

namespace zep {

// The desktop side of the interaction seam: Qt's standard dialogs, parented to the active window.
class QtInteraction : public Interaction {
public:
    QtInteraction();
    ~QtInteraction() override;

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
    QPointer<QWidget> infoWindow_;
    QLabel* infoLabel_ = nullptr;
};

} // namespace zep
