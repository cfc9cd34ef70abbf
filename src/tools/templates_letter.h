#pragma once

#include <QByteArray>

namespace zep {

// The letter templates a fresh installation offers: a simple German business letter with
// placeholder lines for the sender, the recipient's address, the date and the subject.

// Plain text, UTF-8 (what text editors on the desktop expect), LF line ends.
QByteArray plainLetterTemplate();

// An OpenDocument text (ODF 1.2) with its page layout and paragraph styles.
QByteArray odfLetterTemplate();

} // namespace zep
