#pragma once
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"
#include "platform/ui/data/DataSource.h"

#include <QList>
#include <QToolButton>
#include <QVariantList>

// The data-aware controls: each shows one field of the current record of its data source
// (DataSource + DataField), through the field's get-text hook, and writes what the user
// changes through its set-text hook, putting the dataset in edit state first (AutoEdit).
// What is typed reaches the field as it is typed when it converts, and on leaving the
// control (or DataSource::UpdateRecord) in any case, where a conversion error is reported.
#define PLAT_DATA_PROPERTIES                                                        \
    Q_PROPERTY(QString DataField READ dataField WRITE setDataField)                \
    Q_PROPERTY(QObject *DataSource READ dataSourceObject WRITE setDataSourceObject)

namespace plat {

// The binding every data-aware control has.
class DataBound
{
public:
    explicit DataBound(QObject *owner);
    virtual ~DataBound() = default;
    plat::DataSource *dataSource() const { return link_->dataSource(); }
    void setDataSource(plat::DataSource *source) { link_->setDataSource(source); }
    QObject *dataSourceObject() const { return link_->dataSource(); }
    void setDataSourceObject(QObject *source) { link_->setDataSource(qobject_cast<plat::DataSource *>(source)); }
    QString dataField() const { return link_->fieldName(); }
    void setDataField(const QString &name) { link_->setFieldName(name); }
    Field *field() const { return link_->field(); }

protected:
    // Typed text reaches the field at once when it converts (a half-typed value waits);
    // answers false when the dataset cannot be edited, so the control shows the field again.
    bool takeTyped(QWidget *control, const QString &text);
    enum class Typed { Nothing, Written, Refused };
    // Writes what was typed for good. A text the field refuses is reported (leaving the
    // control again with the same text says nothing more) and stays pending, to be typed
    // again; the data source hears of it while it updates the record.
    Typed writeTyped(QWidget *control, const QString &text, bool leaving = false);

    FieldLink *link_;
    bool showing_ = false;   // the control is being filled from the field
    bool pending_ = false;   // typed text not yet written for good
    QString refused_;        // the last text the field refused, kept on screen
    QVariant refusedOver_;   // the field's value when it refused it
    // Whether the control still shows a refused text over the value that refused it (a
    // change of the field from elsewhere shows the field again).
    bool showsRefused(const QString &shown) const;
};

class DBEdit : public Edit, public DataBound
{
    Q_OBJECT
    PLAT_DATA_PROPERTIES
public:
    explicit DBEdit(QWidget *parent = nullptr);
    // Read-only when set so or when its field cannot be modified.
    void setReadOnly(bool readOnly) override;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // On an integer field only digits and a sign are typed; other characters are refused.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showField();
    // A value the record brings to the focused edit (another record, a code proposed for a
    // new one) is shown selected, so that what the user types replaces it instead of
    // joining it; the echo of what the user types is not.
    void showRecordValue();
    void typed();
    // Writes what was typed; a refused text stays, selected, with the focus back here.
    Typed writeField(bool leaving = false);
    bool readOnly_ = false;
    bool typing_ = false;
};

class DBMemo : public Memo, public DataBound
{
    Q_OBJECT
    PLAT_DATA_PROPERTIES
public:
    explicit DBMemo(QWidget *parent = nullptr);
    // Read-only when set so or when its field cannot be modified.
    void setReadOnly(bool readOnly);

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showField();
    void writeField();
    bool readOnly_ = false;
};

// Checked when the field's text equals ValueChecked (or, for a boolean field, when true).
// Either value may list several texts separated by ";"; the first is the one written.
class DBCheckBox : public CheckBox, public DataBound
{
    Q_OBJECT
    PLAT_DATA_PROPERTIES
    Q_PROPERTY(QString ValueChecked READ valueChecked WRITE setValueChecked)
    Q_PROPERTY(QString ValueUnchecked READ valueUnchecked WRITE setValueUnchecked)
public:
    explicit DBCheckBox(QWidget *parent = nullptr);
    QString valueChecked() const { return valueChecked_; }
    void setValueChecked(const QString &v) { valueChecked_ = v; showField(); }
    QString valueUnchecked() const { return valueUnchecked_; }
    void setValueUnchecked(const QString &v) { valueUnchecked_ = v; showField(); }

private:
    void showField();
    void toggledByUser(bool checked);
    QString valueChecked_ = QStringLiteral("True");
    QString valueUnchecked_ = QStringLiteral("False");
};

// A combo box whose text is the field's text (items are suggestions or, as a drop-down
// list, the only choices).
class DBComboBox : public ComboBox, public DataBound
{
    Q_OBJECT
    PLAT_DATA_PROPERTIES
public:
    explicit DBComboBox(QWidget *parent = nullptr);

private:
    void showField();
    void chosen();
};

// Shows the ListField of the record of the list dataset whose KeyField equals the field's
// value; choosing an entry writes that record's key into the field.
class DBLookupComboBox : public ComboBox, public DataBound
{
    Q_OBJECT
    PLAT_DATA_PROPERTIES
public:
    explicit DBLookupComboBox(QWidget *parent = nullptr);
    plat::DataSource *listSource() const { return listSource_; }
    void setListSource(plat::DataSource *source);
    QString keyField() const { return keyField_; }
    void setKeyField(const QString &name) { keyField_ = name; reloadList(); }
    QString listField() const { return listField_; }
    void setListField(const QString &name) { listField_ = name; reloadList(); }
    QVariant keyValue() const;
    void reloadList();
    void showPopup() override;

private:
    void showField();
    void chosen(int index);
    QPointer<plat::DataSource> listSource_;
    QString keyField_;
    QString listField_;
    QVariantList keys_;
};

// A picture held in a blob field.
class DBImage : public Image, public DataBound
{
    Q_OBJECT
    PLAT_DATA_PROPERTIES
public:
    explicit DBImage(QWidget *parent = nullptr);

private:
    void showField();
};

// A label with the field's display text.
class DBText : public Label, public DataBound
{
    Q_OBJECT
    PLAT_DATA_PROPERTIES
public:
    explicit DBText(QWidget *parent = nullptr);

private:
    void showField();
};

enum NavigateButton { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };

// The row of buttons that moves through and edits the records of a data source. Each
// button runs BeforeAction, the action, then OnClick; Hints holds one hint per button.
class DBNavigator : public QWidget, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
public:
    explicit DBNavigator(QWidget *parent = nullptr);
    plat::DataSource *dataSource() const { return source_; }
    void setDataSource(plat::DataSource *source);
    void setVisibleButtons(const QList<NavigateButton> &buttons);
    QStringList hints() const;
    void setHints(const QStringList &hints);
    QToolButton *button(NavigateButton which) const { return buttons_.value(which); }
    void BtnClick(NavigateButton which);

    Event<void(QObject *Sender, NavigateButton Button)> BeforeAction;
    Event<void(QObject *Sender, NavigateButton Button)> OnNavigate;   // the class library's OnClick

private:
    void updateButtons();
    QPointer<plat::DataSource> source_;
    QList<QToolButton *> buttons_;
};

} // namespace plat
