#pragma once

namespace zep {

class MainWindow;

// Shows the address form TB01 for the selected address (edit) or for a new one below the selected
// node, with the main window disabled until the form is closed.
void EditAddress(MainWindow& window, bool edit);

} // namespace zep
