#pragma once
// A project of many lines for the benchmarks of the project views: ten-line chapters (the
// heading "0003", then "0003.01" .. "0003.09"), dated lines spread over 2024 with alternate
// progress texts, written in one transaction of the company connection.
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/base/FechaHora.h"
#include "platform/data/engine/Connection.h"

#include <QDate>
#include <QString>
#include <QVariant>

inline QString CapituloGrande(int linea)
{
    const QString capitulo = QStringLiteral("%1").arg(linea / 10 + 1, 4, 10, QLatin1Char('0'));
    return linea % 10 == 0 ? capitulo : capitulo + QStringLiteral(".%1").arg(linea % 10, 2, 10, QLatin1Char('0'));
}

inline void LlenarProyectoGrande(TModuloDatos &modulo, plat::Connection &db, const QString &codigo, int lineas)
{
    // Made from their definitions when missing.
    modulo.EjecutarSQL(QStringLiteral("DELETE FROM PROYECT WHERE Codigo = '%1'").arg(codigo));
    modulo.EjecutarSQL(QStringLiteral("DELETE FROM LPROYECT WHERE CodigoProyecto = '%1'").arg(codigo));
    db.startTransaction();
    db.exec(QStringLiteral("INSERT INTO PROYECT (Codigo, Descripcion, FechaAceptacion, FechaEntrega) VALUES "
                           "(:c, 'Proyecto', :a, :e)"),
            {{QStringLiteral("c"), codigo},
             {QStringLiteral("a"), FechaHora(QDate(2024, 1, 8))},
             {QStringLiteral("e"), FechaHora(QDate(2024, 12, 20))}});
    for (int l = 0; l < lineas; ++l) {
        const bool titulo = l % 10 == 0;
        const QDate inicioLinea = QDate(2024, 1, 8).addDays(l % 300);
        db.exec(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, DescripcionAbreviada, "
                               "FechaInicio, FechaFinal, TiempoPrevisto, GradoAvance) VALUES (:c, :l, :k, 'Capítulo', :d, "
                               ":i, :f, :t, :g)"),
                {{QStringLiteral("c"), codigo},
                 {QStringLiteral("l"), l + 1},
                 {QStringLiteral("k"), CapituloGrande(l)},
                 {QStringLiteral("d"), CapituloGrande(l)},
                 {QStringLiteral("i"), titulo ? QVariant() : QVariant(FechaHora(inicioLinea))},
                 {QStringLiteral("f"), titulo ? QVariant() : QVariant(FechaHora(inicioLinea.addDays(10)))},
                 {QStringLiteral("t"), titulo ? 0.0 : 8.0},
                 {QStringLiteral("g"), l % 3 == 0 ? QStringLiteral("Terminado") : QStringLiteral("50")}});
    }
    db.commit();
}
