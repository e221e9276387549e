#include "GENEW/data/ventanas/GENEBUSA.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/modulo/MarcoBusqueda.h"
#include "GENEW/data/servicios/busqueda/SentenciaBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/ValueText.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Dialect.h"
#include "platform/ui/Canvas.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TfGENEBUSA *fGENEBUSA = nullptr;

TfGENEBUSA::TfGENEBUSA(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEBUSA"));
    setCaption(QStringLiteral("Búsqueda por Aproximación en la tabla"));
    setKeyPreview(true);
    setPosition(plat::poScreenCenter);
    resize(720, 440);

    Splitter1 = make<plat::Splitter>(QStringLiteral("Splitter1"), Qt::Horizontal, this);
    Panel3 = make<plat::Panel>(QStringLiteral("Panel3"), Splitter1);
    ValueListEditor = make<plat::ValueListEditor>(QStringLiteral("ValueListEditor"), Panel3);
    pbBuscar = make<plat::Button>(QStringLiteral("pbBuscar"), Panel3);
    pbBuscar->setCaption(QStringLiteral("Buscar"));
    auto *valores = new QVBoxLayout(Panel3);
    valores->setContentsMargins(4, 4, 4, 4);
    valores->addWidget(ValueListEditor, 1);
    valores->addWidget(pbBuscar);

    Panel2 = make<plat::Panel>(QStringLiteral("Panel2"), Splitter1);
    pbConforme = make<plat::Button>(QStringLiteral("pbConforme"), Panel2);
    pbConforme->setCaption(QStringLiteral("&Conforme"));
    pbConforme->setModalResult(plat::mrOk);
    pbCancelar = make<plat::Button>(QStringLiteral("pbCancelar"), Panel2);
    pbCancelar->setCaption(QStringLiteral("C&ancelar"));
    pbCancelar->setCancelButton(true);
    pbCancelar->setModalResult(plat::mrCancel);
    DBGrid1 = make<plat::DBGrid>(QStringLiteral("DBGrid1"), Panel2);
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(pbConforme);
    botones->addWidget(pbCancelar);
    auto *respuesta = new QVBoxLayout(Panel2);
    respuesta->setContentsMargins(4, 4, 4, 4);
    respuesta->addWidget(DBGrid1, 1);
    respuesta->addLayout(botones);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({240, 480});
    auto *todo = new QVBoxLayout(this);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->addWidget(Splitter1);

    Query1 = make<plat::QueryComponent>(QStringLiteral("Query1"), this);
    DataSource1 = make<plat::DataSource>(QStringLiteral("DataSource1"), this);
    DataSource1->setDataSet(Query1);
    DBGrid1->setDataSource(DataSource1);

    using plat::handler;
    OnCreate = handler(this, &TfGENEBUSA::FormCreate);
    OnDestroy = handler(this, &TfGENEBUSA::FormDestroy);
    OnShow = handler(this, &TfGENEBUSA::FormShow);
    OnActivate = handler(this, &TfGENEBUSA::FormActivate);
    OnKeyDown = handler(this, &TfGENEBUSA::FormKeyDown);
    OnKeyPress = handler(this, &TfGENEBUSA::FormKeyPress);
    pbBuscar->OnClick = handler(this, &TfGENEBUSA::pbBuscarClick);
    DBGrid1->OnKeyDown = handler(this, &TfGENEBUSA::DBGrid1KeyDown);
    DBGrid1->OnDblClick = handler(this, &TfGENEBUSA::DBGrid1DblClick);
    DBGrid1->OnDrawColumnCell = handler(this, &TfGENEBUSA::DBGrid1DrawColumnCell);
    DBGrid1->setDefaultDrawing(false);
    ValueListEditor->OnDrawCell = handler(this, &TfGENEBUSA::ValueListEditorDrawCell);
}

TfGENEBUSA::~TfGENEBUSA()
{
    if (fGENEBUSA == this)
        fGENEBUSA = nullptr;
}

void TfGENEBUSA::FormCreate(QObject *)
{
    columnas_.clear();
    if (marcoBusqueda().valor().PrepararFormulario)
        marcoBusqueda().valor().PrepararFormulario(this);
}

void TfGENEBUSA::FormDestroy(QObject *) { columnas_.clear(); }

void TfGENEBUSA::FormShow(QObject *)
{
    if (marcoBusqueda().valor().TraducirFormulario)
        marcoBusqueda().valor().TraducirFormulario(this);
}

void TfGENEBUSA::FormActivate(QObject *) { update(); }

void TfGENEBUSA::prepararBusqueda(const QString &tabla)
{
    Query1->query().close();
    tabla_ = ModuloDatos->QuitarPropietarioTabla(tabla);
    Query1->setDatabaseName(EsTablaGeneral(tabla_) ? fGENEINIC->DatabaseGeneral().databaseName() : QString());
    setCaption(QStringLiteral("Búsqueda por Aproximación en la tabla ") + tabla_);
    columnas_.clear();
    for (const QString &columna : DividirLineas(ModuloDatos->ListaColumnasTabla(tabla_)))
        if (!ModuloDatos->EsCampoNoVisible(columna))
            columnas_ << columna;
    QStringList filas;
    for (const QString &columna : columnas_)
        filas << columna + u'=';
    ValueListEditor->setStrings(filas);
    ValueListEditor->SetFocus();
    setModalResult(plat::mrNone);
}

QString TfGENEBUSA::Buscar(const QString &tabla)
{
    prepararBusqueda(tabla);
    ShowModal();
    return resultado();
}

