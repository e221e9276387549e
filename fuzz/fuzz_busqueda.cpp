// Record-search statements from random datums, modes, flags, limits and "DatosBusqueda"
// texts, with field lists drawn from the columns and indexes of a real table: each must be
// exactly one statement that SQLite prepares (a quote in a datum never ends its literal,
// nothing is left over after it), on each engine's text where SQLite can read it.
#include "GENEW/data/servicios/busqueda/PreferenciasBusqueda.h"
#include "GENEW/data/servicios/busqueda/SentenciaBusqueda.h"
#include "platform/data/engine/Dialect.h"
#include "platform/data/engine/SqliteExtensions.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace {

const char *const kCampos[] = {"Codigo;Linea", "Nombre", "Codigo", "Linea", "Notas", "Importe", "FechaAlta",
                               "HoraInicio", "Codigo;Linea;Nombre"};
const char *const kLimites[] = {"1", "10", "100", "1000", "Ilimitado", "0", "x"};

sqlite3 *baseDatos()
{
    static sqlite3 *db = [] {
        sqlite3 *d = nullptr;
        sqlite3_open(":memory:", &d);
        plat::registerSqliteExtensions(d);
        sqlite3_exec(d,
                     "CREATE TABLE BUSCAPRU (Codigo VARCHAR(10) NOT NULL, Linea VARCHAR(10) NOT NULL, "
                     "Nombre VARCHAR(40), Notas TEXT, Importe DOUBLE, FechaAlta DATETIME, HoraInicio DATETIME, "
                     "PRIMARY KEY (Codigo, Linea))",
                     nullptr, nullptr, nullptr);
        return d;
    }();
    return db;
}

// Prepares the text and requires one statement, all of it used.
void prepararUna(const QString &sql)
{
    const QByteArray texto = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const char *resto = nullptr;
    const int rc = sqlite3_prepare_v2(baseDatos(), texto.constData(), int(texto.size()), &stmt, &resto);
    if (rc != SQLITE_OK || !stmt) {
        fprintf(stderr, "no se prepara: %s\n%s\n", sqlite3_errmsg(baseDatos()), texto.constData());
        abort();
    }
    for (; resto && *resto; ++resto)
        if (*resto != ' ')
            abort();
    sqlite3_finalize(stmt);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const uint8_t opciones = data[0];
    const QString texto = QString::fromUtf8(reinterpret_cast<const char *>(data + 4), int(size - 4));
    // The text carries the datum, then after a NUL the caller's filter-free DatosBusqueda.
    const QString dato = texto.section(QChar(0), 0, 0);
    const QString datos = texto.section(QChar(0), 1);

    PeticionBusqueda p;
    p.tabla = QStringLiteral("BUSCAPRU");
    p.campos = QString::fromLatin1(kCampos[data[1] % std::size(kCampos)]);
    const PreferenciaBusqueda guardada = PreferenciaBusqueda::leer(DatosBusqueda::entrada(datos, p.tabla));
    if (!guardada.campos.isEmpty() && (opciones & 0x40))
        p.campos = QString::fromLatin1(kCampos[qHash(guardada.campos) % std::size(kCampos)]);
    p.dato = dato;
    p.columnas = (opciones & 0x04) ? QStringLiteral("*") : QStringLiteral("Codigo,Linea,Nombre,Importe");
    p.modo = guardada.modo.value_or(static_cast<ModoBusqueda>(data[2] % 3));
    p.ordenada = (opciones & 0x08) || guardada.ordenada;
    p.limite = QString::fromLatin1(kLimites[data[3] % std::size(kLimites)]);

    // SQL Server's text is the program's own and SQLite reads it but for the hint and TOP;
    // the others are exact.
    for (const plat::EngineKind motor : {plat::EngineKind::SQLite, plat::EngineKind::PostgreSQL}) {
        const SentenciaBusqueda s(plat::Dialect::forEngine(motor));
        const QString sql = s.sentencia(p);
        if (motor == plat::EngineKind::SQLite)
            prepararUna(sql);
        QList<QPair<QString, QString>> valores{{QStringLiteral("Nombre"), dato}, {QStringLiteral("Notas"), datos}};
        const QString aproximacion = s.condicionAproximacion(valores);
        if (motor == plat::EngineKind::SQLite && !aproximacion.isEmpty())
            prepararUna(s.sentenciaAproximacion(p.tabla, aproximacion));
    }
    const SentenciaBusqueda sqlServer(plat::Dialect::forEngine(plat::EngineKind::SqlServer));
    QString condicion = sqlServer.condicion(p.campos, p.dato, p.modo);
    prepararUna(QStringLiteral("SELECT * FROM BUSCAPRU") + SentenciaBusqueda::parteWhere(condicion, QString())
                + SentenciaBusqueda::parteOrden(p.campos, p.ordenada));
    prepararUna(QStringLiteral("SELECT * FROM BUSCAPRU")
                + sqlServer.condicionAproximacion({{QStringLiteral("Nombre"), dato}}) + QStringLiteral(" "));
    // A preference written back reads the same.
    PreferenciaBusqueda escrita = guardada;
    if (PreferenciaBusqueda::leer(escrita.texto()).texto() != escrita.texto())
        abort();
    return 0;
}
