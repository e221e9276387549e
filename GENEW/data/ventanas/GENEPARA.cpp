#include "GENEW/data/ventanas/GENEPARA.h"

#include "GENEW/data/ventanas/GENERINI.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/servicios/ParametrosGenerales.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

#include <QCursor>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHash>
#include <QHBoxLayout>
#include <QVBoxLayout>

TfGENEPARA *fGENEPARA = nullptr;

namespace {

const QStringList kEmpresa = {
    QStringLiteral("RazonSocial"),   QStringLiteral("Direccion"),      QStringLiteral("CodigoPostal"),
    QStringLiteral("Poblacion"),     QStringLiteral("CodigoProvincia"), QStringLiteral("Provincia"),
    QStringLiteral("CodigoPlaza"),   QStringLiteral("CIF"),            QStringLiteral("Telefono"),
    QStringLiteral("FAX"),           QStringLiteral("PersonaContacto"), QStringLiteral("DatosRegistroMercantil"),
    QStringLiteral("DirecCorreoElectronico")};
const QStringList kImpresoras = {
    QStringLiteral("MargenIzquierdoImpresora"), QStringLiteral("TipoLetraListados"),
    QStringLiteral("FCompresionListados"),      QStringLiteral("FCompresionTLetraListados"),
    QStringLiteral("TipoCombinacionTramas"),    QStringLiteral("SolicitarDialogoImpresora"),
    QStringLiteral("FmtVisualizacionPrevia"),   QStringLiteral("ListarRestricciones"),
    QStringLiteral("PrevisualizacionSinRegla")};
const QStringList kSiNo = {
    QStringLiteral("SolicitarDialogoImpresora"), QStringLiteral("SolicitarCamposUsuario"),
    QStringLiteral("DtosCascadaVenta"),          QStringLiteral("DtosCascadaCompra"),
    QStringLiteral("IVARgoFinanciacionVenta"),   QStringLiteral("IVARgoFinanciacionCompra"),
    QStringLiteral("IncorporarDAmpliadaVenta"),  QStringLiteral("IncorporarDAmpliadaCompra"),
    QStringLiteral("IncluirPortesEnDtosVenta"),  QStringLiteral("TarifaEnMonedaOriginal"),
    QStringLiteral("CantidadUdAltVenta"),        QStringLiteral("CantidadUdAltCompra"),
    QStringLiteral("UdAltVentaEnPedido"),        QStringLiteral("IntrastatActivado"),
    QStringLiteral("ListarRestricciones"),       QStringLiteral("PrevisualizacionSinRegla"),
    QStringLiteral("ValidarEntidadSucursal")};
const QStringList kMonedas = {QStringLiteral("CodigoMonedaBase"), QStringLiteral("CodigoMonedaEuro"),
                              QStringLiteral("CodigoMonedaNacional")};
const QStringList kCertificados = {QStringLiteral("TipoUbicacionCertificado"), QStringLiteral("HuellaDigitalCertificado"),
                                   QStringLiteral("PosicionCertificadoFirma")};
const QString kPlantillaNumerica = QStringLiteral("PlantillaNumerica");
const QStringList kNombresPlantillas = {QStringLiteral("Cantidades"), QStringLiteral("Precios"), QStringLiteral("Importes"),
                                        QStringLiteral("Porcentajes"), QStringLiteral("Coeficientes")};

bool esImpuesto(const QString &campo)
{
    for (const QString &prefijo : {QStringLiteral("Iva"), QStringLiteral("Recargo")})
        if (campo.size() == prefijo.size() + 1 && campo.startsWith(prefijo, Qt::CaseInsensitive) && campo.back().isDigit())
            return true;
    return false;
}

plat::TableDataSet &parametros()
{
    return ModuloDatos->ParamGenerales->table();
}

bool editando(const plat::DataSet &tabla)
{
    return tabla.state() == plat::DataSetState::Edit || tabla.state() == plat::DataSetState::Insert;
}

} // namespace

