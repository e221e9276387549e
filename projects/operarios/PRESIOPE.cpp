#include "projects/operarios/PRESIOPE.h"

#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/data/ventanas/GENEFILT.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/TraduccionExcepciones.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "platform/base/Errores.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Dialogs.h"
#include "projects/operarios/EjecutorIntercambioSQL.h"
#include "projects/operarios/IntercambioOperarios.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QScopeGuard>
#include <QVBoxLayout>

TfPRESIOPE *fPRESIOPE = nullptr;

using intercambio::LineaEquivalencia;

namespace {

const QString kPendiente = QStringLiteral("Pendiente");
const QString kTerminado = QStringLiteral("Terminado");
const QString kDatoOrigen = QStringLiteral("DatoOrigen");
const QString kDatoDestino = QStringLiteral("DatoDestino");
const QString kSituacion = QStringLiteral("Situacion");
const QString kFiltroArchivos = QStringLiteral("Archivos de Texto (*.TXT)|*.TXT|Todos los Archivos (*.*)|*.*");
const QString kArchivoDefecto = QStringLiteral("INTCTAS.TXT");

// The swap's transaction through the program's transaction routines, so that the program
// knows a transaction is active while a pair runs.
class EjecutorPrograma : public EjecutorIntercambioSQL
{
public:
    using EjecutorIntercambioSQL::EjecutorIntercambioSQL;
    void iniciar() override
    {
        if (!fGENEINIC->IniciarTransaccion(&conexion()))
            throw gp::DatabaseError(QStringLiteral("¡No se puede iniciar la transacción!"));
    }
    void confirmar() override
    {
        if (!fGENEINIC->ConfirmarTransaccion(&conexion()))
            throw gp::DatabaseError(QStringLiteral("¡No se puede finalizar la transacción!"));
    }
    void cancelar() override { fGENEINIC->CancelarTransaccion(&conexion()); }
};

bool HayOperario(qint64 codigo)
{
    return fGENEINIC->Database()
        .scalar(QStringLiteral("SELECT Codigo FROM OPERARIO WHERE Codigo = :codigo"), {{QStringLiteral("codigo"), codigo}})
        .isValid();
}

// A code that is not a number is reported as the runtime reports any failed conversion.
QString AvisoConversion(const QString &error)
{
    return TraducirExcepcion(error, false, QString()).texto;
}

} // namespace

