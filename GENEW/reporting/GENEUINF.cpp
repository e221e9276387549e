#include "GENEW/reporting/GENEUINF.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/consultas/CasillasVariables.h"
#include "GENEW/reporting/consultas/NombreAlmacenado.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "GENEW/reporting/informes/Informe.h"
#include "GENEW/reporting/personalizados/DefinicionInforme.h"
#include "GENEW/reporting/personalizados/SentenciaInforme.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/RutinasComponentes.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/Errores.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/QueryDataSet.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TfGENEUINF *fGENEUINF = nullptr;
QString NombreInforme;

namespace {

const QString kTipoInforme = QStringLiteral("GeneradorInformes");
const QString kValidacionIncorrecta = QStringLiteral("Error: Validación Incorrecta");
const QString kConsultaFallida = QStringLiteral("Error: No ha sido posible realizar la consulta SQL");
constexpr int kAnchoInterior = 372;   // the boxes' column with the labels' left margin on each side
constexpr int kArribaInterior = 24;   // below the panel's caption
constexpr int kMarcoVentana = 34;

QString respuestaEmpresa(const QString &sql)
{
    const QString respuesta = ModuloDatos ? ModuloDatos->EjecutarSQL(sql, QStringLiteral("Database")) : QString();
    return EsRespuestaErrorSQL(respuesta) ? QString() : respuesta;
}

// The result field names of a sum or group list: a title's text, else the column name.
QStringList camposResultado(const QStringList &elementos)
{
    QStringList campos;
    for (const QString &elemento : elementos)
        campos << QString(NombreCampoResultado(elemento)).remove(u'\'');
    return campos;
}

} // namespace

