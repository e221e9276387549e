#pragma once
#include "platform/ui/Event.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QMenuBar;

namespace plat {

// A shortcut number of the class library: virtual key plus Shift/Ctrl/Alt bits.
int ShortCut(int key, ShiftState shift);

// A menu entry: caption with its "&" accelerator ("-" for a separator), tag, shortcut,
// check mark, visibility, enabling, click handler, and child entries. Its name is its
// objectName; its owner form lists it as a component.
class MenuItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QString Hint READ hint WRITE setHint)
    Q_PROPERTY(int Tag READ tag WRITE setTag)
    Q_PROPERTY(bool Visible READ visible WRITE setVisible)
    Q_PROPERTY(bool Enabled READ enabled WRITE setEnabled)
    Q_PROPERTY(bool Checked READ checked WRITE setChecked)
    Q_PROPERTY(int ShortCut READ shortCut WRITE setShortCut)
    Q_PROPERTY(int GroupIndex READ groupIndex WRITE setGroupIndex)

public:
    explicit MenuItem(QObject *parent = nullptr);
    MenuItem(const QString &caption, QObject *parent = nullptr);
    ~MenuItem() override;

    QString caption() const { return caption_; }
    void setCaption(const QString &caption);
    QString hint() const;
    void setHint(const QString &hint);
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    bool visible() const;
    void setVisible(bool visible);
    bool enabled() const;
    void setEnabled(bool enabled);
    bool checked() const;
    void setChecked(bool checked);
    int shortCut() const { return shortCut_; }
    void setShortCut(int shortCut);
    int groupIndex() const { return groupIndex_; }
    void setGroupIndex(int index) { groupIndex_ = index; }
    bool isLine() const { return caption_ == QLatin1String("-"); }

    int count() const { return items_.size(); }
    MenuItem *item(int index) const { return items_.value(index); }
    const QList<MenuItem *> &items() const { return items_; }
    MenuItem *parentItem() const { return parentItem_; }
    int indexOf(const MenuItem *item) const { return items_.indexOf(const_cast<MenuItem *>(item)); }

    void Add(MenuItem *item);
    void Insert(int index, MenuItem *item);
    // Takes the entry out of this menu without freeing it.
    void Remove(MenuItem *item);
    // Takes the entry at index out and frees it.
    void Delete(int index);
    void Clear();
    // The child entry whose caption, without "&" and case ignored, equals caption.
    MenuItem *Find(const QString &caption) const;
    // Runs the click handler (through the application's guard).
    void Click();

    NotifyEvent OnClick;

    QAction *action() const { return action_; }
signals:
    void itemsChanged();

public:
    QMenu *subMenu();   // created on demand, also for an entry without children yet

private:
    void attachChild(int index, MenuItem *item);
    // A hidden entry with a shortcut keeps answering it through an action of the window
    // that owns the entry (Qt disables the shortcut of a hidden action). So does an entry
    // of a pop-up menu, whose menu is shown only on demand: its shortcut answers while the
    // focus is inside the form that owns the menu (two windows may use the same keys).
    void updateHiddenShortcut();
    bool inPopupMenu() const;

    QString caption_;
    int tag_ = 0;
    int shortCut_ = 0;
    int groupIndex_ = 0;
    bool enabled_ = true;   // Qt reports a hidden action as disabled
    QAction *action_;
    QAction *hiddenShortcut_ = nullptr;
    QMenu *menu_ = nullptr;
    QList<MenuItem *> items_;
    MenuItem *parentItem_ = nullptr;
};

// A form's main menu: a menu bar over the top entries of Items(). The frame's bar also
// shows the active MDI child's entries merged in by group index.
class MainMenu : public QObject
{
    Q_OBJECT
public:
    explicit MainMenu(QObject *parent = nullptr);
    ~MainMenu() override;
    MenuItem *Items() const { return items_; }
    QMenuBar *menuBar();
    // Shows the child's top entries in this bar: a child entry replaces the entries of the
    // same group index, entries of new groups go in group order; nullptr undoes it.
    void mergeWith(MainMenu *child);
    // The entries the bar shows now, in order (after merging).
    QList<MenuItem *> shownItems() const;

private:
    void rebuild();
    MenuItem *items_;
    QPointer<QMenuBar> bar_;
    QPointer<MainMenu> merged_;
};

// A pop-up (context) menu.
class PopupMenu : public QObject
{
    Q_OBJECT
public:
    explicit PopupMenu(QObject *parent = nullptr);
    MenuItem *Items() const { return items_; }
    // Opens the menu at a screen position without waiting for the choice.
    void Popup(int x, int y);
    NotifyEvent OnPopup;

private:
    MenuItem *items_;
};

} // namespace plat
