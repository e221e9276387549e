#include "platform/ui/Controls.h"

#include "platform/ui/Application.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Form.h"
#include "platform/ui/PasswordCharacter.h"

#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QUrl>
#include <QValidator>
#include <QVBoxLayout>

namespace plat {

// ---- Label -------------------------------------------------------------------------------

Label::Label(QWidget *parent) : QLabel(parent), Control(this)
{
    QLabel::setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Label::setAlignment(Alignment alignment)
{
    const Qt::Alignment vertical = QLabel::alignment() & Qt::AlignVertical_Mask;
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (alignment == taCenter)
        horizontal = Qt::AlignHCenter;
    else if (alignment == taRightJustify)
        horizontal = Qt::AlignRight;
    QLabel::setAlignment(horizontal | vertical);
}

void Label::setLayoutCentred(bool centred)
{
    const Qt::Alignment horizontal = QLabel::alignment() & Qt::AlignHorizontal_Mask;
    QLabel::setAlignment(horizontal | (centred ? Qt::AlignVCenter : Qt::AlignTop));
}

void Label::setTransparent(bool transparent)
{
    setAutoFillBackground(!transparent && color() != clDefault);
}

// ---- Panel -------------------------------------------------------------------------------

Panel::Panel(QWidget *parent) : QFrame(parent), Control(this)
{
    setBevelOuter(bvRaised);
}

void Panel::setCaption(const QString &caption)
{
    caption_ = caption;
    update();
}

void Panel::setBevelOuter(BevelKind bevel)
{
    bevel_ = bevel;
    switch (bevel) {
    case bvNone: setFrameStyle(QFrame::NoFrame); break;
    case bvLowered: setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
    case bvRaised: setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    }
}

void Panel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (caption_.isEmpty())
        return;
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    Qt::Alignment h = Qt::AlignHCenter;
    if (alignment_ == taLeftJustify)
        h = Qt::AlignLeft;
    else if (alignment_ == taRightJustify)
        h = Qt::AlignRight;
    p.drawText(contentsRect().adjusted(2, 0, -2, 0), int(h | Qt::AlignVCenter), caption_);
}

// ---- Image -------------------------------------------------------------------------------

Gancho<PictureProvider> &pictureProviderHook()
{
    static Gancho<PictureProvider> hook;
    return hook;
}

QPixmap pictureByName(const QString &name)
{
    const PictureProvider &provider = pictureProviderHook().valor();
    return provider ? provider(name) : QPixmap();
}

Image::Image(QWidget *parent) : QWidget(parent), Control(this) {}

void Image::setPicture(const QPixmap &picture)
{
    picture_ = picture;
    update();
}

bool Image::LoadFromFile(const QString &fileName)
{
    QImageReader reader(fileName);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    setPicture(QPixmap::fromImage(image));
    return true;
}

bool Image::LoadFromResource(const QString &name)
{
    const QPixmap p = pictureByName(name);
    if (p.isNull())
        return false;
    setPicture(p);
    return true;
}

void Image::paintEvent(QPaintEvent *)
{
    if (picture_.isNull())
        return;
    QPainter p(this);
    if (stretch_) {
        p.drawPixmap(rect(), picture_);
        return;
    }
    QPoint at(0, 0);
    if (center_)
        at = QPoint((QWidget::width() - picture_.width()) / 2, (QWidget::height() - picture_.height()) / 2);
    p.drawPixmap(at, picture_);
}

// ---- Buttons -----------------------------------------------------------------------------

Button::Button(QWidget *parent) : QPushButton(parent), Control(this)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        if (modalResult_ != mrNone)
            if (Form *form = Form::formOf(this))
                form->setModalResult(modalResult_);
        fire(OnClick);
    });
}

void Button::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused button, whichever the form's default is.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(event->modifiers() & ~Qt::KeypadModifier) && isEnabled()) {
        event->accept();
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void Button::setDefaultButton(bool on)
{
    setDefault(on);
    setProperty("_plat_default", on);
}

void Button::setCancelButton(bool on)
{
    setProperty("_plat_cancel", on);
}

SpeedButton::SpeedButton(QWidget *parent) : QToolButton(parent), Control(this)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(this, &QToolButton::clicked, this, [this] { fire(OnClick); });
}

void SpeedButton::setGlyph(const QPixmap &glyph)
{
    setIcon(QIcon(glyph));
    setIconSize(glyph.size());
    setToolButtonStyle(text().isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
}

void SpeedButton::setGroupIndex(int index)
{
    groupIndex_ = index;
    setCheckable(index != 0);
}

void SpeedButton::nextCheckState()
{
    // In a group a button that is down stays down unless the group allows all up.
    if (isChecked() && !allowAllUp_)
        return;
    setDownState(!isChecked());
}

void SpeedButton::setDownState(bool down)
{
    if (groupIndex_ == 0) {
        setDown(down);
        return;
    }
    setChecked(down);
    if (!down || !parentWidget())
        return;
    for (SpeedButton *other : parentWidget()->findChildren<SpeedButton *>(QString(), Qt::FindDirectChildrenOnly))
        if (other != this && other->groupIndex_ == groupIndex_)
            other->setChecked(false);
}

// ---- Edits -------------------------------------------------------------------------------

namespace {

// Rewrites the text as it changes; the text is always acceptable.
class OneLineValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        if (input.contains(QLatin1Char('\n')) || input.contains(QLatin1Char('\r')) || input.contains(QLatin1Char('\t'))) {
            pos = int(oneLineText(input.left(pos)).size());
            input = oneLineText(input);
        }
        return Acceptable;
    }
};

} // namespace

