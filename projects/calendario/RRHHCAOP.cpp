#include "projects/calendario/RRHHCAOP.h"

#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "platform/base/LecturaTextos.h"
#include "platform/base/LiteralFechaSQL.h"
#include "platform/base/FechaHora.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TfRRHHCAOP *fRRHHCAOP = nullptr;
int OperarioApertura = 0;
int EjercicioApertura = 0;
int MesApertura = 0;
int CalendarioApertura = 0;

using calendario::DiaCalendario;
using calendario::Familia;

namespace {

const QString kNo = QStringLiteral("NO");
const QString kSi = QStringLiteral("SI");
constexpr int kAnchoCelda = 87;
constexpr int kAltoCelda = 35;
constexpr int kAzul = 0xFF0000;
constexpr int kRojo = 0x0000FF;

Familia FamiliaEnEjecucion()
{
    if (EsEsteEjecutable(QStringLiteral("QUESTAL.EXE")))
        return Familia::Questal;
    if (EsEsteEjecutable(QStringLiteral("DUNFELK.EXE")))
        return Familia::Dunfelk;
    if (EsEsteEjecutable(QStringLiteral("VIMBARO.EXE")))
        return Familia::Vimbaro;
    return Familia::Otra;
}

// The days of one month of a calendar table, by day number.
QHash<int, DiaCalendario> DiasDelMes(const QString &sql, const calendario::MesOperario &mes, int codigo,
                                     bool personal)
{
    QHash<int, DiaCalendario> dias;
    const plat::QueryResult filas = fGENEINIC->Database().query(
        sql, {{QStringLiteral("codigo"), codigo},
              {QStringLiteral("desde"), FechaHora(mes.primerDia())},
              {QStringLiteral("hasta"), FechaHora(mes.ultimoDia())}});
    for (int i = 0; i < filas.rows.size(); ++i) {
        DiaCalendario dia;
        dia.trabajado = filas.value(i, QStringLiteral("EsDiaTrabajado")).toString();
        dia.festivo = filas.value(i, QStringLiteral("EsDiaFestivo")).toString();
        dia.vacaciones = filas.value(i, QStringLiteral("EsDiaVacaciones")).toString();
        dia.puente = filas.value(i, QStringLiteral("EsDiaPuente")).toString();
        dia.numeroHorario = filas.value(i, QStringLiteral("NumeroHorario")).toInt();
        if (personal) {
            dia.permiso = filas.value(i, QStringLiteral("EsDiaPermiso")).toString();
            dia.situacion = filas.value(i, QStringLiteral("Situacion")).toString();
        }
        dias.insert(filas.value(i, QStringLiteral("Fecha")).toDateTime().date().day(), dia);
    }
    return dias;
}

// A toggle of a group keeps its down state as its check.
bool Pulsado(const plat::SpeedButton *boton)
{
    return boton->isChecked();
}

} // namespace

TfRRHHCAOP *AbrirCalendarioOperario(int operario, int anyo, int mes, int calendario)
{
    OperarioApertura = operario;
    EjercicioApertura = anyo;
    MesApertura = mes;
    CalendarioApertura = calendario;
    return plat::createForm<TfRRHHCAOP>();
}