TfPRESIOPE::TfPRESIOPE(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fPRESIOPE"), QStringLiteral("Intercambio de Códigos de Operarios")),
      instancia_(fPRESIOPE, this)
{
    setKeyPreview(true);
    construirVentana();
    construirMenu();
    using plat::handler;
    OnCreate = handler(this, &TfPRESIOPE::FormCreate);
    OnActivate = handler(this, &TfPRESIOPE::FormActivate);
    OnClose = handler(this, &TfPRESIOPE::FormClose);
    OnKeyDown = handler(this, &TfPRESIOPE::FormKeyDown);
    OnKeyPress = handler(this, &TfPRESIOPE::FormKeyPress);
    pbConforme->OnClick = handler(this, &TfPRESIOPE::pbConformeClick);
    pbSalir->OnClick = handler(this, &TfPRESIOPE::pbSalirClick);
    DBGrid1->OnDrawColumnCell = handler(this, &TfPRESIOPE::DBGrid1DrawColumnCell);
    Inicializartabladeequivalencias1->OnClick = handler(this, &TfPRESIOPE::Inicializartabladeequivalencias1Click);
    ImportarOperarios->OnClick = handler(this, &TfPRESIOPE::ImportarOperariosClick);
    ImportardesdeArchivodeTexto1->OnClick = handler(this, &TfPRESIOPE::ImportardesdeArchivodeTexto1Click);
    ExportaraArchivodeTexto1->OnClick = handler(this, &TfPRESIOPE::ExportaraArchivodeTexto1Click);
    IntercambiarDatoOrigenporDatoDestino1->OnClick =
        handler(this, &TfPRESIOPE::IntercambiarDatoOrigenporDatoDestino1Click);
    AgregarcifraenDestino->OnClick = handler(this, &TfPRESIOPE::AgregarcifraenDestinoClick);
    EliminarcifraenDestino->OnClick = handler(this, &TfPRESIOPE::EliminarcifraenDestinoClick);
    plat::DataSet &t = temporal();
    t.OnNewRecord = [this](plat::DataSet &ds) { TemporalNewRecord(ds); };
    t.OnCalcFields = [this](plat::DataSet &ds) { TemporalCalcFields(ds); };
    t.BeforePost = [this](plat::DataSet &ds) { TemporalBeforePost(ds); };
}

TfPRESIOPE::~TfPRESIOPE() = default;

void TfPRESIOPE::construirVentana()
{
    Memo1 = make<plat::Memo>(QStringLiteral("Memo1"), this);
    Memo1->setReadOnly(true);
    Memo1->setColor(0xFFCCCC);
    Memo1->setLines({QString(),
                     QStringLiteral("      Este proceso puede comprometer la integridad de los datos de la aplicación."),
                     QStringLiteral("      Se recomienda encarecidamente realizar una COPIA DE SEGURIDAD previa"),
                     QStringLiteral("con el objeto de evitar la pérdida de los mismos por motivos ajenos a la aplicación."),
                     QStringLiteral("      ¡Cierre todas las ventanas de la aplicación, incluidas las de otros usuarios!"),
                     QStringLiteral(" "), QStringLiteral(" ")});
    Memo1->setFixedHeight(130);

    Temporal = make<plat::TableComponent>(QStringLiteral("Temporal"), this);
    OPERARIO = make<plat::TableComponent>(QStringLiteral("OPERARIO"), this);
    OPERARIO->setTableName(QStringLiteral("OPERARIO"));
    DataSource1 = make<plat::DataSource>(QStringLiteral("DataSource1"), this);
    DataSource1->setDataSet(Temporal);

    DBGrid1 = make<plat::DBGrid>(QStringLiteral("DBGrid1"), this);
    DBGrid1->setDataSource(DataSource1);
    const struct
    {
        const QString &campo;
        QString titulo;
        int ancho;
    } columnas[] = {{kDatoOrigen, QStringLiteral("Operario Origen"), 120},
                    {kDatoDestino, QStringLiteral("Operario Destino"), 131}};
    for (const auto &c : columnas) {
        plat::GridColumn *columna = DBGrid1->addColumn(c.campo);
        columna->TitleCaption = c.titulo;
        columna->Width = c.ancho;
    }
    DBGrid1->addColumn(QStringLiteral("Nombre"));

    PanelBotones = make<plat::Panel>(QStringLiteral("PanelBotones"), this);
    pbConforme = make<plat::Button>(QStringLiteral("pbConforme"), PanelBotones);
    pbConforme->setCaption(QStringLiteral("&Conforme"));
    pbSalir = make<plat::Button>(QStringLiteral("pbSalir"), PanelBotones);
    pbSalir->setCaption(QStringLiteral("&Salir"));
    auto *botones = new QHBoxLayout(PanelBotones);
    botones->setContentsMargins(6, 4, 6, 4);
    botones->addStretch();
    botones->addWidget(pbConforme);
    botones->addWidget(pbSalir);
    StatusBar1 = make<plat::StatusBar>(QStringLiteral("StatusBar1"), this);
    StatusBar1->setSimplePanel(true);

    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    columna->addWidget(Memo1);
    columna->addWidget(DBGrid1, 1);
    columna->addWidget(PanelBotones);
    columna->addWidget(StatusBar1);
}

plat::MenuItem *TfPRESIOPE::opcionMenu(const QString &nombre, const QString &texto)
{
    auto *opcion = make<plat::MenuItem>(nombre, texto, PopupMenu1);
    PopupMenu1->Items()->Add(opcion);
    return opcion;
}

void TfPRESIOPE::construirMenu()
{
    PopupMenu1 = make<plat::PopupMenu>(QStringLiteral("PopupMenu1"), this);
    Inicializartabladeequivalencias1 =
        opcionMenu(QStringLiteral("Inicializartabladeequivalencias1"), QStringLiteral("I&nicializar tabla de equivalencias"));
    ImportarOperarios = opcionMenu(QStringLiteral("ImportarOperarios"), QStringLiteral("Importar &Operarios"));
    ImportardesdeArchivodeTexto1 =
        opcionMenu(QStringLiteral("ImportardesdeArchivodeTexto1"), QStringLiteral("&Importar desde Archivo de Texto..."));
    ExportaraArchivodeTexto1 =
        opcionMenu(QStringLiteral("ExportaraArchivodeTexto1"), QStringLiteral("&Exportar a Archivo de Texto..."));
    IntercambiarDatoOrigenporDatoDestino1 = opcionMenu(QStringLiteral("IntercambiarDatoOrigenporDatoDestino1"),
                                                       QStringLiteral("In&tercambiar Origen por Destino"));
    AgregarcifraenDestino =
        opcionMenu(QStringLiteral("AgregarcifraenDestino"), QStringLiteral("&Agregar una cifra en Destino..."));
    EliminarcifraenDestino =
        opcionMenu(QStringLiteral("EliminarcifraenDestino"), QStringLiteral("E&liminar una cifra en Destino..."));
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        const QPoint global = DBGrid1->viewport()->mapToGlobal(p);
        PopupMenu1->Popup(global.x(), global.y());
    });
}

