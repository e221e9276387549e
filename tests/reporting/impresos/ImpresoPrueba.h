#pragma once
#include "GENEW/reporting/impresos/DisenoImpreso.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace gptest {

// Lines joined by CR LF, as layouts are stored.
inline QString LineasImpreso(const QStringList &lineas)
{
    return lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

// One layout read as the engine reads it, with the commands recorded, table names given
// the prefix "SQL_" and every message recorded (prompts answered from a script).
class ImpresoPrueba : public ::testing::Test
{
protected:
    DisenoImpreso &leerTexto(const QString &instrucciones, const QString &formato = QStringLiteral("A4"),
                             const QString &modo = QStringLiteral("Grafico"))
    {
        registro.Codigo = QStringLiteral("PRUEBA");
        registro.Instrucciones = instrucciones;
        registro.Formato = formato;
        registro.Modo = modo;
        crear();
        diseno->AsignarFormatoPapel(registro.Codigo);
        diseno->AnalizarInstrucciones();
        return *diseno;
    }
    DisenoImpreso &leer(const QStringList &lineas, const QString &formato = QStringLiteral("A4"),
                        const QString &modo = QStringLiteral("Grafico"))
    {
        return leerTexto(LineasImpreso(lineas), formato, modo);
    }
    void crear()
    {
        DisenoImpreso::Servicios servicios;
        servicios.buscarImpreso = [this](const QString &codigo) -> std::optional<RegistroImpreso> {
            if (codigo == registro.Codigo)
                return registro;
            return std::nullopt;
        };
        servicios.nombreTablaSQL = [](const QString &tabla) { return QStringLiteral("SQL_") + tabla; };
        servicios.ordenes = &ordenes;
        diseno = std::make_unique<DisenoImpreso>(ejecucion, std::move(servicios));
    }
    QStringList claves() const
    {
        QStringList r;
        for (const auto &o : ordenes.ordenes)
            r << ClaveDeOrden(o.orden);
        return r;
    }

    EstadoEjecucionImpreso ejecucion;
    OrdenesGrabadas ordenes;
    RegistroImpreso registro;
    SalidaMensajesGrabada mensajes;
    SalidaMensajesInstalada instalada{mensajes};
    std::unique_ptr<DisenoImpreso> diseno;
};

} // namespace gptest