TfRRHHCAOP::TfRRHHCAOP(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fRRHHCAOP"), QStringLiteral("Maestro de Calendarios de Operario")),
      instancia_(fRRHHCAOP, this)
{
    setKeyPreview(true);
    construirVentana();
    using plat::handler;
    OnCreate = handler(this, &TfRRHHCAOP::FormCreate);
    OnActivate = handler(this, &TfRRHHCAOP::FormActivate);
    OnClose = handler(this, &TfRRHHCAOP::FormClose);
    OnKeyDown = handler(this, &TfRRHHCAOP::FormKeyDown);
    OnKeyPress = handler(this, &TfRRHHCAOP::FormKeyPress);
    SpinEjercicio->OnDownClick = handler(this, &TfRRHHCAOP::SpinEjercicioDownClick);
    SpinEjercicio->OnUpClick = handler(this, &TfRRHHCAOP::SpinEjercicioUpClick);
    SpinMes->OnDownClick = handler(this, &TfRRHHCAOP::SpinMesDownClick);
    SpinMes->OnUpClick = handler(this, &TfRRHHCAOP::SpinMesUpClick);
    SpinOperario->OnDownClick = handler(this, &TfRRHHCAOP::SpinOperarioDownClick);
    SpinOperario->OnUpClick = handler(this, &TfRRHHCAOP::SpinOperarioUpClick);
    pbEliminar->OnClick = handler(this, &TfRRHHCAOP::pbEliminarClick);
    pbEliminarEjercicio->OnClick = handler(this, &TfRRHHCAOP::pbEliminarEjercicioClick);
    Eliminardia->OnClick = handler(this, &TfRRHHCAOP::EliminardiaClick);
    pbVacaciones->OnClick = handler(this, &TfRRHHCAOP::pbMarcasClick);
    pbPuente->OnClick = handler(this, &TfRRHHCAOP::pbMarcasClick);
    pbPermiso->OnClick = handler(this, &TfRRHHCAOP::pbMarcasClick);
    pbZoom->OnClick = handler(this, &TfRRHHCAOP::pbZoomClick);
    pbGenerarCalendario->OnClick = handler(this, &TfRRHHCAOP::pbGenerarCalendarioClick);
    pbMarcarDiasRegulacionEmpleo->OnClick = handler(this, &TfRRHHCAOP::pbMarcarDiasRegulacionEmpleoClick);
    pbSalir->OnClick = handler(this, &TfRRHHCAOP::pbSalirClick);
    SGrid->OnDrawCell = handler(this, &TfRRHHCAOP::SGridDrawCell);
    SGrid->OnSelectCell = handler(this, &TfRRHHCAOP::SGridSelectCell);
    for (plat::TableComponent *tabla : {CalendarioPersonal, CalendarioEmpresa, IncidenciasCalendario})
        tabla->dataSet().AfterPost = [this](plat::DataSet &ds) { TipoSubsidioAfterPost(ds); };
    IncidenciasCalendario->dataSet().OnNewRecord = [this](plat::DataSet &ds) { IncidenciasCalendarioNewRecord(ds); };
    DBGrid1->OnColExit = handler(this, &TfRRHHCAOP::DBGrid1ColExit);
    DBGrid1->OnEditButtonClick = handler(this, &TfRRHHCAOP::DBGrid1EditButtonClick);
    DBGrid1->OnDblClick = handler(this, &TfRRHHCAOP::BuscarDatosDBEdit);
    DBGrid1->OnDrawColumnCell = handler(this, &TfRRHHCAOP::DBGrid1DrawColumnCell);
}

TfRRHHCAOP::~TfRRHHCAOP() = default;

// ---- layout ---------------------------------------------------------------------------------

void TfRRHHCAOP::construirVentana()
{
    CalendarioPersonal = make<plat::TableComponent>(QStringLiteral("CalendarioPersonal"), this);
    CalendarioPersonal->setTableName(QStringLiteral("CALENOPE"));
    CalendarioEmpresa = make<plat::TableComponent>(QStringLiteral("CalendarioEmpresa"), this);
    CalendarioEmpresa->setTableName(QStringLiteral("CALENDAR"));
    Horarios = make<plat::TableComponent>(QStringLiteral("Horarios"), this);
    Horarios->setTableName(QStringLiteral("HORARIO"));
    DSHorarios = make<plat::DataSource>(QStringLiteral("DSHorarios"), this);
    DSHorarios->setDataSet(Horarios);
    IncidenciasCalendario = make<plat::TableComponent>(QStringLiteral("IncidenciasCalendario"), this);
    IncidenciasCalendario->setTableName(QStringLiteral("INCCALOP"));
    DSIncidencias = make<plat::DataSource>(QStringLiteral("DSIncidencias"), this);
    DSIncidencias->setDataSet(IncidenciasCalendario);

    construirCabecera();
    construirMarcas();
    construirRejilla();
    construirIncidencias();

    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    columna->addWidget(PanelSuperior);
    columna->addWidget(PanelMarcas);
    columna->addWidget(SGrid);
    columna->addWidget(PanelIncidencias, 1);
}

void TfRRHHCAOP::construirCabecera()
{
    PanelSuperior = make<plat::Panel>(QStringLiteral("PanelSuperior"), this);
    auto *fila = new QHBoxLayout(PanelSuperior);
    fila->setContentsMargins(6, 4, 6, 4);
    const auto campo = [&](plat::Label *&etiqueta, const QString &nombre, const QString &texto, plat::Edit *&edit,
                           const QString &nombreEdit, int ancho, plat::SpinButton *&spin, const QString &nombreSpin) {
        etiqueta = make<plat::Label>(nombre, PanelSuperior);
        etiqueta->setCaption(texto);
        edit = make<plat::Edit>(nombreEdit, PanelSuperior);
        edit->setReadOnly(true);
        edit->setFixedWidth(ancho);
        spin = make<plat::SpinButton>(nombreSpin, PanelSuperior);
        fila->addWidget(etiqueta);
        fila->addWidget(edit);
        fila->addWidget(spin);
    };
    campo(LabelEjercicio, QStringLiteral("LabelEjercicio"), QStringLiteral("Año"), EditEjercicio,
          QStringLiteral("EditEjercicio"), 50, SpinEjercicio, QStringLiteral("SpinEjercicio"));
    campo(LabelMes, QStringLiteral("LabelMes"), QStringLiteral("Mes"), EditMes, QStringLiteral("EditMes"), 90, SpinMes,
          QStringLiteral("SpinMes"));
    campo(LabelOperario, QStringLiteral("LabelOperario"), QStringLiteral("Operario"), EditOperario,
          QStringLiteral("EditOperario"), 50, SpinOperario, QStringLiteral("SpinOperario"));
    EditNombreOperario = make<plat::Edit>(QStringLiteral("EditNombreOperario"), PanelSuperior);
    EditNombreOperario->setEnabled(false);
    fila->addWidget(EditNombreOperario, 1);
    pbEliminarEjercicio = make<plat::SpeedButton>(QStringLiteral("pbEliminarEjercicio"), PanelSuperior);
    pbEliminarEjercicio->setCaption(QStringLiteral("Año"));
    pbEliminarEjercicio->setToolTip(QStringLiteral("Eliminar el año del calendario actual"));
    pbEliminar = make<plat::SpeedButton>(QStringLiteral("pbEliminar"), PanelSuperior);
    pbEliminar->setCaption(QStringLiteral("Mes"));
    pbEliminar->setToolTip(QStringLiteral("Eliminar el mes del calendario actual"));
    fila->addWidget(pbEliminarEjercicio);
    fila->addWidget(pbEliminar);
}

void TfRRHHCAOP::construirMarcas()
{
    PanelMarcas = make<plat::Panel>(QStringLiteral("PanelMarcas"), this);
    auto *fila = new QHBoxLayout(PanelMarcas);
    fila->setContentsMargins(6, 4, 6, 4);
    const auto boton = [&](const QString &nombre, const QString &texto, const QString &ayuda) {
        auto *b = make<plat::SpeedButton>(nombre, PanelMarcas);
        b->setCaption(texto);
        b->setToolTip(ayuda);
        b->setCheckable(true);
        b->setAllowAllUp(true);
        fila->addWidget(b);
        return b;
    };
    pbGenerarCalendario =
        boton(QStringLiteral("pbGenerarCalendario"), QStringLiteral("Gen."),
              QStringLiteral("Generar el calendario del mes para los operarios"));
    pbGenerarCalendario->setCheckable(false);
    pbMarcarDiasRegulacionEmpleo = boton(QStringLiteral("pbMarcarDiasRegulacionEmpleo"), QStringLiteral("RE"),
                                         QStringLiteral("Marcar días de Regulación de Empleo"));
    pbMarcarDiasRegulacionEmpleo->setCheckable(false);
    pbZoom = boton(QStringLiteral("pbZoom"), QStringLiteral("Zoom"), QStringLiteral("Activar/Desactivar el zoom de rejilla"));
    pbZoom->setGroupIndex(1);
    pbModificar = boton(QStringLiteral("pbModificar"), QStringLiteral("Mod."),
                        QStringLiteral("Activar/Desactivar Modificaciones calendario particular del operario"));
    pbModificar->setGroupIndex(2);
    const auto marca = [&](const QString &nombre, const QString &texto, const QString &que, int grupo) {
        auto *b = boton(nombre, texto, QStringLiteral("Marcar/Desmarcar días %1").arg(que));
        b->setGroupIndex(grupo);
        return b;
    };
    pbTrabajados = marca(QStringLiteral("pbTrabajados"), QStringLiteral("Tr"), QStringLiteral("TRABAJADOS"), 3);
    pbLaborables = marca(QStringLiteral("pbLaborables"), QStringLiteral("La"), QStringLiteral("LABORABLES"), 4);
    pbFestivos = marca(QStringLiteral("pbFestivos"), QStringLiteral("Fe"), QStringLiteral("FESTIVOS"), 5);
    pbVacaciones = marca(QStringLiteral("pbVacaciones"), QStringLiteral("Va"), QStringLiteral("de VACACIONES"), 6);
    pbPermiso = marca(QStringLiteral("pbPermiso"), QStringLiteral("Pe"), QStringLiteral("de PERMISO"), 6);
    pbPuente = marca(QStringLiteral("pbPuente"), QStringLiteral("Pu"), QStringLiteral("de PUENTE"), 6);

    LabelHorario = make<plat::Label>(QStringLiteral("LabelHorario"), PanelMarcas);
    LabelHorario->setCaption(QStringLiteral("Situación"));
    EditSituacion = make<plat::ComboBox>(QStringLiteral("EditSituacion"), PanelMarcas);
    EditSituacion->setItems(calendario::Situaciones());
    EditSituacion->setText(QStringLiteral("Alta"));
    EditNumeroHorario = make<plat::DBLookupComboBox>(QStringLiteral("EditNumeroHorario"), PanelMarcas);
    EditNumeroHorario->setListSource(DSHorarios);
    EditNumeroHorario->setKeyField(QStringLiteral("Numero"));
    EditNumeroHorario->setListField(QStringLiteral("Descripcion"));
    EditNumeroHorario->setVisible(false);
    pbSalir = make<plat::Button>(QStringLiteral("pbSalir"), PanelMarcas);
    pbSalir->setCaption(QStringLiteral("&Salir"));
    fila->addWidget(LabelHorario);
    fila->addWidget(EditSituacion);
    fila->addWidget(EditNumeroHorario);
    fila->addStretch();
    fila->addWidget(pbSalir);
}

void TfRRHHCAOP::construirRejilla()
{
    SGrid = make<plat::StringGrid>(QStringLiteral("SGrid"), this);
    SGrid->setColCount(calendario::kColumnas);
    SGrid->setRowCount(calendario::kFilas);
    SGrid->setFixedCols(0);
    SGrid->setFixedRows(1);
    for (int c = 0; c < calendario::kColumnas; ++c)
        SGrid->setColWidth(c, kAnchoCelda);
    SGrid->setDefaultRowHeight(kAltoCelda);
    SGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SGrid->setFixedSize(kAnchoCelda * calendario::kColumnas + 2 * SGrid->frameWidth(),
                        kAltoCelda * calendario::kFilas + 2 * SGrid->frameWidth());
    PopupMenu1 = make<plat::PopupMenu>(QStringLiteral("PopupMenu1"), this);
    Eliminardia = make<plat::MenuItem>(QStringLiteral("Eliminardia"), QStringLiteral("Despersonalizar el día actual"),
                                       PopupMenu1);
    PopupMenu1->Items()->Add(Eliminardia);
    SGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(SGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        const QPoint global = SGrid->viewport()->mapToGlobal(p);
        PopupMenu1->Popup(global.x(), global.y());
    });
}

