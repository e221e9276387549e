#pragma once
#include <QList>
#include <QString>

// The stored SQL statements and custom reports of table FILTRO that a user may run from an
// application, for the main window's menus.

struct ElementoAlmacenado
{
    QString descripcion;
    QString instrucciones;   // Name=Value lines: AplicacionesContenedoras, UsuariosAutorizados
};

// FILTRO's NombreTabla for a kind: "ConsultasSQL" is "SQL", any other kind is itself.
QString NombreTablaDeTipoConsulta(const QString &tipo);

// The descriptions listed, each followed by CR LF, in the order given. With no user and no
// application every item is listed; otherwise an item is listed when the application is an
// item of its AplicacionesContenedoras and the user (the one whose settings apply) an item
// of its UsuariosAutorizados, or that list is empty.
QString ListaElementosAutorizados(const QList<ElementoAlmacenado> &elementos, const QString &usuario,
                                  const QString &usuarioConfiguracion, const QString &aplicacion);
