#include "serial/word_session.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "serial/serial_texts.h"
#include "serial/word_version.h"

namespace zep {
namespace {

const QString wordApplication = QStringLiteral("Word.Application");
const QString wordBasic = QStringLiteral("Word.Basic");
const QString wordWindow = QStringLiteral("Microsoft Word");

QVariantList fiveEmpty() {
    return {QString(), QString(), QString(), QString(), QString()};
}

} // namespace

WordSession::WordSession(Automation& automation, Interaction& interaction, const QString& dataFile)
    : automation_(automation), interaction_(interaction), dataFile_(dataFile) {}

WordSession::Outcome WordSession::start(const SerialLetterFile& letter, bool hasRecipients) {
    status(serial_texts::statusCheckingAddresses());
    if (!hasRecipients) {
        tell(serial_texts::noRecipients());
        return Outcome::Done;
    }
    status(serial_texts::statusWritingDataFile());
    if (!writeDataFile())
        return Outcome::Done;
    switch (wordPathFor(version_)) {
    case WordPath::None:
        tell(serial_texts::noWordVersion());
        return Outcome::Done;
    case WordPath::WordBasic:
        return startBasic(letter);
    case WordPath::WordApplication:
        startApplication(letter);
        return Outcome::Done;
    }
    return Outcome::Done;
}

void WordSession::startApplication(const SerialLetterFile& letter) {
    status(serial_texts::statusStartingWord());
    try {
        automation_.connect(wordApplication, Automation::Connect::RunningOrNew);
    } catch (const AutomationError&) {
        tell(serial_texts::cannotConnect());
        return;
    }
    status(serial_texts::statusCheckingVersion());
    status(serial_texts::statusLoadingLetter());
    try {
        automation_.call(QStringLiteral("Documents.Open"),
                         {letter.path, false, false, false, QString(), QString(), false, QString(), QString(), 0});
    } catch (const AutomationError&) {
        tell(serial_texts::letterNotLoaded());
        return;
    }
    status(serial_texts::statusLoadingDataFile());
    if (!attachApplicationData())
        return;
    try {
        automation_.setProperty(QStringLiteral("Visible"), true);
        automation_.call(QStringLiteral("Activate"), {});
    } catch (const AutomationError&) {
        automation_.disconnect();
        tell(serial_texts::connectionLost());
        return;
    }
    status(serial_texts::statusDone());
}

bool WordSession::attachApplicationData() {
    try {
        automation_.setProperty(QStringLiteral("ActiveDocument.MailMerge.MainDocumentType"), 0);
        automation_.call(QStringLiteral("ActiveDocument.MailMerge.OpenDataSource"),
                         QVariantList{dataFile_, 0, false, true, false, false, QString(), QString(), false} +
                             fiveEmpty());
        return true;
    } catch (const AutomationError&) {
        tell(serial_texts::dataNotLoaded());
        return false;
    }
}

WordSession::Outcome WordSession::startBasic(const SerialLetterFile& letter) {
    status(serial_texts::statusStartingWord());
    try {
        automation_.connect(wordBasic, Automation::Connect::New);
        automation_.call(QStringLiteral("AnwVerbergen"), {wordWindow});
    } catch (const AutomationError&) {
        tell(serial_texts::cannotConnect());
        return Outcome::Done;
    }
    try {
        automation_.call(QStringLiteral("AnwInfo"), {16});
    } catch (const AutomationError&) {
        tell(serial_texts::germanWordOnly());
        return Outcome::CloseWindow;
    }
    if (openBasicLetterAndData(letter))
        status(serial_texts::statusDone());
    try {
        automation_.call(QStringLiteral("AnwAnzeigen"), {wordWindow});
    } catch (const AutomationError&) {
        tell(serial_texts::connectionLost());
    }
    return Outcome::Done;
}

bool WordSession::openBasicLetterAndData(const SerialLetterFile& letter) {
    status(serial_texts::statusLoadingLetter());
    try {
        automation_.call(QStringLiteral("DateiÖffnen"), {letter.shortPath});
    } catch (const AutomationError&) {
        tell(serial_texts::letterNotLoaded());
        return false;
    }
    status(serial_texts::statusLoadingDataFile());
    return attachBasicData();
}

bool WordSession::attachBasicData() {
    try {
        automation_.call(QStringLiteral("SeriendruckHauptdokumentArt"), {0});
        automation_.call(QStringLiteral("SeriendruckÖffnenDatenquelle"),
                         QVariantList{dataFile_, 0, 0, 1, 0, QString(), QString(), 0} + fiveEmpty());
        return true;
    } catch (const AutomationError&) {
        tell(serial_texts::dataNotLoaded());
        return false;
    }
}

void WordSession::refresh() {
    byPath(&WordSession::refreshBasic, &WordSession::refreshApplication);
}

void WordSession::end() {
    byPath(&WordSession::endBasic, &WordSession::endApplication);
}

void WordSession::byPath(void (WordSession::*basic)(), void (WordSession::*application)()) {
    switch (wordPathFor(version_)) {
    case WordPath::None:
        tell(serial_texts::noWordVersion());
        break;
    case WordPath::WordBasic:
        (this->*basic)();
        break;
    case WordPath::WordApplication:
        (this->*application)();
        break;
    }
}

void WordSession::refreshApplication() {
    if (applicationConnected())
        rewriteAndAttach(true);
}

void WordSession::refreshBasic() {
    rewriteAndAttach(false);
}

// Each step runs also after an earlier one failed, as the user may still want the rest; success is
// reported only when every step succeeded.
void WordSession::rewriteAndAttach(bool application) {
    status(serial_texts::statusWritingDataFile());
    bool succeeded = writeDataFile();
    status(serial_texts::statusLoadingDataFile());
    succeeded = (application ? attachApplicationData() : attachBasicData()) && succeeded;
    try {
        if (application)
            automation_.call(QStringLiteral("Activate"), {});
        else
            automation_.call(QStringLiteral("AnwAktivieren"), {QString(), 1});
    } catch (const AutomationError&) {
        if (application)
            automation_.disconnect();
        tell(serial_texts::connectionLost());
        succeeded = false;
    }
    if (succeeded)
        status(serial_texts::statusDone());
}

void WordSession::endApplication() {
    if (!applicationConnected())
        return;
    status(serial_texts::statusEndingWord());
    auto lose = [this] {
        automation_.disconnect();
        tell(serial_texts::connectionLost());
    };
    try {
        automation_.call(QStringLiteral("Activate"), {});
    } catch (const AutomationError&) {
        lose();
        return;
    }
    try {
        automation_.call(QStringLiteral("Quit"), {-2, 0, 0});
    } catch (const AutomationError&) {
        // Still connected: the user cancelled the question about unsaved changes, the word processor
        // runs on with the letter and stays in reach. Nothing ended, so nothing is called a success.
        if (!automation_.isConnected())
            lose();
        return;
    }
    automation_.disconnect();
    status(serial_texts::statusDone());
}

void WordSession::closeBasicWord() {
    automation_.call(QStringLiteral("AnwAktivieren"), {QString(), 1});
    automation_.call(QStringLiteral("AnwSchließen"), {wordWindow});
}

void WordSession::endBasic() {
    status(serial_texts::statusEndingWord());
    try {
        closeBasicWord();
    } catch (const AutomationError&) {
        automation_.disconnect();
        tell(serial_texts::connectionLost());
        return;
    }
    automation_.disconnect();
    status(serial_texts::statusDone());
}

void WordSession::close() {
    if (wordPathFor(version_) != WordPath::WordBasic)
        return;
    try {
        closeBasicWord();
    } catch (const AutomationError&) {
    }
    automation_.disconnect();
}

// The version read is the cheapest call that needs the word processor to answer.
bool WordSession::applicationConnected() {
    try {
        if (automation_.isConnected()) {
            automation_.property(QStringLiteral("Version"));
            return true;
        }
    } catch (const AutomationError&) {
    }
    automation_.disconnect();
    tell(serial_texts::connectionLost());
    return false;
}

void WordSession::status(const QString& text) {
    if (showStatus)
        showStatus(text);
}

void WordSession::tell(const QString& text) {
    interaction_.information(text, ApplicationName.toString());
}

} // namespace zep