void TfRRHHCAOP::construirIncidencias()
{
    PanelIncidencias = make<plat::Panel>(QStringLiteral("PanelIncidencias"), this);
    auto *columna = new QVBoxLayout(PanelIncidencias);
    columna->setContentsMargins(2, 2, 2, 2);
    auto *titulo = new QLabel(QStringLiteral("Incidencias del Calendario del Operario"), PanelIncidencias);
    columna->addWidget(titulo);
    DBGrid1 = make<plat::DBGrid>(QStringLiteral("DBGrid1"), PanelIncidencias);
    DBGrid1->setDataSource(DSIncidencias);
    titulo->setBuddy(DBGrid1);
    const struct
    {
        const char *campo;
        QString titulo;
        int ancho;
    } columnas[] = {{"Fecha", QString(), 67},
                    {"Linea", QStringLiteral("Lin"), 20},
                    {"GrupoAnalisis", QStringLiteral("Gr.Análisis"), 90},
                    {"HoraInicio", QStringLiteral("H.Inicio"), 62},
                    {"HoraFinal", QStringLiteral("H.Final"), 60},
                    {"Tiempo", QString(), 62},
                    {"Descripcion", QStringLiteral("Descripción"), 200},
                    {"DescripcionAmpliada", QStringLiteral("..."), 16},
                    {"Color", QString(), 64}};
    for (const auto &c : columnas) {
        plat::GridColumn *col = DBGrid1->addColumn(QString::fromLatin1(c.campo));
        if (!c.titulo.isEmpty())
            col->TitleCaption = c.titulo;
        col->Width = c.ancho;
    }
    DBGrid1->column(7)->ButtonStyle = plat::cbsEllipsis;
    columna->addWidget(DBGrid1, 1);
}

