#pragma once

namespace zep {

class MainWindow;

// Open a print dialog with its preview, the main window disabled, and return when it is hidden.
void PrintAddresses(MainWindow& window);
void PrintEnvelope(MainWindow& window);

} // namespace zep
