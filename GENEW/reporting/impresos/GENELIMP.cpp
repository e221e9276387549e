#include "GENEW/reporting/impresos/GENELIMP.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/servicios/NombreEmpresaInforme.h"
#include "GENEW/reporting/AvisoImpresion.h"
#include "GENEW/reporting/graficos/PrintBarcode.h"
#include "GENEW/reporting/impresos/CodigoBarrasImpreso.h"
#include "GENEW/reporting/impresos/DestinoDibujo.h"
#include "GENEW/reporting/impresos/EscritorPDFImpreso.h"
#include "GENEW/reporting/impresos/OrdenesCampo.h"
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "GENEW/reporting/impresos/TablaImpresos.h"
#include "GENEW/reporting/impresos/TextoBruto.h"
#include "GENEW/runtime/AperturaTablasFormulario.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/LecturaTextos.h"
#include "platform/base/WholeFile.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/SpinEdit.h"
#include "platform/ui/data/DataSource.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QSignalBlocker>

QString FormularioLlamanteImpreso;
bool VistaPreviaImpreso = false;
QString CodigoImpresoPeticion;
bool SinDialogoImpresora = false;
TfGENELIMP *fGENELIMP = nullptr;

FormularioMotorImpreso::FormularioMotorImpreso() { fGENELIMP = plat::createForm<TfGENELIMP>(); }

FormularioMotorImpreso::~FormularioMotorImpreso()
{
    if (!fGENELIMP)
        return;
    fGENELIMP->LTemporal->table().setMasterSource(nullptr, QString());
    fGENELIMP->Free();
    fGENELIMP = nullptr;
}

namespace {

const QString kPorDefecto = QStringLiteral("Por Defecto");
const QString kNinguna = QStringLiteral("Ninguna");
constexpr int kMaximoCopias = 9999;

QString PreguntaInformeGrande()
{
    return QStringLiteral("¡El número de páginas del informe es mayor que ") + QString::number(kPaginasAvisoInforme) +
           QStringLiteral("!. Superar este número puede ocasionarle un bloqueo del sistema ") +
           QStringLiteral("en caso de no disponer de recursos suficientes. ") + QStringLiteral("¿Desea continuar?");
}

QString AvisoPDF()
{
    return QStringLiteral("Se ha producido un error al generar el archivo PDF. Motivo: ");
}

} // namespace

// ---- printer helpers --------------------------------------------------------------------

int AnchoFisicoImpresora(QPrinter &impresora)
{
    return impresora.paperRect(QPrinter::DevicePixel).toRect().width();
}

int AltoFisicoImpresora(QPrinter &impresora)
{
    return impresora.paperRect(QPrinter::DevicePixel).toRect().height();
}

int PuntosPorPulgadaImpresoraX(QPrinter &impresora)
{
    return impresora.logicalDpiX();
}

int PuntosPorPulgadaImpresoraY(QPrinter &impresora)
{
    return impresora.logicalDpiY();
}

int PuntosPorPulgadaPantallaX()
{
    const QScreen *pantalla = QGuiApplication::primaryScreen();
    return pantalla ? qRound(pantalla->logicalDotsPerInchX()) : kResolucionPaginaPantalla;
}

int PuntosPorPulgadaPantallaY()
{
    const QScreen *pantalla = QGuiApplication::primaryScreen();
    return pantalla ? qRound(pantalla->logicalDotsPerInchY()) : kResolucionPaginaPantalla;
}

int MilimetrosAPuntos(int resolucion, double milimetros)
{
    return RedondearMitadesAPar(static_cast<long double>(resolucion) * milimetros * 0.0393700787L);
}

// ---- the form ----------------------------------------------------------------------------

