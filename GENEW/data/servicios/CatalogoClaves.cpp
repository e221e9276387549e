#include "GENEW/data/servicios/CatalogoClaves.h"

#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/data/engine/Dialect.h"

QString CatalogoClaves::sentenciaCamposClave(const QString &tabla, const QString &indice) const
{
    return dialecto_.keyFieldsQuery(nombres_.QuitarPropietarioTabla(tabla), nombres_.NombreIndiceCatalogo(tabla, indice));
}

QString CatalogoClaves::sentenciaColumnas(const QString &tabla, const QString &opciones) const
{
    return dialecto_.columnsQuery(nombres_.TablaColumnasCatalogo(tabla).tabla, opciones.contains(QStringLiteral("SinMemos")));
}

QString CatalogoClaves::preguntar(const QString &sql, const QString &baseDatos, bool usarCache)
{
    // Catalogue questions run without options: a failure shows the service's messages.
    const QString respuesta =
        usarCache && cache_
            ? cache_->respuesta(sql, [&](const QString &sentencia) { return ejecutar_(sentencia, baseDatos, QString()); })
            : ejecutar_(sql, baseDatos, QString());
    // After the messages, a failed question names no field rather than the error's words.
    return EsRespuestaErrorSQL(respuesta) ? QString() : respuesta;
}

QString CatalogoClaves::CamposClaveSQL(const QString &tabla, const QString &indice)
{
    // A temporary table's structure changes from one use to the next: never cached.
    const QString respuesta = preguntar(sentenciaCamposClave(tabla, indice), nombres_.BaseDatosCatalogo(tabla),
                                        !EsTablaTemporal(tabla));
    return RespuestaANombres(respuesta);
}

int CatalogoClaves::NumeroCamposClaveSQL(const QString &tabla)
{
    return NumeroNombres(CamposClaveSQL(tabla, QString()));
}

QString CatalogoClaves::ColumnasTablaSQL(const QString &tabla, const QString &opciones)
{
    const NombresMotor::TablaCatalogo donde = nombres_.TablaColumnasCatalogo(tabla);
    return RespuestaANombres(preguntar(sentenciaColumnas(tabla, opciones), donde.baseDatos, true));
}

QString CatalogoClaves::ListaColumnasTabla(const QString &tabla, const QString &opciones)
{
    return NombresALineas(ColumnasTablaSQL(tabla, OpcionesColumnasTabla(opciones)));
}
