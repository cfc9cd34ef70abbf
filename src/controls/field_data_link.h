#pragma once

#include "data/data_source.h"
#include "data/field.h"

#include <QObject>
#include <QPointer>
#include <functional>

namespace zep {

// Binds a control to one field of a data source's current record. The control shows the field on
// every dataChanged(); a change by the user goes through edit(), which puts the data set into edit
// state, and reaches the record by updateRecord(): when the control is left, and before every post of
// the data set, whoever posts. Errors are EngineError with a German message naming the field.
class FieldDataLink : public QObject {
    Q_OBJECT
public:
    explicit FieldDataLink(QObject* parent = nullptr);

    DataSource* dataSource() const { return source_; }
    void setDataSource(DataSource* source);
    const QString& fieldName() const { return fieldName_; }
    void setFieldName(const QString& fieldName);
    // The name the user knows the field by (the control's label); the field name when not set.
    QString caption() const;
    void setCaption(const QString& caption) { caption_ = caption; }
    // What the control holds, read when it is written into the record.
    void setControlValue(std::function<QVariant()> controlValue) { controlValue_ = std::move(controlValue); }

    DataSet* dataSet() const;
    // The field takes values: active, stored and no auto-increment number.
    bool canModify() const;
    // Characters a text field holds; 0 when unlimited or not a text field.
    int maxLength() const;
    // The field of the current record; null without one.
    QVariant value() const;
    QString text() const { return valueText(value()); }
    // The field holds this value, read in the field's kind ("1" equals a stored 1); false for null.
    bool holds(const QVariant& value) const;

    // The user changed the control: the data set goes into edit state; the control keeps what it holds.
    void edit();
    // Writes what the control holds when the user changed it. A text that is no value of the field
    // (a date not in the form TT.MM.JJJJ, a number) stays in the control and raises the message.
    void updateRecord();
    // Shows the field again, dropping the user's change.
    void reset();

signals:
    void dataChanged(); // the control shows value() again
    // A post was refused because the control holds no value of its field.
    void updateRefused(const QString& message);

private:
    int fieldPosition() const;
    const FieldDef* field() const;
    void recordChanged();
    void fieldChanged(int position);
    void writeBeforePost();
    QString valueError(const QVariant& value) const;

    QPointer<DataSource> source_;
    QString fieldName_;
    QString caption_;
    std::function<QVariant()> controlValue_;
    bool modified_ = false;
    bool editing_ = false; // inside edit(): the record read again must not overwrite the user's change
};

} // namespace zep
