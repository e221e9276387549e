#include "projects/proyectos/PROYLPRO.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Keys.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"
#include "projects/comun/PeticionImpreso.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TfPROYLPRO *fPROYLPRO = nullptr;

const QString DefinicionDocumentosProyecto = QStringLiteral(
    "Tabla Temporal\r\n"
    "/C/1/CodigoProyecto/ftString/20/*\r\n"
    "/C/2/Descripcion/ftString/40/\r\n"
    "/C/3/DescripcionAmpliada/ftMemo/10/\r\n"
    "/C/4/CodigoCliente/ftInteger/0/\r\n"
    "/C/5/NombreCliente/ftString/40/\r\n"
    "/C/6/PersonaContacto/ftString/40/\r\n"
    "/C/7/Telefono/ftString/30/\r\n"
    "/C/8/FechaAceptacion/ftDateTime/0/\r\n"
    "/C/9/FechaEntrega/ftDateTime/0/\r\n"
    "/C/10/FechaFinalizacion/ftDateTime/0/\r\n"
    "/C/11/Director/ftSmallint/0/\r\n"
    "/C/12/Situacion/ftString/10/\r\n"
    "/C/13/NumeroCopias/ftSmallint/0/\r\n"
    "/I/1/<Primary>/CodigoProyecto\r\n");

const QString DefinicionLineasProyecto = QStringLiteral(
    "Tabla Temporal 1\r\n"
    "/C/1/CodigoProyecto/ftString/20/*\r\n"
    "/C/2/Linea/ftSmallint/0/*\r\n"
    "/C/3/LineaMemo/ftSmallint/0/*\r\n"
    "/C/4/Capitulo/ftString/15/\r\n"
    "/C/5/Descripcion/ftString/100/\r\n"
    "/C/6/DescripcionAmpliada/ftMemo/10/\r\n"
    "/C/7/DescripcionCapitulo/ftMemo/10/\r\n"
    "/C/8/FechaInicio/ftDateTime/0/\r\n"
    "/C/9/FechaFinal/ftDateTime/0/\r\n"
    "/C/10/TiempoPrevisto/ftFloat/0/\r\n"
    "/C/11/GradoAvance/ftString/15/\r\n"
    "/C/12/Responsable/ftSmallint/0/\r\n"
    "/C/13/Importe/ftFloat/0/\r\n"
    "/C/14/Instrucciones/ftString/255/\r\n"
    "/I/1/<Primary>/CodigoProyecto;Linea;LineaMemo\r\n");

namespace {

const QString kIndiceLineas = QStringLiteral("CodigoProyecto;Linea;LineaMemo");
const QString kCampoMaestro = QStringLiteral("CodigoProyecto");

// A first-level chapter ("2.1") opens a group of the document: an empty row before it and
// a bold line.
bool esCapituloPrimerNivel(const QString &capitulo) { return capitulo.count(u'.') == 1; }

void escribirLineas(plat::TableDataSet &lineasProyecto, const QString &codigo, plat::TableDataSet &lineas)
{
    lineasProyecto.setRange({codigo}, {codigo});
    int n = 1;
    for (lineasProyecto.first(); !lineasProyecto.eof(); lineasProyecto.next()) {
        const QString capitulo = lineasProyecto.fieldByName(QStringLiteral("Capitulo")).asString();
        const bool primerNivel = esCapituloPrimerNivel(capitulo);
        if (primerNivel) {
            lineas.append();
            lineas.fieldByName(QStringLiteral("CodigoProyecto")).setAsString(codigo);
            lineas.fieldByName(QStringLiteral("Linea")).setAsInteger(n++);
            lineas.fieldByName(QStringLiteral("LineaMemo")).setAsInteger(0);
            lineas.post();
        }
        lineas.append();
        copiarCamposPorNombre(lineasProyecto, lineas);
        lineas.fieldByName(QStringLiteral("CodigoProyecto")).setAsString(codigo);
        lineas.fieldByName(QStringLiteral("Linea")).setAsInteger(n++);
        lineas.fieldByName(QStringLiteral("LineaMemo")).setAsInteger(0);
        plat::Field &ampliada = lineas.fieldByName(QStringLiteral("DescripcionAmpliada"));
        if (!ampliada.asString().isEmpty())
            ampliada.setAsString(QStringLiteral("\r\n") + ampliada.asString());
        lineas.fieldByName(QStringLiteral("DescripcionCapitulo"))
            .setAsString(capitulo + QStringLiteral(" - ")
                         + lineasProyecto.fieldByName(QStringLiteral("Descripcion")).asString());
        if (primerNivel)
            lineas.fieldByName(QStringLiteral("Instrucciones")).setAsString(QStringLiteral("Font=Arial;8;;Negrita"));
        lineas.post();
    }
}

} // namespace

