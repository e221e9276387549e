#pragma once
#include "platform/base/Gancho.h"
#include "platform/ui/Control.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <functional>

// The plain controls of the class library on Qt widgets. Each keeps the class library's
// published property names (Caption, Text, ReadOnly, ...) next to Qt's own.
namespace plat {

class Canvas;

enum Alignment { taLeftJustify, taRightJustify, taCenter };
enum BevelKind { bvNone, bvLowered, bvRaised };

class Label : public QLabel, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
public:
    explicit Label(QWidget *parent = nullptr);
    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    void setAlignment(Alignment alignment);
    void setLayoutCentred(bool centred);   // vertical centring of the text
    void setTransparent(bool transparent);
};

// A panel: a frame that holds controls and shows its caption in the middle.
class Panel : public QFrame, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
public:
    explicit Panel(QWidget *parent = nullptr);
    QString caption() const { return caption_; }
    void setCaption(const QString &caption);
    BevelKind bevelOuter() const { return bevel_; }
    void setBevelOuter(BevelKind bevel);
    void setAlignment(Alignment alignment) { alignment_ = alignment; update(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString caption_;
    BevelKind bevel_ = bvRaised;
    Alignment alignment_ = taCenter;
};

// The program's pictures by name, served by the layer that holds them through this hook;
// none until one is installed.
using PictureProvider = std::function<QPixmap(const QString &name)>;
Gancho<PictureProvider> &pictureProviderHook();
QPixmap pictureByName(const QString &name);

class Image : public QWidget, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
public:
    explicit Image(QWidget *parent = nullptr);
    const QPixmap &picture() const { return picture_; }
    void setPicture(const QPixmap &picture);
    // BMP, JPEG, PNG; false (picture unchanged) when the file cannot be read.
    bool LoadFromFile(const QString &fileName);
    // A picture of the program's resources; false when there is none of that name.
    bool LoadFromResource(const QString &name);
    bool stretch() const { return stretch_; }
    void setStretch(bool stretch) { stretch_ = stretch; update(); }
    bool center() const { return center_; }
    void setCenter(bool center) { center_ = center; update(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap picture_;
    bool stretch_ = false;
    bool center_ = false;
};

class Button : public QPushButton, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(int ModalResult READ modalResult WRITE setModalResult)
public:
    explicit Button(QWidget *parent = nullptr);
    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    // Clicking sets the form's modal result (which ends a modal showing).
    int modalResult() const { return modalResult_; }
    void setModalResult(int result) { modalResult_ = result; }
    // Default: Enter in the form presses it; Cancel: Esc does.
    void setDefaultButton(bool on);
    void setCancelButton(bool on);
    void Click() { click(); }

protected:
    bool clicksFromMouse() const override { return false; }
    QPalette::ColorRole colorRole() const override { return QPalette::Button; }
    void keyPressEvent(QKeyEvent *event) override;

private:
    int modalResult_ = 0;
    QAction *cancelAction_ = nullptr;
};

// A tool button that never takes the focus and can stay down (grouped buttons release
// each other).
class SpeedButton : public QToolButton, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Down READ downState WRITE setDownState)
public:
    explicit SpeedButton(QWidget *parent = nullptr);
    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    void setGlyph(const QPixmap &glyph);
    int groupIndex() const { return groupIndex_; }
    void setGroupIndex(int index);
    bool allowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool allow) { allowAllUp_ = allow; }
    // Down: pressed, or for a button of a group, staying down (checked).
    bool downState() const { return groupIndex_ == 0 ? isDown() : isChecked(); }
    void setDownState(bool down);
    void Click() { click(); }

protected:
    bool clicksFromMouse() const override { return false; }
    void nextCheckState() override;

private:
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
};

// A one-line text as a one-line edit holds it: each line break (CR LF, CR or LF) and each tab
// becomes one blank, so that a pasted or dropped text never stores what no line shows.
QString oneLineText(const QString &text);
// Makes the edit hold its text on one line, however it arrives (typed, pasted, dropped, set).
void keepOnOneLine(QLineEdit &edit);

