#pragma once

#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

namespace zep {

class PrintStatusWindow;

// A print job titled "ZEP-Druckauftrag" with its status window. The pages are composed first, while
// the status window counts them and its button may abort; only a job composed to its end is painted.
// A PDF file is written under a temporary name and takes its own name only when complete, so an
// aborted or failed job leaves no partial file behind (and keeps an older file of that name). A CUPS
// queue cannot take back what it was handed, so there the button is disabled once painting begins.
class PrintJob {
public:
    enum class Result { Printed, Aborted, Failed };

    // countsPages: the status window shows "Seite" and the page number; else that line is hidden.
    PrintJob(QPrinter& printer, bool countsPages, QWidget* parent);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // Lets the status window's button be served while pages are composed; shows the page number;
    // true when aborted.
    bool stopRequested(int page);
    // Paints the pages 0 .. count-1 onto the printer; failures are shown to the user.
    Result print(int pageCount, const std::function<void(QPainter&, int page)>& paintPage);
    PrintStatusWindow& status() { return *status_; }

private:
    bool abortRequested();
    Result paintAll(int pageCount, const std::function<void(QPainter&, int page)>& paintPage);

    QPrinter& printer_;
    bool countsPages_;
    std::unique_ptr<PrintStatusWindow> status_;
};

// The job's name in the print queue.
inline constexpr char16_t PrintJobName[] = u"ZEP-Druckauftrag";

} // namespace zep