TfGENELIMP::TfGENELIMP(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENELIMP"));
    Impreso = make<plat::TableComponent>(QStringLiteral("Impreso"), this);
    Impreso->setTableName(QStringLiteral("IMPRESO"));
    Temporal = make<plat::TableComponent>(QStringLiteral("Temporal"), this);
    LTemporal = make<plat::TableComponent>(QStringLiteral("LTemporal"), this);
    DataSource1 = make<plat::DataSource>(QStringLiteral("DataSource1"), this);
    DataSource1->setDataSet(Temporal);
    PrintBarcode1 = make<TPrintBarcode>(QStringLiteral("PrintBarcode1"), this);
    PrintBarcode1->setVisible(false);
    PrintBarcode1->Movible = false;
    ImagenCodigoBarras = make<plat::Image>(QStringLiteral("ImagenCodigoBarras"), this);
    ImagenCodigoBarras->setVisible(false);
    pbSalir = make<plat::Button>(QStringLiteral("pbSalir"), this);
    pbSalir->setCaption(QStringLiteral("&Salir"));
    pbSalir->OnClick = plat::handler(this, &TfGENELIMP::pbSalirClick);
    construirVistaPrevia();

    DisenoImpreso::Servicios servicios;
    servicios.buscarImpreso = BuscadorDeImpresos(Impreso->table());
    servicios.nombreTablaSQL = [](const QString &tabla) {
        return ModuloDatos ? ModuloDatos->NombreTablaSQL(tabla) : tabla;
    };
    servicios.ordenes = this;
    diseno_ = std::make_unique<DisenoImpreso>(ejecucion_, std::move(servicios));
    pintorBarras_ = std::make_unique<PintorPrintBarcode>(*PrintBarcode1);
    contexto_.codigoBarras = pintorBarras_.get();
    contexto_.valorCampo = [this](const QString &nombre) -> std::optional<QVariant> {
        // A picture named "Tabla.Campo" takes its file name from the record a connection finds.
        if (nombre.contains(QLatin1Char('.')))
            return QVariant(ordenesCampoPropias_->BuscarValorTablaCampo(nombre));
        const plat::Field *campo = dataSetActual_ ? dataSetActual_->findField(nombre) : nullptr;
        if (!campo)
            return std::nullopt;
        if (campo->isBlob() && campo->dataType() != ftMemo)
            return QVariant(campo->asBytes());
        return QVariant(campo->asString());
    };
    contexto_.nombreEmpresa = [] { return NombreEmpresaInforme(); };
    dibujo_ = std::make_unique<OrdenesDibujo>(*diseno_, ejecucion_, contexto_);
    ordenesCampoPropias_ = std::make_unique<OrdenesCampo>(*this);
    InstalarOrdenesCampo(ordenesCampoPropias_.get());

    OnCreate = plat::handler(this, &TfGENELIMP::FormCreate);
    OnDestroy = plat::handler(this, &TfGENELIMP::FormDestroy);
}

TfGENELIMP::~TfGENELIMP()
{
    if (fGENELIMP == this)
        fGENELIMP = nullptr;
}

void TfGENELIMP::FormCreate(QObject *)
{
    ListadoCanceladoMotor() = false;
    if (!Impreso->table().active() && !Impreso->table().connection())
        AbrirTablasFormulario(*this);
    if (Impreso->table().active()) {
        const auto registro = LeerRegistroImpreso(Impreso->table(), CodigoImpresoPeticion);
        if (registro && (registro->Modo == QLatin1String("ASCII") || registro->Modo == QLatin1String("MSWord")))
            VistaPreviaImpreso = false;
    }
    pbSalir->move(tamanoPantalla().width() - 16 - pbSalir->width(), (Panel1->height() - pbSalir->height()) / 2);
    if (!SinDialogoImpresora && ModuloDatos && ModuloDatos->ParamGenerales->active()) {
        const plat::Field *campo = ModuloDatos->ParamGenerales->dataSet().findField(QStringLiteral("SolicitarDialogoImpresora"));
        if (campo && campo->asString() == QLatin1String("NO"))
            SinDialogoImpresora = true;
    }
    preguntadoInformeGrande_ = false;
    SalidaImpresion.clear();
}