QString oneLineText(const QString &text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar &c : line)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    return line;
}

void keepOnOneLine(QLineEdit &edit)
{
    edit.setValidator(new OneLineValidator(&edit));
}

Edit::Edit(QWidget *parent) : QLineEdit(parent), Control(this)
{
    keepOnOneLine(*this);
    connect(this, &QLineEdit::textChanged, this, [this] { fire(OnChange); });
}

void Edit::setPasswordChar(QChar c)
{
    passwordChar_ = c;
    setPasswordCharacter(this, c);
}

int Edit::selStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

int Edit::selLength() const
{
    return hasSelectedText() ? int(selectedText().size()) : 0;
}

Memo::Memo(QWidget *parent) : QPlainTextEdit(parent), Control(this)
{
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { fire(OnChange); });
}

QString Memo::text() const
{
    return toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

void Memo::setText(const QString &text)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setPlainText(plain);
}

QStringList Memo::lines() const
{
    const QString plain = toPlainText();
    return plain.isEmpty() ? QStringList() : plain.split(QLatin1Char('\n'));
}

void Memo::setLines(const QStringList &lines)
{
    setPlainText(lines.join(QLatin1Char('\n')));
}

void Memo::setWordWrap(bool wrap)
{
    setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

CheckBox::CheckBox(QWidget *parent) : QCheckBox(parent), Control(this)
{
    connect(this, &QCheckBox::toggled, this, [this] { fire(OnClick); });
}

RadioButton::RadioButton(QWidget *parent) : QRadioButton(parent), Control(this)
{
    connect(this, &QRadioButton::clicked, this, [this] { fire(OnClick); });
}

// ---- Timer, paint box, spin button, splitter, HTML ---------------------------------------

Timer::Timer(QObject *parent) : QObject(parent)
{
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (OnTimer.assigned())
            application().guard(this, [this] { OnTimer(this); });
    });
    // Like the class library's timer, it starts ticking once its owner is built.
    QMetaObject::invokeMethod(this, [this] { restart(); }, Qt::QueuedConnection);
}

void Timer::setInterval(int ms)
{
    timer_.setInterval(ms);
    restart();
}

void Timer::setEnabled(bool enabled)
{
    enabled_ = enabled;
    restart();
}

void Timer::restart()
{
    if (enabled_ && timer_.interval() > 0)
        timer_.start();
    else
        timer_.stop();
}

PaintBox::PaintBox(QWidget *parent) : QWidget(parent), Control(this) {}

void PaintBox::paintEvent(QPaintEvent *)
{
    if (!OnPaint.assigned())
        return;
    QPainter painter(this);
    Canvas canvas(&painter);
    canvas_ = &canvas;
    fire(OnPaint);
    canvas_ = nullptr;
}

SpinButton::SpinButton(QWidget *parent) : QWidget(parent), Control(this), up_(new QToolButton(this)),
                                          down_(new QToolButton(this))
{
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {up_, down_}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        box->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { fire(OnUpClick); });
    connect(down_, &QToolButton::clicked, this, [this] { fire(OnDownClick); });
}

Splitter::Splitter(Qt::Orientation orientation, QWidget *parent) : QSplitter(orientation, parent), Control(this)
{
    setChildrenCollapsible(false);
    connect(this, &QSplitter::splitterMoved, this, [this] { fire(OnMoved); });
}

HtmlView::HtmlView(QWidget *parent) : QTextBrowser(parent), Control(this)
{
    setOpenExternalLinks(true);
}

void HtmlView::Navigate(const QString &address)
{
    address_ = address;
    const QUrl url = QUrl::fromUserInput(address);
    const QFileInfo file(url.isLocalFile() ? url.toLocalFile() : QString());
    const QString suffix = file.suffix().toLower();
    if (!file.isFile() || file.size() == 0) {
        clear();
    } else if (suffix == QLatin1String("html") || suffix == QLatin1String("htm")) {
        // The same page written again (a statement shown after each change) must be read
        // again: the browser ignores a source it already shows.
        if (source() == url)
            reload();
        else
            setSource(url, QTextDocument::HtmlResource);
    } else if (suffix == QLatin1String("txt")) {
        QFile text(file.filePath());
        setPlainText(text.open(QIODevice::ReadOnly) ? QString::fromUtf8(text.readAll()) : QString());
    } else if (QImageReader::supportedImageFormats().contains(suffix.toLatin1())) {
        setHtml(QStringLiteral("<img src=\"%1\">").arg(url.toString().toHtmlEscaped()));
    } else {
        clear();
    }
}

} // namespace plat
