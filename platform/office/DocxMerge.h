#pragma once
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

namespace plat::office {

// How a line break in a value is written: a break inside the paragraph (<w:br/>), or the end
// of the paragraph, the rest going on in a new one with the same paragraph and run properties.
enum class LineBreaks { Break, Paragraph };

// The values of a Word merge: field markers "$name$" (name in any case) take their value;
// a table row holding "$Linea.field$" markers is repeated once per line of values.
struct MergeValues
{
    QMap<QString, QString> fields;          // keys upper-cased by add()
    QList<QMap<QString, QString>> lines;    // each line's fields, keys upper-cased
    LineBreaks breaks = LineBreaks::Break;

    void add(const QString &name, const QString &value) { fields.insert(name.toUpper(), value); }
};

// Merges the values into one WordprocessingML part (document, header or footer XML).
// Markers are found across text runs; values are written as text (escaped by the XML writer),
// their line breaks as `breaks` says. A row with "$Linea." markers and no lines is removed.
// Answers false (and leaves the text) when the part is not well-formed XML.
bool mergeWordXml(QByteArray &xml, const MergeValues &values);

// Merges the values into every document, header and footer part of a .docx file, rewriting
// it in place. Answers an empty text on success, else the reason.
QString mergeDocx(const QString &path, const MergeValues &values);
// The same with several sets of values merged one after the other, each over the result of
// the one before (a value may hold a marker that a later set replaces).
QString mergeDocx(const QString &path, const QList<MergeValues> &steps);

} // namespace plat::office
