#pragma once
#include "platform/base/InterfacesComunes.h"
#include "platform/base/TipoCampo.h"
#include "platform/data/engine/Schema.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class QIODevice;

namespace plat {

class DataSet;

// The type names the program writes in definition and option texts ("ftString", ...).
QString fieldTypeName(TFieldType type);
TFieldType fieldTypeFromName(const QString &name);   // ftUnknown when not a type name

enum class FieldKind { Data, Calculated, Lookup };

// A column definition (the engine's schema type) in one call.
FieldDef fieldDef(const QString &name, TFieldType type, int size = 0, bool required = false);

// One field of a dataset: a view on one value of the dataset's current record buffer.
// Field objects live as long as their dataset; a dataset that is closed and reopened keeps
// the objects of the columns it still has (with their display settings).
class Field : public InterfazCampo
{
public:
    Field(DataSet &dataSet, const FieldDef &def, FieldKind kind);

    // As the common routines see a field (AnchoPorDefectoCampo).
    TFieldType tipoDato() const override { return def_.type; }
    int anchoPorDefecto() const override { return effectiveDisplayWidth(); }

    DataSet &dataSet() const { return dataSet_; }
    const QString &fieldName() const { return def_.name; }
    TFieldType dataType() const { return def_.type; }
    QString dataTypeName() const { return fieldTypeName(def_.type); }
    int size() const { return def_.size; }
    int precision() const { return def_.precision; }
    int scale() const { return def_.scale; }          // decimals of a BCD field
    const FieldDef &definition() const { return def_; }
    FieldKind fieldKind() const { return kind_; }
    bool isCalculated() const { return kind_ != FieldKind::Data; }
    int index() const { return index_; }             // position among the dataset's fields
    // Moves the field to a position among its dataset's fields (clamped); the fields between
    // shift by one, the rows and the current record are untouched.
    void setIndex(int index);
    bool isBlob() const;
    bool isNumeric() const;
    bool isDateTime() const;

    // Values. Reading a null gives the type's empty value ('' / 0 / false / invalid date).
    QVariant value() const;
    void setValue(const QVariant &value);
    bool isNull() const;
    void clear();
    QString asString() const;
    void setAsString(const QString &text);
    qint64 asInteger() const;
    void setAsInteger(qint64 value);
    double asFloat() const;
    void setAsFloat(double value);
    QDateTime asDateTime() const;
    void setAsDateTime(const QDateTime &value);
    bool asBoolean() const;
    void setAsBoolean(bool value);
    QByteArray asBytes() const;
    void setAsBytes(const QByteArray &bytes);
    QVariant oldValue() const;    // the value before the current edit

    // Texts: `text()` is the edit text, `displayText()` the shown one; both pass through
    // OnGetText when it is assigned. `setText` passes through OnSetText when assigned.
    QString text() const;
    QString displayText() const;
    void setText(const QString &text);
    QString editText() const { return text(); }
    void setEditText(const QString &text) { setText(text); }
    // The formatted text of any value of this field (without OnGetText, which reads the
    // current record: `DataSet::rowDisplayTexts` runs it row by row).
    QString displayTextOf(const QVariant &value) const;

    // Blobs from and to files and streams.
    void loadFromFile(const QString &fileName);
    void saveToFile(const QString &fileName) const;
    void loadFromStream(QIODevice &stream);
    void saveToStream(QIODevice &stream) const;

    // Presentation settings.
    QString displayFormat;
    QString editFormat;
    QString editMask;
    int displayWidth = 0;    // characters; 0 = from the size and type
    QString displayLabel;    // empty = the field name
    bool visible = true;
    bool readOnly = false;
    bool required = false;
    int tag = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
    QString label() const { return displayLabel.isEmpty() ? def_.name : displayLabel; }
    int effectiveDisplayWidth() const;

    // Look-up fields: the value of `lookupResultField` of the record of `lookupDataSet`
    // whose `lookupKeyFields` equal this dataset's `keyFields` (";"-separated lists).
    DataSet *lookupDataSet = nullptr;
    QString lookupKeyFields;
    QString lookupResultField;
    QString keyFields;

    std::function<void(Field &sender, QString &text, bool displayText)> OnGetText;
    std::function<void(Field &sender, const QString &text)> OnSetText;
    std::function<void(Field &sender)> OnChange;
    std::function<void(Field &sender)> OnValidate;

    // Converts a value to this field's type, raising the engine's conversion texts.
    QVariant convert(const QVariant &value) const;
    // A text value of a text field, cut to its declared size: `convert` of a QString there.
    QString fitText(QString text) const;
    QString plainText(const QVariant &value) const;

private:
    friend class DataSet;
    QString formattedText(const QVariant &value, bool display) const;

    DataSet &dataSet_;
    FieldDef def_;
    FieldKind kind_;
    int index_ = -1;
    int column_ = -1;   // position in the source's rows; -1 for calculated and look-up fields
};

} // namespace plat

Q_DECLARE_METATYPE(plat::Field *)
