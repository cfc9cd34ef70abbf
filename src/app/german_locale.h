#pragma once

namespace zep {

// Makes the program speak German whatever the system's locale (also under "C.UTF-8"): QLocale's
// default, which dates, numbers and the widgets follow, becomes German (Germany), and Qt's own
// texts (dialog buttons, the file dialog) are translated. Call once the application object exists.
// False when Qt's German texts are not installed; the locale is German then all the same.
bool speakGerman();

} // namespace zep