// ---- life -----------------------------------------------------------------------------------

void TfRRHHCAOP::FormCreate(QObject *)
{
    fGENEINIC->AbrirTablasFormulario(*this);
    mostrado_ = {qBound(1, EjercicioApertura, 9999), qBound(1, MesApertura, 12), qBound(1, OperarioApertura, 9999)};
    codigoCalendario_ = CalendarioApertura;
    const QStringList dias = calendario::NombresDiasSemana();
    for (int c = 0; c < calendario::kColumnas; ++c)
        SGrid->setCell(c, 0, dias.at(c));
    plat::DataSet &incidencias = IncidenciasCalendario->dataSet();
    if (incidencias.active())
        // Linea counts within the operator and date: typing the date of a row being inserted
        // numbers it again, or every incidence would take the first line of its operator.
        incidencias.fieldByName(QStringLiteral("Fecha")).OnChange = [this](plat::Field &) {
            if (IncidenciasCalendario->dataSet().state() == plat::DataSetState::Insert)
                numerarIncidencia();
        };
    familia_ = FamiliaEnEjecucion();
    aplicarFamilia();
    // The day marks, the generation and the deletions write; the window's own tables are
    // read-only at "Solo Lectura", the deletions' statements are not.
    if (SoloLectura(this)) {
        for (plat::SpeedButton *b :
             {pbModificar, pbGenerarCalendario, pbMarcarDiasRegulacionEmpleo, pbEliminar, pbEliminarEjercicio})
            b->setEnabled(false);
        Eliminardia->setEnabled(false);
    }
    pbTrabajados->setDownState(true);
    pbLaborables->setDownState(true);
    for (plat::SpeedButton *b : {pbFestivos, pbVacaciones, pbPuente, pbPermiso})
        b->setDownState(false);
    pbZoom->setDownState(true);
    MostrarMes(mostrado_.primerDia());
}

void TfRRHHCAOP::aplicarFamilia()
{
    const bool horario = familia_ == Familia::Dunfelk || familia_ == Familia::Vimbaro;
    if (familia_ == Familia::Otra)
        return;
    for (plat::SpeedButton *b : {pbTrabajados, pbLaborables, pbFestivos, pbVacaciones, pbPermiso, pbPuente})
        b->setEnabled(familia_ != Familia::Vimbaro);
    pbGenerarCalendario->setVisible(familia_ != Familia::Dunfelk);
    pbMarcarDiasRegulacionEmpleo->setVisible(familia_ != Familia::Dunfelk);
    pbGenerarCalendario->setEnabled(familia_ == Familia::Questal);
    pbMarcarDiasRegulacionEmpleo->setEnabled(familia_ == Familia::Questal);
    LabelHorario->setCaption(horario ? QStringLiteral("Horario:") : QStringLiteral("Situación:"));
    EditSituacion->setVisible(!horario);
    EditNumeroHorario->setVisible(horario);
    if (horario) {
        EditNumeroHorario->reloadList();
        EditNumeroHorario->setCurrentIndex(EditNumeroHorario->count() > 0 ? 0 : -1);
    }
    if (familia_ != Familia::Vimbaro)
        for (int i = 0; i < DBGrid1->columnCount(); ++i)
            if (DBGrid1->column(i)->FieldName.contains(QLatin1String("Color")))
                DBGrid1->column(i)->Visible = false;
    DBGrid1->updateColumns();
}

void TfRRHHCAOP::FormActivate(QObject *)
{
    refrescarRejilla();
}

void TfRRHHCAOP::FormClose(QObject *Sender, plat::CloseAction &Action)
{
    VentanaPrograma::FormClose(Sender, Action);
}

void TfRRHHCAOP::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
}

void TfRRHHCAOP::FormKeyPress(QObject *, QChar &Key)
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

void TfRRHHCAOP::pbSalirClick(QObject *)
{
    close();
}

void TfRRHHCAOP::Cerrar1Click(QObject *)
{
    close();
}

void TfRRHHCAOP::TipoSubsidioAfterPost(plat::DataSet &DataSet)
{
    fGENEINIC->TablaAfterPost(DataSet);
}

// ---- month ----------------------------------------------------------------------------------

