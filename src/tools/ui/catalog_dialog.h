#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace zep {

// The catalog window (TKatalog1): adds and removes lines of one catalog. However it is closed
// (OK, Esc, the window's close button) it saves the lines; when saving fails it says so and stays
// open, so nothing typed is lost.
class CatalogDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int HelpTopic = 100;

    CatalogDialog(int number, const QString& generalDir, QWidget* parent = nullptr);

    // Reads the catalog into the list; false, after telling the user, when the file cannot be read.
    // A window whose catalog could not be read must not be shown: closing it would overwrite the file.
    bool load();
    const QStringList& lines() const { return lines_; }

    void done(int result) override;

signals:
    void helpRequested(int topic);

private:
    void buildControls();
    void showLines(int selectRow);
    void Button1Click();
    void Button2Click();

    int number_;
    QString generalDir_;
    QStringList lines_; // always sorted as the file stores them
    QListWidget* LB = nullptr;
    QLineEdit* Edit1 = nullptr;
};

// Shows the catalog window modally for that catalog of the installation.
void EditCatalog(int number, QWidget* parent);

// The catalog a menu item of the main window edits, by the item's object name; 0 for none.
int catalogOfMenuItem(QStringView itemName);

} // namespace zep