const QStringList &TfGENEPARA::Paginas()
{
    static const QStringList paginas = {
        QStringLiteral("General"),       QStringLiteral("Empresa"),   QStringLiteral("Tipos I.V.A."),
        QStringLiteral("Impresoras"),    QStringLiteral("Ventas"),    QStringLiteral("Compras"),
        QStringLiteral("Internacional"), QStringLiteral("Intrastat"), QStringLiteral("G.Análisis"),
        QStringLiteral("Plantillas"),    QStringLiteral("E-Mail"),    QStringLiteral("Certificados")};
    return paginas;
}

QString PaginaDeParametro(const QString &campo)
{
    if (kMonedas.contains(campo) || campo == QLatin1String("Idiomas"))
        return QStringLiteral("Internacional");
    if (campo == QLatin1String("PerfilesCategoriasGA"))
        return QStringLiteral("G.Análisis");
    if (campo == QLatin1String("PlantillaNumericaExt"))
        return QStringLiteral("Plantillas");
    if (campo == QLatin1String("CfgCorreoElectronico") || campo == QLatin1String("TextoEMailEnvioDocs"))
        return QStringLiteral("E-Mail");
    if (kCertificados.contains(campo))
        return QStringLiteral("Certificados");
    if (campo.contains(QStringLiteral("OfIntrastat")) || campo == QLatin1String("IntrastatActivado"))
        return QStringLiteral("Intrastat");
    if (campo.endsWith(QStringLiteral("Venta")))
        return QStringLiteral("Ventas");
    if (campo.endsWith(QStringLiteral("Compra")))
        return QStringLiteral("Compras");
    if (kEmpresa.contains(campo) || campo.endsWith(QStringLiteral("Tercero")) || campo.endsWith(QStringLiteral("Representante")))
        return QStringLiteral("Empresa");
    if (esImpuesto(campo))
        return QStringLiteral("Tipos I.V.A.");
    if (kImpresoras.contains(campo))
        return QStringLiteral("Impresoras");
    return QStringLiteral("General");
}

