// Structure-definition texts come from files that users and installers edit by hand: every
// reader must take any text without crashing or looping. The input is a standard text and a
// variant text separated by the first NUL byte.
#include "GENEW/runtime/estructura/DefinicionesEstructura.h"
#include "GENEW/runtime/estructura/LineaDefinicion.h"
#include "GENEW/runtime/estructura/PlanCreacionTabla.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

using namespace estructura;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype corte = bytes.indexOf('\0');
    const QString estandar = QString::fromUtf8(corte < 0 ? bytes : bytes.left(corte));
    const QString variante = corte < 0 ? QString() : QString::fromUtf8(bytes.mid(corte + 1));

    const QString texto = variante.isEmpty() ? estandar : CombinarDefiniciones(estandar, variante);
    ListarTablasDefinidas(QStringLiteral("ExcluirTablasBDGeneral"), texto);
    NumeroTablaTemporal(DividirLineas(texto).value(0));

    const ConsultaCamposUsuario camposUsuario = [&variante](const QString &) { return variante; };
    OpcionesSentencias servidor;
    servidor.dialecto = DialectoSQL::SQLServer;
    servidor.versionSQLServer = QStringLiteral("Microsoft SQL Server  2000");
    OpcionesSentencias generica;
    generica.temporal = true;

    int tablas = 0;
    for (const QString &tabla : DividirLineas(ListarTablasTexto(texto))) {
        if (++tablas > 50)
            break;
        const QString bloque = ExtraerBloqueDefinicion(tabla, texto, QString(), camposUsuario);
        ListarCamposDefinicion(tabla, bloque, QStringLiteral("IncluirTipo"));
        const QStringList lineas = LineasAConstruir(tabla, texto, false, {{tabla, 1, tabla, variante.left(12), variante.left(3)}});
        SentenciasCrearTabla(tabla, lineas, servidor);
        SentenciasCrearTabla(tabla, lineas, generica);
        DefinicionesCrearTabla(tabla, lineas, {});
    }
    SentenciasCrearTabla(QString(), LineasAConstruir(QString(), texto, true, {}), generica);
    return 0;
}
