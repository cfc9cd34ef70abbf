#pragma once

#include <QString>

namespace zep {

// The serial-letter window's messages and status texts.
namespace serial_texts {

QString windowCaption();
QString branchDialogCaption();
QString askRemoveMarked();
QString askRemoveAll();
QString dataFileFailed();
QString noRecipients();
QString noWordVersion();
QString cannotConnect();
QString letterNotLoaded();
QString dataNotLoaded();
QString germanWordOnly();
QString connectionLost();

QString statusCheckingAddresses();
QString statusWritingDataFile();
QString statusStartingWord();
QString statusCheckingVersion();
QString statusLoadingLetter();
QString statusLoadingDataFile();
QString statusEndingWord();
QString statusDone();

} // namespace serial_texts
} // namespace zep
