#include "platform/ui/ShellTreeView.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>

namespace plat {

ShellTreeView::ShellTreeView(QWidget *parent) : QTreeView(parent), Control(this), model_(new QFileSystemModel(this))
{
    model_->setReadOnly(true);
    setModel(model_);
    // Name only, as the shell's tree shows it.
    for (int column = 1; column < model_->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setObjectTypes(types_);
}

void ShellTreeView::setObjectTypes(ObjectTypes types)
{
    types_ = types;
    QDir::Filters filters = QDir::NoDotAndDotDot | QDir::AllDirs;
    if (types & otNonFolders)
        filters |= QDir::Files;
    if (types & otHidden)
        filters |= QDir::Hidden;
    // Without folders among the types the tree still needs them to reach the files below.
    model_->setFilter(filters);
}

void ShellTreeView::setRoot(const QString &path)
{
    const QFileInfo info(path);
    root_ = info.isFile() ? info.absolutePath() : info.absoluteFilePath();
    setRootIndex(model_->setRootPath(root_));
    if (info.isFile())
        setPath(info.absoluteFilePath());
}

QString ShellTreeView::path() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? model_->filePath(current) : root_;
}

void ShellTreeView::setPath(const QString &path)
{
    const QModelIndex index = model_->index(path);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index);
}

} // namespace plat