void TfGENELIMP::FormDestroy(QObject *)
{
    for (plat::TableComponent *tabla : {LTemporal, Temporal}) {
        try {
            plat::TableDataSet &t = tabla->table();
            if (!t.active())
                continue;
            t.close();
            if (t.connection() && !t.tableName().isEmpty())
                t.connection()->dropTable(t.tableName());
        } catch (const std::exception &) {
            // The tables are the run's own; one that cannot be removed is left behind.
        }
    }
    liberarPaginas();
    bitmapTrabajo_ = QImage();
    listaPDF_.clear();
    SinDialogoImpresora = false;
    FormularioLlamanteImpreso.clear();
}

void TfGENELIMP::pbSalirClick(QObject *)
{
    Close();
}

plat::DataSet &TfGENELIMP::documentos() const
{
    return Temporal->dataSet();
}

plat::DataSet *TfGENELIMP::lineas() const
{
    plat::DataSet &l = LTemporal->dataSet();
    return l.active() ? &l : nullptr;
}

QString TfGENELIMP::carpetaTemporal()
{
    if (!carpeta_ || !carpeta_->isValid())
        // Inside the program's own folder: a print killed midway leaves its pages to the next
        // start's clean-up, and no other account reads them meanwhile.
        carpeta_ = std::make_unique<QTemporaryDir>(
            QDir(DirectorioTemporalPropio()).filePath(QStringLiteral("impreso-XXXXXX")));
    return carpeta_->path();
}

int TfGENELIMP::MilimetrosAPuntosX(double milimetros) const
{
    return MilimetrosAPuntos(resolucionPagina_, milimetros);
}

int TfGENELIMP::MilimetrosAPuntosY(double milimetros) const
{
    return MilimetrosAPuntos(resolucionPagina_, milimetros);
}

QString TfGENELIMP::opcionImpreso(const QString &opcion)
{
    const auto registro = LeerRegistroImpreso(Impreso->table(), CodigoImpresoPeticion);
    return registro ? LeerValorDeLista(opcion, registro->Instrucciones) : QString();
}

// ---- the request ------------------------------------------------------------------------

void TfGENELIMP::Imprimir()
{
    if (ListadoCanceladoMotor())
        return;
    const bool adjuntosAuto = opcionImpreso(QStringLiteral("DocumentosAdjuntos")) == QLatin1String("Auto");
    if (!VistaPreviaImpreso && adjuntosAuto) {
        ImprimirDocumentosAdjuntos();
        return;
    }
    listaPDF_.clear();
    ejecucion_.destino =
        salidaPDF() || VistaPreviaImpreso ? DestinoImpresion::Pantalla : DestinoImpresion::Impresora;
    GenerarImpreso();

    if (salidaPDF()) {
        if (adjuntosAuto) {
            ImprimirDocumentosAdjuntos();
            return;
        }
        if (diseno_->registro().Modo != QLatin1String("MSWord")) {
            escribirPaginasPDF(QStringLiteral("VKTPDFCreatorTempDoc.pdf"));
            if (!VistaPreviaImpreso)
                liberarPaginas();
            ImprimirDocumentosWord();
        }
        UnirPDF();
    } else if (VistaPreviaImpreso) {
        if (paginas_.cuenta() > 0) {
            if (serviciosImpresion().vistaPrevia)
                serviciosImpresion().vistaPrevia(*this);
            else
                mostrarVistaPrevia();
        }
        liberarPaginas();
        bitmapTrabajo_ = QImage();
    }
}

void TfGENELIMP::escribirPaginasPDF(const QString &nombre)
{
    lienzoPagina_.reset();
    const std::unique_ptr<EscritorPDFImpreso> pdf = std::move(pdf_);
    if (!pdf)
        return;   // the run drew no page
    const QString fichero = QDir(carpetaTemporal()).filePath(nombre);
    const QString error = pdf->terminar(fichero);
    if (!error.isEmpty())
        avisoPDF(error);
    else
        listaPDF_.append(fichero);
}

void TfGENELIMP::avisoPDF(const QString &motivo)
{
    MensajeAviso(AvisoPDF() + motivo);
}