void TfRRHHCAOP::MostrarMes(const QDate &fecha)
{
    mostrado_.anyo = fecha.year();
    mostrado_.mes = fecha.month();
    EditEjercicio->setText(QString::number(mostrado_.anyo));
    EditMes->setText(NombreMes(mostrado_.mes));
    EditOperario->setText(QString::number(mostrado_.operario));
    for (int fila = 1; fila < calendario::kFilas; ++fila)
        for (int c = 0; c < calendario::kColumnas; ++c) {
            const int dia = calendario::DiaDeCelda(mostrado_.anyo, mostrado_.mes, c, fila);
            SGrid->setCell(c, fila, dia ? QString::number(dia) : QString());
        }
    EditNombreOperario->setText(ModuloDatos->EjecutarSQLADO(
        QStringLiteral("SELECT Nombre FROM PERSONAL WHERE CodigoOperario = ") + QString::number(mostrado_.operario),
        QStringLiteral("Database")));
    FiltrarIncidenciasMes();
    refrescarRejilla();
}

void TfRRHHCAOP::FiltrarIncidenciasMes()
{
    plat::DataSet &incidencias = IncidenciasCalendario->dataSet();
    if (!incidencias.active())
        return;
    incidencias.setRange({mostrado_.operario, FechaHora(mostrado_.primerDia())},
                         {mostrado_.operario, FechaHora(mostrado_.ultimoDia())});
}

void TfRRHHCAOP::leerDiasMes()
{
    diasPersonales_ = DiasDelMes(
        QStringLiteral("SELECT * FROM CALENOPE WHERE CodigoOperario = :codigo AND Fecha >= :desde AND Fecha <= :hasta"),
        mostrado_, mostrado_.operario, true);
    diasEmpresa_ = DiasDelMes(
        QStringLiteral("SELECT * FROM CALENDAR WHERE Codigo = :codigo AND Fecha >= :desde AND Fecha <= :hasta"), mostrado_,
        codigoCalendario_, false);
}

void TfRRHHCAOP::refrescarRejilla()
{
    leerDiasMes();
    SGrid->viewport()->update();
}

void TfRRHHCAOP::SpinEjercicioDownClick(QObject *)
{
    mostrado_.avanzarAnyo();
    MostrarMes(mostrado_.primerDia());
}

void TfRRHHCAOP::SpinEjercicioUpClick(QObject *)
{
    mostrado_.retrocederAnyo();
    MostrarMes(mostrado_.primerDia());
}

void TfRRHHCAOP::SpinMesDownClick(QObject *)
{
    mostrado_.avanzarMes();
    MostrarMes(mostrado_.primerDia());
}

void TfRRHHCAOP::SpinMesUpClick(QObject *)
{
    mostrado_.retrocederMes();
    MostrarMes(mostrado_.primerDia());
}

void TfRRHHCAOP::SpinOperarioDownClick(QObject *)
{
    mostrado_.avanzarOperario();
    MostrarMes(mostrado_.primerDia());
}

void TfRRHHCAOP::SpinOperarioUpClick(QObject *)
{
    mostrado_.retrocederOperario();
    MostrarMes(mostrado_.primerDia());
}

// ---- painting -------------------------------------------------------------------------------

void TfRRHHCAOP::SGridDrawCell(QObject *, int ACol, int ARow, const QRect &Rect, plat::GridDrawState)
{
    plat::Canvas &canvas = *SGrid->canvas();
    canvas.FillRect(Rect);
    const QFont fuentePrograma = SGrid->font();
    if (ARow == 0) {
        QFont negrita = fuentePrograma;
        negrita.setPointSize(8);
        negrita.setBold(true);
        canvas.setFont(negrita);
        canvas.font().Color = kAzul;
        canvas.TextOut(Rect.left() + 2, Rect.top() + 2, SGrid->cell(ACol, ARow));
        canvas.setFont(fuentePrograma);
        canvas.font().Color = plat::clBlack;
        return;
    }
    const int dia = SGrid->cell(ACol, ARow).toInt();
    if (dia == 0)
        return;
    const auto personal = diasPersonales_.constFind(dia);
    const auto empresa = diasEmpresa_.constFind(dia);
    const bool esPersonal = personal != diasPersonales_.cend();
    if (esPersonal || empresa != diasEmpresa_.cend()) {
        canvas.brush().Color = esPersonal ? colorDiaPersonal_ : colorDiaEmpresa_;
        canvas.FillRect(Rect);
        QFont pequena(QStringLiteral("Small Fonts"));
        pequena.setPointSize(6);
        pequena.setBold(true);
        canvas.setFont(pequena);
        for (const calendario::Marca &m : calendario::MarcasDelDia(esPersonal ? *personal : *empresa, esPersonal, familia_)) {
            canvas.font().Color = m.color;
            const int x = m.alineadaDerecha ? Rect.left() + Rect.width() - canvas.TextWidth(m.texto) - 3 : Rect.left() + m.x;
            canvas.TextOut(x, Rect.top() + m.y, m.texto);
        }
    }
    QFont numero = fuentePrograma;
    numero.setBold(true);
    canvas.setFont(numero);
    const QDate hoy = Ahora().date();
    const bool esHoy = hoy == QDate(mostrado_.anyo, mostrado_.mes, dia);
    canvas.font().Color = esHoy ? kRojo : plat::clBlack;
    canvas.TextOut(Rect.left() + 2, Rect.top() + 2, QString::number(dia));
    canvas.setFont(fuentePrograma);
    canvas.font().Color = plat::clBlack;
}

// ---- editing --------------------------------------------------------------------------------

calendario::Marcadores TfRRHHCAOP::marcadores() const
{
    return {Pulsado(pbTrabajados), Pulsado(pbLaborables), Pulsado(pbFestivos),
            Pulsado(pbVacaciones), Pulsado(pbPuente),     Pulsado(pbPermiso)};
}

