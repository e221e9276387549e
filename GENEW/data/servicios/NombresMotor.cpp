#include "GENEW/data/servicios/NombresMotor.h"

#include "GENEW/runtime/comun/Rutinas.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/data/Field.h"

namespace {
const QString Primario = QStringLiteral("<Primary>");
const QString Clave1 = QStringLiteral("Clave1");
const QString PrefijoPropietario = QStringLiteral("dbo.");
const QString CRLF = QStringLiteral("\r\n");
} // namespace

QString NombresMotor::NombreTablaSQL(const QString &tabla) const
{
    if (!esSQLServer())
        return tabla;
    // A temporary table kept in a folder is a file of that folder, never a server table.
    if (EsTablaTemporal(tabla) && configuracion_.baseDatosTemporal.contains(u'/'))
        return tabla;
    if (tabla.contains(PrefijoPropietario))
        return tabla;
    return PrefijoPropietario + tabla;
}

QString NombresMotor::QuitarPropietarioTabla(const QString &tabla) const
{
    if (!esSQLServer() || tabla.count(u'.') != 1)
        return tabla;
    return tabla.mid(tabla.indexOf(u'.') + 1);
}

QString NombresMotor::NombreIndice(const QString &tabla, const QString &indice, bool sinCamposIndice) const
{
    if (sinCamposIndice)
        return indice;
    plat::EngineKind motor = configuracion_.motor;
    if (EsTablaTemporal(tabla) && !configuracion_.archivosTemporalesEnBD)
        motor = plat::EngineKind::SQLite;

    const bool primario = indice.isEmpty() || indice == Primario;
    if (motor == plat::EngineKind::SqlServer) {
        const QString sinPropietario = QuitarPropietarioTabla(tabla);
        return sinPropietario + u'_' + (primario ? Clave1 : indice);
    }
    // Table creation names the primary key "<table>_Clave1" here too, so the key
    // look-ups must ask for that name.
    if (motor == plat::EngineKind::PostgreSQL)
        return tabla + u'_' + (primario ? Clave1 : indice);
    if (indice == Primario)
        return Clave1;
    return indice;
}

bool NombresMotor::clavesDeCatalogo(const QString &tabla) const
{
    return esSQLServer() && (!EsTablaTemporal(tabla) || configuracion_.archivosTemporalesEnBD);
}

QString NombresMotor::NombreIndiceCatalogo(const QString &tabla, const QString &indice) const
{
    if (indice.contains(u'_'))
        return indice;
    const QString sinPropietario = QuitarPropietarioTabla(tabla);
    return sinPropietario + u'_' + (indice.isEmpty() ? Clave1 : indice);
}

QString NombresMotor::BaseDatosCatalogo(const QString &tabla) const
{
    if (EsTablaTemporal(tabla))
        return configuracion_.baseDatosTemporal;
    if (EsTablaGeneral(tabla))
        return QStringLiteral("DatabaseGeneral");
    return QString();
}

NombresMotor::TablaCatalogo NombresMotor::TablaColumnasCatalogo(const QString &tabla) const
{
    const QStringList partes = tabla.split(u'.');
    if (partes.size() >= 3)
        return TablaCatalogo{partes.first(), partes.last()};
    // An owner prefix alone names no database: "dbo.CLIENTE" is CLIENTE of its own one.
    return TablaCatalogo{BaseDatosCatalogo(tabla), partes.last()};
}

QString RespuestaANombres(const QString &respuesta)
{
    QString nombres = respuesta;
    nombres.replace(CRLF, QStringLiteral(";"));
    return nombres;
}

int NumeroNombres(const QString &nombres)
{
    return nombres.isEmpty() ? 0 : static_cast<int>(nombres.count(u';')) + 1;
}

QString OpcionesColumnasTabla(const QString &opciones)
{
    QString leidas = opciones;
    leidas.replace(QStringLiteral("Sin Campos Memo"), QStringLiteral("SinMemos"));
    return leidas;
}

QString NombresALineas(const QString &nombres)
{
    QString lineas = nombres;
    lineas.replace(u';', CRLF);
    return QuitarSaltoFinal(lineas);
}

bool EsCampoHora(TFieldType tipo, const QString &nombre)
{
    return tipo == ftDateTime && nombre.contains(QStringLiteral("Hora"));
}

bool EsCampoHora(const plat::Field &campo)
{
    return EsCampoHora(campo.dataType(), campo.fieldName());
}
