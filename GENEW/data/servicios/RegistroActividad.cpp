#include "GENEW/data/servicios/RegistroActividad.h"

#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

QString LineaRegistroAcceso(const AccesoFormulario &acceso)
{
    const QString separador = QStringLiteral(", ");
    return FormatearFechaHora(QStringLiteral("dd/mm/yyyy hh:nn:ss"), acceso.momento) + separador + acceso.accion
        + separador + acceso.formulario + separador + acceso.titulo + separador + acceso.equipo + separador;
}

void DiarioAccesos::registrar(AccesoFormulario acceso)
{
    QStringList lineas = DividirLineas(LeerFicheroTexto(fichero_));
    if (acceso.accion.contains(QLatin1String("Start"))) {
        lineas.clear();
        const qsizetype coma = acceso.accion.indexOf(u',');
        acceso.accion = coma < 0 ? QString() : acceso.accion.mid(coma + 1);
    }
    while (lineas.size() >= maximoLineas)
        lineas.removeFirst();
    lineas << LineaRegistroAcceso(acceso);
    EscribirFicheroTexto(fichero_, UnirLineas(lineas));
}

QString LineaTraza(const QString &usuario, const QDateTime &momento, const QString &texto)
{
    QString enUnaLinea = texto;
    enUnaLinea.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    return usuario + u'|' + FormatearFechaHora(QStringLiteral("yyyy/mm/dd"), momento) + u'|'
        + FormatearFechaHora(QStringLiteral("hh:nn:ss:zzz"), momento) + u'|' + enUnaLinea;
}

void AnotarTraza(QStringList &traza, const QString &fichero, const QString &linea)
{
    traza << linea;
    EscribirFicheroTexto(fichero, UnirLineas(traza));
}