void TfRRHHCAOP::SGridSelectCell(QObject *, int ACol, int ARow, bool &)
{
    const int dia = calendario::DiaDeCelda(mostrado_.anyo, mostrado_.mes, ACol, ARow);
    if (!Pulsado(pbModificar) || dia == 0)
        return;
    const QDateTime fecha = FechaHora(QDate(mostrado_.anyo, mostrado_.mes, dia));
    plat::DataSet &personal = CalendarioPersonal->dataSet();
    const auto campo = [&](const char *nombre) -> plat::Field & { return personal.fieldByName(QString::fromLatin1(nombre)); };
    // A day whose post was refused stays in edit until this next action.
    if (personal.state() != plat::DataSetState::Browse)
        personal.cancel();
    try {
        const bool nuevo = !personal.findKey({mostrado_.operario, fecha});
        if (nuevo) {
            personal.append();
            campo("CodigoOperario").setValue(mostrado_.operario);
            campo("Fecha").setValue(fecha);
        } else
            personal.edit();
        DiaCalendario marcado{campo("EsDiaTrabajado").asString(), campo("EsDiaFestivo").asString(),
                              campo("EsDiaVacaciones").asString(), campo("EsDiaPermiso").asString(),
                              campo("EsDiaPuente").asString(), int(campo("NumeroHorario").asInteger()),
                              campo("Situacion").asString()};
        if (familia_ == Familia::Questal || familia_ == Familia::Dunfelk) {
            if (nuevo && diasEmpresa_.contains(dia))
                marcado.numeroHorario = diasEmpresa_.value(dia).numeroHorario;
            calendario::AplicarMarcadores(marcado, marcadores());
        }
        if (familia_ == Familia::Questal)
            marcado.situacion = EditSituacion->text();
        if (familia_ == Familia::Vimbaro) {
            if (calendario::AdmiteHorario(marcado))
                marcado.numeroHorario = EditNumeroHorario->keyValue().toInt();
            else {
                marcado.numeroHorario = 0;
                MensajeAviso(QStringLiteral("¡ No se puede asignar horario por ser dia festivo, puente o vacaciones !"));
            }
        }
        campo("EsDiaTrabajado").setAsString(marcado.trabajado);
        campo("EsDiaFestivo").setAsString(marcado.festivo);
        campo("EsDiaVacaciones").setAsString(marcado.vacaciones);
        campo("EsDiaPermiso").setAsString(marcado.permiso);
        campo("EsDiaPuente").setAsString(marcado.puente);
        campo("NumeroHorario").setValue(marcado.numeroHorario);
        campo("Situacion").setAsString(marcado.situacion);
        personal.post();
    } catch (const std::exception &) {
        MensajeAviso(QStringLiteral("¡ Calendario no actualizado !"));
    }
    refrescarRejilla();
}

void TfRRHHCAOP::pbMarcasClick(QObject *Sender)
{
    auto *pulsado = qobject_cast<plat::SpeedButton *>(Sender);
    if (!pulsado || !Pulsado(pulsado))
        return;
    for (plat::SpeedButton *b : {pbVacaciones, pbPuente, pbPermiso})
        if (b != pulsado)
            b->setDownState(false);
    pbLaborables->setDownState(true);
    pbFestivos->setDownState(false);
}

void TfRRHHCAOP::pbZoomClick(QObject *)
{
    const int alto = PanelIncidencias->height();
    PanelIncidencias->setVisible(Pulsado(pbZoom));
    setHeight(height() + (Pulsado(pbZoom) ? alto : -alto));
    FiltrarIncidenciasMes();
}

// ---- generation -----------------------------------------------------------------------------

calendario::LiteralesFecha TfRRHHCAOP::literales(const QDate &fecha) const
{
    const QDateTime dia = FechaHora(fecha);
    const QString programaCero = QStringLiteral("30/12/1899");
    const QString cero = LiteralFechaSQL(FechaCero(), programaCero);
    // Where the engine reads the program's own text the bare 0 stays a number; elsewhere it
    // is the zero date, so that a timestamp is never compared with a number.
    const QString ceroDesnudo = cero == programaCero ? QStringLiteral("0") : u'\'' + cero + u'\'';
    return {u'\'' + LiteralFechaSQL(dia, FechaHoraATexto(dia)) + u'\'', u'\'' + cero + u'\'', ceroDesnudo};
}

std::optional<DiaCalendario> TfRRHHCAOP::diaEmpresa(const QDate &fecha)
{
    const plat::QueryResult filas = fGENEINIC->Database().query(
        QStringLiteral("SELECT EsDiaTrabajado, EsDiaFestivo, EsDiaVacaciones, EsDiaPuente, NumeroHorario FROM CALENDAR "
                       "WHERE Codigo = :codigo AND Fecha = :fecha"),
        {{QStringLiteral("codigo"), codigoCalendario_}, {QStringLiteral("fecha"), FechaHora(fecha)}});
    if (filas.isEmpty())
        return std::nullopt;
    const QVariantList &f = filas.rows.first();
    return DiaCalendario{f.at(0).toString(), f.at(1).toString(), f.at(2).toString(), QString(),
                         f.at(3).toString(), f.at(4).toInt(),    QString()};
}

