#include "platform/ui/data/DataControls.h"

#include "platform/ui/Application.h"
#include "platform/ui/RefusedText.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QImage>
#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace plat {
namespace {

// Writes a control's text into its field; a conversion error goes to the application's
// handler when report is set, and is kept back while typing.
bool writeText(QWidget *control, Field *field, const QString &text, bool report)
{
    if (!field)
        return false;
    if (report)
        return application().guard(control, [&] { field->setText(text); });
    try {
        field->setText(text);
        return true;
    } catch (const gp::Error &) {
        return false;   // half-typed: the whole text is written on leaving the control
    }
}

bool isIntegerField(const Field *field)
{
    if (!field)
        return false;
    const TFieldType type = field->dataType();
    return type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc;
}

// What a field accepts as typed, character by character, as the class library's fields did.
bool acceptsCharacter(const Field *field, QChar c)
{
    return !isIntegerField(field) || c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-');
}

bool matchesOneOf(const QString &text, const QString &values)
{
    for (const QString &v : values.split(QLatin1Char(';')))
        if (text.compare(v, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

DataBound::DataBound(QObject *owner) : link_(new FieldLink(owner)) {}

bool DataBound::takeTyped(QWidget *control, const QString &text)
{
    // Entering edit state re-reads the record: what was just typed must survive it.
    showing_ = true;
    const bool editable = link_->edit();
    if (editable) {
        pending_ = true;
        writeText(control, field(), text, false);
    }
    showing_ = false;
    return editable;
}

DataBound::Typed DataBound::writeTyped(QWidget *control, const QString &text, bool leaving)
{
    if (!pending_)
        return Typed::Nothing;
    pending_ = false;
    if (!link_->editing())
        return Typed::Written;
    if (writeText(control, field(), text, false)) {
        refused_.clear();
        return Typed::Written;
    }
    // Reported through the application's handler: once on leaving, every time the record
    // is updated for a save.
    if (!leaving || text != refused_)
        writeText(control, field(), text, true);
    refused_ = text;
    refusedOver_ = field() ? field()->value() : QVariant();
    pending_ = true;
    link_->refuseUpdate();
    return Typed::Refused;
}

bool DataBound::showsRefused(const QString &shown) const
{
    const Field *f = field();
    return pending_ && f && !refused_.isEmpty() && shown == refused_ && f->value() == refusedOver_;
}

// ---- DBEdit ------------------------------------------------------------------------------

DBEdit::DBEdit(QWidget *parent) : Edit(parent), DataBound(this)
{
    connect(link_, &FieldLink::refresh, this, &DBEdit::showRecordValue);
    connect(link_, &FieldLink::updateData, this, [this] { writeField(); });
    connect(this, &QLineEdit::textEdited, this, &DBEdit::typed);
    connect(this, &QLineEdit::editingFinished, this, [this] { writeField(true); });
}

void DBEdit::showField()
{
    if (showing_)
        return;
    Field *f = field();
    const QSignalBlocker block(this);
    showing_ = true;
    if (!link_->editing())
        pending_ = false;
    if (!showsRefused(text())) {
        refused_.clear();
        // The focused control shows the edit text, the others the display text.
        const QString shown = !f ? QString() : hasFocus() ? f->text() : f->displayText();
        if (shown != text())
            setText(shown);
    }
    if (f && f->size() > 0 && f->dataType() == ftString)
        setMaxLength(f->size());
    QLineEdit::setReadOnly(readOnly_ || !link_->canModify());
    showing_ = false;
}

void DBEdit::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    QLineEdit::setReadOnly(readOnly_ || !link_->canModify());
}

void DBEdit::showRecordValue()
{
    const QString before = text();
    showField();
    if (!typing_ && hasFocus() && !isReadOnly() && text() != before)
        selectAll();
}

void DBEdit::typed()
{
    bool taken = false;
    {
        const QScopedValueRollback<bool> echo(typing_, true);
        taken = takeTyped(this, text());
    }
    if (!taken)
        showField();
}

DataBound::Typed DBEdit::writeField(bool leaving)
{
    const Typed written = writeTyped(this, text(), leaving);
    if (written == Typed::Written)
        showField();
    if (written == Typed::Refused) {
        // "Repita por favor": the text is typed again here, not in the control the focus
        // was going to.
        refuseText(*this, [this] { return pending_; });
    }
    return written;
}

void DBEdit::focusInEvent(QFocusEvent *event)
{
    Edit::focusInEvent(event);
    showField();
}

void DBEdit::keyPressEvent(QKeyEvent *event)
{
    const QString typedText = event->text();
    const bool printable = typedText.size() == 1 && typedText[0].isPrint();
    if (printable && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        && !acceptsCharacter(field(), typedText[0])) {
        QApplication::beep();
        event->accept();
        return;
    }
    Edit::keyPressEvent(event);
}

void DBEdit::focusOutEvent(QFocusEvent *event)
{
    const bool refused = writeField(true) == Typed::Refused;
    Edit::focusOutEvent(event);
    if (!refused)
        showField();
}

// ---- DBMemo ------------------------------------------------------------------------------

DBMemo::DBMemo(QWidget *parent) : Memo(parent), DataBound(this)
{
    connect(link_, &FieldLink::refresh, this, &DBMemo::showField);
    connect(link_, &FieldLink::updateData, this, &DBMemo::writeField);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!showing_ && !takeTyped(this, text()))
            showField();
    });
}

