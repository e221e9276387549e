#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace plat {
class DataSet;
}

// The records of a window whose saving the user has not confirmed, as the question on closing
// names them: the datasets editing, inserting or taking a search key (what their controls and
// their grids' cell editors still hold is written to them first). A new record nothing was
// typed in (the blank row a window appends after each save) is no unsaved record. Each is
// named as the user sees it: by the label that names its grid, the page its grid is on, else
// the window's caption.
class RegistrosSinConfirmar
{
public:
    RegistrosSinConfirmar(QWidget *ventana, const QString &titulo, const QList<plat::DataSet *> &dataSets);

    const QList<plat::DataSet *> &pendientes() const { return pendientes_; }
    // Each name followed by ", ", as the question lists them.
    QString nombres() const;
    // Drops the new records nothing was typed in.
    void descartarSinTeclear();

private:
    QList<plat::DataSet *> pendientes_;
    QList<plat::DataSet *> sinTeclear_;
    QStringList nombres_;
};
