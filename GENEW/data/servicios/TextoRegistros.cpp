#include "GENEW/data/servicios/TextoRegistros.h"

#include "GENEW/data/servicios/NombresMotor.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

#include <QIODevice>

namespace textoRegistros {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kPunto = QStringLiteral("·");
const QString kCabecera = QStringLiteral("CamposCabecera=");
const QString kLinea = QStringLiteral("CamposLinea=");
constexpr int kMaximoIncidencias = 1000;
constexpr qsizetype kBloqueEscritura = 1 << 16;

bool esFlotante(TFieldType tipo) { return tipo == ftFloat || tipo == ftCurrency || tipo == ftBCD; }

// The names of a header line (its pieces up to the last delimiter).
QStringList nombresCabecera(const QString &linea, const QString &marca, const QString &d)
{
    const qsizetype en = linea.indexOf(marca);
    QStringList nombres = linea.mid(en + marca.size()).split(d);
    while (!nombres.isEmpty() && nombres.last().isEmpty())
        nombres.removeLast();
    return nombres;
}

int piezasConValor(const QStringList &piezas)
{
    qsizetype n = piezas.size();
    while (n > 0 && piezas.at(n - 1).isEmpty())
        --n;
    return int(n);
}

} // namespace

Delimitadores DelimitadoresDe(const QString &campo, const QString &salto)
{
    Delimitadores d;
    if (!campo.isEmpty())
        d.campo = campo;
    if (!salto.isEmpty())
        d.salto = salto;
    return d;
}

namespace {

void anadirDigitos(QString &destino, int valor, int cifras)
{
    QChar cifra[4];
    for (int i = cifras - 1; i >= 0; --i) {
        cifra[i] = QChar(u'0' + valor % 10);
        valor /= 10;
    }
    destino.append(cifra, cifras);
}

QString textoHora(const QTime &hora)
{
    QString t;
    t.reserve(8);
    anadirDigitos(t, hora.hour(), 2);
    t += u':';
    anadirDigitos(t, hora.minute(), 2);
    t += u':';
    anadirDigitos(t, hora.second(), 2);
    return t;
}

} // namespace

QString TextoFechaHora(const QDateTime &valor, TFieldType tipo)
{
    const QDate fecha = valor.date();
    if (fecha.year() < 1 || fecha.year() > 9999)
        return QString();
    QString t;
    t.reserve(19);
    anadirDigitos(t, fecha.day(), 2);
    t += u'/';
    anadirDigitos(t, fecha.month(), 2);
    t += u'/';
    anadirDigitos(t, fecha.year(), 4);
    if (tipo != ftDate && valor.time() != QTime(0, 0)) {
        t += u' ';
        t += textoHora(valor.time());
    }
    return t;
}

QString TextoCampo(const plat::Field &campo)
{
    if (EsCampoHora(campo)) {
        const QDateTime valor = campo.asDateTime();
        return valor.isValid() && !campo.isNull() ? textoHora(valor.time()) : QString();
    }
    const TFieldType tipo = campo.dataType();
    // A memo's display text is a mark; its value is the text.
    if (tipo == ftMemo || tipo == ftFmtMemo)
        return campo.asString();
    // Exports of many rows are mostly numbers and dates: without a format or a text handler
    // of their own their display text is written here, the same text in a fraction of the time.
    if (!campo.OnGetText && campo.displayFormat.isEmpty() && !campo.isCalculated()) {
        if (tipo == ftFloat || tipo == ftCurrency || tipo == ftBCD) {
            const QVariant valor = campo.value();
            return valor.isNull() ? QString() : TextoValorSQL(valor, tipo);
        }
        if (tipo == ftDateTime || tipo == ftDate) {
            const QVariant variante = campo.value();
            const QDateTime valor = variante.isNull() ? QDateTime() : variante.toDateTime();
            if (!valor.isValid())
                return QString();
            const QString rapido = TextoFechaHora(valor, tipo);
            if (!rapido.isEmpty())
                return rapido;
        }
    }
    return campo.displayText();
}

