#include "GENEW/data/servicios/PlantillaTexto.h"

#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QStringList>

QString OpcionesPlantillaTexto(const QString &descripcion, const QString &texto)
{
    QString definiciones;
    for (const QString &linea : DividirLineas(texto)) {
        const qsizetype dosPuntos = linea.indexOf(u':');
        definiciones += (dosPuntos < 0 ? linea : linea.left(dosPuntos)) + QStringLiteral(",ftString,100;");
    }
    return QStringLiteral("Titulo=") + descripcion + QStringLiteral("\r\nDefinicionCampos=") + definiciones
        + QStringLiteral("\r\nOpciones=RespetarNombresCampos\r\n");
}

QString TextoRespuestasPlantilla(const QString &respuestas)
{
    QStringList lineas = DividirLineas(respuestas);
    for (QString &linea : lineas) {
        if (linea == QLatin1String("="))
            linea.clear();
        else if (const qsizetype igual = linea.indexOf(u'='); igual >= 0)
            linea.replace(igual, 1, QStringLiteral(": "));
    }
    return UnirLineas(lineas);
}
