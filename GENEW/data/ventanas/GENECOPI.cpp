#include "GENEW/data/ventanas/GENECOPI.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/AperturaDataSet.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "platform/data/DataSetCopy.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QVBoxLayout>

TfGENECOPI *fGENECOPI = nullptr;

namespace {

const QString kTodas = QStringLiteral("Todas");

} // namespace

TfGENECOPI::TfGENECOPI(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENECOPI"));
    setCaption(QStringLiteral("Copiar datos desde la empresa"));
    resize(360, 400);
    setPosition(plat::poScreenCenter);
    setKeyPreview(true);

    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);

    PanelEmpresaOrigen = make<plat::Panel>(QStringLiteral("PanelEmpresaOrigen"), this);
    PanelEmpresaOrigen->setFixedHeight(36);
    Label2 = make<plat::Label>(QStringLiteral("Label2"), PanelEmpresaOrigen);
    Label2->setCaption(QStringLiteral("Empresa Origen:"));
    EditEmpresaOrigen = make<plat::Edit>(QStringLiteral("EditEmpresaOrigen"), PanelEmpresaOrigen);
    EditEmpresaOrigen->setReadOnly(true);
    EditEmpresaOrigen->setColor(plat::clBtnFace);
    auto *origen = new QHBoxLayout(PanelEmpresaOrigen);
    origen->addWidget(Label2);
    origen->addWidget(EditEmpresaOrigen, 1);

    PanelMetodo = make<plat::Panel>(QStringLiteral("PanelMetodo"), this);
    PanelMetodo->setFixedHeight(36);
    Label1 = make<plat::Label>(QStringLiteral("Label1"), PanelMetodo);
    Label1->setCaption(QStringLiteral("Método"));
    AgregarYSustituir = make<plat::RadioButton>(QStringLiteral("AgregarYSustituir"), PanelMetodo);
    AgregarYSustituir->setCaption(QStringLiteral("Agregar y Sustituir"));
    AgregarYSustituir->setChecked(true);
    Agregar = make<plat::RadioButton>(QStringLiteral("Agregar"), PanelMetodo);
    Agregar->setCaption(QStringLiteral("Agregar"));
    Sustituir = make<plat::RadioButton>(QStringLiteral("Sustituir"), PanelMetodo);
    Sustituir->setCaption(QStringLiteral("Sustituir"));
    auto *metodo = new QHBoxLayout(PanelMetodo);
    metodo->addWidget(Label1);
    metodo->addWidget(AgregarYSustituir);
    metodo->addWidget(Agregar);
    metodo->addWidget(Sustituir);
    metodo->addStretch();

    P2 = make<plat::Panel>(QStringLiteral("P2"), this);
    LabelLista = make<plat::Label>(QStringLiteral("LabelLista"), P2);
    LabelLista->setCaption(QStringLiteral(" Copiar Datos a las Empresas..."));
    ListaEmpresas = make<plat::ListBox>(QStringLiteral("ListaEmpresas"), P2);
    ListaEmpresas->setMultiSelect(true);
    auto *lista = new QVBoxLayout(P2);
    lista->setContentsMargins(4, 4, 4, 4);
    lista->addWidget(LabelLista);
    lista->addWidget(ListaEmpresas, 1);

    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    PanelControl->setFixedHeight(40);
    pbConforme = make<plat::Button>(QStringLiteral("pbConforme"), PanelControl);
    pbConforme->setCaption(QStringLiteral("&Conforme"));
    pbConforme->setHint(QStringLiteral("Iniciar el proceso"));
    pbConforme->setModalResult(plat::mrOk);
    pbCancelar = make<plat::Button>(QStringLiteral("pbCancelar"), PanelControl);
    pbCancelar->setCaption(QStringLiteral("&Cancelar"));
    pbCancelar->setModalResult(plat::mrCancel);
    pbCancelar->setCancelButton(true);
    auto *botones = new QHBoxLayout(PanelControl);
    botones->addStretch();
    botones->addWidget(pbConforme);
    botones->addWidget(pbCancelar);
    botones->addStretch();

    columna->addWidget(PanelEmpresaOrigen);
    columna->addWidget(PanelMetodo);
    columna->addWidget(P2, 1);
    columna->addWidget(PanelControl);

    Empresa = make<plat::TableComponent>(QStringLiteral("Empresa"), this);
    Empresa->setTableName(QStringLiteral("EMPRESA"));
    TablaDestino = make<plat::TableComponent>(QStringLiteral("TablaDestino"), this);

    OnShow = [this](QObject *) { FormShow(); };
    OnKeyPress = plat::handler(this, &TfGENECOPI::FormKeyPress);
}

