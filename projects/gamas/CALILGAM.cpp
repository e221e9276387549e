#include "projects/gamas/CALILGAM.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/base/FechaHora.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"
#include "projects/comun/PeticionImpreso.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRegularExpression>
#include <QVBoxLayout>

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

namespace {

// A record's responsibility as the data module reads it for printing: the operators' codes
// as integers, the dates as their text (none for the zero date) and the operators' names.
std::optional<DatosResponsabilidad> responsabilidadDelModulo(const QString &tabla, const QString &clave)
{
    if (!ModuloDatos)
        return std::nullopt;
    const QVariant leido = ModuloDatos->CompletarNombresOperarios(
        tabla, clave,
        QStringLiteral("RealizadoPor;FechaRealizacion;AprobadoPor;FechaAprobacion;NombreRealizadoPor;NombreAprobadoPor"));
    if (leido.isNull())
        return std::nullopt;
    const QStringList valores = leido.toStringList();
    const auto codigo = [&valores](int i) {
        bool ok = false;
        const int n = valores.value(i).toInt(&ok);
        return ok && n != 0 ? QVariant(n) : QVariant();
    };
    const auto fecha = [&valores](int i) {
        const QString texto = valores.value(i);
        QDate dia;
        return LeerFecha(texto.section(u' ', 0, 0), dia) && dia != FechaCero().date() ? QVariant(texto) : QVariant();
    };
    return DatosResponsabilidad{codigo(0), fecha(1), codigo(2), fecha(3), valores.value(4), valores.value(5)};
}

} // namespace

