#include "GENEW/data/ventanas/HistorialAccesos.h"

#include "GENEW/data/ventanas/GENEMLIS.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/modulo/TablaDataSet.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/Errores.h"
#include "platform/data/Field.h"
#include "platform/data/QueryDataSet.h"

QString SentenciaHistorialAccesos(const QString &tabla, const QString &claveTexto)
{
    return QStringLiteral("SELECT CodigoUsuario, Fecha, Accion, Datos FROM REGACCES   WHERE NombreTabla = ")
           + Entrecomillar(tabla) + QStringLiteral("    AND ((ClaveTabla = ") + Entrecomillar(claveTexto)
           + QStringLiteral(") ") + QStringLiteral("     OR (ClaveTabla = ") + Entrecomillar(claveTexto.chopped(claveTexto.isEmpty() ? 0 : 1))
           + QStringLiteral(")) ") + QStringLiteral("  ORDER BY Fecha DESC");
}

namespace {

QString lineaHistorial(const plat::DataSet &consulta)
{
    QString datos = consulta.field(3).asString();
    datos.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    datos.replace(u'|', QStringLiteral("·"));
    return consulta.field(0).asString() + u'|' + consulta.field(1).asString() + u'|' + consulta.field(2).asString()
           + u'|' + datos + QStringLiteral("\r\n");
}

} // namespace

void MostrarHistorialAccesos(plat::DataSet &dataSet)
{
    if (!fGENEINIC || !ModuloDatos || !fGENEINIC->Configuracion.parametros.RegistroAccesosActivado
        || EsDataSetDeModuloDatos(dataSet))
        return;
    const QString tabla = ModuloDatos->QuitarPropietarioTabla(TablaDeDataSet(dataSet));
    QString clave = ModuloDatos->ClaveRegistro(dataSet);
    clave.replace(u';', u'|');
    plat::QueryDataSet consulta(QStringLiteral("HistorialAccesos"));
    consulta.setDatabaseName(fGENEINIC->BaseDatosDeTabla(QStringLiteral("REGACCES")));
    consulta.setSql(SentenciaHistorialAccesos(tabla, clave));
    QString lineas;
    try {
        if (!ModuloDatos->AbrirConsulta(consulta))
            return;
        for (consulta.first(); !consulta.eof(); consulta.next())
            lineas += lineaHistorial(consulta);
        consulta.close();
    } catch (const gp::Error &) {
        return;
    }
    const QString opciones = QStringList{QStringLiteral("Titulo=Historial de Accesos al Registro: ") + tabla
                                             + QStringLiteral(" - ") + clave,
                                         QStringLiteral("Formato=0,0,430,0;"), QStringLiteral("NumeroCampos=4"),
                                         QStringLiteral("Modo=Consulta,Sin Seleccion"),
                                         QStringLiteral("DefinicionCampos=CodigoUsuario,ftString,20;Fecha,ftString,20;"
                                                        "Accion,ftString,20;Datos,ftMemo,10"),
                                         QStringLiteral("Modo=Consulta")}
                                 .join(QStringLiteral("\r\n"))
                             + QStringLiteral("\r\n");
    MostrarListaDatos(opciones, lineas);
}