QString RegistroATexto(const plat::DataSet &dataSet)
{
    if (!dataSet.active() || dataSet.isEmpty())
        return QString();
    QString texto;
    for (int i = 0; i < dataSet.fieldCount(); ++i)
        texto += TextoCampo(dataSet.field(i)) + u'|';
    return texto;
}

QString RegistroATextoOpciones(const plat::DataSet &dataSet, const QString &opciones)
{
    if (!dataSet.active() || dataSet.isEmpty())
        return QString();
    const bool ini = opciones.contains(QLatin1String("FormatoINI"));
    const bool soloTabla = opciones.contains(QLatin1String("SoloCamposTabla"));
    const QString separador = ini ? kCrLf : QStringLiteral("|");
    QString texto;
    for (int i = 0; i < dataSet.fieldCount(); ++i) {
        const plat::Field &campo = dataSet.field(i);
        if (soloTabla && campo.isCalculated())
            continue;
        QString valor = TextoCampo(campo);
        if (valor.isEmpty())
            continue;
        if (ini)
            valor.replace(kCrLf, kPunto);
        texto += campo.fieldName() + u'=' + valor + separador;
    }
    return texto;
}

// A text written into a field as the texts of this unit write it back: a time field as a
// time of the zero date, numbers with the settings' separators (thousands included).
static void escribirTexto(plat::Field &campo, const QString &texto)
{
    if (texto.isEmpty()) {
        campo.clear();
        return;
    }
    if (EsCampoHora(campo)) {
        QTime hora;
        if (!LeerHora(texto, hora))
            throw gp::ConversionError(QStringLiteral("'%1' is not a valid time").arg(texto));
        campo.setValue(FechaHora(FechaCero().date(), hora));
        return;
    }
    if (esFlotante(campo.dataType())) {
        double valor = 0;
        if (!LeerDecimal(QString(texto).remove(ajustesComunes().SeparadorMiles), valor))
            throw gp::ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(texto));
        campo.setValue(valor);
        return;
    }
    campo.setText(texto);
}

void TextoARegistro(plat::DataSet &dataSet, const QString &texto, const QString &opciones)
{
    const auto estado = dataSet.state();
    if (estado != plat::DataSetState::Edit && estado != plat::DataSetState::Insert
        && estado != plat::DataSetState::SetKey) {
        try {
            dataSet.edit();
        } catch (const gp::Error &) {
            return;
        }
    }
    const QStringList indice = opciones.contains(QLatin1String("SinIndices")) ? dataSet.indexFields() : QStringList();
    const QStringList piezas = texto.split(u'|');
    for (int i = 0; i < dataSet.fieldCount(); ++i) {
        plat::Field &campo = dataSet.field(i);
        if (campo.isCalculated() || indice.contains(campo.fieldName(), Qt::CaseInsensitive))
            continue;
        try {
            escribirTexto(campo, piezas.value(i));
        } catch (const gp::Error &) {
            // A piece the field cannot take leaves the field as it was.
        }
    }
}

// ---- export -----------------------------------------------------------------------------------

EscritorTexto::EscritorTexto(QIODevice &salida, Delimitadores delimitadores, int k, bool conDetalle)
    : salida_(salida), d_(std::move(delimitadores)), k_(k), conDetalle_(conDetalle)
{
}

namespace {

bool entreComillas(QStringView texto)
{
    return texto.size() >= 2 && texto.front() == u'"' && texto.back() == u'"';
}

// Whether the plain form brings the text back as it is: no D and no L in it, no CR or LF
// outside a CR LF pair, no blank at either end (the import trims), and not itself between
// quotes.
bool esLlano(const QString &texto, const Delimitadores &d)
{
    if (texto.isEmpty())
        return true;
    if (texto.front().isSpace() || texto.back().isSpace() || entreComillas(texto))
        return false;
    if (texto.contains(d.campo) || texto.contains(d.salto))
        return false;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c == u'\r' && (i + 1 == texto.size() || texto.at(i + 1) != u'\n'))
            return false;
        if (c == u'\n' && (i == 0 || texto.at(i - 1) != u'\r'))
            return false;
    }
    return true;
}

