#include "projects/CALILGAM.h"

#include "GENEW/runtime/Geneinic.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "projects/PeticionImpreso.h"

#include <QRegularExpression>

const QString DefinicionDocumentosGama = QStringLiteral(
    "Tabla Temporal\r\n"
    "/C/1/Prefijo/ftString/50/*/\r\n"
    "/C/2/CodigoArticulo/ftString/30/\r\n"
    "/C/3/CodigoGama/ftString/20/\r\n"
    "/C/4/Descripcion/ftString/40/\r\n"
    "/C/5/RealizadoPor/ftInteger/0/\r\n"
    "/C/6/NombreRealizadoPor/ftString/40/\r\n"
    "/C/7/FechaRealizacion/ftDateTime/0/\r\n"
    "/C/8/AprobadoPor/ftInteger/0/\r\n"
    "/C/9/NombreAprobadoPor/ftString/40/\r\n"
    "/C/10/FechaAprobacion/ftDateTime/0/\r\n"
    "/C/11/Observaciones/ftMemo/10/\r\n"
    "/C/12/NivelModificacion/ftString/6/\r\n"
    "/C/13/PiezasContables/ftString/2/\r\n"
    "/C/14/DatosHistorico/ftMemo/10/\r\n"
    "/C/15/NombreAprobadoHistorico/ftMemo/10/\r\n"
    "/C/16/NombreRealizadoHistorico/ftMemo/10/\r\n"
    "/C/17/FechaAprobacionHistorico/ftMemo/10/\r\n"
    "/C/18/FechaRealizacionHistorico/ftMemo/10/\r\n"
    "/I/1/<Primary>/Prefijo\r\n");

const QString DefinicionLineasGama = QStringLiteral(
    "Tabla Temporal 1\r\n"
    "/C/1/Prefijo/ftString/50/*\r\n"
    "/C/2/Linea/ftSmallint/0/*\r\n"
    "/C/3/LineaMemo/ftSmallint/0/*\r\n"
    "/C/4/CodigoGama/ftString/20/\r\n"
    "/C/5/LineaGama/ftSmallint/0/\r\n"
    "/C/6/Descripcion/ftMemo/10/\r\n"
    "/C/7/DescripcionAmpliada/ftMemo/10/\r\n"
    "/C/8/Especificacion/ftString/25/\r\n"
    "/C/9/NCA/ftString/25/\r\n"
    "/C/10/Frecuencia/ftString/25/\r\n"
    "/C/11/Instrumento/ftString/25/\r\n"
    "/C/12/MetodoAnalisis/ftString/25/\r\n"
    "/C/13/Condiciones/ftString/25/\r\n"
    "/C/14/Observaciones/ftString/40/\r\n"
    "/C/15/Modalidad/ftString/10/\r\n"
    "/C/16/TipoCaracteristica/ftString/15/\r\n"
    "/C/17/Muestra/ftString/12/\r\n"
    "/C/18/PlanReaccion/ftString/100/\r\n"
    "/I/1/<Primary>/Prefijo;Linea;LineaMemo\r\n");

Gancho<LeerResponsabilidadFn> &ganchoResponsabilidadDocumental()
{
    static Gancho<LeerResponsabilidadFn> gancho(
        [](const QString &, const QString &) -> std::optional<DatosResponsabilidad> { return std::nullopt; });
    return gancho;
}

std::optional<std::pair<int, int>> LeerNumeroOrden(const QString &linea)
{
    const QStringList piezas = linea.split(u'/');
    if (piezas.size() < 2)
        return std::nullopt;
    bool ok1 = false, ok2 = false;
    const int ejercicio = piezas[0].trimmed().toInt(&ok1);
    const int numero = piezas[1].trimmed().toInt(&ok2);
    if (!ok1 || !ok2)
        return std::nullopt;
    return std::make_pair(ejercicio, numero);
}

QStringList LeerCodigosGama(const QString &texto)
{
    static const QRegularExpression salto(QStringLiteral("\r?\n"));
    QStringList codigos;
    for (const QString &codigo : texto.split(salto))
        if (!codigo.isEmpty() && !codigos.contains(codigo))
            codigos << codigo;
    return codigos;
}

