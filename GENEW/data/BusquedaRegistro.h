#pragma once
#include "platform/ui/Form.h"

#include <QVariant>

namespace plat {
class Button;
class ListBox;
} // namespace plat

// The plain record search: the rows of a table that meet an SQL condition, one per line
// (their values joined by " | "), in the order of the chosen index's key fields; the user
// picks one.
class TfGENEBUSR : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEBUSR(QWidget *parent = nullptr);

    plat::ListBox *ListaRegistros;
    plat::Button *pbConforme;
    plat::Button *pbCancelar;
};

// The key values (texts, one per key field) of the row the user chose among the rows of
// tabla that meet filtro; a null QVariant when the user cancels or no row could be read.
QVariant ElegirRegistroConFiltro(const QString &tabla, int indice, const QString &filtro);
