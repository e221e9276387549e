// The analysis groups of the data module: the categories of user profiles, their SQL filter,
// the range dialog and the groups of a record.
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/modulo/VentanasModulo.h"
#include "GENEW/data/servicios/TextosGruposAnalisis.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QScopeGuard>

QString RangosGruposAnalisis;

namespace {

const QString kTodas = QStringLiteral("Todas");

} // namespace

QString TModuloDatos::perfilesCategoriasGA() const
{
    plat::TableDataSet &parametros = ParamGenerales->table();
    if (!parametros.active() || parametros.isEmpty())
        return QString();
    const plat::Field *campo = parametros.findField(QStringLiteral("PerfilesCategoriasGA"));
    return campo ? campo->asString() : QString();
}

QString TModuloDatos::CategoriasPerfilesGA(const QString &perfiles)
{
    return CategoriasDePerfiles(perfiles, perfilesCategoriasGA());
}

QString TModuloDatos::FiltroCategoriasGruposAnalisis(const QString &perfil)
{
    return FiltroCategoriasPerfil(perfil, perfilesCategoriasGA());
}

QString TModuloDatos::SeleccionarRangosGruposAnalisis(const QString &perfiles, const QString &rangos)
{
    const QString opciones = QStringLiteral("Titulo=Selección de Rangos de Grupos de Análisis\r\nNumeroCampos=3\r\n"
                                            "DefinicionCampos=Categoria,ftString,30,ReadOnly;ValorDesde,ftString,12;"
                                            "ValorHasta,ftString,12;\r\n");
    QList<FilaRangoGrupo> filas = FilasRangosGrupos(CategoriasPerfilesGA(perfiles), rangos);
    for (;;) {
        filas = LeerFilasRangos(ventanasModulo().MostrarListaDatos(opciones, TextoFilasRangos(filas)));
        bool fallo = false;
        for (const FilaRangoGrupo &fila : filas)
            if (fila.invertida()) {
                MensajeAviso(QStringLiteral("¡El valor Desde es mayor que el valor Hasta en la categoría ") + fila.categoria);
                fallo = true;
            }
        if (!fallo)
            break;
    }
    RangosGruposAnalisis = RespuestaRangosGrupos(filas);
    return RangosGruposAnalisis;
}

QString TModuloDatos::RegistroEnGruposAnalisis(const QString &tabla, const QString &categoria, const QString &clave)
{
    const QString nombre = QuitarPropietarioTabla(tabla);
    const bool todas = categoria == kTodas;
    QStringList grupos;
    if (fGENEINIC->Configuracion.basesDatos.Motor == plat::EngineKind::SQLite) {
        grupos = gruposEnTablas(nombre, todas ? QString() : categoria, clave);
    } else {
        QString sql = QStringLiteral("SELECT T.GrupoAnalisis FROM GRANTAB T JOIN GRANALIS G   ON T.GrupoAnalisis = G.Codigo   "
                                     "WHERE T.NombreTabla = ")
            + Entrecomillar(nombre) + QStringLiteral("  AND T.ClaveTabla = ") + Entrecomillar(clave);
        if (!todas)
            sql += QStringLiteral("  AND G.CategoriaGrupo = ") + Entrecomillar(categoria);
        // The embedded engine reads GRANTAB in key order, so a category's first group is its
        // lowest code; a server answers in no order of its own without this.
        sql += QStringLiteral(" ORDER BY T.GrupoAnalisis");
        const QString respuesta = EjecutarSQL(sql, QStringLiteral("Database"), OpcionSQL::Silenciosa);
        // A failed statement answers its error text, which is no group.
        if (!EsRespuestaErrorSQL(respuesta))
            grupos = DividirLineas(respuesta);
    }
    if (todas)
        return grupos.join(u',');
    return grupos.value(0);
}

// The record's groups read through GATablas (and, for one category, GAnalisis): every group, or
// the first one of the category.
QStringList TModuloDatos::gruposEnTablas(const QString &tabla, const QString &categoria, const QString &clave)
{
    AbrirTablasAuxiliares();
    plat::TableDataSet &asignaciones = GATablas->table();
    plat::TableDataSet &grupos = GAnalisis->table();
    if (!AbrirTabla(asignaciones) || !AbrirTabla(grupos))
        return {};
    asignaciones.setRange({tabla, clave}, {tabla, clave});
    const auto libre = qScopeGuard([&] { asignaciones.cancelRange(); });
    QStringList encontrados;
    for (asignaciones.first(); !asignaciones.eof(); asignaciones.next()) {
        const QString grupo = asignaciones.fieldByName(QStringLiteral("GrupoAnalisis")).asString();
        if (categoria.isEmpty()) {
            encontrados << grupo;
        } else if (grupos.findKey({grupo})
                   && grupos.fieldByName(QStringLiteral("CategoriaGrupo")).asString() == categoria) {
            return {grupo};
        }
    }
    return encontrados;
}