namespace {

const QString kCRLF = QStringLiteral("\r\n");

QString texto(const plat::TableDataSet &t, const char *campo) { return t.fieldByName(QLatin1String(campo)).asString(); }

void ponerValor(plat::TableDataSet &t, const char *campo, const QVariant &valor)
{
    plat::Field &f = t.fieldByName(QLatin1String(campo));
    if (!valor.isValid() || valor.isNull() || valor.toString().isEmpty())
        f.clear();
    else
        f.setValue(valor);
}

// One run of the listing: the request rows written so far and the line counter of a
// listing by article.
class RellenoGamas
{
public:
    RellenoGamas(const TablasGamas &t, const SeleccionGamas &s, plat::TableDataSet &documentos,
                 plat::TableDataSet &lineas)
        : t_(t), s_(s), documentos_(documentos), lineas_(lineas),
          porArticulo_(!s.desdeArticulo.isEmpty() || !s.hastaArticulo.isEmpty())
    {
    }

    void ejecutar()
    {
        documentos_.emptyTable();
        lineas_.emptyTable();
        if (porArticulo_)
            porArticulos();
        else if (s_.porOrdenes && !s_.ordenes.isEmpty())
            porOrdenes();
        else
            porCodigos();
    }

private:
    void porOrdenes()
    {
        ListadoCancelado = false;
        QStringList codigos;
        for (const QString &linea : s_.ordenes) {
            if (ListadoCancelado)
                break;
            const auto orden = LeerNumeroOrden(linea);
            if (orden && t_.orden.findKey({orden->first, orden->second})) {
                const QString codigo = texto(t_.orden, "CodigoGama");
                if (!codigos.contains(codigo))
                    codigos << codigo;
            }
        }
        for (const QString &codigo : codigos) {
            if (ListadoCancelado)
                break;
            if (t_.gama.findKey({codigo})) {
                documento(codigo);
                lineasDeGama(codigo, codigo);
            }
        }
    }

    void porCodigos()
    {
        t_.gama.setRange({s_.desdeGama}, {s_.hastaGama});
        ListadoCancelado = false;
        for (t_.gama.first(); !t_.gama.eof() && !ListadoCancelado; t_.gama.next()) {
            plat::application().processMessages();
            if (ListadoCancelado)
                break;
            const QString codigo = texto(t_.gama, "Codigo");
            documento(codigo);
            lineasDeGama(codigo, codigo);
        }
        t_.gama.cancelRange();
    }

    void porArticulos()
    {
        t_.articulo.setRange({s_.desdeArticulo}, {s_.hastaArticulo});
        for (t_.articulo.first(); !t_.articulo.eof(); t_.articulo.next()) {
            const QString articulo = texto(t_.articulo, "Codigo");
            if (s_.agruparPorArticulo) {
                documentos_.append();
                documentos_.fieldByName(QStringLiteral("Prefijo")).setAsString(articulo);
                documentos_.post();
            }
            for (const QString &codigo : LeerCodigosGama(texto(t_.articulo, "CodigoGama"))) {
                if (codigo < s_.desdeGama || codigo > s_.hastaGama || !t_.gama.findKey({codigo}))
                    continue;
                const QString prefijo = articulo.left(30).rightJustified(30, u' ') + codigo;
                if (!s_.agruparPorArticulo)
                    documento(prefijo);
                lineasDeGama(s_.agruparPorArticulo ? articulo : prefijo, codigo);
            }
        }
        t_.articulo.cancelRange();
    }

    // The document row of the current range of gama.
    void documento(const QString &prefijo)
    {
        const QString codigo = texto(t_.gama, "Codigo");
        documentos_.append();
        documentos_.fieldByName(QStringLiteral("Prefijo")).setAsString(prefijo);
        documentos_.fieldByName(QStringLiteral("CodigoGama")).setAsString(codigo);
        documentos_.fieldByName(QStringLiteral("Descripcion")).setAsString(texto(t_.gama, "Descripcion").left(40));
        if (const auto datos = ganchoResponsabilidadDocumental().valor()(QStringLiteral("GCNTROL"), codigo + u'|')) {
            ponerValor(documentos_, "RealizadoPor", datos->realizadoPor);
            ponerValor(documentos_, "FechaRealizacion", datos->fechaRealizacion);
            ponerValor(documentos_, "AprobadoPor", datos->aprobadoPor);
            ponerValor(documentos_, "FechaAprobacion", datos->fechaAprobacion);
            ponerValor(documentos_, "NombreRealizadoPor", datos->nombreRealizadoPor.left(40));
            ponerValor(documentos_, "NombreAprobadoPor", datos->nombreAprobadoPor.left(40));
        }
        for (const char *campo : {"Observaciones", "NivelModificacion", "PiezasContables"})
            documentos_.fieldByName(QLatin1String(campo)).setAsString(texto(t_.gama, campo));
        historico(codigo);
        documentos_.post();
    }