void TfGENELIMP::UnirPDF()
{
    if (listaPDF_.isEmpty())
        return;
    const QString destino = SalidaImpresion.mid(4);
    if (listaPDF_.size() == 1) {
        const QString error = plat::copyWholeFile(listaPDF_.first(), destino);
        if (!error.isEmpty())
            avisoPDF(error);
    } else {
        const QString error = servidorPDFMotor().unir(listaPDF_, destino);
        if (!error.isEmpty())
            avisoPDF(error);
    }
    for (const QString &fichero : std::as_const(listaPDF_))
        QFile::remove(fichero);
    listaPDF_.clear();
}

void TfGENELIMP::liberarPaginas()
{
    lienzoPagina_.reset();
    pdf_.reset();
    paginas_.vaciar();
}

// ---- the generator ----------------------------------------------------------------------

QString TfGENELIMP::codigoImpresoDocumento() const
{
    const plat::Field *campo = documentos().findField(QStringLiteral("CodigoImpreso"));
    const QString codigo = campo ? campo->asString() : QString();
    return codigo.isEmpty() || codigo == kPorDefecto ? CodigoImpresoPeticion : codigo;
}

int TfGENELIMP::numeroCopias() const
{
    const plat::Field *campo = documentos().findField(QStringLiteral("NumeroCopias"));
    int copias = 0;
    if (!campo || !LeerEntero(campo->asString(), copias) || copias < 1 || copias > kMaximoCopias)
        return 1;
    return copias;
}

void TfGENELIMP::leerMonedaDocumento()
{
    const plat::Field *cambio = documentos().findField(QStringLiteral("Cambio"));
    const plat::Field *moneda = documentos().findField(QStringLiteral("CodigoMoneda"));
    cambio_ = cambio && cambio->asFloat() != 0 ? cambio->asFloat() : 1.0;
    codigoMoneda_ = moneda && moneda->asInteger() != 0 ? int(moneda->asInteger()) : 1;
}

QString TfGENELIMP::claveDocumento()
{
    plat::DataSet &d = documentos();
    if (ModuloDatos)
        return ModuloDatos->ClaveRegistro(d);
    QString clave;
    for (const QString &campo : d.indexFields())
        clave += d.fieldByName(campo).asString() + QLatin1Char(';');
    return clave;
}

void TfGENELIMP::cambiarDiseno(const QString &codigo)
{
    diseno_->AsignarFormatoPapel(codigo);
    diseno_->AnalizarInstrucciones();
    if (ejecucion_.destino == DestinoImpresion::Impresora)
        return;   // the printer's page and resolution stay those of the printer
    if (salidaPDF()) {
        resolucionPagina_ = kResolucionPaginaPDF;
        ejecucion_.tamanoPagina =
            QSize(MilimetrosAPuntosX(diseno_->papel().anchoMm), MilimetrosAPuntosY(diseno_->papel().altoMm));
    } else {
        resolucionPagina_ = kResolucionPaginaPantalla;
        ejecucion_.tamanoPagina = diseno_->tamanoPaginaPantalla();
    }
}