// ---- life ------------------------------------------------------------------------------------

void TfPRESIOPE::FormCreate(QObject *)
{
    importando_ = false;
    ejecutando_ = false;
    fGENEINIC->AbrirTablasFormulario(*this);
    pbConforme->setEnabled(!SoloLectura(this));
    temporal().addCalculatedField(QStringLiteral("Nombre"), ftString, 40);
    const QString definicion = QStringList{QStringLiteral("Tabla Temporal"), QStringLiteral("/C/1/DatoOrigen/ftString/20/*"),
                                           QStringLiteral("/C/2/DatoDestino/ftString/20/"),
                                           QStringLiteral("/C/3/Situacion/ftString/15/"),
                                           QStringLiteral("/I/1/<Primary>/DatoOrigen")}
                                   .join(QStringLiteral("\r\n"));
    DataSetAbribleDe<plat::TableDataSet> abrible(Temporal->table(), objectName());
    if (fGENEINIC->CrearTabla(abrible, definicion, fGENEINIC->Conexiones().EmpresaActual) && !temporal().active())
        temporal().open();
}

void TfPRESIOPE::FormActivate(QObject *) { update(); }

void TfPRESIOPE::FormClose(QObject *, plat::CloseAction &Action)
{
    if (ejecutando_) {
        Action = plat::caNone;
        return;
    }
    try {
        Temporal->table().close();
        Temporal->table().deleteTable();
    } catch (const gp::Error &) {
        // A table that cannot be dropped now is a leftover temporary table, not lost data.
    }
    incidencias_.clear();
    Action = plat::caFree;
}

void TfPRESIOPE::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
}

void TfPRESIOPE::FormKeyPress(QObject *, QChar &Key)
{
    if (Key != u'\r')
        return;
    if (DBGrid1->hasFocus())
        Key = u'\t';
    else {
        selectNext(true);
        Key = QChar();
    }
}

void TfPRESIOPE::pbSalirClick(QObject *) { Close(); }