// Any other text travels between quotes, written out exactly: "\\" a backslash, "\r" and "\n"
// the line ends, "\d" the delimiter D; everything else (L and quotes included) as it is.
QString entrecomillado(const QString &texto, const Delimitadores &d)
{
    QString r;
    r.reserve(texto.size() + 8);
    r += u'"';
    const QStringView v(texto);
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v.sliced(i).startsWith(d.campo)) {
            r += QStringLiteral("\\d");
            i += d.campo.size() - 1;
            continue;
        }
        switch (v.at(i).unicode()) {
        case u'\\': r += QStringLiteral("\\\\"); break;
        case u'\r': r += QStringLiteral("\\r"); break;
        case u'\n': r += QStringLiteral("\\n"); break;
        default: r += v.at(i);
        }
    }
    r += u'"';
    return r;
}

QString desentrecomillado(QStringView dentro, const Delimitadores &d)
{
    QString r;
    r.reserve(dentro.size());
    for (qsizetype i = 0; i < dentro.size(); ++i) {
        const QChar c = dentro.at(i);
        if (c != u'\\' || i + 1 == dentro.size()) {
            r += c;
            continue;
        }
        switch (dentro.at(++i).unicode()) {
        case u'\\': r += u'\\'; break;
        case u'r': r += u'\r'; break;
        case u'n': r += u'\n'; break;
        case u'd': r += d.campo; break;
        default:   // not written by the export: kept as read
            r += c;
            r += dentro.at(i);
        }
    }
    return r;
}

} // namespace

void EscritorTexto::valor(const QString &texto, bool puedeTenerSaltos)
{
    // A break inside a value travels as L; a value the plain form would not give back goes
    // between quotes.
    if (!puedeTenerSaltos)
        texto_ += texto;
    else if (!esLlano(texto, d_))
        texto_ += entrecomillado(texto, d_);
    else if (texto.contains(u'\r'))
        texto_ += QString(texto).replace(kCrLf, d_.salto);
    else
        texto_ += texto;
    texto_ += d_.campo;
}

void EscritorTexto::valor(const plat::Field &campo)
{
    // Numbers and dates of their own text never hold a line break.
    const TFieldType tipo = campo.dataType();
    const bool propio = !campo.OnGetText && campo.displayFormat.isEmpty();
    const bool sinSaltos = propio
        && (tipo == ftSmallint || tipo == ftInteger || tipo == ftWord || tipo == ftAutoInc || tipo == ftFloat
            || tipo == ftCurrency || tipo == ftBCD || tipo == ftDate || tipo == ftDateTime);
    valor(TextoCampo(campo), !sinSaltos);
}

void EscritorTexto::finLinea()
{
    texto_ += kCrLf;
    if (texto_.size() >= kBloqueEscritura)
        volcar();
}

void EscritorTexto::volcar()
{
    const QByteArray bloque = texto_.toUtf8();
    if (salida_.write(bloque) != bloque.size())
        fallo_ = true;
    texto_.resize(0);   // keeps its room for the next block
}

void EscritorTexto::cabeceras(const plat::DataSet &principal, const plat::DataSet *detalle)
{
    texto_ += kCabecera;
    for (int i = 0; i < principal.fieldCount(); ++i) {
        if (conDetalle_ && i == k_)
            valor(QStringLiteral("0"));
        valor(principal.field(i).fieldName());
    }
    if (conDetalle_ && principal.fieldCount() <= k_)
        valor(QStringLiteral("0"));
    finLinea();
    if (!detalle)
        return;
    texto_ += kLinea;
    for (int i = 0; i < detalle->fieldCount(); ++i)
        valor(detalle->field(i).fieldName());
    finLinea();
}

void EscritorTexto::principal(const plat::DataSet &dataSet)
{
    for (int i = 0; i < dataSet.fieldCount(); ++i) {
        if (conDetalle_ && i == k_)
            valor(QStringLiteral("0"));
        valor(dataSet.field(i));
    }
    if (conDetalle_ && dataSet.fieldCount() <= k_)
        valor(QStringLiteral("0"));
    finLinea();
}

void EscritorTexto::detalle(const plat::DataSet &dataSet)
{
    for (int i = 0; i < dataSet.fieldCount(); ++i)
        valor(dataSet.field(i));
    finLinea();
}