void TfGENELIMP::GenerarImpreso()
{
    ejecucion_.lineaTextoImpresora = 0;
    impresoraAdjuntos_ = kNinguna;
    plat::DataSet &docs = documentos();
    if (docs.active())
        docs.first();
    const QString codigo = docs.active() && !docs.eof() ? codigoImpresoDocumento() : CodigoImpresoPeticion;
    if (codigo.isEmpty()) {
        MensajeAviso(QStringLiteral("¡El formato del Impreso no está definido!"));
        return;
    }
    const auto registro = LeerRegistroImpreso(Impreso->table(), codigo);
    if (!registro) {
        MensajeAviso(QStringLiteral("¡No existe el formato del Impreso!"));
        return;
    }
    instruccionesEnCurso_ = registro->Instrucciones;
    descripcionEnCurso_ = registro->Descripcion;
    if (registro->Modo == QLatin1String("ASCII")) {
        ImprimirASCII();
        return;
    }
    if (registro->Modo == QLatin1String("MSWord")) {
        CombinarDocumentoWord();
        return;
    }
    const QString nombreImpresora = SalidaImpresion.isEmpty() ? registro->ImpresoraPorDefecto : SalidaImpresion;
    ejecucion_.codigoImpresoPeticion = CodigoImpresoPeticion;
    cambiarDiseno(codigo);

    if (ejecucion_.destino == DestinoImpresion::Impresora && !seleccionarImpresora(nombreImpresora))
        return;
    if (ejecucion_.destino == DestinoImpresion::Pantalla && VistaPreviaImpreso && !salidaPDF())
        DibujarRegla();

    try {
        plat::BusyCursor ocupado;
        generarDocumentos();
        if (contadorPaginas_ == 0)
            MensajeInformacion(QStringLiteral("¡No hay datos para procesar!"));
        if (ejecucion_.destino == DestinoImpresion::Impresora) {
            terminarImpresora();
            ImprimirDocumentosWord();
        } else if (!salidaPDF()) {
            const QSignalBlocker sinAvisos(SpinEditPagina);
            SpinEditPagina->setEnabled(contadorPaginas_ > 0);
            SpinEditPagina->setValue(1);
        }
        lienzoPagina_.reset();
    } catch (...) {
        // A printer run from the preview leaves the preview's pages alone.
        const bool pantalla = ejecucion_.destino == DestinoImpresion::Pantalla;
        abortarImpresora();
        if (pantalla)
            liberarPaginas();
        listaPDF_.clear();
        throw;
    }
}

void TfGENELIMP::generarDocumentos()
{
    ejecucion_.lineasActivas = ejecucion_.pieActivo = false;
    plat::DataSet &docs = documentos();
    if (ModuloDatos)
        ModuloDatos->RefrescarDataSet(docs);
    else
        docs.refresh();
    docs.first();
    contadorPaginas_ = 0;
    copiasRestantes_ = 0;
    contexto_.numeroCopia = 1;
    contexto_.contadorPaginas = 0;
    contexto_.simulacion = simulacion();
    contexto_.directorioUsuario = QDir::currentPath();
    QString anterior = diseno_->registro().Codigo;
    const QString claveUnaPagina =
        UnaPagina && PaginaUnaPagina >= 1 && PaginaUnaPagina <= paginas_.cuenta() ? paginas_.clave(PaginaUnaPagina) : QString();
    bool primeraPagina = true;
    // On the printer a document after the first starts a sheet, once it is known to print
    // (one-page mode skips the documents after the one asked for).
    bool hojaPendiente = false;

    while (!docs.eof()) {
        plat::application().processMessages();
        if (ListadoCanceladoMotor())
            break;
        if (UnaPagina && claveDocumento() != claveUnaPagina) {
            docs.next();
            continue;
        }
        if (hojaPendiente) {
            NuevaPagina(DestinoImpresion::Impresora);
            hojaPendiente = false;
        }
        const QString codigo = codigoImpresoDocumento();
        if (codigo != anterior) {
            cambiarDiseno(codigo);
            anterior = codigo;
        }
        leerMonedaDocumento();
        sumas_.fill(0);
        contexto_.paginaDocumento = 0;
        if (copiasRestantes_ == 0) {
            copiasRestantes_ = ejecucion_.destino == DestinoImpresion::Pantalla ? 1 : numeroCopias();
            contexto_.numeroCopia = 1;
        }

        ++ejecucion_.posicionEtiqueta;
        if (ejecucion_.destino == DestinoImpresion::Pantalla) {
            NuevaPagina(DestinoImpresion::Pantalla);
        } else if (ejecucion_.posicionEtiqueta > diseno_->ajustes().etiquetasPorPagina) {
            ++contadorPaginas_;
            ejecucion_.posicionEtiqueta = primeraPagina ? diseno_->ajustes().primeraEtiqueta : 1;
        }
        primeraPagina = false;
        contexto_.contadorPaginas = contadorPaginas_;

        Cabecera();
        imprimirLineas();
        Pie();
        PiePagina();

        --copiasRestantes_;
        ++contexto_.numeroCopia;
        if (copiasRestantes_ == 0)
            docs.next();
        hojaPendiente = ejecucion_.destino == DestinoImpresion::Impresora;
        if (ejecucion_.destino == DestinoImpresion::Pantalla && !preguntadoInformeGrande_ &&
            contadorPaginas_ > kPaginasAvisoInforme) {
            preguntadoInformeGrande_ = true;
            if (MensajeConfirmacion(PreguntaInformeGrande()) == QLatin1String("NO"))
                break;
        }
    }
}