bool TfRRHHCAOP::generarDia(int operario, const QDate &fecha)
{
    const QString baseDatos = QStringLiteral("Database");
    const calendario::LiteralesFecha f = literales(fecha);
    int contrato = 0;
    if (!LeerEntero(ModuloDatos->EjecutarSQL(calendario::SentenciaContrato(operario, f), baseDatos).trimmed(), contrato)
        || contrato == 0)
        return true;
    plat::DataSet &personal = CalendarioPersonal->dataSet();
    const auto campo = [&](const char *nombre) -> plat::Field & { return personal.fieldByName(QString::fromLatin1(nombre)); };
    try {
        if (personal.findKey({operario, FechaHora(fecha)})) {
            personal.edit();
            campo("Situacion").setAsString(QStringLiteral("Regulacion Empleo"));
        } else {
            DiaCalendario dia = calendario::DiaGenerado(fecha, diaEmpresa(fecha), EditSituacion->text());
            const QString bajas = ModuloDatos->EjecutarSQL(calendario::SentenciaBajas(operario, f), baseDatos);
            if (!bajas.trimmed().isEmpty() && !EsRespuestaErrorSQL(bajas))
                dia.situacion = calendario::SituacionDeBajas(bajas.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts));
            personal.append();
            campo("CodigoOperario").setValue(operario);
            campo("Fecha").setValue(FechaHora(fecha));
            campo("EsDiaTrabajado").setAsString(dia.trabajado);
            campo("EsDiaFestivo").setAsString(dia.festivo);
            campo("EsDiaVacaciones").setAsString(dia.vacaciones);
            campo("EsDiaPermiso").setAsString(dia.permiso);
            campo("EsDiaPuente").setAsString(dia.puente);
            campo("Situacion").setAsString(dia.situacion);
        }
        personal.post();
        return true;
    } catch (const std::exception &) {
        if (personal.state() != plat::DataSetState::Browse)
            personal.cancel();
        MensajeAviso(QStringLiteral("¡ Está intentando grabar un calendario que ya existe !"));
        return false;
    }
}

void TfRRHHCAOP::GeneraCalendarioOperario(int Operario, const QString &Desde, const QString &Hasta)
{
    if (familia_ != Familia::Questal)
        return;
    plat::BusyCursor reloj;
    const QDate desde = Desde.isEmpty() ? mostrado_.primerDia() : TextoAFechaHora(Desde).date();
    const QDate hasta = Hasta.isEmpty() ? mostrado_.ultimoDia() : TextoAFechaHora(Hasta).date();
    for (QDate dia = desde; dia <= hasta; dia = dia.addDays(1))
        if (!generarDia(Operario, dia))
            return;
}

QList<int> TfRRHHCAOP::operariosEntre(const QString &desde, const QString &hasta)
{
    const QString respuesta = ModuloDatos->EjecutarSQL(
        QStringLiteral("SELECT CodigoOperario FROM PERSONAL WHERE ")
            + ConstruirCondicionRango(QStringLiteral("CodigoOperario"), desde, hasta, QStringLiteral("ftInteger")),
        QStringLiteral("Database"));
    QList<int> operarios;
    if (EsRespuestaErrorSQL(respuesta))
        return operarios;
    for (const QString &linea : respuesta.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        if (int codigo = 0; LeerEntero(linea.trimmed(), codigo))
            operarios << codigo;
    return operarios;
}

void TfRRHHCAOP::pbGenerarCalendarioClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    if (MensajeConfirmacion(QStringLiteral("Este proceso calcula el calendario del mes actual para todos los operarios. "
                                           "Los calendarios destino se crearán nuevos o se modificarán definitivamente. "
                                           "¿Desea continuar?"))
        == kNo)
        return;
    const QString rango = MensajePedirDato(QStringLiteral("Introduzca el rango de operarios (Desde/Hasta)"));
    const auto cota = [&](int indice) {
        int valor = 0;
        return LeerEntero(ExtraerCampo(indice, rango, QStringLiteral("/")).trimmed(), valor) ? valor : 0;
    };
    const int desde = cota(0);
    const int hasta = cota(1);
    if (desde == 0 || hasta == 0)
        return;
    for (int operario : operariosEntre(QString::number(desde), QString::number(hasta)))
        GeneraCalendarioOperario(operario, QString(), QString());
    refrescarRejilla();
}

void TfRRHHCAOP::pbMarcarDiasRegulacionEmpleoClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    const QString desde = MensajePedirDato(QStringLiteral("Introduzca Desde Operario:"));
    if (!ValidarEntero(desde, QStringLiteral("Desde Operario")))
        return;
    const QString hasta = MensajePedirDato(QStringLiteral("Introduzca Hasta Operario:"));
    if (!ValidarEntero(hasta, QStringLiteral("Hasta Operario")))
        return;
    const QString fechaDesde = MensajePedirDato(QStringLiteral("Introduzca Desde Fecha: "), FechaHoraATexto(FechaHora(Ahora().date())));
    if (!ValidarFecha(fechaDesde, QStringLiteral("Desde Fecha")))
        return;
    const QString fechaHasta = MensajePedirDato(QStringLiteral("Introduzca Hasta Fecha: "), fechaDesde);
    if (!ValidarFecha(fechaHasta, QStringLiteral("Hasta Fecha")))
        return;
    for (int operario : operariosEntre(desde, hasta))
        GeneraCalendarioOperario(operario, fechaDesde, fechaHasta);
    refrescarRejilla();
}

// ---- incidences ----------------------------------------------------------------------------

void TfRRHHCAOP::numerarIncidencia()
{
    IncidenciasCalendario->dataSet().fieldByName(QStringLiteral("Linea")).setValue(
        ModuloDatos->SiguienteCodigo(IncidenciasCalendario->table(), 1));
}

void TfRRHHCAOP::IncidenciasCalendarioNewRecord(plat::DataSet &DataSet)
{
    DBGrid1->setSelectedIndex(0);
    DataSet.fieldByName(QStringLiteral("CodigoOperario")).setValue(mostrado_.operario);
    numerarIncidencia();
}