TfGENEUINF::TfGENEUINF(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fGENEUINF"), QStringLiteral("Informe Personalizado")),
      Informe(NombreInforme), instancia_(fGENEUINF, this)
{
    construirPaneles();
    OnCreate = [this](QObject *s) { FormCreate(s); };
    OnShow = [this](QObject *s) { FormShow(s); };
    OnActivate = [this](QObject *s) { FormActivate(s); };
    OnResize = [this](QObject *s) { FormResize(s); };
    OnClose = [this](QObject *s, plat::CloseAction &a) { FormClose(s, a); };
    setKeyPreview(true);
    OnKeyDown = [](QObject *Sender, int &Key, plat::ShiftState Shift) {
        if (fGENEINIC)
            fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
    };
    OnKeyPress = [](QObject *Sender, QChar &Key) {
        if (fGENEINIC)
            fGENEINIC->ProcesarTeclaPulsada(Sender, Key);
    };
}

TfGENEUINF::~TfGENEUINF() = default;

void TfGENEUINF::construirPaneles()
{
    auto *caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);

    PanelParametros = make<plat::Panel>(QStringLiteral("PanelParametros"), this);
    LBPanelParametros = make<plat::Label>(QStringLiteral("LBPanelParametros"), PanelParametros);
    LBPanelParametros->setCaption(QStringLiteral("Introduzca los valores de las restricciones del informe"));
    LBPanelParametros->setAlignment(plat::taCenter);
    PanelParametrosInterno = make<plat::Panel>(QStringLiteral("PanelParametrosInterno"), PanelParametros);
    PanelParametrosInterno->resize(kAnchoInterior, 2 * 24);

    PanelOtrasOpciones = make<plat::Panel>(QStringLiteral("PanelOtrasOpciones"), this);
    PanelOtrasOpciones->setFixedHeight(44);
    auto *etiquetaOpciones = make<plat::Label>(QStringLiteral("LBOtrasOpciones"), PanelOtrasOpciones);
    etiquetaOpciones->setCaption(QStringLiteral("Otras opciones"));
    etiquetaOpciones->setGeometry(8, 4, 200, 15);
    ListarSoloTotales = make<plat::CheckBox>(QStringLiteral("ListarSoloTotales"), PanelOtrasOpciones);
    ListarSoloTotales->setCaption(QStringLiteral("Listar Solo Totales"));
    ListarSoloTotales->move(24, 20);
    ListarSoloTotales->adjustSize();

    PanelVisualizacionPrevia = make<plat::Panel>(QStringLiteral("PanelVisualizacionPrevia"), this);
    PanelVisualizacionPrevia->setFixedHeight(30);
    VisualizacionPrevia = make<plat::CheckBox>(QStringLiteral("VisualizacionPrevia"), PanelVisualizacionPrevia);
    VisualizacionPrevia->setCaption(QStringLiteral("Visualización Previa"));
    VisualizacionPrevia->setChecked(true);
    VisualizacionPrevia->move(24, 5);
    VisualizacionPrevia->adjustSize();

    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    PanelControl->setFixedHeight(60);
    auto *control = new QVBoxLayout(PanelControl);
    control->setContentsMargins(0, 4, 0, 0);
    control->setSpacing(4);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    const auto boton = [&](const QString &nombre, const QString &texto, const QString &ayuda) {
        auto *b = make<plat::SpeedButton>(nombre, PanelControl);
        b->setCaption(texto);
        b->setHint(ayuda);
        b->setFixedSize(90, 28);
        botones->addWidget(b);
        return b;
    };
    pbListar = boton(QStringLiteral("pbListar"), QStringLiteral("&Listar"), QStringLiteral("Listar por impresora o visualizar en pantalla"));
    pbSalir = boton(QStringLiteral("pbSalir"), QStringLiteral("&Salir"), QStringLiteral("Salir sin listar"));
    botones->addStretch();
    control->addLayout(botones);
    StatusBar1 = make<plat::StatusBar>(QStringLiteral("StatusBar1"), PanelControl);
    control->addWidget(StatusBar1);
    pbListar->OnClick = [this](QObject *s) { pbListarClick(s); };
    pbSalir->OnClick = [this](QObject *s) { pbSalirClick(s); };

    caja->addWidget(PanelParametros, 1);
    caja->addWidget(PanelOtrasOpciones);
    caja->addWidget(PanelVisualizacionPrevia);
    caja->addWidget(PanelControl);

    QryConsultasSQL = make<plat::QueryComponent>(QStringLiteral("QryConsultasSQL"), this);
    QryConsultasSQL->query().setSqlOrigin(plat::SqlOrigin::Program);
    // The rows go straight from the engine's statement to ClientDataSet1, never held twice.
    QryConsultasSQL->query().setStepRows(true);
    DataSetProvider1 = std::make_unique<plat::DataSetProvider>(&QryConsultasSQL->query());
    DataSetProvider1->setPassThrough(true);
    ClientDataSet1 = make<plat::ClientDataSetComponent>(QStringLiteral("ClientDataSet1"), this);
    ClientDataSet1->clientDataSet().setProvider(DataSetProvider1.get());
}

// ---- creation and the panel ------------------------------------------------------------------

QString TfGENEUINF::NombreOriginalInforme(const QString &nombre) const
{
    return NombreAlmacenadoDeTitulo(nombre, kTipoInforme);
}

void TfGENEUINF::FormCreate(QObject *)
{
    if (fGENEINIC)
        fGENEINIC->PrepararFormulario(this);
    NombreInforme = NombreOriginalInforme(NombreInforme);
    Informe = NombreInforme;
    const QString condicion = QStringLiteral(" FROM FILTRO   WHERE NombreTabla = ") + Entrecomillar(kTipoInforme)
        + QStringLiteral("    AND Descripcion = ") + Entrecomillar(Informe);
    SentenciaSQL = Informe.isEmpty() ? QString() : respuestaEmpresa(QStringLiteral("SELECT Filtro") + condicion);
    Instrucciones = SentenciaSQL.isEmpty() ? QString() : respuestaEmpresa(QStringLiteral("SELECT Instrucciones") + condicion);
    if (SentenciaSQL.isEmpty()) {
        MensajeAviso(QStringLiteral("¡El informe no está disponible!"));
        Close();
        return;
    }
    setCaption(Informe);
    CrearPanelRestricciones();
}

