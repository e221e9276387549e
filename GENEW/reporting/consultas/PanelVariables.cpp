#include "GENEW/reporting/consultas/PanelVariables.h"

#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

namespace {

constexpr int kFila = 24;
constexpr int kAnchoEtiqueta = 100;
constexpr int kAltoEtiqueta = 13;
constexpr int kAnchoCaja = 140;
constexpr int kAltoCaja = 21;

QString valorInicial(QChar tipo)
{
    if (tipo == u'#')
        return QStringLiteral("0");
    if (tipo == u'&')
        return QStringLiteral("1/1/1900");
    return QString();
}

// The boxes in list order with their texts; `colocar` places the k-th visible one.
template<class Colocar>
DisenoPanelVariables casillas(const QStringList &variables, Colocar colocar)
{
    DisenoPanelVariables d;
    for (const QString &variable : variables) {
        CasillaVariable c;
        c.variable = variable;
        QString nombre = variable.mid(1);
        c.nombreCaja = nombre;
        nombre.remove(u'\r').remove(u'\n');
        c.etiqueta = SepararPalabras(nombre);
        c.valorInicial = valorInicial(variable.isEmpty() ? QChar() : variable.front());
        c.visible = VariableBase(variable).isEmpty();
        if (c.visible)
            colocar(c, d.visibles++);
        d.casillas << c;
    }
    return d;
}

} // namespace

QString VariableBase(const QString &variable)
{
    const qsizetype guion = variable.indexOf(u'_');
    return guion < 0 ? QString() : variable.left(guion);
}

DisenoPanelVariables DisenarPanelConsulta(const QStringList &variables)
{
    DisenoPanelVariables d = casillas(variables, [](CasillaVariable &c, int k) {
        const int izquierda = k % 2 == 0 ? 1 : 249;
        const int arriba = (k / 2) * kFila + 5;
        c.rectEtiqueta = QRect(izquierda, arriba, kAnchoEtiqueta, kAltoEtiqueta);
        c.rectCaja = QRect(izquierda + 104, arriba - 4, kAnchoCaja, kAltoCaja);
    });
    const int n = d.visibles;
    const int alto = ((n + 1) / 2) * kFila + 2;
    d.interior = QSize(n == 1 ? 325 : n % 2 == 1 ? 494 : 573, alto == 2 ? 26 : alto);
    for (auto it = d.casillas.crbegin(); it != d.casillas.crend(); ++it)
        if (it->visible) {
            d.boton = QPoint(it->rectCaja.right() + 1 + 4, it->rectCaja.top() - 1);
            break;
        }
    return d;
}

DisenoPanelVariables DisenarPanelInforme(const QStringList &variables)
{
    DisenoPanelVariables d = casillas(variables, [](CasillaVariable &c, int i) {
        const int arriba = (i + 1) * kFila + 5;
        c.rectEtiqueta = QRect(62, arriba, kAnchoEtiqueta, kAltoEtiqueta);
        c.rectCaja = QRect(62 + kAnchoEtiqueta + 8, arriba - 4, kAnchoCaja, kAltoCaja);
    });
    d.interior = QSize(0, (d.visibles + 2) * kFila);
    return d;
}

bool ValidarValorVariable(const QString &variable, const QString &texto, const QString &titulo)
{
    const QChar tipo = variable.isEmpty() ? QChar() : variable.front();
    if (tipo == u'#') {
        int entero = 0;
        return LeerEntero(texto, entero) ? ValidarEntero(texto, titulo) : ValidarDecimal(texto, titulo);
    }
    if (tipo == u'&')
        return ValidarFecha(texto, titulo);
    return true;
}
