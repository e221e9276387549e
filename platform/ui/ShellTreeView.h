#pragma once
#include "platform/ui/Control.h"

#include <QTreeView>

class QFileSystemModel;

namespace plat {

// The shell's folder tree: the file system under a root folder, showing the kinds of item
// its object types allow.
class ShellTreeView : public QTreeView, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
public:
    enum ObjectType { otFolders = 0x1, otNonFolders = 0x2, otHidden = 0x4 };
    Q_DECLARE_FLAGS(ObjectTypes, ObjectType)

    explicit ShellTreeView(QWidget *parent = nullptr);

    // The folder the tree starts from; a file's path roots the tree at its folder and
    // selects the file.
    QString root() const { return root_; }
    void setRoot(const QString &path);
    ObjectTypes objectTypes() const { return types_; }
    void setObjectTypes(ObjectTypes types);

    // The selected item's path; the root when nothing is selected.
    QString path() const;
    void setPath(const QString &path);

    QFileSystemModel *fileSystemModel() const { return model_; }

private:
    QFileSystemModel *model_;
    QString root_;
    ObjectTypes types_ = otFolders;
};

} // namespace plat

Q_DECLARE_OPERATORS_FOR_FLAGS(plat::ShellTreeView::ObjectTypes)