void RellenarDocumentosProyecto(plat::TableDataSet &proyectos, plat::TableDataSet &lineasProyecto,
                                const QString &desde, const QString &hasta, plat::TableDataSet &documentos,
                                plat::TableDataSet &lineas)
{
    proyectos.setIndexName(QString());
    proyectos.setRange({desde}, {hasta});
    lineasProyecto.setIndexName(QString());
    documentos.emptyTable();
    lineas.emptyTable();
    for (proyectos.first(); !proyectos.eof(); proyectos.next()) {
        const QString codigo = proyectos.fieldByName(QStringLiteral("Codigo")).asString();
        documentos.append();
        copiarCamposPorNombre(proyectos, documentos);
        documentos.fieldByName(QStringLiteral("CodigoProyecto")).setAsString(codigo);
        documentos.fieldByName(QStringLiteral("NumeroCopias")).setAsInteger(1);
        documentos.post();
        escribirLineas(lineasProyecto, codigo, lineas);
    }
}

TfPROYLPRO::TfPROYLPRO(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fPROYLPRO"), QStringLiteral("Listado de Documentos de Proyecto")),
      instancia_(fPROYLPRO, this)
{
    setKeyPreview(true);
    setPosition(plat::poScreenCenter);
    resize(460, 220);

    Panel1 = make<plat::Panel>(QStringLiteral("Panel1"), this);
    Label1 = make<plat::Label>(QStringLiteral("Label1"), Panel1);
    Label1->setCaption(QStringLiteral("Formato del Impreso"));
    EditFormatoImpreso = make<plat::DBLookupComboBox>(QStringLiteral("EditFormatoImpreso"), Panel1);
    auto *arriba = new QHBoxLayout(Panel1);
    arriba->addWidget(Label1);
    arriba->addWidget(EditFormatoImpreso, 1);

    Panel2 = make<plat::Panel>(QStringLiteral("Panel2"), this);
    Label2 = make<plat::Label>(QStringLiteral("Label2"), Panel2);
    Label2->setCaption(QStringLiteral("Desde Proyecto"));
    DesdeProyecto = make<plat::Edit>(QStringLiteral("DesdeProyecto"), Panel2);
    DesdeProyecto->setMaxLength(20);
    Label3 = make<plat::Label>(QStringLiteral("Label3"), Panel2);
    Label3->setCaption(QStringLiteral("Hasta"));
    HastaProyecto = make<plat::Edit>(QStringLiteral("HastaProyecto"), Panel2);
    HastaProyecto->setMaxLength(20);
    HastaProyecto->setText(QStringLiteral("zzzzzzzzzzzzzzzzzzzz"));
    VisualizacionPrevia = make<plat::CheckBox>(QStringLiteral("VisualizacionPrevia"), Panel2);
    VisualizacionPrevia->setCaption(QStringLiteral("Visualización Previa"));
    VisualizacionPrevia->setChecked(true);
    auto *rango = new QHBoxLayout;
    rango->addWidget(Label2);
    rango->addWidget(DesdeProyecto, 1);
    rango->addWidget(Label3);
    rango->addWidget(HastaProyecto, 1);
    auto *medio = new QVBoxLayout(Panel2);
    medio->addLayout(rango);
    medio->addWidget(VisualizacionPrevia);

    Panel3 = make<plat::Panel>(QStringLiteral("Panel3"), this);
    pbListar = make<plat::Button>(QStringLiteral("pbListar"), Panel3);
    pbListar->setCaption(QStringLiteral("&Listar"));
    pbListar->setHint(QStringLiteral("Listar por impresora o visualizar en pantalla"));
    pbSalir = make<plat::Button>(QStringLiteral("pbSalir"), Panel3);
    pbSalir->setCaption(QStringLiteral("&Salir"));
    pbSalir->setHint(QStringLiteral("Salir sin listar"));
    auto *botones = new QHBoxLayout(Panel3);
    botones->addStretch();
    botones->addWidget(pbListar);
    botones->addWidget(pbSalir);
    StatusBar1 = make<plat::StatusBar>(QStringLiteral("StatusBar1"), this);
    StatusBar1->setSimplePanel(true);

    auto *todo = new QVBoxLayout(this);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->addWidget(Panel1);
    todo->addWidget(Panel2, 1);
    todo->addWidget(Panel3);
    todo->addWidget(StatusBar1);

    Impreso = make<plat::TableComponent>(QStringLiteral("Impreso"), this);
    Impreso->setTableName(QStringLiteral("IMPRESO"));
    DSImpreso = make<plat::DataSource>(QStringLiteral("DSImpreso"), this);
    DSImpreso->setDataSet(Impreso);
    Proyecto = make<plat::TableComponent>(QStringLiteral("Proyecto"), this);
    Proyecto->setTableName(QStringLiteral("PROYECT"));
    LProyecto = make<plat::TableComponent>(QStringLiteral("LProyecto"), this);
    LProyecto->setTableName(QStringLiteral("LPROYECT"));
    EditFormatoImpreso->setListSource(DSImpreso);
    EditFormatoImpreso->setKeyField(QStringLiteral("Codigo"));
    EditFormatoImpreso->setListField(QStringLiteral("Descripcion"));

    using plat::handler;
    OnCreate = handler(this, &TfPROYLPRO::FormCreate);
    OnActivate = handler(this, &TfPROYLPRO::FormActivate);
    OnClose = handler(this, &TfPROYLPRO::FormClose);
    OnCloseQuery = handler(this, &TfPROYLPRO::FormCloseQuery);
    OnKeyDown = handler(this, &TfPROYLPRO::FormKeyDown);
    OnKeyPress = handler(this, &TfPROYLPRO::FormKeyPress);
    pbListar->OnClick = handler(this, &TfPROYLPRO::pbListarClick);
    pbSalir->OnClick = handler(this, &TfPROYLPRO::pbSalirClick);
}

TfPROYLPRO::~TfPROYLPRO() = default;

void TfPROYLPRO::FormCreate(QObject *)
{
    fGENEINIC->AbrirTablasFormulario(*this);
    abrirImpresosDelTipo(*Impreso, QStringLiteral("Proyecto"));
    EditFormatoImpreso->reloadList();
    ocupado_ = false;
}

void TfPROYLPRO::FormActivate(QObject *) { update(); }

void TfPROYLPRO::FormClose(QObject *Sender, plat::CloseAction &Action) { VentanaPrograma::FormClose(Sender, Action); }

// The status step processes pending messages, so a close can arrive while a listing runs.
void TfPROYLPRO::FormCloseQuery(QObject *, bool &CanClose) { CanClose = !ocupado_; }

void TfPROYLPRO::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
}

