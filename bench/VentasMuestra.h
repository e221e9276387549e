#pragma once
// The sales table of the SQL benchmarks: `filas` rows of 10 columns (texts, integers,
// floats, a date) made in one statement.
#include "platform/data/engine/Connection.h"

inline void crearVentasMuestra(plat::Connection &empresa, int filas)
{
    empresa.exec(QStringLiteral("CREATE TABLE VENTAS (Codigo INTEGER PRIMARY KEY, Cliente VARCHAR(40), Ciudad VARCHAR(30), "
                                "Producto VARCHAR(30), Cantidad INTEGER, Precio FLOAT, Importe FLOAT, Fecha TIMESTAMP, "
                                "Vendedor VARCHAR(20), Notas VARCHAR(60))"),
                 {}, plat::SqlOrigin::AsWritten);
    empresa.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                "INSERT INTO VENTAS SELECT i, 'Cliente número ' || i, 'Ciudad ' || (i % 50), "
                                "'Producto ' || (i % 300), i % 17, i * 0.5, (i % 17) * i * 0.5, "
                                "%2, 'V' || (i % 9), 'Nota de la venta ' || i FROM n")
                     .arg(filas)
                     // A server types a bare literal as text, which a TIMESTAMP column refuses.
                     .arg(empresa.engine() == plat::EngineKind::SQLite ? QStringLiteral("'2026-01-01 10:00:00'")
                                                                         : QStringLiteral("TIMESTAMP '2026-01-01 10:00:00'")),
                 {}, plat::SqlOrigin::AsWritten);
}
