#pragma once

#include "app/interaction.h"

#include <functional>
#include <utility>

namespace zep::bench {

// For programs run by hand: messages go to the given sink; every question is answered as cancelled.
class CancellingInteraction : public Interaction {
public:
    using Sink = std::function<void(const QString& text)>;
    explicit CancellingInteraction(Sink sink) : sink_(std::move(sink)) {}

    void information(const QString& text, const QString&) override { sink_(text); }
    void warning(const QString& text, const QString&) override { sink_(text); }
    void error(const QString& text, const QString&) override { sink_(text); }
    Answer askYesNo(const QString&, const QString&, QuestionLook) override { return Answer::No; }
    Answer askYesNoCancel(const QString&, const QString&) override { return Answer::Cancel; }
    Answer askOkAbort(const QString&, const QString&) override { return Answer::Abort; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QStringList openFileNames(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString directory(const QString&, const QString&) override { return {}; }
    std::optional<FontDescription> font(const FontDescription&, const QString&) override { return std::nullopt; }
    bool setupPrinter(QPrinter&, const QString&) override { return false; }
    void showInfo(const QString&) override {}
    void hideInfo() override {}

private:
    Sink sink_;
};

} // namespace zep::bench