void DBMemo::showField()
{
    if (showing_)
        return;
    Field *f = field();
    showing_ = true;
    const QString shown = f ? f->text() : QString();
    if (shown != text())
        setText(shown);
    QPlainTextEdit::setReadOnly(readOnly_ || !link_->canModify());
    if (!link_->editing())
        pending_ = false;
    showing_ = false;
}

void DBMemo::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    QPlainTextEdit::setReadOnly(readOnly_ || !link_->canModify());
}

void DBMemo::writeField()
{
    (void)writeTyped(this, text());
}

void DBMemo::focusOutEvent(QFocusEvent *event)
{
    writeField();
    Memo::focusOutEvent(event);
}

// ---- DBCheckBox --------------------------------------------------------------------------

DBCheckBox::DBCheckBox(QWidget *parent) : CheckBox(parent), DataBound(this)
{
    connect(link_, &FieldLink::refresh, this, &DBCheckBox::showField);
    connect(this, &QCheckBox::clicked, this, &DBCheckBox::toggledByUser);
}

void DBCheckBox::showField()
{
    Field *f = field();
    const QSignalBlocker block(this);
    if (!f)
        setChecked(false);
    else if (f->dataType() == ftBoolean)
        setChecked(f->asBoolean());
    else
        setChecked(matchesOneOf(f->text(), valueChecked_));
    setEnabled(f != nullptr);
}

void DBCheckBox::toggledByUser(bool checked)
{
    Field *f = field();
    if (!f || !link_->edit()) {
        showField();
        return;
    }
    application().guard(this, [&] {
        if (f->dataType() == ftBoolean)
            f->setAsBoolean(checked);
        else
            f->setText((checked ? valueChecked_ : valueUnchecked_).section(QLatin1Char(';'), 0, 0));
    });
    showField();
}

// ---- DBComboBox --------------------------------------------------------------------------

DBComboBox::DBComboBox(QWidget *parent) : ComboBox(parent), DataBound(this)
{
    connect(link_, &FieldLink::refresh, this, &DBComboBox::showField);
    connect(this, &QComboBox::activated, this, &DBComboBox::chosen);
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (!showing_ && isEditable())
            chosen();
    });
}

void DBComboBox::showField()
{
    if (showing_)
        return;
    Field *f = field();
    const QSignalBlocker block(this);
    showing_ = true;
    const QString text = f ? f->text() : QString();
    if (isEditable())
        showOfferedText(*this, text);
    else
        setText(text);
    showing_ = false;
}

