#pragma once

#include "serial/automation.h"

#include <QString>

#include <functional>

namespace zep {

class Interaction;

// The letter as the word processor opens it: its full path, and the short form the old basic
// commands take.
struct SerialLetterFile {
    QString path;
    QString shortPath;
};

// Drives the word processor for one serial letter: starts it with the letter and the data file,
// attaches the data file again, ends it. The version chooses the call sequence (see wordPathFor).
// Every failure is told through the interaction; the word processor stays as the failure left it.
class WordSession {
public:
    WordSession(Automation& automation, Interaction& interaction, const QString& dataFile);

    // The status texts of the window.
    std::function<void(const QString&)> showStatus;
    // Writes the data file; false after the failure was told.
    std::function<bool()> writeDataFile;

    void setVersion(int version) { version_ = version; }
    int version() const { return version_; }

    enum class Outcome { Done, CloseWindow };
    // "Starten". CloseWindow when the word processor speaks another language (the window then closes).
    Outcome start(const SerialLetterFile& letter, bool hasRecipients);
    // "Adressen aktualisieren".
    void refresh();
    // "Beenden".
    void end();
    // The window closes: the old basic path ends the word processor, ignoring every failure.
    void close();

private:
    bool applicationConnected();
    void startApplication(const SerialLetterFile& letter);
    Outcome startBasic(const SerialLetterFile& letter);
    bool openBasicLetterAndData(const SerialLetterFile& letter);
    bool attachApplicationData();
    bool attachBasicData();
    void byPath(void (WordSession::*basic)(), void (WordSession::*application)());
    void refreshApplication();
    void refreshBasic();
    void rewriteAndAttach(bool application);
    void endApplication();
    void endBasic();
    void closeBasicWord();
    void status(const QString& text);
    void tell(const QString& text);

    Automation& automation_;
    Interaction& interaction_;
    QString dataFile_;
    int version_ = 0;
};

} // namespace zep