void TfPRESIOPE::MostrarEstado(const QString &texto)
{
    fGENEINIC->ConfigurarBarraEstado(StatusBar1, texto);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ---- the pair check and the run --------------------------------------------------------------

bool TfPRESIOPE::ComprobarOrigenDestino()
{
    const QString origen = temporal().fieldByName(kDatoOrigen).asString();
    const QString destino = temporal().fieldByName(kDatoDestino).asString();
    const auto lectura = intercambio::LeerPareja(origen, destino);
    if (!lectura.pareja) {
        MensajeAviso(AvisoConversion(lectura.error));
        return false;
    }
    bool respuesta = true;
    if (!HayOperario(lectura.pareja->origen)) {
        MensajeAviso(QStringLiteral("¡No existe el Origen %1!").arg(origen));
        respuesta = false;
    }
    if (HayOperario(lectura.pareja->destino)) {
        if (MensajeConfirmacion(QStringLiteral("¡Ya existe el Destino %1!. ¿Desea continuar?").arg(destino))
            == QLatin1String("NO"))
            respuesta = false;
        else
            MensajeAviso(QStringLiteral("El Origen desaparecerá y prevalecerá el Destino."));
    }
    return respuesta;
}

bool TfPRESIOPE::IntercambiarCodigosOperario()
{
    const auto lectura = intercambio::LeerPareja(temporal().fieldByName(kDatoOrigen).asString(),
                                                 temporal().fieldByName(kDatoDestino).asString());
    if (!lectura.pareja) {
        incidencias_.append(AvisoConversion(lectura.error));
        return false;
    }
    EjecutorPrograma ejecutor(fGENEINIC->Database());
    ejecutor.AlProcesar = [this](const QString &texto) { MostrarEstado(texto); };
    return intercambio::IntercambiarPareja(*lectura.pareja, ejecutor, incidencias_)
        == intercambio::ResultadoPareja::Terminada;
}

void TfPRESIOPE::pbConformeClick(QObject *)
{
    incidencias_.clear();
    if (ejecutando_ || temporal().isEmpty() || !ComprobarOrigenDestino())
        return;
    const ConexionesPrograma &conexiones = fGENEINIC->Conexiones();
    // The swap rewrites every table that holds an operator's code, through statements of its own.
    if (!EscrituraAutorizada(this))
        return;
    if (conexiones.EnTransaccion || conexiones.EnTransaccionFormularios) {
        MensajeAviso(QStringLiteral("¡ Hay otra transacción activa en curso !. Debe finalizarla previamente."));
        return;
    }
    if (MensajeConfirmacion(QStringLiteral("El proceso de Intercambio va a comenzar. ¿Está seguro de querer continuar?"))
        == QLatin1String("NO"))
        return;
    {
        ejecutando_ = true;
        plat::BusyCursor reloj;
        const auto fin = qScopeGuard([this] {
            MostrarEstado(QString());
            ejecutando_ = false;
        });
        plat::DataSet &t = temporal();
        for (t.first(); !t.eof(); t.next()) {
            try {
                if (IntercambiarCodigosOperario()) {
                    t.edit();
                    t.fieldByName(kSituacion).setAsString(kTerminado);
                    t.post();
                }
            } catch (const gp::Error &e) {
                if (t.state() != plat::DataSetState::Browse)
                    t.cancel();
                incidencias_.append(e.mensaje());
            }
        }
    }
    if (!incidencias_.isEmpty()
        && MensajeConfirmacion(QStringLiteral("Se han producido incidencias en el proceso. ¿Desea ver los detalles?"))
               == QLatin1String("SI"))
        MostrarDetalle(incidencias_.join(QStringLiteral("\r\n")), QStringLiteral("Incidencias producidas en ") + caption());
}

// ---- the table's events ----------------------------------------------------------------------

void TfPRESIOPE::TemporalNewRecord(plat::DataSet &DataSet)
{
    DataSet.fieldByName(kSituacion).setAsString(kPendiente);
}

void TfPRESIOPE::TemporalCalcFields(plat::DataSet &DataSet)
{
    if (importando_)
        return;
    bool ok = false;
    const qint64 codigo = DataSet.fieldByName(kDatoOrigen).asString().trimmed().toLongLong(&ok);
    if (!ok)
        return;
    DataSet.fieldByName(QStringLiteral("Nombre"))
        .setValue(fGENEINIC->Database().scalar(QStringLiteral("SELECT Nombre FROM OPERARIO WHERE Codigo = :codigo"),
                                               {{QStringLiteral("codigo"), codigo}}));
}

void TfPRESIOPE::TemporalBeforePost(plat::DataSet &)
{
    if (!importando_ && !ejecutando_ && !ComprobarOrigenDestino())
        throw gp::Abort();
}

void TfPRESIOPE::DBGrid1DrawColumnCell(QObject *, const QRect &Rect, int, plat::GridColumn *Column, plat::GridCellState)
{
    plat::Canvas *canvas = DBGrid1->canvas();
    const bool pendiente = DBGrid1->drawnText(kSituacion) == kPendiente;
    canvas->font().Color = pendiente ? plat::clBlack : 0x808080;
    canvas->TextRect(Rect, Rect.left() + 2, Rect.top() + 2, DBGrid1->drawnText(Column->FieldName));
}

// ---- preparing the equivalences --------------------------------------------------------------

QChar TfPRESIOPE::separadorArchivo() const
{
    QString separador;
    plat::TableDataSet &parametros = ModuloDatos->ParamGenerales->table();
    if (parametros.active() && !parametros.isEmpty())
        if (const plat::Field *f = parametros.findField(QStringLiteral("CaracterSeparadorASCII")))
            separador = f->asString();
    return separador.isEmpty() ? QChar(u'@') : separador.front();
}

void TfPRESIOPE::AnadirFilasImportadas(const QList<LineaEquivalencia> &filas)
{
    if (!EscrituraAutorizada(this))
        return;
    plat::DataSet &t = temporal();
    plat::Connection &conexion = *Temporal->table().connection();
    importando_ = true;
    plat::BusyCursor reloj;
    t.disableControls();
    const auto fin = qScopeGuard([&] {
        importando_ = false;
        t.enableControls();
        t.refresh();
    });
    // All the rows in one transaction; a refused row rolls it back (an engine cannot keep
    // a transaction whose inner write failed), and the rows before it are added again.
    struct Carga
    {
        qsizetype anadidas = 0;
        QString fallo;
    };
    const auto cargar = [&](qsizetype cuantas) {
        Carga carga;
        conexion.startTransaction();
        for (; carga.anadidas < cuantas; ++carga.anadidas) {
            const LineaEquivalencia &fila = filas[carga.anadidas];
            try {
                t.append();
                t.fieldByName(kDatoOrigen).setAsString(fila.origen);
                t.fieldByName(kDatoDestino).setAsString(fila.destino);
                t.post();
            } catch (const gp::Error &e) {
                if (t.state() != plat::DataSetState::Browse)
                    t.cancel();
                conexion.rollback();
                carga.fallo = e.mensaje();
                return carga;
            }
        }
        conexion.commit();
        return carga;
    };
    const Carga carga = cargar(filas.size());
    if (carga.fallo.isEmpty())
        return;
    if (carga.anadidas > 0)
        cargar(carga.anadidas);
    MensajeAviso(carga.fallo);
}

void TfPRESIOPE::Inicializartabladeequivalencias1Click(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    Temporal->table().emptyTable();
    temporal().refresh();
}

void TfPRESIOPE::ImportarOperariosClick(QObject *)
{
    plat::DataSet &operarios = OPERARIO->dataSet();
    if (MensajeConfirmacion(QStringLiteral("¿Desea filtrar los registros a importar?")) == QLatin1String("SI"))
        fGENEFILT->FiltrarTabla(operarios);
    else {
        operarios.setFilter(QString());
        operarios.setFiltered(false);
    }
    QList<LineaEquivalencia> filas;
    for (operarios.first(); !operarios.eof(); operarios.next()) {
        const QString codigo = operarios.fieldByName(QStringLiteral("Codigo")).asString();
        filas.append({codigo, codigo});
    }
    AnadirFilasImportadas(filas);
}

void TfPRESIOPE::ImportardesdeArchivodeTexto1Click(QObject *)
{
    plat::OpenDialog &dialogo = *ModuloDatos->OpenDialog1;
    dialogo.Title = QStringLiteral("Importar desde un Archivo de Texto");
    dialogo.Filter = kFiltroArchivos;
    dialogo.FileName = kArchivoDefecto;
    if (!dialogo.Execute())
        return;
    bool leido = false;
    const QString texto = LeerFicheroTexto(dialogo.FileName, &leido);
    if (!leido)
        return;
    AnadirFilasImportadas(intercambio::LeerEquivalencias(texto, separadorArchivo()));
}

void TfPRESIOPE::ExportaraArchivodeTexto1Click(QObject *)
{
    plat::SaveDialog &dialogo = *ModuloDatos->SaveDialog1;
    dialogo.Title = QStringLiteral("Exportar a un Archivo de Texto");
    dialogo.Filter = kFiltroArchivos;
    dialogo.FileName = kArchivoDefecto;
    if (!dialogo.Execute())
        return;
    QList<LineaEquivalencia> filas;
    plat::DataSet &t = temporal();
    for (t.first(); !t.eof(); t.next())
        filas.append({t.fieldByName(kDatoOrigen).asString(), t.fieldByName(kDatoDestino).asString()});
    if (!EscribirFicheroTexto(dialogo.FileName, intercambio::EscribirEquivalencias(filas, separadorArchivo())))
        MensajeAviso(QStringLiteral("¡No se puede grabar el archivo %1!").arg(dialogo.FileName));
}

void TfPRESIOPE::IntercambiarDatoOrigenporDatoDestino1Click(QObject *)
{
    plat::DataSet &t = temporal();
    QList<LineaEquivalencia> cambiadas;
    for (t.first(); !t.eof(); t.next())
        cambiadas.append({t.fieldByName(kDatoDestino).asString(), t.fieldByName(kDatoOrigen).asString()});
    Temporal->table().emptyTable();
    t.refresh();
    for (const LineaEquivalencia &fila : cambiadas) {
        try {
            t.append();
            t.fieldByName(kDatoOrigen).setAsString(fila.origen);
            t.fieldByName(kDatoDestino).setAsString(fila.destino);
            t.post();
        } catch (const gp::Error &) {
            if (t.state() != plat::DataSetState::Browse)
                t.cancel();
        }
    }
}

void TfPRESIOPE::SumarCifraEnDestino(const QString &pregunta, int signo)
{
    const QString respuesta = MensajePedirDato(pregunta);
    if (respuesta.isEmpty() || !ValidarEntero(respuesta, QStringLiteral("Cifra")))
        return;
    const qint64 cifra = respuesta.trimmed().toLongLong() * signo;
    plat::DataSet &t = temporal();
    for (t.first(); !t.eof(); t.next()) {
        bool ok = false;
        const qint64 destino = t.fieldByName(kDatoDestino).asString().trimmed().toLongLong(&ok);
        if (!ok)
            continue;
        try {
            t.edit();
            t.fieldByName(kDatoDestino).setAsString(QString::number(destino + cifra));
            t.post();
        } catch (const gp::Error &) {
            if (t.state() != plat::DataSetState::Browse)
                t.cancel();
        }
    }
}

void TfPRESIOPE::AgregarcifraenDestinoClick(QObject *)
{
    SumarCifraEnDestino(QStringLiteral("Introduzca la cifra que desea agregar a los datos de Destino"), 1);
}

void TfPRESIOPE::EliminarcifraenDestinoClick(QObject *)
{
    SumarCifraEnDestino(QStringLiteral("Introduzca la cifra que desea eliminar en los datos de Destino"), -1);
}