void DBComboBox::chosen()
{
    if (showing_)
        return;
    // Entering edit state re-reads the record: the text just typed or chosen must survive it.
    showing_ = true;
    const bool editable = link_->edit();
    if (editable)
        writeText(this, field(), text(), true);
    showing_ = false;
    if (!editable)
        showField();
}

// ---- DBLookupComboBox --------------------------------------------------------------------

DBLookupComboBox::DBLookupComboBox(QWidget *parent) : ComboBox(parent), DataBound(this)
{
    setStyle(csDropDownList);
    connect(link_, &FieldLink::refresh, this, &DBLookupComboBox::showField);
    connect(this, &QComboBox::activated, this, &DBLookupComboBox::chosen);
}

void DBLookupComboBox::setListSource(plat::DataSource *source)
{
    if (listSource_)
        disconnect(listSource_, nullptr, this, nullptr);
    listSource_ = source;
    if (source) {
        connect(source, &DataSource::dataSetReplaced, this, &DBLookupComboBox::reloadList);
        connect(source, &DataSource::rowsChanged, this, &DBLookupComboBox::reloadList);
    }
    reloadList();
}

void DBLookupComboBox::reloadList()
{
    const QSignalBlocker block(this);
    clear();
    keys_.clear();
    DataSet *list = listSource_ ? listSource_->dataSet() : nullptr;
    if (list && list->active() && !keyField_.isEmpty() && !listField_.isEmpty()) {
        Field *key = list->findField(keyField_);
        Field *shown = list->findField(listField_);
        if (key && shown) {
            // Look-up lists are short: read them in pages to the end.
            constexpr int kPage = 500;
            for (qint64 first = 0;; first += kPage) {
                const QVector<QVariantList> rows = list->rowValues(first, kPage);
                for (const QVariantList &row : rows) {
                    keys_ << row.value(key->index());
                    addItem(shown->displayTextOf(row.value(shown->index())));
                }
                if (rows.size() < kPage)
                    break;
            }
        }
    }
    showField();
}

void DBLookupComboBox::showPopup()
{
    // The list's table may have gained or lost rows since it was read (another window adds
    // an operator): it is read again each time it drops down.
    DataSet *list = listSource_ ? listSource_->dataSet() : nullptr;
    if (list && list->active() && list->state() == DataSetState::Browse)
        application().guard(this, [&] { list->refresh(); });
    reloadList();
    ComboBox::showPopup();
}

QVariant DBLookupComboBox::keyValue() const
{
    return keys_.value(currentIndex());
}

void DBLookupComboBox::showField()
{
    Field *f = field();
    if (!f && !dataSource())
        return; // a list bound to no field is a plain choice: it keeps the user's
    const QSignalBlocker block(this);
    int index = -1;
    if (f && !f->isNull())
        for (int i = 0; i < keys_.size(); ++i)
            if (keys_[i].toString() == f->value().toString()) {
                index = i;
                break;
            }
    setCurrentIndex(index);
}

void DBLookupComboBox::chosen(int index)
{
    Field *f = field();
    if (!f && !dataSource())
        return;
    if (!f || index < 0 || index >= keys_.size() || !link_->edit()) {
        showField();
        return;
    }
    application().guard(this, [&] { f->setValue(keys_[index]); });
}

// ---- DBImage, DBText ---------------------------------------------------------------------

DBImage::DBImage(QWidget *parent) : Image(parent), DataBound(this)
{
    connect(link_, &FieldLink::refresh, this, &DBImage::showField);
}

void DBImage::showField()
{
    Field *f = field();
    QImage image;
    if (f && !f->isNull())
        image = QImage::fromData(f->asBytes());
    setPicture(QPixmap::fromImage(image));
}

DBText::DBText(QWidget *parent) : Label(parent), DataBound(this)
{
    connect(link_, &FieldLink::refresh, this, &DBText::showField);
}

void DBText::showField()
{
    Field *f = field();
    setText(f ? f->displayText() : QString());
}

// ---- DBNavigator -------------------------------------------------------------------------