void TfGENELIMP::imprimirLineas()
{
    plat::DataSet *l = lineas();
    if (diseno_->seccion(SeccionImpreso::Lineas).isEmpty() || !l)
        return;
    borrarContinuaciones();
    ejecucion_.lineaEnPagina = 1;
    const plat::Field *instrucciones = l->findField(QStringLiteral("Instrucciones"));
    const plat::Field *lineaMemo = l->findField(QStringLiteral("LineaMemo"));
    l->first();
    while (!l->eof()) {
        if (ejecucion_.lineaEnPagina > diseno_->ajustes().lineasPorPagina) {
            PieSumaYSigue();
            PiePagina();
            ++ejecucion_.posicionEtiqueta;
            NuevaPagina(ejecucion_.destino);
            if (ejecucion_.destino == DestinoImpresion::Impresora &&
                ejecucion_.posicionEtiqueta > diseno_->ajustes().etiquetasPorPagina) {
                ++contadorPaginas_;
                ejecucion_.posicionEtiqueta = 1;
            }
            contexto_.contadorPaginas = contadorPaginas_;
            ejecucion_.lineaEnPagina = 1;
            Cabecera();
        }
        contexto_.filaContinuacion = lineaMemo && lineaMemo->asInteger() >= 1;
        dataSetActual_ = l;
        if (instrucciones) {
            try {
                diseno_->EjecutarInstruccion(instrucciones->asString());
            } catch (const std::exception &) {
                // A line's own instruction that fails leaves the line as it is.
            }
        }
        Lineas();
        ++ejecucion_.lineaEnPagina;
        l->next();
    }
    contexto_.filaContinuacion = false;
}

void TfGENELIMP::borrarContinuaciones()
{
    plat::DataSet &l = *lineas();
    const plat::Field *lineaMemo = l.findField(QStringLiteral("LineaMemo"));
    if (!lineaMemo)
        return;
    try {
        l.last();
        while (!l.bof()) {
            if (lineaMemo->asInteger() >= 1) {
                l.remove();
                if (l.isEmpty())
                    break;
                l.last();
                continue;
            }
            l.prior();
        }
    } catch (const std::exception &) {
        // A row that cannot be removed is printed again as it stands.
    }
}

// ---- sections -----------------------------------------------------------------------------

void TfGENELIMP::ejecutarSeccion(SeccionImpreso seccion)
{
    dataSetActual_ = ejecucion_.lineasActivas ? lineas() : &documentos();
    const QStringList lineasSeccion = diseno_->seccion(seccion);
    for (const QString &linea : lineasSeccion)
        diseno_->EjecutarInstruccion(linea);
}

void TfGENELIMP::Cabecera()
{
    ejecucion_.lineasActivas = ejecucion_.pieActivo = false;
    ++contexto_.paginaDocumento;
    if (diseno_->modoTexto())
        dibujo_->Fuente(ArgumentosInstruccion(QStringLiteral("Courier New|12")));
    ejecutarSeccion(SeccionImpreso::Cabecera);
}

void TfGENELIMP::sumarLinea()
{
    const QStringList &campos = diseno_->camposSuma();
    plat::DataSet *l = lineas();
    if (campos.isEmpty() || campos.first().isEmpty() || !l)
        return;
    const plat::Field *instrucciones = l->findField(QStringLiteral("Instrucciones"));
    if (instrucciones && instrucciones->asString() == QLatin1String("Inst=NoSumaYSigue"))
        return;
    for (int i = 0; i < l->fieldCount(); ++i) {
        const plat::Field &campo = l->field(i);
        const qsizetype slot = campos.indexOf(campo.fieldName());
        if (slot < 0)
            continue;
        double valor = 0;
        if (campo.isNumeric())
            sumas_[size_t(slot)] += campo.asFloat();
        else if (LeerDecimal(campo.asString(), valor))
            sumas_[size_t(slot)] += valor;
    }
}

