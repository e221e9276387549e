#include "platform/office/DocxMerge.h"

#include "platform/office/ArchivoZip.h"

#include <QDomDocument>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>
#include <functional>
#include <optional>

namespace plat::office {
namespace {

using Lookup = std::function<std::optional<QString>(const QString &upperName)>;

const QString kText = QStringLiteral("w:t");
const QString kParagraph = QStringLiteral("w:p");
const QString kRow = QStringLiteral("w:tr");
const QString kLinePrefix = QStringLiteral("LINEA.");

// The DOM of this Qt drops text nodes made only of blanks, and a run's " " is content. The
// blanks of such a run travel as private-use characters (U+E000 + the character) and come back
// on writing; blanks between tags are layout and may go.
constexpr char16_t kSpacingBase = 0xE000;

QString protectSpacing(const QString &xml)
{
    static const QRegularExpression blankRun(QStringLiteral("<w:t(?:\\s[^>]*)?>([ \\t\\r\\n]+)</w:t>"));
    QString out;
    out.reserve(xml.size());
    qsizetype last = 0;
    for (auto it = blankRun.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(xml).mid(last, m.capturedStart(1) - last);
        for (const QChar c : m.capturedView(1))
            out += QChar(char16_t(kSpacingBase + c.unicode()));
        last = m.capturedEnd(1);
    }
    out += QStringView(xml).mid(last);
    return out;
}

QString restoreSpacing(QString xml)
{
    for (QChar &c : xml) {
        const char16_t u = c.unicode();
        if (u >= kSpacingBase && u <= kSpacingBase + 0x20)
            c = QChar(char16_t(u - kSpacingBase));
    }
    return xml;
}

bool hasAncestor(const QDomNode &node, const QString &tag, const QDomNode &stop = QDomNode())
{
    for (QDomNode n = node.parentNode(); !n.isNull() && n != stop; n = n.parentNode()) {
        if (n.nodeName() == tag)
            return true;
    }
    return false;
}

bool isInside(const QDomNode &node, const QDomNode &ancestor)
{
    for (QDomNode n = node.parentNode(); !n.isNull(); n = n.parentNode()) {
        if (n == ancestor)
            return true;
    }
    return false;
}

QDomElement nearest(const QDomNode &node, const QString &tag)
{
    for (QDomNode n = node.parentNode(); !n.isNull(); n = n.parentNode()) {
        if (n.nodeName() == tag)
            return n.toElement();
    }
    return {};
}

QList<QDomElement> elements(const QDomNode &root, const QString &tag)
{
    QList<QDomElement> found;
    const QDomNodeList list = root.isDocument() ? root.toDocument().elementsByTagName(tag)
                                                : root.toElement().elementsByTagName(tag);
    for (int i = 0; i < list.size(); ++i)
        found << list.at(i).toElement();
    return found;
}

// The w:t elements of one paragraph (not those of paragraphs nested in it), in order.
QList<QDomElement> textsOf(const QDomElement &paragraph)
{
    QList<QDomElement> texts;
    for (const QDomElement &t : elements(paragraph, kText)) {
        if (nearest(t, kParagraph) == paragraph)
            texts << t;
    }
    return texts;
}

void setText(QDomElement &t, const QString &text)
{
    while (t.hasChildNodes())
        t.removeChild(t.firstChild());
    t.appendChild(t.ownerDocument().createTextNode(text));
    t.setAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
}

// A w:t whose text holds line breaks becomes text, <w:br/>, text... inside its run.
void splitBreaks(QDomElement &t)
{
    const QStringList pieces = t.text().split(u'\n');
    if (pieces.size() < 2)
        return;
    setText(t, pieces.first());
    QDomNode after = t;
    QDomDocument doc = t.ownerDocument();
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        QDomElement br = doc.createElement(QStringLiteral("w:br"));
        after = t.parentNode().insertAfter(br, after);
        QDomElement next = doc.createElement(kText);
        setText(next, pieces[i]);
        after = t.parentNode().insertAfter(next, after);
    }
}

// The paragraph of a w:t whose text holds line breaks ends at the first one: the rest of the
// text and what follows it in the paragraph go into a new paragraph right after, whose
// elements on the way down (paragraph, hyperlink, run) carry copies of the properties of the
// ones they continue. Repeated for every break.
void splitParagraphs(QDomElement t)
{
    while (true) {
        const QString text = t.text();
        const qsizetype at = text.indexOf(u'\n');
        if (at < 0)
            return;
        const QDomElement paragraph = nearest(t, kParagraph);
        if (paragraph.isNull() || paragraph.parentNode().isNull()) {
            splitBreaks(t);
            return;
        }
        setText(t, text.left(at));
        QDomElement rest = t.cloneNode(false).toElement();
        setText(rest, text.mid(at + 1));
        QDomNode node = t;
        QDomNode copy = rest;
        while (node != paragraph) {
            const QDomNode parent = node.parentNode();
            QDomNode parentCopy = parent.cloneNode(false);
            for (QDomNode c = parent.firstChild(); !c.isNull() && c != node; c = c.nextSibling()) {
                if (c.isElement() && c.nodeName().endsWith(QLatin1String("Pr")))
                    parentCopy.appendChild(c.cloneNode(true));
            }
            parentCopy.appendChild(copy);
            while (!node.nextSibling().isNull())
                parentCopy.appendChild(node.nextSibling());
            node = parent;
            copy = parentCopy;
        }
        paragraph.parentNode().insertAfter(copy, paragraph);
        t = rest;
    }
}

// A value as XML can hold it: CR LF and CR become line breaks, and characters XML 1.0 does not
// allow (other control characters, non-characters, lone surrogates) are dropped.
QString xmlText(const QString &value)
{
    QString text = value;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        const char16_t u = c.unicode();
        const bool allowed = u == u'\t' || u == u'\n' || (u >= 0x20 && !c.isSurrogate() && u != 0xFFFE && u != 0xFFFF);
        if (allowed)
            out += c;
    }
    return out;
}

