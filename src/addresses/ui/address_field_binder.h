#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <map>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace zep {

class DataSource;
class Table;

// Binds the address form's controls to fields of a table: each shows its field of the current
// record, and typing in it puts the table into edit state and assigns the text.
class AddressFieldBinder : public QObject {
    Q_OBJECT
public:
    AddressFieldBinder(Table& table, DataSource& source, QObject* parent = nullptr);

    void bind(QLineEdit* edit, const QString& field);
    void bind(QPlainTextEdit* memo, const QString& field);
    void bind(QComboBox* box, const QString& field);
    // Ticked shows and stores checkedValue; unticking stores uncheckedValue.
    void bind(QCheckBox* box, const QString& field, const QVariant& checkedValue, const QVariant& uncheckedValue);

    // Shows the current record in every control.
    void refresh();

    // Run after every refresh and every assignment (labels that follow a field).
    std::function<void()> afterChange;

    // The message for a control whose text is not (yet) a value of its field, or empty when every
    // control's text has reached the record. Saving must not go on while one is pending.
    QString pendingError() const;

private:
    struct Binding {
        QWidget* control;
        QString field;
        std::function<void(const QVariant&)> show; // the field's value
    };

    void add(QWidget* control, const QString& field, std::function<void(const QVariant&)> show);
    void assign(QWidget* control, const QString& field, const QVariant& value);
    void refreshField(int position);
    void show(const Binding& binding);

    Table& table_;
    std::vector<Binding> bindings_;
    QWidget* assigning_ = nullptr;       // the control being typed in keeps its text
    std::map<QString, QString> pending_; // field -> message of the text it could not take
};

} // namespace zep
