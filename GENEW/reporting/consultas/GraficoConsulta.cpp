#include "GENEW/reporting/consultas/GraficoConsulta.h"

#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

#include <array>

namespace {

const QString kFinLinea = QStringLiteral("\r\n");

bool esNumerico(const plat::Field &campo)
{
    const TFieldType t = campo.dataType();
    return t == ftFloat || t == ftInteger || t == ftSmallint;
}

QString colorSerie(int numero)
{
    static const std::array<QString, 4> colores = {QStringLiteral("Rojo"), QStringLiteral("Verde"),
                                                   QStringLiteral("Azul"), QStringLiteral("Amarillo")};
    return numero < int(colores.size()) ? colores[size_t(numero)] : QStringLiteral("Magenta");
}

QString item(int numero, const QString &valor, const QString &etiqueta)
{
    return QString::number(numero) + u':' + valor + u':' + etiqueta + QStringLiteral(":/");
}

QString valoresSerie(plat::DataSet &resultado, const plat::Field &campo, int valores)
{
    const plat::Field &rotulo = resultado.field(0);
    QString texto;
    int numero = 0;
    resultado.first();
    for (; !resultado.eof() && numero < valores; resultado.next())
        texto += item(++numero, campo.asString(), EtiquetaGrafico(rotulo.asString()));
    double resto = 0;
    for (; !resultado.eof(); resultado.next())
        resto += campo.asFloat();
    if (resto != 0)
        texto += item(numero + 1, FlotanteATexto(resto), QStringLiteral("Otros:"));
    return texto;
}

} // namespace

QString EtiquetaGrafico(const QString &texto)
{
    QString etiqueta = texto;
    etiqueta.replace(u'/', u'-').replace(u':', u'.').replace(u';', u',');
    etiqueta.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    return etiqueta;
}

TextosGrafico EscribirGrafico(plat::DataSet &resultado, const QString &titulo, int valores, TipoGrafico tipo)
{
    const bool tarta = tipo == TipoGrafico::Tarta;
    TextosGrafico textos;
    textos.definicion = QStringLiteral("Titulo=") + titulo + u';'
        + (tarta ? QStringLiteral("Medidas=450x300;") : QStringLiteral("Medidas=400x300;"))
        + QStringLiteral("PanelControl=SI;StatusBar=SI;Leyenda=SI;");
    int serie = 0;
    for (int i = 0; i < resultado.fieldCount(); ++i) {
        const plat::Field &campo = resultado.field(i);
        if (!esNumerico(campo))
            continue;
        textos.series += QStringLiteral("Titulo=") + campo.fieldName() + QStringLiteral(";Tipo=")
            + (tarta ? QStringLiteral("Tarta;Color=;Marcas=SI;") : QStringLiteral("Barras;Color=") + colorSerie(serie) + u';')
            + QStringLiteral("IncluirEnLeyenda=SI;Valores=") + valoresSerie(resultado, campo, valores) + kFinLinea;
        ++serie;
    }
    return textos;
}