void TfRRHHCAOP::DBGrid1ColExit(QObject *)
{
    plat::DataSet &incidencias = IncidenciasCalendario->dataSet();
    const QDateTime inicio = incidencias.fieldByName(QStringLiteral("HoraInicio")).value().toDateTime();
    const QDateTime final_ = incidencias.fieldByName(QStringLiteral("HoraFinal")).value().toDateTime();
    if (!inicio.isValid() || !final_.isValid() || EsFechaCero(inicio) || EsFechaCero(final_))
        return;
    if (incidencias.state() == plat::DataSetState::Browse)
        incidencias.edit();
    incidencias.fieldByName(QStringLiteral("Tiempo")).setValue(HoraADecimal(final_) - HoraADecimal(inicio));
    incidencias.post();
}

void TfRRHHCAOP::DBGrid1EditButtonClick(QObject *)
{
    plat::DataSet &incidencias = IncidenciasCalendario->dataSet();
    const QString titulo = QStringLiteral("Fecha ")
        + FechaHoraATexto(incidencias.fieldByName(QStringLiteral("Fecha")).value().toDateTime())
        + QStringLiteral(" - Descripción Ampliada");
    QString texto;
    VisualizarAsignarCampoTexto(incidencias, titulo, QStringLiteral("DescripcionAmpliada"), texto);
    if (incidencias.state() == plat::DataSetState::Browse)
        incidencias.edit();
    incidencias.fieldByName(QStringLiteral("DescripcionAmpliada")).setAsString(texto);
    incidencias.post();
}

void TfRRHHCAOP::BuscarDatosDBEdit(QObject *)
{
    plat::Field *campo = DBGrid1->selectedField();
    if (!campo)
        return;
    plat::DataSet &incidencias = IncidenciasCalendario->dataSet();
    QVariant valor;
    if (campo->fieldName().compare(QLatin1String("GrupoAnalisis"), Qt::CaseInsensitive) == 0) {
        const QVariant clave = BuscarRegistro(QStringLiteral("GRANALIS"), 1);
        if (clave.isNull() || clave.toList().isEmpty())
            return;
        valor = clave.toList().first();
    } else if (campo->fieldName().compare(QLatin1String("Color"), Qt::CaseInsensitive) == 0) {
        if (!ModuloDatos->ColorDialog1->Execute())
            return;
        valor = ModuloDatos->ColorDialog1->Color;
    } else
        return;
    if (incidencias.state() == plat::DataSetState::Browse)
        incidencias.edit();
    campo->setValue(valor);
}

void TfRRHHCAOP::DBGrid1DrawColumnCell(QObject *, const QRect &Rect, int, plat::GridColumn *Column,
                                       plat::GridCellState)
{
    if (!Column || Column->FieldName.compare(QLatin1String("Color"), Qt::CaseInsensitive) != 0)
        return;
    const QString texto = DBGrid1->drawnText(Column->FieldName);
    int color = 0;
    if (!LeerEntero(QString(texto).remove(QLatin1Char('.')), color))
        return;
    plat::Canvas &canvas = *DBGrid1->canvas();
    canvas.brush().Color = color;
    canvas.FillRect(Rect);
    canvas.TextOut(Rect.left() + 2, Rect.top() + 2, texto);
}

void TfRRHHCAOP::BuscarClick(QObject *)
{
    const QVariant clave = BuscarYPosicionarTabla(CalendarioPersonal->table(), 0);
    if (clave.isNull())
        return;
    plat::DataSet &personal = CalendarioPersonal->dataSet();
    mostrado_.operario = int(personal.fieldByName(QStringLiteral("CodigoOperario")).asInteger());
    MostrarMes(personal.fieldByName(QStringLiteral("Fecha")).value().toDateTime().date());
}

// ---- deleting -------------------------------------------------------------------------------

void TfRRHHCAOP::borrar(const QString &tabla, int mes, int dia)
{
    plat::BusyCursor reloj;
    ModuloDatos->EjecutarSQL(calendario::SentenciaBorrar(tabla, mostrado_.operario, mostrado_.anyo, mes, dia),
                             QStringLiteral("Database"));
}

void TfRRHHCAOP::pbEliminarClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    if (MensajeConfirmacion(QStringLiteral("¿ Realmente desea eliminar el mes del calendario ?")) == kNo)
        return;
    borrar(QStringLiteral("CALENOPE"), mostrado_.mes);
    refrescarRejilla();
    if (MensajeConfirmacion(QStringLiteral("¿ Realmente desea eliminar las incidencias del mes ?")) == kNo)
        return;
    borrar(QStringLiteral("INCCALOP"), mostrado_.mes);
    IncidenciasCalendario->dataSet().refresh();
}

void TfRRHHCAOP::pbEliminarEjercicioClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    if (MensajeConfirmacion(QStringLiteral("¿ Realmente desea eliminar el año del calendario ?")) == kNo)
        return;
    borrar(QStringLiteral("CALENOPE"));
    refrescarRejilla();
    if (MensajeConfirmacion(QStringLiteral("¿ Realmente desea eliminar las incidencias del año ?")) == kNo)
        return;
    borrar(QStringLiteral("INCCALOP"));
    IncidenciasCalendario->dataSet().refresh();
}

void TfRRHHCAOP::EliminardiaClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    if (MensajeConfirmacion(QStringLiteral("¿Realmente desea despersonalizar el día seleccionado del calendario?")) == kNo)
        return;
    borrar(QStringLiteral("CALENOPE"), mostrado_.mes, SGrid->cell(SGrid->col(), SGrid->row()).toInt());
    refrescarRejilla();
}