struct Replacement
{
    qsizetype begin;   // the opening "$"
    qsizetype end;     // one past the closing "$"
    QString value;
};

void mergeParagraph(const QDomElement &paragraph, const Lookup &lookup, LineBreaks breaks)
{
    QList<QDomElement> texts = textsOf(paragraph);
    if (texts.isEmpty())
        return;
    QString joined;
    QList<qsizetype> starts;   // where each w:t's text begins in the joined text
    for (const QDomElement &t : texts) {
        starts << joined.size();
        joined += t.text();
    }
    QList<Replacement> replacements;
    qsizetype from = 0;
    while (true) {
        const qsizetype open = joined.indexOf(u'$', from);
        if (open < 0)
            break;
        const qsizetype close = joined.indexOf(u'$', open + 1);
        if (close < 0)
            break;
        const std::optional<QString> value = lookup(joined.mid(open + 1, close - open - 1).toUpper());
        if (value) {
            replacements.append({open, close + 1, xmlText(*value)});
            from = close + 1;
        } else {
            from = close;   // the closing "$" may open the next marker
        }
    }
    if (replacements.isEmpty())
        return;
    auto nodeAt = [&starts](qsizetype position) {
        return std::upper_bound(starts.begin(), starts.end(), position) - starts.begin() - 1;
    };
    QList<bool> touched(texts.size(), false);
    for (auto r = replacements.rbegin(); r != replacements.rend(); ++r) {
        const qsizetype first = nodeAt(r->begin);
        const qsizetype last = nodeAt(r->end - 1);
        const QString firstText = texts[first].text();
        const QString lastText = texts[last].text();
        const qsizetype head = r->begin - starts[first];
        const qsizetype tail = r->end - starts[last];
        if (first == last) {
            setText(texts[first], firstText.left(head) + r->value + firstText.mid(tail));
        } else {
            setText(texts[first], firstText.left(head) + r->value);
            for (qsizetype i = first + 1; i < last; ++i)
                setText(texts[i], QString());
            setText(texts[last], lastText.mid(tail));
        }
        for (qsizetype i = first; i <= last; ++i)
            touched[i] = true;
    }
    // From the last, so that a split moves only texts already done into the new paragraph.
    for (qsizetype i = texts.size() - 1; i >= 0; --i) {
        if (!touched[i])
            continue;
        if (breaks == LineBreaks::Paragraph)
            splitParagraphs(texts[i]);
        else
            splitBreaks(texts[i]);
    }
}

