#include "GENEW/reporting/consultas/AyudasSentencia.h"

namespace ayudasSentencia {

namespace {

const QString kOrden = QStringLiteral("ORDER BY");

QString &ultimaLinea(QStringList &lineas)
{
    if (lineas.isEmpty())
        lineas << QString();
    return lineas.last();
}

// The "," that ends the line goes; blanks written after it stay.
void quitarComaFinal(QString &linea)
{
    qsizetype i = linea.size() - 1;
    while (i >= 0 && linea[i] == u' ')
        --i;
    if (i >= 0 && linea[i] == u',')
        linea.remove(i, 1);
}

bool abreLinea(const QString &comando)
{
    static const QStringList comandos = {QStringLiteral("FROM"), QStringLiteral("WHERE"), QStringLiteral("ON"),
                                         QStringLiteral("ORDER BY"), QStringLiteral("GROUP BY")};
    return comandos.contains(comando);
}

bool esAgregado(const QString &comando)
{
    static const QStringList agregados = {QStringLiteral("AVG( )"), QStringLiteral("SUM( )"), QStringLiteral("COUNT( )"),
                                          QStringLiteral("MAX( )"), QStringLiteral("MIN( )")};
    return agregados.contains(comando);
}

} // namespace

void insertarComando(QStringList &lineas, const QString &comando, int tabla, const QString &campo)
{
    QString &ultima = ultimaLinea(lineas);
    if (esAgregado(comando)) {
        QString funcion = comando;
        funcion.replace(QStringLiteral("( )"), QStringLiteral("(T%1.%2)").arg(tabla).arg(campo));
        ultima += funcion + QStringLiteral(", ");
        return;
    }
    quitarComaFinal(ultima);
    if (abreLinea(comando))
        lineas << QStringLiteral("    ") + comando + u' ';
    else
        ultima += comando + u' ';
}

void insertarOperador(QStringList &lineas, const QString &operador)
{
    QString &ultima = ultimaLinea(lineas);
    quitarComaFinal(ultima);
    ultima += operador + u' ';
}

void insertarTabla(QStringList &lineas, const QString &tabla, int indice)
{
    ultimaLinea(lineas) += u' ' + tabla + QStringLiteral(" T") + QString::number(indice);
}

void insertarCampo(QStringList &lineas, const QString &campo, int tabla)
{
    ultimaLinea(lineas) += u'T' + QString::number(tabla) + u'.' + campo + QStringLiteral(", ");
}

void ordenarPor(QStringList &lineas, const QString &campo)
{
    const QString nueva = kOrden + u' ' + campo;
    bool hallada = false;
    for (QString &linea : lineas)
        if (linea.contains(kOrden, Qt::CaseInsensitive)) {
            linea = nueva;
            hallada = true;
        }
    if (!hallada)
        lineas << nueva;
}

bool quitarOrden(QStringList &lineas)
{
    for (qsizetype i = 0; i < lineas.size(); ++i)
        if (lineas[i].contains(kOrden, Qt::CaseInsensitive)) {
            lineas.removeAt(i);
            return true;
        }
    return false;
}

} // namespace ayudasSentencia