bool EscritorTexto::terminar()
{
    if (!texto_.isEmpty())
        volcar();
    return !fallo_;
}

bool ExportarDataSet(QIODevice &salida, plat::DataSet &principal, plat::DataSet *detalle, const Delimitadores &d,
                     int k, bool cabeceras)
{
    EscritorTexto escritor(salida, d, k, detalle != nullptr);
    if (cabeceras)
        escritor.cabeceras(principal, detalle);
    for (principal.first(); !principal.eof(); principal.next()) {
        escritor.principal(principal);
        if (!detalle)
            continue;
        for (detalle->first(); !detalle->eof(); detalle->next())
            escritor.detalle(*detalle);
    }
    return escritor.terminar();
}

// ---- import -----------------------------------------------------------------------------------

QString ValorImportado(const QString &pieza, const Delimitadores &d)
{
    QString valor = pieza.trimmed();
    if (entreComillas(valor))
        return desentrecomillado(QStringView(valor).sliced(1, valor.size() - 2), d);
    valor.replace(d.salto, kCrLf);
    return valor;
}

ImportacionTexto::ImportacionTexto(plat::DataSet &principal, plat::DataSet *detalle, OpcionesImportacion opciones,
                                   Pregunta continuar)
    : principal_(principal), detalle_(detalle), opciones_(std::move(opciones)), continuar_(std::move(continuar))
{
}

void ImportacionTexto::importar(const QString &contenido)
{
    QStringList lineas = contenido.split(u'\n');
    for (QString &l : lineas)
        if (l.endsWith(u'\r'))
            l.chop(1);
    const QString &d = opciones_.delimitadores.campo;
    qsizetype primera = 0;
    if (!lineas.isEmpty() && lineas.first().contains(kCabecera)) {
        nombresPrincipal_ = nombresCabecera(lineas.first(), kCabecera, d);
        primera = 1;
        if (detalle_ && lineas.size() > 1 && lineas.at(1).contains(kLinea)) {
            nombresDetalle_ = nombresCabecera(lineas.at(1), kLinea, d);
            primera = 2;
        }
    }
    for (qsizetype i = primera; i < lineas.size(); ++i) {
        if (lineas.at(i).isEmpty())
            continue;
        if (!linea(lineas.at(i).split(d)))
            break;
    }
}

bool ImportacionTexto::linea(const QStringList &piezas)
{
    const int k = opciones_.k;
    QStringList partesClave;
    for (int i = 0; i < qMax(k, 1); ++i)
        partesClave << piezas.value(i);
    const QString clave = partesClave.join(u'/');
    const QString marca = piezas.value(k);
    const Tipo tipo = detalle_ && marca != QLatin1String("0") ? Tipo::Detalle : Tipo::Principal;
    plat::DataSet &destino = tipo == Tipo::Detalle ? *detalle_ : principal_;
    const QStringList &nombres = tipo == Tipo::Detalle ? nombresDetalle_ : nombresPrincipal_;
    // A value that held the delimiter would shift every later value into the wrong field.
    if (!nombres.isEmpty() && piezasConValor(piezas) > nombres.size())
        return fallo(tipo, clave, marca,
                     QStringLiteral("La línea tiene %1 valores y la cabecera %2 campos")
                         .arg(piezasConValor(piezas))
                         .arg(nombres.size()));
    try {
        destino.insert();
        escribir(destino, piezas, nombres, tipo);
        destino.post();
    } catch (const gp::Error &error) {
        if (destino.state() == plat::DataSetState::Insert || destino.state() == plat::DataSetState::Edit)
            destino.cancel();
        return fallo(tipo, clave, marca, error.mensaje());
    }
    return true;
}

namespace {

// A value as a reason shows it: a long one by its beginning.
QString valorMostrado(const QString &valor)
{
    constexpr qsizetype kMostrado = 40;
    return u'"' + (valor.size() > kMostrado ? valor.left(kMostrado) + QStringLiteral("…") : valor) + u'"';
}

QString loQueNoEs(const plat::Field &campo)
{
    const TFieldType tipo = campo.dataType();
    if (EsCampoHora(campo) || tipo == ftTime)
        return QStringLiteral("una hora válida");
    if (tipo == ftDate || tipo == ftDateTime)
        return QStringLiteral("una fecha válida");
    if (campo.isNumeric())
        return QStringLiteral("un número válido");
    return QStringLiteral("un valor válido");
}

} // namespace

