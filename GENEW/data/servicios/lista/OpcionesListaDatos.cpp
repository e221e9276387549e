#include "GENEW/data/servicios/lista/OpcionesListaDatos.h"

#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/comun/RutinasTipos.h"

namespace {

int enteroOCero(const QString &texto)
{
    bool ok = false;
    const int valor = texto.trimmed().toInt(&ok);
    return ok ? valor : 0;
}

ColumnaListaDatos leerColumna(const QString &definicion)
{
    const QStringList piezas = definicion.split(u',');
    ColumnaListaDatos c;
    c.nombre = piezas.value(0);
    c.tipo = NombreTipoCampo(TipoCampoDeNombre(piezas.value(1)));
    c.tamano = enteroOCero(piezas.value(2));
    c.soloLectura = piezas.value(3).contains(QStringLiteral("ReadOnly"));
    c.calculo = piezas.value(4);
    c.ancho = enteroOCero(piezas.value(5));
    c.tablaBusqueda = piezas.value(6);
    return c;
}

const QString kSaltoEnFila = QStringLiteral("·");

} // namespace

OpcionesListaDatos LeerOpcionesListaDatos(const QString &opciones)
{
    const auto valor = [&opciones](const char *nombre) { return LeerValorDeLista(QLatin1String(nombre), opciones); };
    OpcionesListaDatos o;
    o.modo = valor("Modo");
    o.consulta = o.modo.contains(QStringLiteral("Consulta"));
    o.eliminar = o.modo.contains(QStringLiteral("Eliminar"));
    o.sinSeleccion = o.modo.contains(QStringLiteral("Sin Seleccion"));
    bool ok = false;
    const int n = valor("NumeroCampos").trimmed().toInt(&ok);
    if (ok)
        o.numeroCampos = std::max(0, n);
    o.formato = valor("Formato");
    o.titulo = valor("Titulo");
    o.camposTotalizadores = valor("CamposTotalizadores");
    o.noRedimensionarGrid = valor("Opciones").contains(QStringLiteral("NoRedimensionarGrid"));
    const QString definiciones = valor("DefinicionCampos");
    if (o.numeroCampos && !definiciones.isEmpty()) {
        const QStringList items = definiciones.split(u';');
        for (qsizetype i = 0; i < items.size() && i < *o.numeroCampos; ++i)
            o.columnas << leerColumna(items[i]);
    }
    return o;
}

QStringList OpcionesListaDatos::lineasCalculo() const
{
    QStringList lineas;
    for (const ColumnaListaDatos &c : columnas)
        if (!c.calculo.isEmpty())
            lineas << c.nombre + u':' + c.calculo;
    return lineas;
}

QStringList OpcionesListaDatos::lineasBusqueda() const
{
    QStringList lineas;
    for (const ColumnaListaDatos &c : columnas)
        if (!c.tablaBusqueda.isEmpty())
            lineas << c.tablaBusqueda + u'>' + c.nombre;
    return lineas;
}

QString OpcionesListaDatos::definicionTabla() const
{
    QString texto = QStringLiteral("Tabla Temporal\r\n/C/1/") + kCampoLineaLista + QStringLiteral("/ftInteger/0/*/\r\n");
    for (qsizetype i = 0; i < columnas.size(); ++i) {
        const ColumnaListaDatos &c = columnas[i];
        texto += QStringLiteral("/C/%1/%2/%3/%4/\r\n").arg(i + 2).arg(c.nombre, c.tipo).arg(c.tamano);
    }
    return texto + QStringLiteral("/I/1/<Primary>/") + kCampoLineaLista;
}

QStringList ValoresFilaLista(const QString &linea)
{
    QStringList valores = linea.split(u'|');
    for (QString &v : valores)
        v.replace(kSaltoEnFila, QStringLiteral("\r\n"));
    return valores;
}

QString ValorEnFilaLista(const QString &valor)
{
    QString v = valor;
    v.replace(QStringLiteral("\r\n"), kSaltoEnFila);
    v.replace(u'\n', kSaltoEnFila);
    v.replace(u'\r', kSaltoEnFila);
    return v;
}

std::optional<CalculoColumna> LeerCalculoColumna(const QString &calculo)
{
    QString t = calculo;
    t.replace(QStringLiteral("->"), QStringLiteral(">"));
    const qsizetype flecha = t.indexOf(u'>');
    if (flecha <= 0)
        return std::nullopt;
    return CalculoColumna{t.left(flecha).trimmed(), t.mid(flecha + 1)};
}

QStringList DescriptoresDatosVisor(const QString &definicion)
{
    const QStringList piezas = definicion.split(u',');
    const QString nombre = piezas.value(0);
    const QString tabla = piezas.value(4);
    const QString valores = piezas.value(5);
    QStringList lineas;
    if (!tabla.isEmpty())
        lineas << tabla + u'>' + nombre + QStringLiteral(">>") + piezas.value(6);
    if (!valores.isEmpty())
        lineas << u'?' + nombre + u'>' + nombre + u'>' + valores + u'>' + tabla;
    return lineas;
}
