#include "GENEW/reporting/consultas/InstruccionesConsulta.h"

#include "GENEW/data/servicios/DerechosUsuario.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

namespace {

const QString kUsuarios = QStringLiteral("UsuariosAutorizados");
const QString kAplicaciones = QStringLiteral("AplicacionesContenedoras");
const QString kFuente = QStringLiteral("Font");

QFont::Style estiloItalica(TFontStyles estilos)
{
    return (estilos & ConjuntoEstilo(fsItalic)) ? QFont::StyleItalic : QFont::StyleNormal;
}

} // namespace

QString ListaConComas(const QStringList &items)
{
    QString texto;
    for (const QString &item : items)
        texto += item + u',';
    return texto;
}

QStringList ItemsDeLista(const QString &lista)
{
    QStringList items;
    for (const QString &item : lista.split(u','))
        if (!item.trimmed().isEmpty())
            items << item.trimmed();
    return items;
}

InstruccionesConsulta::InstruccionesConsulta(const QString &texto) : lineas_(DividirLineas(texto)) {}

QString InstruccionesConsulta::texto() const
{
    return UnirLineas(lineas_);
}

QStringList InstruccionesConsulta::usuariosAutorizados() const
{
    return ItemsDeLista(LeerValorDeLineas(kUsuarios, lineas_));
}

bool InstruccionesConsulta::autoriza(const QString &usuario) const
{
    return UsuarioEnListaAutorizados(LeerValorDeLineas(kUsuarios, lineas_), usuario);
}

QStringList InstruccionesConsulta::aplicacionesContenedoras() const
{
    return ItemsDeLista(LeerValorDeLineas(kAplicaciones, lineas_));
}

std::optional<FuenteConsulta> InstruccionesConsulta::fuente(const QFont &porDefecto) const
{
    const QString valor = LeerValorDeLineas(kFuente, lineas_);
    if (valor.isEmpty())
        return std::nullopt;
    FuenteConsulta f{porDefecto, 0};
    const QStringList piezas = valor.split(u',');
    const QString nombre = piezas.value(0).trimmed();
    if (!nombre.isEmpty() && nombre.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) != 0)
        f.fuente.setFamily(nombre);
    const int estilo = TextoAEstiloFuente(piezas.value(1).trimmed());
    if (estilo != kEstiloFuenteDesconocido) {
        const TFontStyles estilos = ConjuntoEstilo(TFontStyle(estilo));
        f.fuente.setBold(estilos & ConjuntoEstilo(fsBold));
        f.fuente.setStyle(estiloItalica(estilos));
        f.fuente.setUnderline(estilos & ConjuntoEstilo(fsUnderline));
        f.fuente.setStrikeOut(estilos & ConjuntoEstilo(fsStrikeout));
    }
    f.color = InterpretarColor(piezas.value(2).trimmed());
    bool leido = false;
    const int tamanio = piezas.value(3).trimmed().toInt(&leido);
    if (leido && tamanio > 0 && tamanio <= 200 && tamanio != 8)
        f.fuente.setPointSize(tamanio);
    return f;
}

void InstruccionesConsulta::escribir(const QString &clave, const QString &valor)
{
    // Every line of the name goes (a repeated one would come to light once the first is
    // gone); the new one takes the place of the first.
    qsizetype sitio = -1;
    for (qsizetype i = lineas_.size() - 1; i >= 0; --i)
        if (lineas_[i].section(u'=', 0, 0).compare(clave, Qt::CaseInsensitive) == 0 && lineas_[i].contains(u'=')) {
            lineas_.removeAt(i);
            sitio = i;
        }
    if (valor.isEmpty())
        return;
    lineas_.insert(sitio < 0 ? lineas_.size() : sitio, clave + u'=' + valor);
}

void InstruccionesConsulta::ponerUsuariosAutorizados(const QStringList &codigos)
{
    escribir(kUsuarios, ListaConComas(codigos));
}

void InstruccionesConsulta::ponerAplicacionesContenedoras(const QStringList &nombres)
{
    escribir(kAplicaciones, ListaConComas(nombres));
}

void InstruccionesConsulta::ponerFuente(const FuenteConsulta &f)
{
    TFontStyles estilos = 0;
    if (f.fuente.bold())
        estilos |= ConjuntoEstilo(fsBold);
    if (f.fuente.italic())
        estilos |= ConjuntoEstilo(fsItalic);
    if (f.fuente.underline())
        estilos |= ConjuntoEstilo(fsUnderline);
    if (f.fuente.strikeOut())
        estilos |= ConjuntoEstilo(fsStrikeout);
    const QString color = ColorATexto(f.color);
    escribir(kFuente, f.fuente.family() + u',' + EstiloFuenteATexto(estilos) + u','
                          + (color.isEmpty() ? QString::number(f.color) : color) + u','
                          + QString::number(f.fuente.pointSize()));
}