class Edit : public QLineEdit, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(QString EditMask READ inputMask WRITE setInputMask)
public:
    explicit Edit(QWidget *parent = nullptr);
    // Virtual so that a data-aware edit keeps its own setting apart from its field's.
    virtual void setReadOnly(bool readOnly) { QLineEdit::setReadOnly(readOnly); }
    // QChar() shows the text; any other character hides each typed one.
    QChar passwordChar() const { return passwordChar_; }
    void setPasswordChar(QChar c);
    int selStart() const;
    int selLength() const;
    void setSelStart(int start) { setCursorPosition(start); }
    void setSelLength(int length) { setSelection(cursorPosition(), length); }
    QString selText() const { return selectedText(); }
    void SelectAll() { selectAll(); }
    void Clear() { clear(); }

    NotifyEvent OnChange;

protected:
    QPalette::ColorRole colorRole() const override { return QPalette::Base; }

private:
    QChar passwordChar_;
};

// Multi-line text; Lines joins with CR LF as the program's texts do.
class Memo : public QPlainTextEdit, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
public:
    explicit Memo(QWidget *parent = nullptr);
    QString text() const;           // lines joined with CR LF
    void setText(const QString &text);   // CR LF or LF
    QStringList lines() const;
    void setLines(const QStringList &lines);
    void setWordWrap(bool wrap);
    void Clear() { clear(); }

    NotifyEvent OnChange;

protected:
    QPalette::ColorRole colorRole() const override { return QPalette::Base; }
};

class CheckBox : public QCheckBox, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Checked READ isChecked WRITE setChecked)
public:
    explicit CheckBox(QWidget *parent = nullptr);
    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }

protected:
    bool clicksFromMouse() const override { return false; }
};

class RadioButton : public QRadioButton, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Checked READ isChecked WRITE setChecked)
public:
    explicit RadioButton(QWidget *parent = nullptr);
    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }

protected:
    bool clicksFromMouse() const override { return false; }
};

class Timer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Tag READ tag WRITE setTag)
    Q_PROPERTY(int Interval READ interval WRITE setInterval)
    Q_PROPERTY(bool Enabled READ enabled WRITE setEnabled)
public:
    explicit Timer(QObject *parent = nullptr);
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    int interval() const { return timer_.interval(); }
    void setInterval(int ms);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    NotifyEvent OnTimer;

private:
    void restart();
    QTimer timer_;
    int tag_ = 0;
    bool enabled_ = true;
};

// A surface whose paint handler draws on its canvas.
class PaintBox : public QWidget, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
public:
    explicit PaintBox(QWidget *parent = nullptr);
    // Valid inside OnPaint only.
    Canvas *canvas() const { return canvas_; }
    NotifyEvent OnPaint;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Canvas *canvas_ = nullptr;
};

// Two small arrow buttons with a click handler each.
class SpinButton : public QWidget, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
public:
    explicit SpinButton(QWidget *parent = nullptr);
    QToolButton *upButton() const { return up_; }
    QToolButton *downButton() const { return down_; }
    NotifyEvent OnUpClick;
    NotifyEvent OnDownClick;

private:
    QToolButton *up_;
    QToolButton *down_;
};

class Splitter : public QSplitter, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
public:
    explicit Splitter(Qt::Orientation orientation, QWidget *parent = nullptr);
    NotifyEvent OnMoved;
};

// The web-browser control: HTML text or a page from a file.
class HtmlView : public QTextBrowser, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
public:
    explicit HtmlView(QWidget *parent = nullptr);
    // Shows a local HTML page, text file or picture; anything else (other files, folders,
    // web addresses) leaves an empty page.
    void Navigate(const QString &address);
    // The address last navigated to.
    const QString &address() const { return address_; }
    void setHtmlText(const QString &html) { setHtml(html); }

private:
    QString address_;
};

} // namespace plat
