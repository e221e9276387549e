#include "GENEW/runtime/CreacionesArranque.h"

CreacionesArranque::CreacionesArranque(ConexionesPrograma &conexiones)
    : transacciones_(conexiones), siguiente_(salidaMensajes()), instalada_(*this), lote_(transacciones_)
{
}

QString CreacionesArranque::mostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta)
{
    lote_.confirmar();
    return siguiente_.mostrarMensaje(tipo, texto, respuesta);
}

void CreacionesArranque::mostrarProgreso(const QString &texto1, const QString &texto2, const QString &texto3,
                                         const QString &texto4)
{
    siguiente_.mostrarProgreso(texto1, texto2, texto3, texto4);
}
