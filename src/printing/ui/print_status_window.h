#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace zep {

// Shown while a print job is made: the printer, the page, and a button that aborts the job.
class PrintStatusWindow : public QWidget {
    Q_OBJECT
public:
    explicit PrintStatusWindow(QWidget* parent = nullptr);

    void setPrinterName(const QString& name);
    // "Seite " and the number; a number of 0 hides the line.
    void setPage(int page);
    bool aborted() const { return aborted_; }

    QLabel* DruckLbl = nullptr;
    QLabel* SeiteLbl = nullptr;
    QPushButton* BitBtn11 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BitBtn11Click();

    bool aborted_ = false;
};

} // namespace zep