void TfGENEUINF::CrearPanelRestricciones()
{
    // In its frame first: the window's height below counts the frame.
    Show();
    liberarCasillas();
    QStringList variables;
    for (const QString &nombre : DividirLineas(ModuloDatos->ParametrosSQL(SentenciaSQL)))
        if (!nombre.isEmpty())
            variables << nombre;
    diseno_ = DisenarPanelInforme(variables);
    PanelParametrosInterno->move(PanelParametrosInterno->x(), kArribaInterior);
    if (variables.isEmpty()) {
        PanelParametrosInterno->setCaption(QStringLiteral("No hay restricciones definidas para este informe"));
    } else {
        PanelParametrosInterno->setCaption(QString());
        PanelParametrosInterno->setBevelOuter(plat::bvNone);
        PanelParametrosInterno->resize(kAnchoInterior, diseno_.interior.height());
        crearCasillasVariables(*this, *PanelParametrosInterno, diseno_, true, EtiquetasVariables, ValoresVariables);
        setHeight(kArribaInterior + PanelParametrosInterno->QWidget::height() + PanelOtrasOpciones->height()
                  + PanelVisualizacionPrevia->height() + PanelControl->height() + kMarcoVentana);
    }
    centrarPanelInterno();
    PanelParametros->setVisible(true);
    plat::FormPlacement colocacion(*this);
    PosicionarControl(colocacion, QStringLiteral("Centro"));
    for (plat::Edit *caja : ValoresVariables)
        if (!caja->isHidden()) {
            caja->setFocus();
            break;
        }
}

void TfGENEUINF::centrarPanelInterno()
{
    LBPanelParametros->setGeometry(0, 4, PanelParametros->QWidget::width(), 15);
    PanelParametrosInterno->move((PanelParametros->QWidget::width() - PanelParametrosInterno->QWidget::width()) / 2,
                                 kArribaInterior);
}

void TfGENEUINF::liberarCasillas()
{
    qDeleteAll(EtiquetasVariables);
    qDeleteAll(ValoresVariables);
    EtiquetasVariables.clear();
    ValoresVariables.clear();
}

void TfGENEUINF::FormShow(QObject *)
{
    if (fGENEINIC)
        fGENEINIC->TraducirFormulario(this);
}

void TfGENEUINF::FormActivate(QObject *)
{
    PanelParametros->update();
    centrarPanelInterno();
}

void TfGENEUINF::FormResize(QObject *)
{
    centrarPanelInterno();
}

void TfGENEUINF::FormClose(QObject *, plat::CloseAction &Action)
{
    liberarCasillas();
    Action = plat::caFree;
}

void TfGENEUINF::BuscarDatosDBEdit(QObject *) {}

void TfGENEUINF::pbSalirClick(QObject *)
{
    Close();
}

// ---- running ----------------------------------------------------------------------------------

void TfGENEUINF::copiarRepetidas()
{
    const QVector<CasillaVariable> &casillas = diseno_.casillas;
    for (int i = 0; i < casillas.size(); ++i) {
        if (casillas[i].visible)
            continue;
        QString valor = casillas[i].valorInicial;
        for (int j = 0; j < casillas.size(); ++j)
            if (casillas[j].visible && casillas[j].variable == VariableBase(casillas[i].variable))
                valor = ValoresVariables[j]->text();
        ValoresVariables[i]->setText(valor);
    }
}

bool TfGENEUINF::ValidarValoresRestricciones(const QStringList &variables)
{
    bool correcto = true;
    for (int i = 0; i < variables.size() && i < diseno_.casillas.size(); ++i) {
        const CasillaVariable &c = diseno_.casillas[i];
        if (c.visible && !ValidarValorVariable(variables[i], ValoresVariables[i]->text(), c.etiqueta))
            correcto = false;
    }
    return correcto;
}