QString TfGENEBUSA::resultado()
{
    plat::DataSet &filas = Query1->query();
    if (modalResult() != plat::mrOk || !filas.active() || filas.isEmpty())
        return QString();
    const QStringList claves = ModuloDatos->CamposClaveSQL(tabla_).split(u';', Qt::SkipEmptyParts);
    QStringList textos;
    for (const QString &clave : claves) {
        const plat::Field *campo = filas.findField(clave);
        const QString texto = campo ? campo->asString() : QString();
        textos << (texto.isEmpty() ? QStringLiteral("NULL") : texto);
    }
    if (claves.isEmpty() && filas.fieldCount() > 0)
        textos << filas.field(0).asString();
    return textos.join(QStringLiteral("\r\n"));
}

void TfGENEBUSA::pbBuscarClick(QObject *)
{
    QList<QPair<QString, QString>> valores;
    for (const QString &columna : columnas_)
        valores.append({columna, ValueListEditor->value(columna)});
    const SentenciaBusqueda sentencia(plat::Dialect::forEngine(fGENEINIC->Configuracion.basesDatos.Motor));
    const QString condicion = sentencia.condicionAproximacion(valores);
    if (condicion.isEmpty()) {
        MensajeInformacion(QStringLiteral("¡Debe introducir alguna restricción para realizar la búsqueda!"));
        return;
    }
    ultimaSentencia_ = sentencia.sentenciaAproximacion(tabla_, condicion);
    Query1->query().setSql(ultimaSentencia_);
    if (!ModuloDatos->AbrirConsultaADO(Query1->query()))
        return;
    plat::DataSet &filas = Query1->query();
    for (int i = 0; i < filas.fieldCount(); ++i) {
        plat::Field &campo = filas.field(i);
        if (ModuloDatos->EsCampoNoVisible(campo.fieldName()))
            campo.visible = false;
        campo.displayLabel = AbreviarNombreCampo(campo.fieldName(), 1);
    }
    DBGrid1->clearColumns();
    if (marcoBusqueda().valor().TraducirFormulario)
        marcoBusqueda().valor().TraducirFormulario(this);
    DBGrid1->SetFocus();
}

// The form's own focus, which holds while the window is not the active one (a key sent to it
// by the desktop's input method or a test).
bool TfGENEBUSA::rejillaConFoco() const { return activeControl() == DBGrid1; }

void TfGENEBUSA::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    if (Key == plat::VK_RETURN && rejillaConFoco())
        return;
    if (marcoBusqueda().valor().ProcesarTeclaFormulario)
        marcoBusqueda().valor().ProcesarTeclaFormulario(Sender, Key, Shift);
}

void TfGENEBUSA::FormKeyPress(QObject *Sender, QChar &Key)
{
    if (Key == u'\r' && rejillaConFoco())
        return;
    if (marcoBusqueda().valor().ProcesarTeclaPulsada)
        marcoBusqueda().valor().ProcesarTeclaPulsada(Sender, Key);
}

// The value editor of the approximate search edits no dataset: nothing to search from it.
void TfGENEBUSA::BuscarDatosDBEdit(QObject *) {}

void TfGENEBUSA::DBGrid1KeyDown(QObject *, int &Key, plat::ShiftState)
{
    if (Key == plat::VK_RETURN) {
        Key = 0;
        setModalResult(plat::mrOk);
    }
}

void TfGENEBUSA::DBGrid1DblClick(QObject *) { setModalResult(plat::mrOk); }

void TfGENEBUSA::DBGrid1DrawColumnCell(QObject *, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                                       plat::GridCellState State)
{
    plat::Field *campo = Column ? Column->field() : nullptr;
    const bool hora = campo && campo->dataType() == ftDateTime
        && campo->fieldName().contains(QLatin1String("Hora"), Qt::CaseInsensitive);
    if (!campo || (campo->dataType() != ftFloat && !hora)) {
        DBGrid1->DefaultDrawColumnCell(Rect, DataCol, Column, State);
        return;
    }
    plat::Canvas &lienzo = *DBGrid1->canvas();
    const bool seleccionada = State.testFlag(plat::gdsSelected);
    lienzo.brush().Color = seleccionada ? plat::clHighlight : plat::clWindow;
    lienzo.font().Color = seleccionada ? plat::clHighlightText : plat::clWindowText;
    lienzo.FillRect(Rect);
    const QString texto = DBGrid1->drawnText(campo->fieldName());
    if (hora) {
        const QString soloHora = texto.section(u' ', -1);
        lienzo.TextOut(Rect.left() + 2, Rect.top() + 2, soloHora);
        return;
    }
    const QString formato = ModuloDatos->FormatoNumericoDeCampo.valor() ? ModuloDatos->FormatoNumericoDeCampo.valor()(campo->fieldName())
                                                                : QString();
    const QString cifra = formato.isEmpty() ? texto : plat::formatFloat(formato, TextoANumero(texto));
    lienzo.TextOut(Rect.right() - lienzo.TextWidth(cifra) - 1, Rect.top() + 2, cifra);
}

void TfGENEBUSA::ValueListEditorDrawCell(QObject *, int ACol, int ARow, const QRect &Rect, plat::GridDrawState State)
{
    if (ARow == 0) {
        ValueListEditor->defaultDrawCell(ACol, ARow, Rect, State);
        return;
    }
    plat::Canvas &lienzo = *ValueListEditor->canvas();
    lienzo.brush().Color = plat::clWindow;
    lienzo.FillRect(Rect);
    QString texto = ValueListEditor->cell(ACol, ARow);
    if (ACol == 0) {
        lienzo.font().Color = plat::clNavy;
        texto = AbreviarNombreCampo(ModuloDatos->Traducir(texto), 1);
    } else {
        lienzo.font().Color = plat::clBlack;
    }
    lienzo.TextOut(Rect.left() + 4, Rect.top() + 2, texto);
}