DBNavigator::DBNavigator(QWidget *parent) : QWidget(parent), Control(this)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    // Glyphs that every font has; hints in the program's language.
    const QStringList glyphs{QStringLiteral("|◀"), QStringLiteral("◀"), QStringLiteral("▶"),
                             QStringLiteral("▶|"), QStringLiteral("+"), QStringLiteral("−"),
                             QStringLiteral("▲"), QStringLiteral("✓"), QStringLiteral("✗"),
                             QStringLiteral("↻")};
    const QStringList hints{QStringLiteral("Primero"), QStringLiteral("Anterior"), QStringLiteral("Siguiente"),
                            QStringLiteral("Último"), QStringLiteral("Insertar"), QStringLiteral("Borrar"),
                            QStringLiteral("Modificar"), QStringLiteral("Grabar"), QStringLiteral("Cancelar"),
                            QStringLiteral("Refrescar")};
    for (int i = 0; i < glyphs.size(); ++i) {
        auto *b = new QToolButton(this);
        b->setText(glyphs[i]);
        b->setToolTip(hints[i]);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(b, &QToolButton::clicked, this, [this, i] { BtnClick(NavigateButton(i)); });
        row->addWidget(b);
        buttons_ << b;
    }
    updateButtons();
}

void DBNavigator::setDataSource(plat::DataSource *source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source) {
        for (auto signal : {&DataSource::dataSetReplaced, &DataSource::stateChanged, &DataSource::recordChanged,
                            &DataSource::rowsChanged})
            connect(source, signal, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::setVisibleButtons(const QList<NavigateButton> &visible)
{
    for (int i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setVisible(visible.contains(NavigateButton(i)));
}

QStringList DBNavigator::hints() const
{
    QStringList result;
    for (QToolButton *b : buttons_)
        result << b->toolTip();
    return result;
}

void DBNavigator::setHints(const QStringList &hints)
{
    for (int i = 0; i < buttons_.size() && i < hints.size(); ++i)
        buttons_[i]->setToolTip(hints[i]);
}

void DBNavigator::updateButtons()
{
    DataSet *ds = source_ ? source_->dataSet() : nullptr;
    const bool active = ds && ds->active();
    const DataSetState s = active ? ds->state() : DataSetState::Inactive;
    const bool editing = s == DataSetState::Edit || s == DataSetState::Insert;
    const bool canModify = active && ds->canModify();
    const bool browsing = active && !editing;
    buttons_[nbFirst]->setEnabled(browsing && !ds->bof());
    buttons_[nbPrior]->setEnabled(browsing && !ds->bof());
    buttons_[nbNext]->setEnabled(browsing && !ds->eof());
    buttons_[nbLast]->setEnabled(browsing && !ds->eof());
    buttons_[nbInsert]->setEnabled(canModify && !editing);
    buttons_[nbDelete]->setEnabled(canModify && browsing && !ds->isEmpty());
    buttons_[nbEdit]->setEnabled(canModify && browsing && !ds->isEmpty());
    buttons_[nbPost]->setEnabled(editing);
    buttons_[nbCancel]->setEnabled(editing);
    buttons_[nbRefresh]->setEnabled(browsing);
}

void DBNavigator::BtnClick(NavigateButton which)
{
    DataSet *ds = source_ ? source_->dataSet() : nullptr;
    if (!ds)
        return;
    const bool done = application().guard(this, [&] {
        if (BeforeAction.assigned())
            BeforeAction(this, which);
        switch (which) {
        case nbFirst: ds->first(); break;
        case nbPrior: ds->prior(); break;
        case nbNext: ds->next(); break;
        case nbLast: ds->last(); break;
        case nbInsert: ds->insert(); break;
        case nbDelete: ds->remove(); break;
        case nbEdit: ds->edit(); break;
        case nbPost:
            source_->UpdateRecord();
            ds->post();
            break;
        case nbCancel: ds->cancel(); break;
        case nbRefresh: ds->refresh(); break;
        }
    });
    if (done && OnNavigate.assigned())
        application().guard(this, [&] { OnNavigate(this, which); });
    updateButtons();
}

} // namespace plat