// The global names only a living form.
TfGENECOPI::~TfGENECOPI()
{
    if (fGENECOPI == this)
        fGENECOPI = nullptr;
}

void TfGENECOPI::FormShow()
{
    if (!fGENEINIC)
        return;
    fGENEINIC->AplicarAspecto(this);
    fGENEINIC->TraducirFormulario(this);
}

void TfGENECOPI::FormKeyPress(QObject *, QChar &Key)
{
    if (Key == QChar(u'\r')) {
        Key = QChar();
        selectNext();
    }
}

QString TfGENECOPI::traducir(const QString &texto) const
{
    return ModuloDatos ? ModuloDatos->Traducir(texto) : texto;
}

void TfGENECOPI::CopiarTabla(plat::TableDataSet &Tabla)
{
    CopiarDatosEmpresas(Tabla, {});
}

void TfGENECOPI::CopiarTabla(QObject *Tabla)
{
    if (auto *componente = qobject_cast<plat::TableComponent *>(Tabla))
        CopiarTabla(componente->table());
}

void TfGENECOPI::CopiarTablaConDetalle(plat::TableDataSet &Tabla, plat::TableDataSet &Detalle)
{
    CopiarDatosEmpresas(Tabla, {&Detalle});
}

void TfGENECOPI::CopiarTablaConDetalles(plat::TableDataSet &Tabla, plat::TableDataSet &Detalle1,
                                        plat::TableDataSet &Detalle2)
{
    CopiarDatosEmpresas(Tabla, {&Detalle1, &Detalle2});
}

void TfGENECOPI::CopiarDatosEmpresas(plat::TableDataSet &Tabla, const QList<plat::TableDataSet *> &Detalles)
{
    // Other companies' tables are written through connections of their own, which the
    // calling window's read-only tables do not guard.
    if (!EscrituraAutorizada(Tabla))
        return;
    if (MensajeConfirmacion(QStringLiteral("¡Esta opción copiará todos los registros activos de la tabla!. Puede utilizar "
                                           "previamente opciones de filtrado para limitar los registros a copiar. ¿Desea "
                                           "continuar?"))
        != QLatin1String("SI"))
        return;
    if (MensajeConfirmacion(QStringLiteral("¿Está Vd. realmente seguro de querer copiar todos los registros activos de la tabla?"))
        != QLatin1String("SI"))
        return;
    const QList<Destino> destinos = prepararLista();
    ListaEmpresas->setFocus();
    if (ShowModal() != plat::mrOk) {
        Empresa->table().close();
        return;
    }
    const QList<int> elegidas = empresasElegidas(destinos);
    Empresa->table().close();
    plat::BusyCursor reloj;
    for (int empresa : elegidas)
        copiarAEmpresa(empresa, Tabla, Detalles);
}

QList<TfGENECOPI::Destino> TfGENECOPI::prepararLista()
{
    LabelLista->setCaption(u' ' + traducir(QStringLiteral("Copiar Datos a las Empresas...")));
    PanelEmpresaOrigen->show();
    PanelMetodo->show();
    plat::TableDataSet &empresas = Empresa->table();
    empresas.close();
    if (fGENEINIC)
        fGENEINIC->AbrirDataSet(empresas);
    const int actual = fGENEINIC ? fGENEINIC->Conexiones().EmpresaActual : 0;
    QList<Destino> destinos;
    QString nombreActual;
    QStringList items{kTodas};
    if (empresas.active()) {
        for (empresas.first(); !empresas.eof(); empresas.next()) {
            const Destino d{int(empresas.fieldByName(QStringLiteral("Codigo")).asInteger()),
                            empresas.fieldByName(QStringLiteral("Nombre")).asString()};
            if (d.codigo == actual) {
                nombreActual = d.nombre;
                continue;
            }
            destinos << d;
            items << d.nombre;
        }
    }
    EditEmpresaOrigen->setText(nombreActual);
    ListaEmpresas->setItems(items);
    setCaption(traducir(QStringLiteral("Copiar datos desde la empresa")) + u' ' + nombreActual);
    return destinos;
}