QString TituloDeParametro(const QString &campo)
{
    static const QHash<QString, QString> titulos = {
        {QStringLiteral("MargenIzquierdoImpresora"), QStringLiteral("Margen Izquierdo")},
        {QStringLiteral("TipoLetraListados"), QStringLiteral("Tipo de Letra de los Listados")},
        {QStringLiteral("FCompresionTLetraListados"), QStringLiteral("Compresión del Tipo de Letra")},
        {QStringLiteral("FCompresionListados"), QStringLiteral("Compresión de los Listados")},
        {QStringLiteral("TipoCombinacionTramas"), QStringLiteral("Combinación de Tramas")},
        {QStringLiteral("CaracterSeparadorASCII"), QStringLiteral("Carácter Separador ASCII")},
        {QStringLiteral("CaracterSeparadorCRLF"), QStringLiteral("Carácter Separador de Líneas")},
        {QStringLiteral("SolicitarDialogoImpresora"), QStringLiteral("Solicitar la Impresora")},
        {QStringLiteral("FmtVisualizacionPrevia"), QStringLiteral("Formato de la Vista Previa")},
        {QStringLiteral("SolicitarCamposUsuario"), QStringLiteral("Solicitar los Campos de Usuario")},
        {QStringLiteral("Iva1"), QStringLiteral("Tipo de I.V.A. 1")},
        {QStringLiteral("Iva2"), QStringLiteral("Tipo de I.V.A. 2")},
        {QStringLiteral("Iva3"), QStringLiteral("Tipo de I.V.A. 3")},
        {QStringLiteral("Iva4"), QStringLiteral("Tipo de I.V.A. 4")},
        {QStringLiteral("Iva5"), QStringLiteral("Tipo de I.V.A. 5")},
        {QStringLiteral("Recargo1"), QStringLiteral("Recargo de Equivalencia 1")},
        {QStringLiteral("Recargo2"), QStringLiteral("Recargo de Equivalencia 2")},
        {QStringLiteral("Recargo3"), QStringLiteral("Recargo de Equivalencia 3")},
        {QStringLiteral("Recargo4"), QStringLiteral("Recargo de Equivalencia 4")},
        {QStringLiteral("Recargo5"), QStringLiteral("Recargo de Equivalencia 5")},
        {QStringLiteral("DtosCascadaVenta"), QStringLiteral("Descuentos en Cascada")},
        {QStringLiteral("TipoIVAPortesVenta"), QStringLiteral("Tipo de I.V.A. de los Portes")},
        {QStringLiteral("NumeroDtosLineaVenta"), QStringLiteral("Descuentos por Línea")},
        {QStringLiteral("PrioridadDtosLineaVenta"), QStringLiteral("Prioridad de los Descuentos")},
        {QStringLiteral("IVARgoFinanciacionVenta"), QStringLiteral("I.V.A. del Recargo Financiero")},
        {QStringLiteral("IncorporarDAmpliadaVenta"), QStringLiteral("Incorporar la Descripción Ampliada")},
        {QStringLiteral("TipoPortesVenta"), QStringLiteral("Tipo de Portes")},
        {QStringLiteral("PortesPagadosDesdeVenta"), QStringLiteral("Portes Pagados desde")},
        {QStringLiteral("IncluirPortesEnDtosVenta"), QStringLiteral("Portes en los Descuentos")},
        {QStringLiteral("TarifaEnMonedaOriginal"), QStringLiteral("Tarifa en Moneda Original")},
        {QStringLiteral("DtosCascadaCompra"), QStringLiteral("Descuentos en Cascada")},
        {QStringLiteral("TipoIVAPortesCompra"), QStringLiteral("Tipo de I.V.A. de los Portes")},
        {QStringLiteral("NumeroDtosLineaCompra"), QStringLiteral("Descuentos por Línea")},
        {QStringLiteral("PrioridadDtosLineaCompra"), QStringLiteral("Prioridad de los Descuentos")},
        {QStringLiteral("IVARgoFinanciacionCompra"), QStringLiteral("I.V.A. del Recargo Financiero")},
        {QStringLiteral("IncorporarDAmpliadaCompra"), QStringLiteral("Incorporar la Descripción Ampliada")},
        {QStringLiteral("TipoComision"), QStringLiteral("Tipo de Comisión")},
        {QStringLiteral("CantidadUdAltCompra"), QStringLiteral("Cantidad en Unidad Alternativa")},
        {QStringLiteral("CantidadUdAltVenta"), QStringLiteral("Cantidad en Unidad Alternativa")},
        {QStringLiteral("CodigoMonedaBase"), QStringLiteral("Moneda Base")},
        {QStringLiteral("CodigoMonedaEuro"), QStringLiteral("Moneda Euro")},
        {QStringLiteral("CodigoMonedaNacional"), QStringLiteral("Moneda Nacional")},
        {QStringLiteral("PlantillaNumericaStd"), QStringLiteral("Plantilla Numérica Estándar")},
        {QStringLiteral("Idiomas"), QStringLiteral("Idiomas")},
        {QStringLiteral("UdAltVentaEnPedido"), QStringLiteral("Unidad Alternativa en Pedidos")},
        {QStringLiteral("RazonSocial"), QStringLiteral("Razón Social")},
        {QStringLiteral("Direccion"), QStringLiteral("Dirección")},
        {QStringLiteral("CodigoPostal"), QStringLiteral("Código Postal")},
        {QStringLiteral("Poblacion"), QStringLiteral("Población")},
        {QStringLiteral("CodigoProvincia"), QStringLiteral("Código de Provincia")},
        {QStringLiteral("Provincia"), QStringLiteral("Provincia")},
        {QStringLiteral("CodigoPlaza"), QStringLiteral("Código de Plaza")},
        {QStringLiteral("CIF"), QStringLiteral("C.I.F.")},
        {QStringLiteral("Telefono"), QStringLiteral("Teléfono")},
        {QStringLiteral("FAX"), QStringLiteral("Fax")},
        {QStringLiteral("NombreTercero"), QStringLiteral("Nombre del Tercero")},
        {QStringLiteral("DireccionTercero"), QStringLiteral("Dirección del Tercero")},
        {QStringLiteral("CodigoPostalTercero"), QStringLiteral("Código Postal del Tercero")},
        {QStringLiteral("PoblacionTercero"), QStringLiteral("Población del Tercero")},
        {QStringLiteral("ProvinciaTercero"), QStringLiteral("Provincia del Tercero")},
        {QStringLiteral("CIFTercero"), QStringLiteral("C.I.F. del Tercero")},
        {QStringLiteral("NombreOfIntrastat"), QStringLiteral("Nombre de la Oficina")},
        {QStringLiteral("DireccionOfIntrastat"), QStringLiteral("Dirección de la Oficina")},
        {QStringLiteral("CodigoPostalOfIntrastat"), QStringLiteral("Código Postal de la Oficina")},
        {QStringLiteral("PoblacionOfIntrastat"), QStringLiteral("Población de la Oficina")},
        {QStringLiteral("ProvinciaOfIntrastat"), QStringLiteral("Provincia de la Oficina")},
        {QStringLiteral("CodigoOfIntrastat"), QStringLiteral("Código de la Oficina")},
        {QStringLiteral("IntrastatActivado"), QStringLiteral("Intrastat Activado")},
        {QStringLiteral("PersonaContacto"), QStringLiteral("Persona de Contacto")},
        {QStringLiteral("NombreRepresentante"), QStringLiteral("Nombre del Representante")},
        {QStringLiteral("CIFRepresentante"), QStringLiteral("C.I.F. del Representante")},
        {QStringLiteral("TituloRepresentante"), QStringLiteral("Cargo del Representante")},
        {QStringLiteral("PerfilesCategoriasGA"), QStringLiteral("Perfiles de Categorías de Grupos de Análisis")},
        {QStringLiteral("PlantillaNumericaExt"), QStringLiteral("Plantillas Numéricas")},
        {QStringLiteral("ListarRestricciones"), QStringLiteral("Listar las Restricciones")},
        {QStringLiteral("PrevisualizacionSinRegla"), QStringLiteral("Vista Previa sin Regla")},
        {QStringLiteral("ValidarEntidadSucursal"), QStringLiteral("Validar Entidad y Sucursal")},
        {QStringLiteral("CfgCorreoElectronico"), QStringLiteral("Configuración del Correo Electrónico")},
        {QStringLiteral("DatosRegistroMercantil"), QStringLiteral("Datos del Registro Mercantil")},
        {QStringLiteral("HuellaDigitalCertificado"), QStringLiteral("Huella Digital del Certificado")},
        {QStringLiteral("TipoUbicacionCertificado"), QStringLiteral("Ubicación del Certificado")},
        {QStringLiteral("TextoEMailEnvioDocs"), QStringLiteral("Texto del Correo de Envío de Documentos")},
        {QStringLiteral("DirecCorreoElectronico"), QStringLiteral("Correo Electrónico")},
        {QStringLiteral("PosicionCertificadoFirma"), QStringLiteral("Posición de la Firma")},
    };
    // A column added to the table later still gets a readable caption.
    return titulos.value(campo, SepararPalabras(campo));
}

