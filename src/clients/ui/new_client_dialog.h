#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace zep {

class ClientCreation;

// Creating a client (TW_MandNeu): its name, the directory it goes into, and the resulting client
// directory. Confirming creates and registers the client through ClientCreation.
class NewClientDialog : public QDialog {
    Q_OBJECT

public:
    NewClientDialog(const ClientCreation& creation, const QString& parentDirectory, QWidget* parent = nullptr);

    QString clientName() const;

private:
    void buildControls();
    void EditChange();
    void BtnVerzClick();
    void BtnOKClick();

    const ClientCreation& creation_;
    QLineEdit* editMand_ = nullptr;
    QLineEdit* editVerz_ = nullptr;
    QLineEdit* editMandPath_ = nullptr;
    QPushButton* btnVerz_ = nullptr;
    QPushButton* btnOK_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
};

// Shows the dialog modally; the name entered when it was confirmed, else "".
QString NewClient(const ClientCreation& creation, const QString& parentDirectory, QWidget* parent = nullptr);

} // namespace zep