    void historico(const QString &codigo)
    {
        QString datos, nombreAprobado, nombreRealizado, fechaAprobacion, fechaRealizacion;
        t_.historicoGama.setRange({codigo}, {codigo});
        for (t_.historicoGama.first(); !t_.historicoGama.eof(); t_.historicoGama.next()) {
            datos += texto(t_.historicoGama, "Nivel") + QStringLiteral(": ") + texto(t_.historicoGama, "Modificacion") + kCRLF;
            const auto r = ganchoResponsabilidadDocumental().valor()(
                QStringLiteral("HGCNTROL"), codigo + u'|' + texto(t_.historicoGama, "Linea") + u'|');
            fechaRealizacion += (r ? r->fechaRealizacion.toString() : QString()) + kCRLF;
            fechaAprobacion += (r ? r->fechaAprobacion.toString() : QString()) + kCRLF;
            nombreRealizado += (r ? r->nombreRealizadoPor : QString()) + kCRLF;
            nombreAprobado += (r ? r->nombreAprobadoPor : QString()) + kCRLF;
        }
        t_.historicoGama.cancelRange();
        documentos_.fieldByName(QStringLiteral("DatosHistorico")).setAsString(datos);
        documentos_.fieldByName(QStringLiteral("NombreAprobadoHistorico")).setAsString(nombreAprobado);
        documentos_.fieldByName(QStringLiteral("NombreRealizadoHistorico")).setAsString(nombreRealizado);
        documentos_.fieldByName(QStringLiteral("FechaAprobacionHistorico")).setAsString(fechaAprobacion);
        documentos_.fieldByName(QStringLiteral("FechaRealizacionHistorico")).setAsString(fechaRealizacion);
    }

    void lineasDeGama(const QString &prefijo, const QString &codigo)
    {
        plat::TableDataSet &l = t_.lineasGama;
        l.setRange({codigo}, {codigo});
        for (l.first(); !l.eof(); l.next()) {
            lineas_.append();
            copiarCamposPorNombre(l, lineas_);
            lineas_.fieldByName(QStringLiteral("Prefijo")).setAsString(prefijo);
            const int lineaGama = int(l.fieldByName(QStringLiteral("Linea")).asInteger());
            lineas_.fieldByName(QStringLiteral("Linea")).setAsInteger(porArticulo_ ? contador_ : lineaGama);
            lineas_.fieldByName(QStringLiteral("LineaMemo")).setAsInteger(0);
            lineas_.fieldByName(QStringLiteral("CodigoGama")).setAsString(codigo);
            lineas_.fieldByName(QStringLiteral("LineaGama")).setAsInteger(lineaGama);
            QString descripcion = texto(l, "Descripcion");
            if (s_.incorporarDescripcionAmpliada)
                descripcion += kCRLF + texto(l, "DescripcionAmpliada");
            lineas_.fieldByName(QStringLiteral("Descripcion")).setAsString(descripcion);
            lineas_.post();
            ++contador_;
        }
        l.cancelRange();
    }

    const TablasGamas &t_;
    const SeleccionGamas &s_;
    plat::TableDataSet &documentos_;
    plat::TableDataSet &lineas_;
    const bool porArticulo_;
    int contador_ = 1;
};

} // namespace

void RellenarGamasControl(const TablasGamas &tablas, const SeleccionGamas &seleccion,
                          plat::TableDataSet &documentos, plat::TableDataSet &lineas)
{
    RellenoGamas(tablas, seleccion, documentos, lineas).ejecutar();
}
