#pragma once
#include "platform/ui/Event.h"

#include "platform/data/DataSet.h"

#include <QObject>
#include <QPointer>

namespace plat {

// The link between a dataset and the controls that show it: it relays the dataset's
// notifications, runs the class library's state-change and data-change events, and puts
// the dataset in edit state when a control starts a change (AutoEdit).
class DataSource : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Tag READ tag WRITE setTag)
    Q_PROPERTY(bool AutoEdit READ autoEdit WRITE setAutoEdit)
    Q_PROPERTY(bool Enabled READ enabled WRITE setEnabled)
public:
    explicit DataSource(QObject *parent = nullptr);
    ~DataSource() override;

    DataSet *dataSet() const { return dataSet_; }
    void setDataSet(DataSet *dataSet);
    // The dataset of a component (Table1, Query1).
    void setDataSet(class DataSetComponent *component);
    void setDataSet(std::nullptr_t) { setDataSet(static_cast<DataSet *>(nullptr)); }
    DataSetState state() const;
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    bool autoEdit() const { return autoEdit_; }
    void setAutoEdit(bool on) { autoEdit_ = on; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);

    // Whether the controls may change the current record; in browse state with AutoEdit
    // this puts the dataset in edit state first.
    bool Edit();
    // Asks every control to write the text it holds into its field (before a post from
    // code while a control still has the focus); false when a field refused a control's
    // text (the control said so and keeps it).
    bool UpdateRecord();
    // A control tells that its field refused its text.
    void refuseUpdate() { updateRefused_ = true; }

    NotifyEvent OnStateChange;
    Event<void(QObject *Sender, Field *Field)> OnDataChange;
    NotifyEvent OnUpdateData;

signals:
    void dataSetReplaced();   // another dataset, or the dataset opened, closed or freed
    void rowsChanged();       // the rows as a whole changed
    void recordChanged();     // the current record moved or was re-read
    void fieldChanged(plat::Field *field);
    void stateChanged();
    void fieldsMoved();       // a field changed its position among the dataset's fields
    void updateRecordRequested();

private:
    void attach();
    QPointer<DataSetNotifier> notifier_;
    DataSet *dataSet_ = nullptr;
    int tag_ = 0;
    bool autoEdit_ = true;
    bool enabled_ = true;
    bool updateRefused_ = false;
};

// What a data-aware control is bound to: a data source and a field name.
class FieldLink : public QObject
{
    Q_OBJECT
public:
    explicit FieldLink(QObject *parent) : QObject(parent) {}
    DataSource *dataSource() const { return source_; }
    void setDataSource(DataSource *source);
    QString fieldName() const { return fieldName_; }
    void setFieldName(const QString &name);
    // The bound field of the open dataset; nullptr when there is none.
    Field *field() const;
    bool canModify() const;
    // Puts the dataset in edit state (AutoEdit); false when the record cannot change.
    bool edit();
    bool editing() const;
    // The control's text was refused by its field.
    void refuseUpdate()
    {
        if (source_)
            source_->refuseUpdate();
    }

signals:
    void refresh();        // the control shows the field's value again
    void updateData();     // the control writes its pending text

private:
    QPointer<DataSource> source_;
    QString fieldName_;
};

} // namespace plat
