#include "GENEW/data/servicios/ExportacionExcel.h"

#include "GENEW/data/servicios/NombresMotor.h"
#include "GENEW/data/servicios/TextoRegistros.h"
#include "GENEW/data/servicios/XlsxwriterBajoDemanda.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/DataSet.h"
#include "platform/base/WholeFile.h"
#include "platform/data/Field.h"
#include "platform/office/ArchivoZip.h"

#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>
#include <vector>
#include <xlsxwriter.h>

namespace exportacionExcel {

namespace {

constexpr int kTagExcluido = 999;
constexpr double kAnchoMaximo = 255;

bool esFlotante(TFieldType tipo) { return tipo == ftFloat || tipo == ftCurrency || tipo == ftBCD; }
bool esFecha(TFieldType tipo) { return tipo == ftDateTime || tipo == ftDate; }
bool esMemo(TFieldType tipo) { return tipo == ftMemo || tipo == ftFmtMemo; }

std::vector<int> camposExportados(const plat::DataSet &dataSet)
{
    std::vector<int> campos;
    for (int i = 0; i < dataSet.fieldCount(); ++i)
        if (dataSet.field(i).tag != kTagExcluido)
            campos.push_back(i);
    return campos;
}

double anchoDeCampo(const plat::Field &campo)
{
    double ancho = 0;
    switch (campo.dataType()) {
    case ftFloat:
    case ftCurrency:
    case ftBCD: ancho = 15; break;
    case ftDate:
    case ftDateTime:
    case ftInteger:
    case ftSmallint: ancho = 10; break;
    case ftString: ancho = campo.size() + 1; break;
    case ftMemo:
    case ftFmtMemo: ancho = 40; break;
    default: break;
    }
    return qMin(ancho, kAnchoMaximo);
}

// One cell's content: a text, a number, or nothing.
struct Celda
{
    enum class Tipo { Vacia, Texto, Numero } tipo = Tipo::Vacia;
    QString texto;
    double numero = 0;
};

Celda celdaDeCampo(const plat::Field &campo, bool columnaTexto)
{
    Celda c;
    const TFieldType tipo = campo.dataType();
    QString texto;
    if (EsCampoHora(campo)) {
        texto = textoRegistros::TextoCampo(campo);
    } else if (esFecha(tipo)) {
        // A date-time keeps its time, as the grid shows it.
        const QDateTime valor = campo.asDateTime();
        if (!campo.isNull() && valor.isValid() && !EsFechaCero(valor))
            texto = textoRegistros::TextoFechaHora(valor, tipo);
    } else if (esMemo(tipo)) {
        texto = campo.asString();
        texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    } else if (esFlotante(tipo)) {
        if (campo.isNull())
            return c;
        double valor = 0;
        if (campo.OnGetText || !campo.displayFormat.isEmpty()) {
            // Read back from what the user sees (thousands separators included).
            const QString mostrado = campo.displayText();
            if (mostrado.trimmed().isEmpty())
                return c;
            valor = TextoANumero(mostrado);
        } else {
            valor = campo.asFloat();
        }
        if (!columnaTexto) {
            c.tipo = Celda::Tipo::Numero;
            c.numero = valor;
            return c;
        }
        texto = QString::number(valor, 'g', 15);
    } else {
        texto = campo.displayText();
    }
    if (!texto.isEmpty()) {
        c.tipo = Celda::Tipo::Texto;
        c.texto = texto;
    }
    return c;
}

class Libro
{
public:
    explicit Libro(const QString &fichero)
    {
        lxw_workbook_options opciones{};
        opciones.constant_memory = LXW_TRUE;
        nombre_ = QFile::encodeName(fichero);
        libro_ = workbook_new_opt(nombre_.constData(), &opciones);
        if (libro_)
            hoja_ = workbook_add_worksheet(libro_, nullptr);
    }
    ~Libro()
    {
        if (libro_)
            workbook_close(libro_);
    }
    bool valido() const { return libro_ && hoja_; }

