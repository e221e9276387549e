#include "GENEW/data/servicios/ClaveTexto.h"

#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

namespace claveTexto {

namespace {
const QString kSeparador = QStringLiteral(";");
const QString kAnterior = QStringLiteral("Ant:");
} // namespace

QString Pieza(const QString &clave, int i) { return ExtraerCampo(i, clave, kSeparador); }

bool EsCampoHoraClave(const plat::Field &campo)
{
    return campo.dataType() == ftDateTime && campo.fieldName().toUpper().contains(QLatin1String("HORA"));
}

QString TextoHora(const QDateTime &valor)
{
    return valor.isValid() ? valor.time().toString(QStringLiteral("HH:mm:ss")) : QString();
}

QString TextoCampo(const plat::Field &campo)
{
    return EsCampoHoraClave(campo) ? TextoHora(campo.asDateTime()) : campo.displayText();
}

QString PiezaNormalizada(const plat::Field &campo, const QString &pieza)
{
    if (!EsCampoHoraClave(campo))
        return pieza;
    QTime hora;
    return LeerHora(pieza, hora) ? hora.toString(QStringLiteral("HH:mm:ss")) : pieza;
}

QVariant ValorDeTexto(const plat::Field &campo, const QString &texto)
{
    switch (campo.dataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return texto.trimmed().isEmpty() ? QVariant() : QVariant(qint64(TextoANumero(texto)));
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return texto.trimmed().isEmpty() ? QVariant() : QVariant(TextoANumero(texto));
    case ftDate:
    case ftDateTime: {
        if (texto.trimmed().isEmpty())
            return QVariant();
        if (EsCampoHoraClave(campo)) {
            QTime hora;
            if (LeerHora(texto, hora))
                return FechaHora(FechaCero().date(), hora);
        }
        return TextoAFechaHora(texto);
    }
    default:
        return texto;
    }
}

ClaveLeida LeerClave(const QString &clave, int numeroCampos)
{
    ClaveLeida leida;
    for (int i = 0; i < numeroCampos; ++i)
        leida.piezas << Pieza(clave, i);
    if (!leida.piezas.isEmpty() && leida.piezas.last().startsWith(kAnterior)) {
        leida.piezas.last().remove(0, kAnterior.size());
        leida.anterior = true;
    }
    return leida;
}

QString ClaveLateral(const plat::DataSet &dataSet, int k)
{
    QStringList valores;
    for (int i = 0; i < k && i < dataSet.fieldCount(); ++i)
        valores << TextoCampo(dataSet.field(i));
    return valores.join(u'|');
}

QString PiezaFechaSQL(const QString &pieza)
{
    if (pieza.count(u'/') != 2)
        return pieza;
    bool okDia = false, okMes = false, okAnyo = false;
    const int dia = pieza.section(u'/', 0, 0).trimmed().toInt(&okDia);
    const int mes = pieza.section(u'/', 1, 1).trimmed().toInt(&okMes);
    const int anyo = CompletarAnyo(pieza.section(u'/', 2, 2).trimmed().toInt(&okAnyo));
    const QDate fecha(anyo, mes, dia);
    if (!okDia || !okMes || !okAnyo || !fecha.isValid())
        return pieza;
    return FormatearFechaHora(ajustesComunes().FormatoFechaSQL, FechaHora(fecha));
}

} // namespace claveTexto