QStringList OpcionesDeParametro(const QString &campo)
{
    if (kSiNo.contains(campo))
        return {QStringLiteral("SI"), QStringLiteral("NO")};
    if (campo == QLatin1String("FmtVisualizacionPrevia"))
        return {QStringLiteral("Normal"), QStringLiteral("Pagina Completa"), QStringLiteral("Ancho Ajustado")};
    if (campo == QLatin1String("TipoCombinacionTramas"))
        return {QStringLiteral("Standard"), QStringLiteral("Basica"), QStringLiteral("Blanco y Negro"),
                QStringLiteral("Por Defecto")};
    if (campo == QLatin1String("TipoLetraListados"))
        return QStringList{QStringLiteral("Por Defecto")} + QFontDatabase::families();
    return {};
}

TfGENEPARA::TfGENEPARA(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fGENEPARA"), QStringLiteral("Parámetros Globales")),
      CfgCorreoElectronico(nullptr), PlantillaNumericaExt(nullptr), TipoLetraListados(nullptr), instancia_(fGENEPARA, this)
{
    setBounds(0, 0, 720, 480);
    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    PageControl1 = make<plat::PageControl>(QStringLiteral("PageControl1"), this);
    for (const QString &caption : Paginas()) {
        auto *hoja = make<plat::TabSheet>(QString(), PageControl1);
        hoja->setCaption(caption);
        PageControl1->addPage(hoja);
    }
    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    PanelControl->setFixedHeight(40);
    pbGrabar = make<plat::Button>(QStringLiteral("pbGrabar"), PanelControl);
    pbGrabar->setCaption(QStringLiteral("&Grabar"));
    pbCancelar = make<plat::Button>(QStringLiteral("pbCancelar"), PanelControl);
    pbCancelar->setCaption(QStringLiteral("&Cancelar"));
    auto *botones = new QHBoxLayout(PanelControl);
    botones->addStretch();
    botones->addWidget(pbGrabar);
    botones->addWidget(pbCancelar);
    botones->addStretch();
    columna->addWidget(PageControl1, 1);
    columna->addWidget(PanelControl);

    DSParamGenerales = make<plat::DataSource>(QStringLiteral("DSParamGenerales"), this);
    PopupPlantillas = make<plat::PopupMenu>(QStringLiteral("PopupPlantillas"), this);
    for (int n = 1; n <= 5; ++n) {
        auto *item = make<plat::MenuItem>(QStringLiteral("ConfigurarPlantilla%1").arg(n),
                                          QStringLiteral("Configurar Plantilla Numérica %1 (%2)").arg(n).arg(kNombresPlantillas[n - 1]),
                                          PopupPlantillas);
        item->OnClick = [this, n](QObject *) { ConfigurarPlantilla(n); };
        PopupPlantillas->Items()->Add(item);
    }
    AsignarPlantillasPorDefecto = make<plat::MenuItem>(QStringLiteral("AsignarPlantillasPorDefecto"),
                                                       QStringLiteral("Asignar las Plantillas por Defecto"), PopupPlantillas);
    AsignarPlantillasPorDefecto->OnClick = [this](QObject *) { AsignarPlantillasPorDefectoClick(); };
    PopupPlantillas->Items()->Add(AsignarPlantillasPorDefecto);

    connect(pbGrabar, &QPushButton::clicked, this, &TfGENEPARA::pbGrabarClick);
    connect(pbCancelar, &QPushButton::clicked, this, &TfGENEPARA::pbCancelarClick);
    OnCreate = plat::handler(this, &TfGENEPARA::FormCreate);
    OnClose = plat::handler(this, &TfGENEPARA::FormClose);
    setKeyPreview(true);
    OnKeyDown = [](QObject *sender, int &tecla, plat::ShiftState estado) {
        if (fGENEINIC)
            fGENEINIC->ProcesarTeclaFormulario(sender, tecla, estado);
    };
    OnKeyPress = [](QObject *sender, QChar &tecla) {
        if (fGENEINIC)
            fGENEINIC->ProcesarTeclaPulsada(sender, tecla);
    };
}

plat::TabSheet *TfGENEPARA::pagina(const QString &caption) const
{
    return PageControl1->page(int(Paginas().indexOf(caption)));
}

void TfGENEPARA::FormCreate(QObject *)
{
    if (!ModuloDatos)
        return;
    plat::TableDataSet &tabla = parametros();
    if (!tabla.active())
        ModuloDatos->AbrirTabla(tabla);
    if (tabla.active() && tabla.isEmpty()) {
        tabla.append();
        for (const auto &[campo, valor] : ValoresNuevoRegistroParametros(FormatoNumericoEstandar))
            if (plat::Field *f = tabla.findField(campo))
                f->setValue(valor);
        tabla.post();
    }
    DSParamGenerales->setDataSet(&tabla);
    crearControles();
    PageControl1->setActivePageIndex(0);
}

// One labelled control per column, in the table's order, two columns of them a page; memos
// take the rest of their page.
void TfGENEPARA::crearControles()
{
    plat::TableDataSet &tabla = parametros();
    QHash<plat::TabSheet *, QGridLayout *> rejillas;
    QHash<plat::TabSheet *, int> cuentas;
    for (int i = 0; i < tabla.fieldCount(); ++i) {
        const plat::Field &campo = tabla.field(i);
        const QString nombre = campo.fieldName();
        if (nombre == QLatin1String("IdRegistro") || campo.isCalculated())
            continue;
        plat::TabSheet *hoja = pagina(PaginaDeParametro(nombre));
        QGridLayout *&rejilla = rejillas[hoja];
        if (!rejilla) {
            rejilla = new QGridLayout(hoja);
            rejilla->setColumnStretch(1, 1);
            rejilla->setColumnStretch(3, 1);
        }
        auto *etiqueta = make<plat::Label>(QStringLiteral("Label") + nombre, hoja);
        etiqueta->setCaption(TituloDeParametro(nombre));
        QWidget *control = nullptr;
        plat::DataBound *enlace = nullptr;
        if (campo.dataType() == ftMemo) {
            auto *memo = make<plat::DBMemo>(nombre, hoja);
            enlace = memo;
            control = memo;
            if (nombre == QLatin1String("CfgCorreoElectronico")) {
                CfgCorreoElectronico = memo;
                memo->setHint(QStringLiteral("Haga doble click o pulse F2 para editar los valores de configuración"));
                memo->OnDblClick = [this](QObject *) { EditarConfiguracionCorreo(); };
                memo->OnKeyDown = [this](QObject *, int &tecla, plat::ShiftState estado) {
                    if (tecla == plat::VK_F2 && estado == plat::ShiftState()) {
                        tecla = 0;
                        EditarConfiguracionCorreo();
                    }
                };
            } else if (nombre == QLatin1String("PlantillaNumericaExt")) {
                PlantillaNumericaExt = memo;
                memo->setHint(QStringLiteral("Pulse el botón derecho para modificar las plantillas"));
                memo->setContextMenuPolicy(Qt::CustomContextMenu);
                connect(memo, &QWidget::customContextMenuRequested, this, [this] {
                    const QPoint p = QCursor::pos();
                    PopupPlantillas->Popup(p.x(), p.y());
                });
            }
        } else if (kMonedas.contains(nombre)) {
            auto *lista = make<plat::DBLookupComboBox>(nombre, hoja);
            lista->setListSource(ModuloDatos->DSMoneda);
            lista->setKeyField(QStringLiteral("Codigo"));
            lista->setListField(QStringLiteral("Descripcion"));
            enlace = lista;
            control = lista;
        } else if (const QStringList opciones = OpcionesDeParametro(nombre); !opciones.isEmpty()) {
            auto *combo = make<plat::DBComboBox>(nombre, hoja);
            combo->setItems(opciones);
            enlace = combo;
            control = combo;
            if (nombre == QLatin1String("TipoLetraListados")) {
                TipoLetraListados = combo;
                combo->OnDblClick = [this](QObject *) { ElegirFuenteListados(); };
            }
        } else {
            auto *edit = make<plat::DBEdit>(nombre, hoja);
            enlace = edit;
            control = edit;
        }
        enlace->setDataSource(DSParamGenerales);
        enlace->setDataField(nombre);
        int &n = cuentas[hoja];
        if (campo.dataType() == ftMemo) {
            // A memo a row of its own, label above.
            const int fila = (n + 1) / 2 * 2;
            rejilla->addWidget(etiqueta, fila, 0, 1, 4);
            rejilla->addWidget(control, fila + 1, 0, 1, 4);
            rejilla->setRowStretch(fila + 1, 1);
            n = fila + 2;
        } else {
            rejilla->addWidget(etiqueta, n / 2, (n % 2) * 2, Qt::AlignVCenter);
            rejilla->addWidget(control, n / 2, (n % 2) * 2 + 1);
            ++n;
        }
    }
    for (auto it = rejillas.begin(); it != rejillas.end(); ++it)
        it.value()->setRowStretch(it.value()->rowCount(), 1);
}

void TfGENEPARA::editarRegistro()
{
    plat::TableDataSet &tabla = parametros();
    if (!editando(tabla))
        tabla.edit();
}

void TfGENEPARA::pbGrabarClick()
{
    plat::TableDataSet &tabla = parametros();
    DSParamGenerales->UpdateRecord();
    // Codes not chosen (no currencies yet) are no clash.
    const plat::Field &nacional = tabla.fieldByName(QStringLiteral("CodigoMonedaNacional"));
    const plat::Field &euro = tabla.fieldByName(QStringLiteral("CodigoMonedaEuro"));
    if (!nacional.isNull() && !euro.isNull() && nacional.asInteger() == euro.asInteger()) {
        MensajeAviso(QStringLiteral("¡La Moneda Nacional y la Moneda Euro no pueden ser la misma!"));
        return;
    }
    if (editando(tabla))
        tabla.post();
    FormatoNumericoEstandar = FormatoNumericoEstandarDe(tabla.fieldByName(QStringLiteral("PlantillaNumericaStd")).asString());
    Close();
}

void TfGENEPARA::pbCancelarClick()
{
    if (editando(parametros()))
        parametros().cancel();
    Close();
}

void TfGENEPARA::FormClose(QObject *Sender, plat::CloseAction &Action)
{
    if (ModuloDatos) {
        // A window closed with its edit still open leaves the shared record as it was.
        if (editando(parametros()))
            parametros().cancel();
        ModuloDatos->RefrescarDataSet(parametros());
    }
    VentanaPrograma::FormClose(Sender, Action);
}

void TfGENEPARA::EditarConfiguracionCorreo()
{
    plat::Field &campo = parametros().fieldByName(QStringLiteral("CfgCorreoElectronico"));
    const QString editado = EditarRegistroINI(ConfiguracionCorreoPorDefecto(), campo.asString(), QStringLiteral("Instrucciones"),
                                              QStringLiteral("Campo;Valor"),
                                              QStringLiteral("ClienteSMTP=Por Defecto,Indy\r\nClienteSMTP(Masivo)=Por Defecto,Indy"),
                                              QStringLiteral("Formato=0,0,450,0"));
    editarRegistro();
    campo.setValue(editado);
}

void TfGENEPARA::ElegirFuenteListados()
{
    plat::FontDialog &dialogo = *ModuloDatos->FontDialog1;
    if (!dialogo.Execute())
        return;
    editarRegistro();
    parametros().fieldByName(QStringLiteral("TipoLetraListados")).setValue(dialogo.Font.family());
}

void TfGENEPARA::ConfigurarPlantilla(int n)
{
    plat::Field &campo = parametros().fieldByName(QStringLiteral("PlantillaNumericaExt"));
    QString texto = campo.asString();
    const QString nombre = kPlantillaNumerica + QString::number(n);
    const QString actual = LeerValorDeLista(nombre, texto);
    const qsizetype blanco = actual.indexOf(u' ');
    const QString plantilla = MensajePedirDato(QStringLiteral("Introduzca el formato de la plantilla número ") + QString::number(n),
                                               blanco < 0 ? actual : actual.left(blanco));
    QString campos = MensajePedirDato(QStringLiteral("Introduzca los nombres de los campos para la plantilla número ")
                                          + QString::number(n) + QStringLiteral(" separados por comas"),
                                      blanco < 0 ? QString() : actual.mid(blanco + 1));
    campos.remove(u' ');
    EscribirValorEnTexto(nombre, plantilla + u' ' + campos, texto);
    editarRegistro();
    campo.setValue(texto);
}

void TfGENEPARA::AsignarPlantillasPorDefectoClick()
{
    editarRegistro();
    parametros().fieldByName(QStringLiteral("PlantillaNumericaExt")).setValue(PlantillaNumericaExtPorDefecto());
}