bool isLineRow(const QDomElement &row)
{
    QString text;
    for (const QDomElement &t : elements(row, kText))
        text += t.text();
    return text.contains(u'$' + kLinePrefix, Qt::CaseInsensitive);
}

std::optional<QString> find(const QMap<QString, QString> &map, const QString &key)
{
    const auto it = map.constFind(key);
    return it == map.cend() ? std::nullopt : std::optional<QString>(*it);
}

} // namespace

bool mergeWordXml(QByteArray &xml, const MergeValues &values)
{
    QDomDocument doc;
    if (!doc.setContent(protectSpacing(QString::fromUtf8(xml)), false))
        return false;

    QList<QDomElement> lineRows;
    for (const QDomElement &row : elements(doc, kRow)) {
        if (isLineRow(row) && !hasAncestor(row, kRow))
            lineRows << row;
    }
    const Lookup fields = [&values](const QString &name) { return find(values.fields, name); };
    for (const QDomElement &p : elements(doc, kParagraph)) {
        const bool inLineRow = std::any_of(lineRows.cbegin(), lineRows.cend(),
                                           [&p](const QDomElement &row) { return isInside(p, row); });
        if (!inLineRow)
            mergeParagraph(p, fields, values.breaks);
    }
    for (QDomElement &row : lineRows) {
        for (const QMap<QString, QString> &line : values.lines) {
            const QDomElement copy = row.cloneNode(true).toElement();
            const Lookup lookup = [&](const QString &name) {
                return name.startsWith(kLinePrefix) ? find(line, name.mid(kLinePrefix.size())) : find(values.fields, name);
            };
            for (const QDomElement &p : elements(copy, kParagraph))
                mergeParagraph(p, lookup, values.breaks);
            row.parentNode().insertBefore(copy, row);
        }
        row.parentNode().removeChild(row);
    }
    xml = restoreSpacing(doc.toString(-1)).toUtf8();
    return true;
}

QString mergeDocx(const QString &path, const MergeValues &values)
{
    return mergeDocx(path, QList<MergeValues>{values});
}

QString mergeDocx(const QString &path, const QList<MergeValues> &steps)
{
    static const QRegularExpression mergedPart(QStringLiteral("^word/(document|header[0-9]*|footer[0-9]*)\\.xml$"));
    QString error;
    std::optional<ZipEntries> entries = readZip(path, error);
    if (!entries)
        return QStringLiteral("Cannot open \"%1\" as a Word document: %2").arg(path, error);
    for (auto &[name, data] : *entries) {
        if (!mergedPart.match(name).hasMatch())
            continue;
        for (const MergeValues &values : steps) {
            if (!mergeWordXml(data, values))
                return QStringLiteral("\"%1\" of \"%2\" is not well-formed XML").arg(name, path);
        }
    }
    if (entries->isEmpty())
        return QStringLiteral("\"%1\" holds no document").arg(path);

    // Written beside the original and renamed over it, so a failure leaves the original whole.
    const QString temporary = path + QStringLiteral(".fusion");
    const QString written = writeZip(temporary, *entries);
    if (!written.isEmpty() ||
        std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
        return QStringLiteral("Cannot write \"%1\"").arg(path) + (written.isEmpty() ? QString() : QStringLiteral(": ") + written);
    }
    return {};
}

} // namespace plat::office
