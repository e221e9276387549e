#pragma once
// The rows the export benchmarks write, and the plain libxlsxwriter loop they are measured
// against: ten columns (three texts, two integers, two floats, a date, an hour and a two-line
// memo).
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/data/Field.h"

#include <QByteArray>
#include <QList>
#include <QVariantList>
#include <array>
#include <vector>
#include <xlsxwriter.h>

inline QList<plat::FieldDef> columnasExportacion()
{
    return {plat::fieldDef("Codigo", ftString, 12, true), plat::fieldDef("Nombre", ftString, 40),
            plat::fieldDef("Ciudad", ftString, 30),       plat::fieldDef("Numero", ftInteger),
            plat::fieldDef("Cantidad", ftInteger),        plat::fieldDef("Importe", ftFloat),
            plat::fieldDef("Precio", ftFloat),            plat::fieldDef("Fecha", ftDateTime),
            plat::fieldDef("HoraInicio", ftDateTime),     plat::fieldDef("Notas", ftMemo)};
}

inline QVariantList filaExportacion(int i)
{
    return {QStringLiteral("C%1").arg(i, 8, 10, QLatin1Char('0')),
            QStringLiteral("Cliente número %1").arg(i),
            QStringLiteral("Ciudad %1").arg(i % 50),
            i,
            i % 1000,
            i * 1.25,
            (i % 997) * 0.5,
            FechaHora(QDate(2024, 1, 1).addDays(i % 300)),
            FechaHora(FechaCero().date(), QTime(i % 24, i % 60)),
            QStringLiteral("Primera línea %1\r\nsegunda línea").arg(i)};
}

// The rows' cells made ready for the plain loop: UTF-8 texts, and the two float columns as
// numbers.
struct CeldasPlanas
{
    std::vector<std::array<QByteArray, 10>> textos;
    std::vector<std::array<double, 2>> numeros;

    explicit CeldasPlanas(int filas) : textos(size_t(filas)), numeros(size_t(filas))
    {
        for (int i = 0; i < filas; ++i) {
            const QVariantList v = filaExportacion(i);
            for (int c = 0; c < 10; ++c)
                textos[size_t(i)][size_t(c)] = v.at(c).toString().toUtf8();
            numeros[size_t(i)] = {v.at(5).toDouble(), v.at(6).toDouble()};
        }
    }
};

// The anchor: the same cells with their column formats, in constant memory, straight into the
// file.
inline void escribirLibroPlano(const QByteArray &nombre, const CeldasPlanas &celdas)
{
    lxw_workbook_options o{};
    o.constant_memory = LXW_TRUE;
    lxw_workbook *libro = workbook_new_opt(nombre.constData(), &o);
    lxw_worksheet *hoja = workbook_add_worksheet(libro, nullptr);
    lxw_format *texto = workbook_add_format(libro);
    format_set_num_format(texto, "@");
    lxw_format *numero = workbook_add_format(libro);
    format_set_align(numero, LXW_ALIGN_RIGHT);
    for (lxw_col_t c = 0; c < 10; ++c)
        worksheet_set_column(hoja, c, c, 12, (c == 5 || c == 6) ? numero : texto);
    for (size_t i = 0; i < celdas.textos.size(); ++i)
        for (lxw_col_t c = 0; c < 10; ++c) {
            if (c == 5 || c == 6)
                worksheet_write_number(hoja, lxw_row_t(i + 2), c, celdas.numeros[i][c - 5], numero);
            else
                worksheet_write_string(hoja, lxw_row_t(i + 2), c, celdas.textos[i][c].constData(), texto);
        }
    workbook_close(libro);
}