QString TfGENEUINF::EjecutarConsultaInforme()
{
    plat::QueryDataSet &query = QryConsultasSQL->query();
    ClientDataSet1->clientDataSet().emptyRows();
    query.close();
    query.setDatabaseName(QString());   // the company database the session has now
    query.setSql(SentenciaSQL);
    query.clearParams();
    QStringList variables;
    for (const QString &nombre : DividirLineas(ModuloDatos->ParametrosSQL(SentenciaSQL)))
        if (!nombre.isEmpty())
            variables << nombre;
    copiarRepetidas();
    if (!ValidarValoresRestricciones(variables))
        return kValidacionIncorrecta;
    QString valores;
    for (plat::Edit *caja : ValoresVariables)
        valores += caja->text() + u'|';
    // A list's items are bound one text each: typed values never become part of the statement.
    ModuloDatos->AsignarParametrosSQL(query, valores);

    QString resultado;
    plat::BusyCursor reloj;
    fGENEINIC->ConfigurarBarraEstado(StatusBar1, QStringLiteral("Ejecutando la consulta..."));
    try {
        if (ModuloDatos->AbrirConsulta(query)) {
            ClientDataSet1->clientDataSet().open();
            ClientDataSet1->clientDataSet().first();
        } else {
            resultado = kConsultaFallida;
        }
    } catch (const gp::Error &e) {
        resultado = kConsultaFallida + QStringLiteral(". Motivo: ") + e.mensaje();
    }
    query.close();
    fGENEINIC->ConfigurarBarraEstado(StatusBar1, QString());
    return resultado;
}

void TfGENEUINF::pbListarClick(QObject *)
{
    const QString resultado = EjecutarConsultaInforme();
    if (resultado == kValidacionIncorrecta)
        return;
    if (!resultado.isEmpty()) {
        MensajeAviso(resultado);
        return;
    }
    const DefinicionInforme definicion = LeerInstrucciones(Instrucciones);
    const OpcionesInforme &opciones = definicion.opciones;
    TfGENELPRO *listado = plat::createForm<TfGENELPRO>();
    fGENELPRO = listado;
    const auto liberar = [&] {
        listado->Free();
        if (fGENELPRO == listado)
            fGENELPRO = nullptr;
    };
    try {
        listado->SepararPorPaginas = opciones.separarPorPaginas;
        listado->FormatoFicha = opciones.formatoFicha;
        listado->SoloTotales = ListarSoloTotales->isChecked();
        plat::DataSet &datos = ClientDataSet1->dataSet();
        if (opciones.formatoFicha) {
            listado->NumeroColumnasFicha = opciones.numeroColumnasFicha;
            listado->NumeroLineasMemoFicha = opciones.numeroLineasMemoFicha;
            listado->FormatoColumnas.clear();
            listado->Sumatorios = QStringLiteral("Ninguna");
            listado->Grupos.clear();
        } else {
            // Widths that do not match the columns are ignored: every column takes its default.
            listado->FormatoColumnas = definicion.anchosColumnas.isEmpty()
                ? QString()
                : LeerValorDeLista(QStringLiteral("FormatoColumnas"), Instrucciones);
            listado->Sumatorios = camposResultado(definicion.Sumatorios).join(u',');
            listado->Grupos = camposResultado(definicion.Grupos).join(u'+');
            for (int i = 0; i < definicion.anchosColumnas.size() && i < datos.fieldCount(); ++i)
                if (definicion.anchosColumnas[i] == kAnchoColumnaOculta)
                    datos.field(i).tag = 999;   // a group's value prints in its header only
        }
        listado->QuickReport->DataSet = &datos;
        listado->QuickReport->ReportTitle = Informe;
        listado->AjustarPalabras = false;
        listado->QuickReport->page()->Orientation =
            opciones.orientacionApaisada ? QPageLayout::Landscape : QPageLayout::Portrait;
        listado->Fuente = PanelControl->font();
        if (VisualizacionPrevia->isChecked()) {
            listado->QuickReport->Preview();
        } else {
            listado->QuickReport->Prepare();
            ModuloDatos->ImprimirInforme(*listado->QuickReport, QString());
        }
    } catch (...) {
        liberar();
        throw;
    }
    liberar();
}
