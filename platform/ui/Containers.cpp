#include "platform/ui/Containers.h"

#include "platform/ui/Application.h"
#include "platform/ui/Canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTab>

namespace plat {

// The tab row of a page control: asks before a click changes the page and draws owner-
// drawn tabs through the control's handler.
class PageTabBar : public QTabBar
{
public:
    explicit PageTabBar(PageControl *owner) : QTabBar(owner), owner_(owner) {}

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        const int index = tabAt(e->position().toPoint());
        if (index >= 0 && index != currentIndex() && !owner_->allowChange())
            return;
        QTabBar::mousePressEvent(e);
    }

    void paintEvent(QPaintEvent *e) override
    {
        if (!owner_->ownerDraw_ || !owner_->OnDrawTab.assigned()) {
            QTabBar::paintEvent(e);
            return;
        }
        QPainter painter(this);
        Canvas canvas(&painter);
        canvas.setFont(font());
        owner_->canvas_ = &canvas;
        int visibleIndex = 0;
        for (int i = 0; i < count(); ++i) {
            if (!isTabVisible(i))
                continue;
            const QRect r = tabRect(i);
            const bool active = i == currentIndex();
            const int n = visibleIndex++;
            application().guard(owner_, [&] { owner_->OnDrawTab(owner_, n, r, active); });
        }
        owner_->canvas_ = nullptr;
    }

private:
    PageControl *owner_;
};

TabSheet::TabSheet(QWidget *parent) : QWidget(parent), Control(this) {}

PageControl *TabSheet::pageControl() const
{
    for (QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (auto *pc = qobject_cast<PageControl *>(w))
            return pc;
    return nullptr;
}

void TabSheet::setCaption(const QString &caption)
{
    caption_ = caption;
    if (PageControl *pc = pageControl())
        pc->setTabText(pc->indexOf(this), caption);
}

void TabSheet::setTabVisible(bool visible)
{
    tabVisible_ = visible;
    if (PageControl *pc = pageControl())
        pc->QTabWidget::setTabVisible(pc->indexOf(this), visible);
}

int TabSheet::pageIndex() const
{
    PageControl *pc = pageControl();
    return pc ? int(pc->pages_.indexOf(const_cast<TabSheet *>(this))) : -1;
}

PageControl::PageControl(QWidget *parent) : QTabWidget(parent), Control(this)
{
    setTabBar(new PageTabBar(this));
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (reverting_)
            return;
        shownIndex_ = index;
        fire(OnChange);
    });
}

bool PageControl::allowChange()
{
    bool allow = true;
    if (OnChanging.assigned() && !application().guard(this, [&] { OnChanging(this, allow); }))
        return false;
    return allow;
}

void PageControl::addPage(TabSheet *page)
{
    pages_.append(page);
    addTab(page, page->caption());
    QTabWidget::setTabVisible(indexOf(page), page->tabVisible());
}

TabSheet *PageControl::activePage() const
{
    return qobject_cast<TabSheet *>(currentWidget());
}

void PageControl::setActivePage(TabSheet *page)
{
    setActivePageIndex(indexOf(page));
}

void PageControl::setActivePageIndex(int index)
{
    setCurrentIndex(index);
}

void PageControl::setTabsShown(bool shown)
{
    tabBar()->setVisible(shown);
}

void PageControl::setOwnerDraw(bool on)
{
    ownerDraw_ = on;
    tabBar()->update();
}

// ---- StatusBar ---------------------------------------------------------------------------

StatusBar::StatusBar(QWidget *parent) : QWidget(parent), Control(this)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize StatusBar::sizeHint() const
{
    return QSize(200, fontMetrics().height() + 8);
}

void StatusBar::setSimplePanel(bool on)
{
    simplePanel_ = on;
    update();
}

void StatusBar::setSimpleText(const QString &text)
{
    simpleText_ = text;
    update();
}

void StatusBar::setPanels(const QList<StatusPanel> &panels)
{
    panels_ = panels;
    update();
}

void StatusBar::addPanel(const StatusPanel &panel)
{
    panels_.append(panel);
    update();
}

void StatusBar::clearPanels()
{
    panels_.clear();
    update();
}

QRect StatusBar::panelRect(int index) const
{
    int x = 0;
    for (int i = 0; i < panels_.size(); ++i) {
        // The last panel takes the rest of the bar.
        const int w = i == panels_.size() - 1 ? std::max(panels_[i].Width, QWidget::width() - x) : panels_[i].Width;
        if (i == index)
            return QRect(x, 0, w, QWidget::height()).adjusted(1, 2, -1, -1);
        x += w + 2;
    }
    return {};
}

void StatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const int textY = (QWidget::height() - fontMetrics().height()) / 2;
    if (simplePanel_) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QPoint(4, textY + fontMetrics().ascent()), simpleText_);
        return;
    }
    Canvas canvas(&painter);
    canvas.setFont(font());
    canvas_ = &canvas;
    for (int i = 0; i < panels_.size(); ++i) {
        const QRect r = panelRect(i);
        if (panels_[i].OwnerDraw && OnDrawPanel.assigned()) {
            application().guard(this, [&] { OnDrawPanel(this, i, r); });
            continue;
        }
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.save();
        painter.setClipRect(r);
        painter.drawText(QPoint(r.left() + 3, textY + fontMetrics().ascent()), panels_[i].Text);
        painter.restore();
    }
    canvas_ = nullptr;
}

} // namespace plat