void TfGENELIMP::Lineas()
{
    sumarLinea();
    ejecucion_.lineasActivas = true;
    ejecucion_.pieActivo = false;
    ejecutarSeccion(SeccionImpreso::Lineas);
}

void TfGENELIMP::abrirPie()
{
    if (diseno_->modoTexto() && diseno_->ajustes().finLineas == kLineasPapelContinuo)
        ejecucion_.lineaTextoImpresora = 0;
    ejecucion_.lineasActivas = false;
    ejecucion_.pieActivo = true;
}

void TfGENELIMP::PieSumaYSigue()
{
    abrirPie();
    ejecutarSeccion(SeccionImpreso::PieSumaYSigue);
}

void TfGENELIMP::Pie()
{
    abrirPie();
    ejecutarSeccion(SeccionImpreso::Pie);
}

void TfGENELIMP::PiePagina()
{
    abrirPie();
    ejecutarSeccion(SeccionImpreso::PiePagina);
}

void TfGENELIMP::ejecutarOrden(OrdenImpreso orden, const ArgumentosInstruccion &argumentos)
{
    if (!contexto_.destino)
        return;   // no page yet (a command among the settings)
    if (dibujo_->ejecutar(orden, argumentos))
        return;
    if (ordenesCampo_)
        ordenesCampo_->ejecutarOrden(orden, argumentos);
}

// ---- pages ------------------------------------------------------------------------------

void TfGENELIMP::NuevaPagina(DestinoImpresion destino)
{
    if (!diseno_->tieneContenidoPagina())
        return;
    if (destino == DestinoImpresion::Impresora) {
        ejecucion_.lineaTextoImpresora = 0;
        if (ejecucion_.posicionEtiqueta >= diseno_->ajustes().etiquetasPorPagina)
            empezarPaginaImpresora();
        return;
    }
    if (ejecucion_.posicionEtiqueta > diseno_->ajustes().etiquetasPorPagina)
        nuevaPaginaPantalla();
}

void TfGENELIMP::nuevaPaginaPantalla()
{
    ++contadorPaginas_;
    contexto_.contadorPaginas = contadorPaginas_;
    ejecucion_.posicionEtiqueta = 1;
    // The page before is finished before the store may keep it on disk.
    lienzoPagina_.reset();
    if (salidaPDF()) {
        if (!pdf_)
            pdf_ = std::make_unique<EscritorPDFImpreso>(carpetaTemporal(), resolucionPagina_);
        lienzoPagina_ = std::make_unique<plat::Canvas>(&pdf_->nuevaPagina(diseno_->registro().Formato));
    } else {
        plat::Drawing &pagina = paginas_.nueva(ejecucion_.tamanoPagina, claveDocumento());
        lienzoPagina_ = std::make_unique<plat::Canvas>(&pagina);
    }
    destinoLienzo_ = std::make_unique<DestinoLienzo>(*lienzoPagina_, resolucionPagina_);
    contexto_.destino = destinoLienzo_.get();
}

void TfGENELIMP::empezarPaginaImpresora()
{
    if (destinoBruto_) {
        destinoBruto_->bytes(QByteArray(1, '\f'));
        return;
    }
    if (impresora_)
        impresora_->newPage();   // the canvas, its font and the codes met so far go on
}