void TfPROYLPRO::FormKeyPress(QObject *Sender, QChar &Key) { fGENEINIC->ProcesarTeclaPulsada(Sender, Key); }

void TfPROYLPRO::pbListarClick(QObject *)
{
    lanzarListado(this, ocupado_, StatusBar1, EditFormatoImpreso->keyValue().toString(), [this] { GenerarListado(); });
}

void TfPROYLPRO::pbSalirClick(QObject *) { Close(); }

void TfPROYLPRO::GenerarListado()
{
    plat::BusyCursor reloj;
    PeticionImpreso peticion;
    peticion.vistaPrevia = VisualizacionPrevia->isChecked();
    peticion.codigoImpreso = EditFormatoImpreso->keyValue().toString();
    peticion.definicionDocumentos = DefinicionDocumentosProyecto;
    peticion.definicionLineas = DefinicionLineasProyecto;
    peticion.indiceLineas = kIndiceLineas;
    peticion.campoMaestroLineas = kCampoMaestro;
    const QString desde = DesdeProyecto->text();
    const QString hasta = HastaProyecto->text();
    peticion.rellenar = [this, desde, hasta](plat::TableDataSet &documentos, plat::TableDataSet &lineas) {
        RellenarDocumentosProyecto(Proyecto->table(), LProyecto->table(), desde, hasta, documentos, lineas);
    };
    ganchoImprimirPeticion().valor()(peticion);
}
