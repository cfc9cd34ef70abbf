#pragma once

#include "documents/application_choice.h"

#include <QDialog>
#include <QList>

#include <optional>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace zep {

struct DesktopApplication;

// "Öffnen mit": nothing on the desktop opens the document, so the user picks one of the installed
// applications that declare its type, or another program ("Andere Anwendung..."), and may have the
// choice remembered in the register for the document's extension.
class ApplicationChoiceDialog : public QDialog {
    Q_OBJECT
public:
    ApplicationChoiceDialog(const QString& documentPath, const QString& extension,
                            const QList<DesktopApplication>& applications, QWidget* parent = nullptr);

    // The choice after "Öffnen"; none when the dialog was aborted.
    static std::optional<ApplicationChoice> choose(const QString& documentPath, const QString& extension,
                                                   const QList<DesktopApplication>& applications, QWidget* parent);

private:
    void addChoice(const ApplicationChoice& choice, const QString& icon);
    void BtnAndereClick();
    std::optional<ApplicationChoice> chosen() const;

    QListWidget* LV_Anw = nullptr;
    QCheckBox* CB_Merken = nullptr;
    QPushButton* BtnOK = nullptr;
};

} // namespace zep