    // One object per distinct format: the library looks a repeated twin up again for every
    // cell written with it.
    lxw_format *formato(const char *numero, uint8_t alineacion, bool negrita)
    {
        const QString clave = QString::fromLatin1(numero ? numero : "") + u'/' + QString::number(alineacion) + u'/'
            + QString::number(negrita);
        if (lxw_format *hecho = formatos_.value(clave))
            return hecho;
        lxw_format *f = workbook_add_format(libro_);
        formatos_.insert(clave, f);
        if (numero)
            format_set_num_format(f, numero);
        if (alineacion != LXW_ALIGN_NONE)
            format_set_align(f, alineacion);
        format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
        if (negrita)
            format_set_bold(f);
        return f;
    }
    lxw_format *negrita()
    {
        if (!negrita_) {
            negrita_ = workbook_add_format(libro_);
            format_set_bold(negrita_);
        }
        return negrita_;
    }

    void columna(int col, double ancho, lxw_format *f)
    {
        worksheet_set_column(hoja_, lxw_col_t(col), lxw_col_t(col), ancho > 0 ? ancho : LXW_DEF_COL_WIDTH, f);
    }
    void escribir(int fila, int col, const Celda &c, lxw_format *f)
    {
        if (c.tipo == Celda::Tipo::Numero)
            worksheet_write_number(hoja_, lxw_row_t(fila), lxw_col_t(col), c.numero, f);
        else if (c.tipo == Celda::Tipo::Texto)
            texto(fila, col, c.texto, f);
    }
    void texto(int fila, int col, const QString &t, lxw_format *f)
    {
        if (t.isEmpty())
            return;
        utf8_ = t.toUtf8();
        worksheet_write_string(hoja_, lxw_row_t(fila), lxw_col_t(col), utf8_.constData(), f);
    }
    // Closes the workbook, which writes the file; the reason when it could not.
    QString cerrar()
    {
        const lxw_error e = workbook_close(libro_);
        libro_ = nullptr;
        return e == LXW_NO_ERROR ? QString() : QString::fromUtf8(lxw_strerror(e));
    }

private:
    QByteArray nombre_;
    QByteArray utf8_;
    lxw_workbook *libro_ = nullptr;
    lxw_worksheet *hoja_ = nullptr;
    lxw_format *negrita_ = nullptr;
    QHash<QString, lxw_format *> formatos_;
};

// The columns of one data set: the field of each, its cell format and its header's.
struct Columnas
{
    std::vector<int> campos;
    std::vector<lxw_format *> formatos;
    std::vector<lxw_format *> cabeceras;
    std::vector<bool> texto;
};

} // namespace

QString NombreLibro(const QString &fichero)
{
    const QString sufijo = QFileInfo(fichero).suffix();
    if (sufijo.isEmpty())
        return (fichero.endsWith(u'.') ? fichero.chopped(1) : fichero) + QStringLiteral(".xlsx");
    if (sufijo.compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
        return fichero.chopped(3) + QStringLiteral("xlsx");
    return fichero;
}

QString LetrasColumna(int columna)
{
    QString letras;
    for (int n = columna + 1; n > 0; n = (n - 1) / 26)
        letras.prepend(QChar(u'A' + (n - 1) % 26));
    return letras;
}

namespace {

// libxlsxwriter does not check the writes of its own temporary files: a full disk there
// leaves parts cut short in an archive it reports as written. So the workbook is read back,
// and each XML part must end with the closing tag of the element it opens with.
QString parteIncompleta(const QString &libro)
{
    constexpr int kExtremo = 1024;
    QString error;
    const auto partes = plat::office::readZipEntryEnds(libro, kExtremo, error);
    if (!partes)
        return error;
    for (const plat::office::ZipEntryEnds &parte : *partes) {
        if (!parte.name.endsWith(QLatin1String(".xml")) && !parte.name.endsWith(QLatin1String(".rels")))
            continue;
        QXmlStreamReader xml(parte.head);
        const QByteArray cierre =
            xml.readNextStartElement() ? "</" + xml.qualifiedName().toUtf8() + '>' : QByteArray("<");
        if (!parte.tail.trimmed().endsWith(cierre))
            return QStringLiteral("la parte %1 del libro ha quedado incompleta").arg(parte.name);
    }
    return {};
}

// The sheet written into a workbook at `nombre`; the reason when it could not be.
QString escribirLibro(const QString &nombre, plat::DataSet &principal, plat::DataSet *detalle, const Opciones &opciones)
{
    Libro libro(nombre);
    if (!libro.valido()) {
        const QString ausente = BibliotecaXlsxwriter().motivo();
        return ausente.isEmpty() ? QStringLiteral("no se puede crear el libro") : ausente;
    }
    const bool conDetalle = detalle != nullptr;

    Columnas principales;
    principales.campos = camposExportados(principal);
    for (size_t c = 0; c < principales.campos.size(); ++c) {
        const plat::Field &campo = principal.field(principales.campos[c]);
        const bool numero = !conDetalle && esFlotante(campo.dataType());
        lxw_format *f = numero ? libro.formato(nullptr, LXW_ALIGN_RIGHT, false) : libro.formato("@", LXW_ALIGN_LEFT, false);
        principales.formatos.push_back(f);
        principales.cabeceras.push_back(f);
        principales.texto.push_back(!numero);
        libro.columna(int(c), conDetalle ? 0 : anchoDeCampo(campo), f);
    }
    Columnas lineas;
    if (conDetalle) {
        lineas.campos = camposExportados(*detalle);
        for (size_t c = 0; c < lineas.campos.size(); ++c) {
            const bool enColumna = c < principales.campos.size();
            lineas.formatos.push_back(enColumna ? principales.formatos[c] : nullptr);
            lineas.texto.push_back(enColumna);
            lineas.cabeceras.push_back(enColumna ? libro.formato("@", LXW_ALIGN_LEFT, true) : libro.negrita());
        }
    }

    const auto cabecera = [&](int fila, const plat::DataSet &dataSet, const Columnas &columnas, bool traducir) {
        for (size_t c = 0; c < columnas.campos.size(); ++c) {
            QString texto = SepararPalabras(dataSet.field(columnas.campos[c]).fieldName());
            if (traducir && opciones.traducir)
                texto = opciones.traducir(texto);
            libro.texto(fila, int(c), texto, columnas.cabeceras[c]);
        }
    };
    const auto registro = [&](int fila, const plat::DataSet &dataSet, const Columnas &columnas) {
        for (size_t c = 0; c < columnas.campos.size(); ++c)
            libro.escribir(fila, int(c), celdaDeCampo(dataSet.field(columnas.campos[c]), columnas.texto[c]),
                           columnas.formatos[c]);
    };

    int fila = 0;
    if (!conDetalle && opciones.cabeceras) {
        cabecera(0, principal, principales, true);
        fila = 2;
    }
    for (principal.first(); !principal.eof(); principal.next()) {
        if (!conDetalle) {
            registro(fila++, principal, principales);
            continue;
        }
        ++fila;
        if (opciones.cabeceras) {
            cabecera(fila, principal, principales, true);
            fila += 2;
        }
        registro(fila, principal, principales);
        fila += 2;
        if (opciones.cabeceras)
            cabecera(fila++, *detalle, lineas, false);
        for (detalle->first(); !detalle->eof(); detalle->next())
            registro(fila++, *detalle, lineas);
    }
    const QString error = libro.cerrar();
    return error.isEmpty() ? parteIncompleta(nombre) : error;
}

} // namespace

bool Exportar(const QString &fichero, plat::DataSet &principal, plat::DataSet *detalle, const Opciones &opciones,
              QString &error)
{
    error = plat::writeWholeFile(fichero, [&](plat::WholeFileTarget &archivo) {
        if (archivo.path.isEmpty())
            return QStringLiteral("el sistema no da nombre al archivo en curso");
        return escribirLibro(archivo.path, principal, detalle, opciones);
    });
    return error.isEmpty();
}

} // namespace exportacionExcel