Gancho<LeerResponsabilidadFn> &ganchoResponsabilidadDocumental()
{
    static Gancho<LeerResponsabilidadFn> gancho(responsabilidadDelModulo);
    return gancho;
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

// ---- the window ---------------------------------------------------------------------------

QString GamaDesdeApertura;
QString GamaHastaApertura;
QString DocumentosApertura;
TfCALILGAM *fCALILGAM = nullptr;

namespace {

plat::Edit *campoTexto(plat::Form &f, const QString &nombre, int longitud, QWidget *padre)
{
    auto *edit = f.make<plat::Edit>(nombre, padre);
    edit->setMaxLength(longitud);
    return edit;
}

plat::CheckBox *opcion(plat::Form &f, const QString &nombre, const QString &titulo, bool marcada, QWidget *padre)
{
    auto *caja = f.make<plat::CheckBox>(nombre, padre);
    caja->setCaption(titulo);
    caja->setChecked(marcada);
    return caja;
}

plat::Label *etiqueta(plat::Form &f, const QString &nombre, const QString &titulo, QWidget *padre)
{
    auto *label = f.make<plat::Label>(nombre, padre);
    label->setCaption(titulo);
    return label;
}

} // namespace

TfCALILGAM::TfCALILGAM(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fCALILGAM"), QStringLiteral("Listado de Gamas de Control")),
      instancia_(fCALILGAM, this)
{
    setKeyPreview(true);
    setPosition(plat::poScreenCenter);
    resize(560, 420);

    auto *panel = make<plat::Panel>(QStringLiteral("Panel1"), this);
    EditFormatoImpreso = make<plat::DBLookupComboBox>(QStringLiteral("EditFormatoImpreso"), panel);
    DesdeGama = campoTexto(*this, QStringLiteral("DesdeGama"), 20, panel);
    HastaGama = campoTexto(*this, QStringLiteral("HastaGama"), 20, panel);
    HastaGama->setText(QString(20, u'z'));
    DesdeArticulo = campoTexto(*this, QStringLiteral("DesdeArticulo"), 30, panel);
    HastaArticulo = campoTexto(*this, QStringLiteral("HastaArticulo"), 30, panel);
    IncorporarDescripcionAmpliada = opcion(*this, QStringLiteral("IncorporarDescripcionAmpliada"),
                                           QStringLiteral("Incorporar Descripción Ampliada en Descripción"), true, panel);
    pbAgruparPorArticulo = opcion(*this, QStringLiteral("pbAgruparPorArticulo"),
                                  QStringLiteral("Agrupar las Gamas de Control de cada Artículo en un Documento"), true, panel);
    pbImprimirGamasDocumentos =
        opcion(*this, QStringLiteral("pbImprimirGamasDocumentos"),
               QStringLiteral("Imprimir las Gamas de Control de los Documentos seleccionados:"), false, panel);
    NumerosDocumento = make<plat::Memo>(QStringLiteral("NumerosDocumento"), panel);
    NumerosDocumento->setEnabled(false);
    VisualizacionPrevia = opcion(*this, QStringLiteral("VisualizacionPrevia"), QStringLiteral("Visualización Previa"), true, panel);

    auto *rejilla = new QGridLayout(panel);
    rejilla->addWidget(etiqueta(*this, QStringLiteral("Label1"), QStringLiteral("Formato del Impreso"), panel), 0, 0);
    rejilla->addWidget(EditFormatoImpreso, 0, 1, 1, 3);
    rejilla->addWidget(etiqueta(*this, QStringLiteral("Label2"), QStringLiteral("Desde Gama"), panel), 1, 0);
    rejilla->addWidget(DesdeGama, 1, 1);
    rejilla->addWidget(etiqueta(*this, QStringLiteral("Label3"), QStringLiteral("Hasta"), panel), 1, 2);
    rejilla->addWidget(HastaGama, 1, 3);
    rejilla->addWidget(etiqueta(*this, QStringLiteral("Label4"), QStringLiteral("Desde Artículo"), panel), 2, 0);
    rejilla->addWidget(DesdeArticulo, 2, 1);
    rejilla->addWidget(etiqueta(*this, QStringLiteral("Label5"), QStringLiteral("Hasta"), panel), 2, 2);
    rejilla->addWidget(HastaArticulo, 2, 3);
    rejilla->addWidget(IncorporarDescripcionAmpliada, 3, 0, 1, 4);
    rejilla->addWidget(pbAgruparPorArticulo, 4, 0, 1, 4);
    rejilla->addWidget(pbImprimirGamasDocumentos, 5, 0, 1, 4);
    rejilla->addWidget(NumerosDocumento, 6, 0, 1, 4);
    rejilla->addWidget(VisualizacionPrevia, 7, 0, 1, 4);

    auto *botones = make<plat::Panel>(QStringLiteral("Panel2"), this);
    pbListar = make<plat::Button>(QStringLiteral("pbListar"), botones);
    pbListar->setCaption(QStringLiteral("&Listar"));
    pbListar->setHint(QStringLiteral("Listar por impresora o visualizar en pantalla"));
    pbSalir = make<plat::Button>(QStringLiteral("pbSalir"), botones);
    pbSalir->setCaption(QStringLiteral("&Salir"));
    pbSalir->setHint(QStringLiteral("Salir sin listar"));
    auto *filaBotones = new QHBoxLayout(botones);
    filaBotones->addStretch();
    filaBotones->addWidget(pbListar);
    filaBotones->addWidget(pbSalir);
    StatusBar1 = make<plat::StatusBar>(QStringLiteral("StatusBar1"), this);
    StatusBar1->setSimplePanel(true);
    auto *todo = new QVBoxLayout(this);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->addWidget(panel, 1);
    todo->addWidget(botones);
    todo->addWidget(StatusBar1);

    const std::pair<plat::TableComponent **, const char *> tablas[] = {
        {&Gama, "GCNTROL"}, {&LGama, "LGCNTROL"}, {&HGama, "HGCNTROL"},
        {&Impreso, "IMPRESO"}, {&Articulo, "ARTICULO"}, {&OOrden, "OORDEN"}};
    const char *nombres[] = {"Gama", "LGama", "HGama", "Impreso", "Articulo", "OOrden"};
    for (int i = 0; i < 6; ++i) {
        *tablas[i].first = make<plat::TableComponent>(QLatin1String(nombres[i]), this);
        (*tablas[i].first)->setTableName(QLatin1String(tablas[i].second));
    }
    DSImpreso = make<plat::DataSource>(QStringLiteral("DSImpreso"), this);
    DSImpreso->setDataSet(Impreso);
    EditFormatoImpreso->setListSource(DSImpreso);
    EditFormatoImpreso->setKeyField(QStringLiteral("Codigo"));
    EditFormatoImpreso->setListField(QStringLiteral("Descripcion"));

    using plat::handler;
    OnCreate = handler(this, &TfCALILGAM::FormCreate);
    OnActivate = handler(this, &TfCALILGAM::FormActivate);
    OnCloseQuery = handler(this, &TfCALILGAM::FormCloseQuery);
    OnKeyDown = handler(this, &TfCALILGAM::FormKeyDown);
    OnKeyPress = handler(this, &TfCALILGAM::FormKeyPress);
    pbListar->OnClick = handler(this, &TfCALILGAM::pbListarClick);
    pbSalir->OnClick = handler(this, &TfCALILGAM::pbSalirClick);
    pbImprimirGamasDocumentos->OnClick = handler(this, &TfCALILGAM::pbImprimirGamasDocumentosClick);
    NumerosDocumento->OnDblClick = handler(this, &TfCALILGAM::NumerosDocumentoDblClick);
}

TfCALILGAM::~TfCALILGAM() = default;

void TfCALILGAM::FormCreate(QObject *)
{
    fGENEINIC->AbrirTablasFormulario(*this);
    abrirImpresosDelTipo(*Impreso, QStringLiteral("Gama Control"));
    EditFormatoImpreso->reloadList();
    if (!GamaDesdeApertura.isEmpty() || !GamaHastaApertura.isEmpty()) {
        DesdeGama->setText(GamaDesdeApertura);
        HastaGama->setText(GamaHastaApertura);
        GamaDesdeApertura.clear();
        GamaHastaApertura.clear();
    }
    if (!DocumentosApertura.isEmpty()) {
        QStringList documentos = DocumentosApertura.split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
        documentos.sort();
        documentos.removeDuplicates();
        NumerosDocumento->setLines(documentos);
        DocumentosApertura.clear();
    }
    ocupado_ = false;
}

void TfCALILGAM::FormActivate(QObject *) { update(); }

void TfCALILGAM::FormCloseQuery(QObject *, bool &CanClose) { CanClose = !ocupado_; }

void TfCALILGAM::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
}

void TfCALILGAM::FormKeyPress(QObject *Sender, QChar &Key) { fGENEINIC->ProcesarTeclaPulsada(Sender, Key); }

void TfCALILGAM::pbSalirClick(QObject *) { Close(); }

void TfCALILGAM::pbImprimirGamasDocumentosClick(QObject *)
{
    NumerosDocumento->setEnabled(pbImprimirGamasDocumentos->isChecked());
}

void TfCALILGAM::NumerosDocumentoDblClick(QObject *)
{
    if (!pbImprimirGamasDocumentos->isChecked())
        return;
    const QVariant clave =
        BuscarRegistroConFiltro(QStringLiteral("OORDEN"), 0, QStringLiteral("SituacionOrden = 'Abierta'"));
    const QVariantList valores = clave.toList();
    if (clave.isNull() || valores.size() < 2)
        return;
    const QString linea = valores[0].toString() + u'/' + valores[1].toString();
    const QString actual = NumerosDocumento->text();
    NumerosDocumento->setText(actual.isEmpty() ? linea : actual + QStringLiteral("\r\n") + linea);
}

SeleccionGamas TfCALILGAM::seleccion() const
{
    SeleccionGamas s;
    s.desdeGama = DesdeGama->text();
    s.hastaGama = HastaGama->text();
    s.desdeArticulo = DesdeArticulo->text();
    s.hastaArticulo = HastaArticulo->text();
    s.porOrdenes = pbImprimirGamasDocumentos->isChecked();
    s.ordenes = NumerosDocumento->lines();
    while (!s.ordenes.isEmpty() && s.ordenes.last().isEmpty())
        s.ordenes.removeLast();
    s.incorporarDescripcionAmpliada = IncorporarDescripcionAmpliada->isChecked();
    s.agruparPorArticulo = pbAgruparPorArticulo->isChecked();
    return s;
}

void TfCALILGAM::pbListarClick(QObject *)
{
    lanzarListado(this, ocupado_, StatusBar1, EditFormatoImpreso->keyValue().toString(), [this] {
        plat::BusyCursor reloj;
        PeticionImpreso peticion;
        peticion.vistaPrevia = VisualizacionPrevia->isChecked();
        peticion.codigoImpreso = EditFormatoImpreso->keyValue().toString();
        peticion.definicionDocumentos = DefinicionDocumentosGama;
        peticion.definicionLineas = DefinicionLineasGama;
        peticion.indiceLineas = QStringLiteral("Prefijo;Linea;LineaMemo");
        peticion.campoMaestroLineas = QStringLiteral("Prefijo");
        const SeleccionGamas s = seleccion();
        peticion.rellenar = [this, s](plat::TableDataSet &documentos, plat::TableDataSet &lineas) {
            RellenarGamasControl({Gama->table(), LGama->table(), HGama->table(), Articulo->table(), OOrden->table()}, s,
                                 documentos, lineas);
        };
        ganchoImprimirPeticion().valor()(peticion);
    });
}
