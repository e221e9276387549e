#include "platform/ui/Menus.h"

#include "platform/ui/Application.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

namespace plat {

int ShortCut(int key, ShiftState shift)
{
    int s = key & 0xFF;
    if (shift & ssShift) s |= 0x2000;
    if (shift & ssCtrl) s |= 0x4000;
    if (shift & ssAlt) s |= 0x8000;
    return s;
}

namespace {

QString withoutAccelerator(QString caption)
{
    // "&&" stands for a literal "&".
    caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

} // namespace

MenuItem::MenuItem(QObject *parent) : QObject(parent), action_(new QAction(this))
{
    connect(action_, &QAction::triggered, this, [this] { Click(); });
}

MenuItem::MenuItem(const QString &caption, QObject *parent) : MenuItem(parent)
{
    setCaption(caption);
}

MenuItem::~MenuItem()
{
    if (parentItem_)
        parentItem_->items_.removeOne(this);
    for (MenuItem *child : std::as_const(items_))
        child->parentItem_ = nullptr;
    delete menu_;
}

void MenuItem::setCaption(const QString &caption)
{
    caption_ = caption;
    // A separator keeps "-" as its caption but shows no text: styles draw a separator's
    // text as a heading.
    const bool separator = caption == QLatin1String("-");
    action_->setSeparator(separator);
    action_->setText(separator ? QString() : caption);
    if (menu_)
        menu_->setTitle(caption);
}

QString MenuItem::hint() const { return action_->toolTip(); }
void MenuItem::setHint(const QString &hint) { action_->setToolTip(hint); action_->setStatusTip(hint); }
bool MenuItem::visible() const { return action_->isVisible(); }
void MenuItem::setVisible(bool visible)
{
    action_->setVisible(visible);
    updateHiddenShortcut();
}

void MenuItem::updateHiddenShortcut()
{
    QWidget *window = nullptr;
    for (QObject *o = parent(); o && !window; o = o->parent())
        window = qobject_cast<QWidget *>(o);
    const bool popup = inPopupMenu();
    if ((action_->isVisible() && !popup) || shortCut_ == 0 || !window) {
        delete hiddenShortcut_;
        hiddenShortcut_ = nullptr;
        return;
    }
    if (!hiddenShortcut_) {
        hiddenShortcut_ = new QAction(this);
        connect(hiddenShortcut_, &QAction::triggered, this, [this] {
            if (enabled_)
                Click();
        });
        window->addAction(hiddenShortcut_);
    }
    hiddenShortcut_->setShortcut(action_->shortcut());
    hiddenShortcut_->setShortcutContext(popup ? Qt::WidgetWithChildrenShortcut : Qt::WindowShortcut);
}

bool MenuItem::inPopupMenu() const
{
    for (const QObject *o = parent(); o; o = o->parent()) {
        if (qobject_cast<const PopupMenu *>(o))
            return true;
        if (o->isWidgetType())
            return false;
    }
    return false;
}
bool MenuItem::enabled() const { return enabled_; }
void MenuItem::setEnabled(bool enabled)
{
    enabled_ = enabled;
    action_->setEnabled(enabled);
}
bool MenuItem::checked() const { return action_->isChecked(); }

void MenuItem::setChecked(bool checked)
{
    action_->setCheckable(true);
    action_->setChecked(checked);
}

void MenuItem::setShortCut(int shortCut)
{
    shortCut_ = shortCut;
    const int combination = qtKeyCombinationFromShortCut(shortCut);
    action_->setShortcut(combination ? QKeySequence(combination) : QKeySequence());
    action_->setShortcutContext(Qt::WindowShortcut);
    updateHiddenShortcut();
}

QMenu *MenuItem::subMenu()
{
    if (!menu_) {
        menu_ = new QMenu(caption_);
        action_->setMenu(menu_);
        // Opening an entry with children runs its click handler first (help menus fill in
        // their captions there).
        connect(menu_, &QMenu::aboutToShow, this, [this] { Click(); });
    }
    return menu_;
}

void MenuItem::attachChild(int index, MenuItem *item)
{
    if (item->parentItem_)
        item->parentItem_->Remove(item);
    index = std::clamp(index, 0, int(items_.size()));
    QMenu *menu = subMenu();
    QAction *before = index < items_.size() ? items_[index]->action_ : nullptr;
    menu->insertAction(before, item->action_);
    items_.insert(index, item);
    item->parentItem_ = this;
    if (!item->parent())
        item->setParent(this);
    item->updateHiddenShortcut();
    emit itemsChanged();
}

void MenuItem::Add(MenuItem *item) { attachChild(items_.size(), item); }
void MenuItem::Insert(int index, MenuItem *item) { attachChild(index, item); }

void MenuItem::Remove(MenuItem *item)
{
    if (!items_.removeOne(item))
        return;
    if (menu_)
        menu_->removeAction(item->action_);
    item->parentItem_ = nullptr;
    emit itemsChanged();
}

void MenuItem::Delete(int index)
{
    if (MenuItem *item = items_.value(index)) {
        Remove(item);
        delete item;
    }
}

void MenuItem::Clear()
{
    while (!items_.isEmpty())
        Delete(items_.size() - 1);
}

MenuItem *MenuItem::Find(const QString &caption) const
{
    const QString wanted = withoutAccelerator(caption);
    for (MenuItem *item : items_)
        if (withoutAccelerator(item->caption_).compare(wanted, Qt::CaseInsensitive) == 0)
            return item;
    return nullptr;
}

void MenuItem::Click()
{
    if (OnClick.assigned())
        application().guard(this, [this] { OnClick(this); });
}

// ---- main and pop-up menus ---------------------------------------------------------------

MainMenu::MainMenu(QObject *parent) : QObject(parent), items_(new MenuItem(this)) {}

MainMenu::~MainMenu()
{
    delete bar_;
}

QMenuBar *MainMenu::menuBar()
{
    if (!bar_) {
        bar_ = new QMenuBar();
        rebuild();
        // The bar follows the entries added and removed later.
        connect(items_, &MenuItem::itemsChanged, this, &MainMenu::rebuild);
    }
    return bar_;
}

QList<MenuItem *> MainMenu::shownItems() const
{
    QList<MenuItem *> own = items_->items();
    if (!merged_)
        return own;
    const QList<MenuItem *> &theirs = merged_->Items()->items();
    QList<MenuItem *> result;
    for (MenuItem *item : own) {
        const bool replaced = std::any_of(theirs.begin(), theirs.end(),
                                          [item](MenuItem *t) { return t->groupIndex() == item->groupIndex(); });
        if (!replaced)
            result.append(item);
    }
    result += theirs;
    std::stable_sort(result.begin(), result.end(),
                     [](MenuItem *a, MenuItem *b) { return a->groupIndex() < b->groupIndex(); });
    return result;
}

void MainMenu::mergeWith(MainMenu *child)
{
    merged_ = child == this ? nullptr : child;
    rebuild();
}

void MainMenu::rebuild()
{
    if (!bar_)
        return;
    for (QAction *a : bar_->actions())
        bar_->removeAction(a);
    for (MenuItem *item : shownItems())
        bar_->addAction(item->action());
}

PopupMenu::PopupMenu(QObject *parent) : QObject(parent), items_(new MenuItem(this)) {}

void PopupMenu::Popup(int x, int y)
{
    if (OnPopup.assigned())
        application().guard(this, [this] { OnPopup(this); });
    items_->subMenu()->popup(QPoint(x, y));
}

} // namespace plat
