#pragma once

#include <QString>

namespace zep {

class Associations;

// First filling of the application register "Programm.DB" in the installation's "General" directory:
// when the register holds no record, one record per common office extension that the desktop can
// open (the desktop entry, name and icon from the associations). A register with records is left alone, and
// so is the register when nothing is registered on the desktop. False when the table engine failed;
// records posted before the failure stay, each post being complete on its own.
bool START_01(const QString& generalDir, const Associations& associations);

} // namespace zep