bool TfGENELIMP::seleccionarImpresora(const QString &nombre)
{
    ServicioImpresoras &servicio = impresorasMotor();
    // The system's default printer is never changed: the printer chosen is named per job.
    EleccionImpresora eleccion{servicio.predeterminada(), 1, false, {}};
    bool nombrada = false;
    if (!nombre.isEmpty() && nombre != QLatin1String("Predeterminada") && servicio.impresoras().contains(nombre)) {
        eleccion.nombre = nombre;
        nombrada = true;
    }
    const bool contenido = diseno_->tieneContenidoPagina();
    if (!(contenido && (SinDialogoImpresora || nombrada))) {
        const auto elegida = servicio.dialogo(eleccion.nombre);
        if (!elegida)
            return false;
        if (!contenido) {
            impresoraAdjuntos_ = elegida->nombre;
            return true;
        }
        eleccion = *elegida;
    }
    impresoraAdjuntos_ = eleccion.nombre;
    eleccionTrabajo_ = eleccion;
    if (diseno_->modoTexto()) {
        // Texts are measured as on a page at the raw target's resolution.
        destinoBruto_ = std::make_unique<DestinoTextoBruto>();
        resolucionPagina_ = destinoBruto_->resolucion();
        ejecucion_.anchoFisicoImpresora = MilimetrosAPuntos(resolucionPagina_, diseno_->papel().anchoMm);
        ejecucion_.altoFisicoImpresora = MilimetrosAPuntos(resolucionPagina_, diseno_->papel().altoMm);
        contexto_.destino = destinoBruto_.get();
        return true;
    }
    impresora_ = servicio.abrir(eleccion, diseno_->papel().apaisado);
    pintorImpresora_ = std::make_unique<QPainter>();
    if (impresora_)
        impresora_->setDocName(TituloTrabajo());
    if (!impresora_ || !pintorImpresora_->begin(impresora_.get())) {
        AvisoErrorImprimiendo(eleccion.fichero.isEmpty() ? QStringLiteral("no se puede usar la impresora ") + eleccion.nombre
                                                         : QStringLiteral("no se puede escribir el archivo ") + eleccion.fichero);
        impresora_.reset();
        pintorImpresora_.reset();
        return false;
    }
    ejecucion_.anchoFisicoImpresora = AnchoFisicoImpresora(*impresora_);
    ejecucion_.altoFisicoImpresora = AltoFisicoImpresora(*impresora_);
    resolucionPagina_ = PuntosPorPulgadaImpresoraY(*impresora_);
    // Positions are measured from the paper's corner, not the printable area's.
    const QRectF pagina = impresora_->pageRect(QPrinter::DevicePixel);
    pintorImpresora_->translate(-pagina.topLeft());
    lienzoImpresora_ = std::make_unique<plat::Canvas>(pintorImpresora_.get());
    destinoLienzo_ = std::make_unique<DestinoLienzo>(*lienzoImpresora_, resolucionPagina_);
    contexto_.destino = destinoLienzo_.get();
    return true;
}

void TfGENELIMP::terminarImpresora()
{
    QByteArray bruto;
    if (destinoBruto_)
        bruto = destinoBruto_->flujo();
    else if (destinoLienzo_ && impresora_ && eleccionTrabajo_.fichero.isEmpty())
        bruto = destinoLienzo_->bytesPendientes();   // printer codes mean nothing in a file
    lienzoImpresora_.reset();
    QString error;
    if (pintorImpresora_ && pintorImpresora_->end())
        error = impresorasMotor().enviarTrabajo(eleccionTrabajo_, *impresora_);
    pintorImpresora_.reset();
    impresora_.reset();
    destinoBruto_.reset();
    destinoLienzo_.reset();
    contexto_.destino = nullptr;
    if (error.isEmpty() && !bruto.isEmpty())
        error = impresorasMotor().enviarBruto(eleccionTrabajo_, bruto, TituloTrabajo());
    if (!error.isEmpty())
        AvisoErrorImprimiendo(error);
}

QString TfGENELIMP::TituloTrabajo() const
{
    const QString descripcion = descripcionEnCurso_.trimmed();
    return descripcion.isEmpty() ? QStringLiteral("Impreso") : descripcion;
}

void TfGENELIMP::abortarImpresora()
{
    lienzoImpresora_.reset();
    if (pintorImpresora_ && pintorImpresora_->isActive())
        pintorImpresora_->end();
    if (impresora_)
        impresorasMotor().descartarTrabajo(*impresora_);
    pintorImpresora_.reset();
    impresora_.reset();
    destinoBruto_.reset();
    destinoLienzo_.reset();
    contexto_.destino = nullptr;
}
