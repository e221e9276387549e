#include "GENEW/data/servicios/DireccionAdaptador.h"

#include "GENEW/runtime/comun/RutinasSistema.h"

#include <QRegularExpression>

namespace {

const QString DireccionNula = QStringLiteral("00-00-00-00-00-00");

// Six bytes as "AA-BB-CC-DD-EE-FF"; empty for anything that is not a six-byte address
// (tunnels report none, some virtual links longer ones).
QString normalizar(const QString &direccion)
{
    static const QRegularExpression noHex(QStringLiteral("[^0-9A-Fa-f]"));
    QString digitos = direccion;
    digitos.remove(noHex);
    if (digitos.size() != 12)
        return QString();
    digitos = digitos.toUpper();
    QStringList bytes;
    for (int i = 0; i < 12; i += 2)
        bytes.append(digitos.mid(i, 2));
    return bytes.join(u'-');
}

} // namespace

QString DireccionMACDeInterfaces(const QList<InterfazRed> &interfaces, const QString &opciones)
{
    QString resultado = DireccionNula;
    for (const InterfazRed &interfaz : interfaces) {
        if (interfaz.bucleLocal)
            continue;
        const QString direccion = normalizar(interfaz.direccionHardware);
        if (!direccion.isEmpty() && direccion != DireccionNula) {
            resultado = direccion;
            break;
        }
    }
    if (opciones.contains(QStringLiteral("SinSeparadores")))
        resultado.remove(u'-');
    return resultado;
}

QString ObtenerDireccionMAC(const QString &opciones)
{
    QList<InterfazRed> interfaces;
    for (const EnlaceRed &enlace : EnlacesRed())
        interfaces.append(InterfazRed{enlace.bucleLocal || enlace.tipoBucleLocal,
                                      QString::fromLatin1(enlace.direccionHardware.toHex(':'))});
    return DireccionMACDeInterfaces(interfaces, opciones);
}