// Each list row after "Todas" stands for its own company, so two companies of one name are
// told apart by the row chosen.
QList<int> TfGENECOPI::empresasElegidas(const QList<Destino> &destinos) const
{
    const bool todas = ListaEmpresas->count() > 0 && ListaEmpresas->selected(0);
    QList<int> elegidas;
    for (int i = 0; i < destinos.size(); ++i)
        if (todas || ListaEmpresas->selected(i + 1))
            elegidas << destinos[i].codigo;
    return elegidas;
}

void TfGENECOPI::avisarFallo(int empresa)
{
    const QString texto = QStringLiteral("No se han podido copiar los registros a la empresa $Empresa");
    const QString variables = QStringLiteral("Empresa=") + QString::number(empresa);
    MensajeAviso(ModuloDatos ? ModuloDatos->TraducirTexto(texto, variables)
                             : QString(texto).replace(QStringLiteral("$Empresa"), QString::number(empresa)));
}

// TablaDestino on the company's table of the source's name: a missing table is made from its
// definition and, without one, from the source's structure. An existing table is never
// recreated or emptied. Null when it cannot be opened.
plat::Connection *TfGENECOPI::abrirDestino(int empresa, plat::TableDataSet &origen)
{
    plat::TableDataSet &destino = TablaDestino->table();
    destino.close();
    DataSetAbribleDe<plat::TableDataSet> abrible(destino, objectName());
    try {
        fGENEINIC->AsignarBaseDatos(abrible, empresa);
        destino.setTableName(origen.tableName());
        // A company whose database cannot be reached is this copy's failure, not the
        // program's: the opening of a table reports that as an error that ends the run.
        if (plat::Connection *conexion = destino.connection(); conexion && !conexion->isOpen())
            conexion->open();
        if (!fGENEINIC->AbrirDataSet(destino)) {
            plat::Connection *conexion = destino.connection();
            if (!conexion || conexion->tableExists(origen.tableName()))
                return nullptr;
            plat::Connection &fuente = *origen.connection();
            conexion->createTable({origen.tableName(), fuente.columns(origen.tableName()), fuente.indexes(origen.tableName())});
            destino.open();
        }
    } catch (const gp::Abort &) {
        throw;
    } catch (const gp::Error &) {
        return nullptr;
    }
    plat::Connection *conexion = destino.connection();
    destino.close();
    return conexion;
}

plat::CopyMode TfGENECOPI::modoElegido() const
{
    return Agregar->isChecked() ? plat::CopyMode::Append
        : Sustituir->isChecked() ? plat::CopyMode::Update
                                 : plat::CopyMode::AppendAndUpdate;
}

bool TfGENECOPI::copiarFilas(plat::TableDataSet &origen, plat::Connection &destino)
{
    try {
        plat::copyRecords(origen, destino, origen.tableName(), modoElegido());
    } catch (const gp::Abort &) {
        throw;
    } catch (const gp::Error &) {
        return false;
    }
    return true;
}

void TfGENECOPI::copiarAEmpresa(int empresa, plat::TableDataSet &tabla, const QList<plat::TableDataSet *> &detalles)
{
    plat::Connection *destino = abrirDestino(empresa, tabla);
    if (!destino)
        avisarFallo(empresa);
    if (std::none_of(detalles.begin(), detalles.end(), [](plat::TableDataSet *d) { return d != nullptr; })) {
        if (destino && !copiarFilas(tabla, *destino))
            avisarFallo(empresa);
        return;
    }
    // Each master record goes with its details' rows: the details follow the master's record.
    const plat::Bookmark posicion = tabla.bookmark();
    QList<plat::CopiedTable> tablas{{&tabla, destino, tabla.tableName()}};
    tabla.first();
    for (plat::TableDataSet *detalle : detalles) {
        if (!detalle || tabla.eof())
            continue;
        plat::Connection *destinoDetalle = abrirDestino(empresa, *detalle);
        if (!destinoDetalle)
            avisarFallo(empresa);
        tablas << plat::CopiedTable{detalle, destinoDetalle, detalle->tableName()};
    }
    try {
        plat::copyWithDetails(tablas, modoElegido(), [&](int, const gp::Error &) { avisarFallo(empresa); });
    } catch (const gp::Abort &) {
        throw;
    } catch (const gp::Error &) {
        avisarFallo(empresa);
    }
    if (posicion.isValid() && tabla.bookmarkValid(posicion))
        tabla.gotoBookmark(posicion);
}
