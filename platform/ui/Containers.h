#pragma once
#include "platform/ui/Control.h"

#include <QList>
#include <QRect>
#include <QTabBar>
#include <QTabWidget>

namespace plat {

class Canvas;

// One page of a page control.
class TabSheet : public QWidget, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool TabVisible READ tabVisible WRITE setTabVisible)
public:
    explicit TabSheet(QWidget *parent = nullptr);
    QString caption() const { return caption_; }
    void setCaption(const QString &caption);
    bool tabVisible() const { return tabVisible_; }
    void setTabVisible(bool visible);
    int pageIndex() const;

private:
    friend class PageControl;
    class PageControl *pageControl() const;
    QString caption_;
    bool tabVisible_ = true;
};

using TabChangingEvent = Event<void(QObject *Sender, bool &AllowChange)>;
// TabIndex counts the visible tabs only.
using DrawTabEvent = Event<void(QObject *Control, int TabIndex, const QRect &Rect, bool Active)>;

class PageControl : public QTabWidget, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(int ActivePageIndex READ activePageIndex WRITE setActivePageIndex)
public:
    explicit PageControl(QWidget *parent = nullptr);
    void addPage(TabSheet *page);
    int pageCount() const { return int(pages_.size()); }
    TabSheet *page(int index) const { return pages_.value(index); }
    TabSheet *activePage() const;
    void setActivePage(TabSheet *page);
    int activePageIndex() const { return currentIndex(); }
    void setActivePageIndex(int index);
    // Hides or shows the row of tabs (the pages stay).
    void setTabsShown(bool shown);
    // Owner-drawn tabs run OnDrawTab instead of the style's drawing.
    void setOwnerDraw(bool on);
    bool ownerDraw() const { return ownerDraw_; }
    Canvas *canvas() const { return canvas_; }

    NotifyEvent OnChange;
    TabChangingEvent OnChanging;
    DrawTabEvent OnDrawTab;

private:
    friend class TabSheet;
    friend class PageTabBar;
    bool allowChange();
    QList<TabSheet *> pages_;
    int shownIndex_ = -1;
    bool reverting_ = false;
    bool ownerDraw_ = false;
    Canvas *canvas_ = nullptr;
};

struct StatusPanel
{
    QString Text;
    int Width = 50;
    bool OwnerDraw = false;
};

using DrawPanelEvent = Event<void(QObject *StatusBar, int Panel, const QRect &Rect)>;

// A status bar that shows one simple text or a row of panels (owner-drawn ones run
// OnDrawPanel on the bar's canvas).
class StatusBar : public QWidget, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString SimpleText READ simpleText WRITE setSimpleText)
public:
    explicit StatusBar(QWidget *parent = nullptr);
    bool simplePanel() const { return simplePanel_; }
    void setSimplePanel(bool on);
    QString simpleText() const { return simpleText_; }
    void setSimpleText(const QString &text);
    QList<StatusPanel> &panels() { return panels_; }
    void setPanels(const QList<StatusPanel> &panels);
    void addPanel(const StatusPanel &panel);
    void clearPanels();
    QRect panelRect(int index) const;
    Canvas *canvas() const { return canvas_; }
    QSize sizeHint() const override;

    DrawPanelEvent OnDrawPanel;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool simplePanel_ = false;
    QString simpleText_;
    QList<StatusPanel> panels_;
    Canvas *canvas_ = nullptr;
};

} // namespace plat