// A value the field cannot keep whole fails the record: cut or emptied, the record would be
// written with something else than the file holds.
void ImportacionTexto::escribirCampo(plat::Field &campo, const QString &pieza)
{
    const QString valor = ValorImportado(pieza, opciones_.delimitadores);
    if (campo.dataType() == ftString && campo.size() > 0 && valor.size() > campo.size())
        throw gp::Error(QStringLiteral("El valor %1 no cabe en el campo %2: tiene %3 caracteres y el campo admite %4")
                            .arg(valorMostrado(valor), campo.fieldName())
                            .arg(valor.size())
                            .arg(campo.size()));
    try {
        escribirTexto(campo, valor);
    } catch (const gp::ConversionError &) {
        throw gp::Error(QStringLiteral("El valor %1 del campo %2 no es %3")
                            .arg(valorMostrado(valor), campo.fieldName(), loQueNoEs(campo)));
    }
}

void ImportacionTexto::escribir(plat::DataSet &dataSet, const QStringList &piezas, const QStringList &nombres, Tipo tipo)
{
    const int k = opciones_.k;
    if (!nombres.isEmpty()) {
        for (int i = 0; i < nombres.size() && !nombres.at(i).isEmpty(); ++i)
            if (plat::Field *campo = dataSet.findField(nombres.at(i)))
                if (!campo->isCalculated())
                    escribirCampo(*campo, piezas.value(i));
        return;
    }
    if (tipo == Tipo::Detalle) {
        for (int i = 0; i < dataSet.fieldCount(); ++i) {
            plat::Field &campo = dataSet.field(i);
            if (campo.readOnly || campo.isCalculated() || (opciones_.nuevo && i <= k))
                continue;
            escribirCampo(campo, piezas.value(i));
        }
        return;
    }
    // With details the marker at position k is not a field: later pieces move one back.
    const bool conMarca = detalle_ != nullptr;
    for (int i = 0; i < piezas.size(); ++i) {
        if (opciones_.nuevo && i <= k)
            continue;
        if (conMarca && i == k)
            continue;
        const int posicion = conMarca && i > k ? i - 1 : i;
        if (posicion >= dataSet.fieldCount())
            break;
        plat::Field &campo = dataSet.field(posicion);
        if (!campo.isCalculated())
            escribirCampo(campo, piezas.at(i));
    }
}

bool ImportacionTexto::fallo(Tipo tipo, const QString &clave, const QString &marca, const QString &motivo)
{
    ++fallos_;
    const bool linea = tipo == Tipo::Detalle;
    if (incidencias_.size() <= kMaximoIncidencias)
        incidencias_ << QString::number(fallos_) + QStringLiteral(" - ")
                + (linea ? QStringLiteral("Error grabando el registro/línea ") + clave + u'/' + marca
                         : QStringLiteral("Error grabando el registro ") + clave)
                + QStringLiteral(". ") + QStringLiteral("Motivo: ") + motivo;
    if (preguntado_)
        return true;
    preguntado_ = true;
    const QString pregunta = linea ? QStringLiteral("¡Imposible grabar el registro/línea ") + clave + u'/' + marca
                                         + QStringLiteral("!. ¿Desea continuar?. (Motivo: ") + motivo + u')'
                                   : QStringLiteral("¡Imposible grabar el registro ") + clave
                                         + QStringLiteral("!. ¿Desea continuar?.") + kCrLf + QStringLiteral("(Motivo: ")
                                         + motivo + u')';
    return !continuar_ || continuar_(pregunta);
}

QStringList ImportacionTexto::incidencias() const
{
    QStringList lista = incidencias_;
    if (lista.size() >= kMaximoIncidencias)
        lista << QStringLiteral("¡Hay demasiados errores!");
    return lista;
}

} // namespace textoRegistros
