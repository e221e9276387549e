#include "GENEW/data/servicios/CatalogoClaves.h"

#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/Errores.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Dialect.h"

#include <optional>

namespace {

bool esMemo(const plat::FieldDef &columna)
{
    const QString tipo = columna.declaredType.toUpper();
    if (!tipo.isEmpty())
        return tipo == QLatin1String("TEXT") || tipo == QLatin1String("MEMO");
    return columna.type == ftMemo || columna.type == ftFmtMemo;
}

// A question to the connection's record; nullopt when the record could not answer (the
// connection failed to open, the table is not there), and then the server is asked.
template<typename Pregunta>
auto delRegistro(Pregunta pregunta) -> std::optional<decltype(pregunta())>
{
    try {
        return pregunta();
    } catch (const gp::Error &) {
        return std::nullopt;
    }
}

} // namespace

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

plat::Connection *CatalogoClaves::registro(const QString &tabla, const QString &baseDatos) const
{
    if (!conexion_ || dialecto_.kind() != plat::EngineKind::PostgreSQL || EsTablaTemporal(tabla))
        return nullptr;
    return conexion_(baseDatos);
}

QString CatalogoClaves::CamposClaveSQL(const QString &tabla, const QString &indice)
{
    const QString sinPropietario = nombres_.QuitarPropietarioTabla(tabla);
    if (plat::Connection *conexion = registro(tabla, nombres_.BaseDatosCatalogo(tabla))) {
        const auto campos = delRegistro([&] {
            return conexion->keyFields(sinPropietario, nombres_.NombreIndiceCatalogo(tabla, indice));
        });
        if (campos)
            return campos->join(u';');
    }
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
    if (plat::Connection *conexion = registro(tabla, donde.baseDatos)) {
        const bool sinMemos = opciones.contains(QStringLiteral("SinMemos"));
        const auto columnas = delRegistro([&] {
            QStringList nombres;
            for (const plat::FieldDef &columna : conexion->columns(donde.tabla))
                if (!sinMemos || !esMemo(columna))
                    nombres.append(columna.name);
            return nombres;
        });
        if (columnas)
            return columnas->join(u';');
    }
    return RespuestaANombres(preguntar(sentenciaColumnas(tabla, opciones), donde.baseDatos, true));
}

QString CatalogoClaves::ListaColumnasTabla(const QString &tabla, const QString &opciones)
{
    return NombresALineas(ColumnasTablaSQL(tabla, OpcionesColumnasTabla(opciones)));
}
