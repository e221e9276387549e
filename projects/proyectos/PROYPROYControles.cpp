// The project master's controls: header and tool panels, the three pages, the two grids
// and the chapter grid's popup menu.
#include "projects/proyectos/PROYPROY.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>

namespace {

void enlazar(plat::DataBound *control, plat::DataSource *origen, const QString &campo)
{
    control->setDataSource(origen);
    control->setDataField(campo);
}

} // namespace

void TfPROYPROY::construirCabecera(QWidget *area)
{
    PanelCabecera = make<plat::Panel>(QStringLiteral("PanelCabecera"), area);
    PanelCabecera->setFixedHeight(40);
    const auto etiqueta = [&](const QString &nombre, const QString &texto, int left, int width) {
        auto *l = plat::place(make<plat::Label>(nombre, PanelCabecera), left, 12, width, 16);
        l->setCaption(texto);
        return l;
    };
    LabelCodigo = etiqueta(QStringLiteral("LabelCodigo"), QStringLiteral("Código"), 8, 44);
    EditCodigoProyecto = plat::place(make<plat::DBEdit>(QStringLiteral("EditCodigoProyecto"), PanelCabecera), 56, 8, 110, 24);
    enlazar(EditCodigoProyecto, DataSource1, QStringLiteral("Codigo"));
    LabelDescripcion = etiqueta(QStringLiteral("LabelDescripcion"), QStringLiteral("Descripción"), 176, 70);
    EditDescripcion = plat::place(make<plat::DBEdit>(QStringLiteral("EditDescripcion"), PanelCabecera), 248, 8, 430, 24);
    enlazar(EditDescripcion, DataSource1, QStringLiteral("Descripcion"));
    LabelSituacion = etiqueta(QStringLiteral("LabelSituacion"), QStringLiteral("Situación"), 690, 60);
    EditSituacion = plat::place(make<plat::DBComboBox>(QStringLiteral("EditSituacion"), PanelCabecera), 752, 8, 110, 24);
    EditSituacion->setStyle(plat::ComboBox::csDropDownList);
    EditSituacion->setItems({QStringLiteral("Abierto"), QStringLiteral("Cerrado")});
    enlazar(EditSituacion, DataSource1, QStringLiteral("Situacion"));
}

void TfPROYPROY::construirHerramientas(QWidget *area)
{
    PanelHerramientas = make<plat::Panel>(QStringLiteral("PanelHerramientas"), area);
    PanelHerramientas->setFixedHeight(34);
    auto *fila = new QHBoxLayout(PanelHerramientas);
    fila->setContentsMargins(4, 2, 4, 2);
    fila->setSpacing(2);
    const auto boton = [&](const QString &nombre, QStyle::StandardPixmap icono, const QString &pista) {
        auto *b = make<plat::SpeedButton>(nombre, PanelHerramientas);
        b->setIcon(style()->standardIcon(icono));
        b->setFixedSize(28, 28);
        b->setHint(pista);
        fila->addWidget(b);
        return b;
    };
    pbImprimirDocumento =
        boton(QStringLiteral("pbImprimirDocumento"), QStyle::SP_FileDialogDetailedView, QStringLiteral("Imprimir el documento actual"));
    Modalidad = make<plat::ComboBox>(QStringLiteral("Modalidad"), PanelHerramientas);
    Modalidad->setStyle(plat::ComboBox::csDropDownList);
    Modalidad->setItems({QStringLiteral("Por Orden de Introduccion"), QStringLiteral("Por Fecha de Inicio"),
                         QStringLiteral("Por Capitulo")});
    Modalidad->setItemIndex(0);
    Modalidad->setFixedWidth(180);
    Modalidad->setEnabled(false);
    fila->addWidget(Modalidad);
    VerDias = boton(QStringLiteral("VerDias"), QStyle::SP_FileDialogListView, QStringLiteral("Ver/No Ver Días"));
    VerDias->setGroupIndex(1);
    VerDias->setAllowAllUp(true);
    VerDias->setEnabled(false);
    pbDuplicar = boton(QStringLiteral("pbDuplicar"), QStyle::SP_FileDialogNewFolder,
                       QStringLiteral("Duplicar el documento actual en otro nuevo"));
    pbImprimir = boton(QStringLiteral("pbImprimir"), QStyle::SP_ComputerIcon, QStringLiteral("Imprimir el Gráfico"));
    pbImprimirApaisado = boton(QStringLiteral("pbImprimirApaisado"), QStyle::SP_DesktopIcon,
                               QStringLiteral("Imprimir el Gráfico en formato apaisado"));
    pbImprimir->setEnabled(false);
    pbImprimirApaisado->setEnabled(false);
    pbDocumentoWord = boton(QStringLiteral("pbDocumentoWord"), QStyle::SP_FileIcon,
                            QStringLiteral("Crear/Revisar documento Word adjunto"));
    pbEliminarDocumentoWord = boton(QStringLiteral("pbEliminarDocumentoWord"), QStyle::SP_DialogDiscardButton,
                                    QStringLiteral("Eliminar el documento Word adjunto"));
    pbDocumentacionElectronica = boton(QStringLiteral("pbDocumentacionElectronica"), QStyle::SP_DirOpenIcon,
                                       QStringLiteral("Acceso a la Documentación Electrónica"));
    fila->addStretch(1);
}

void TfPROYPROY::construirPaginas(QWidget *area)
{
    PageControl1 = make<plat::PageControl>(QStringLiteral("PageControl1"), area);
    const auto pagina = [&](const QString &nombre, const QString &titulo) {
        auto *p = make<plat::TabSheet>(nombre, PageControl1);
        p->setCaption(titulo);
        PageControl1->addPage(p);
        return p;
    };
    PagGeneral = pagina(QStringLiteral("PagGeneral"), QStringLiteral("General"));
    PagCapitulos = pagina(QStringLiteral("PagCapitulos"), QStringLiteral("Capítulos (Hitos)"));
    PagGrafico = pagina(QStringLiteral("PagGrafico"), QStringLiteral("Gráfico"));
    construirPaginaGeneral();
    construirRejillaCapitulos();
    construirRejillaGrafico();
}

void TfPROYPROY::construirPaginaGeneral()
{
    QWidget *p = PagGeneral;
    const auto etiqueta = [&](const QString &nombre, const QString &texto, int left, int top) {
        auto *l = plat::place(make<plat::Label>(nombre, p), left, top, 110, 16);
        l->setCaption(texto);
        return l;
    };
    const auto edicion = [&](const QString &nombre, const QString &campo, int left, int top, int width) {
        auto *e = plat::place(make<plat::DBEdit>(nombre, p), left, top, width, 24);
        enlazar(e, DataSource1, campo);
        return e;
    };
    LabelCliente = etiqueta(QStringLiteral("LabelCliente"), QStringLiteral("Cliente"), 8, 14);
    EditCodigoCliente = edicion(QStringLiteral("EditCodigoCliente"), QStringLiteral("CodigoCliente"), 124, 10, 80);
    EditNombreCliente = edicion(QStringLiteral("EditNombreCliente"), QStringLiteral("NombreCliente"), 210, 10, 300);
    LabelPersonaContacto = etiqueta(QStringLiteral("LabelPersonaContacto"), QStringLiteral("Persona Contacto"), 8, 44);
    EditPersonaContacto = edicion(QStringLiteral("EditPersonaContacto"), QStringLiteral("PersonaContacto"), 124, 40, 300);
    LabelTelefono = etiqueta(QStringLiteral("LabelTelefono"), QStringLiteral("Teléfono"), 8, 74);
    EditTelefono = edicion(QStringLiteral("EditTelefono"), QStringLiteral("Telefono"), 124, 70, 200);
    LabelDirector = etiqueta(QStringLiteral("LabelDirector"), QStringLiteral("Director"), 8, 104);
    EditDirector = plat::place(make<plat::DBLookupComboBox>(QStringLiteral("EditDirector"), p), 124, 100, 300, 24);
    enlazar(EditDirector, DataSource1, QStringLiteral("Director"));
    EditDirector->setListSource(DSOperario);
    EditDirector->setKeyField(QStringLiteral("Codigo"));
    EditDirector->setListField(QStringLiteral("Nombre"));
    LabelFechaAceptacion = etiqueta(QStringLiteral("LabelFechaAceptacion"), QStringLiteral("Fecha Aceptación"), 530, 14);
    EditFechaAceptacion = edicion(QStringLiteral("EditFechaAceptacion"), QStringLiteral("FechaAceptacion"), 646, 10, 100);
    LabelFechaEntrega = etiqueta(QStringLiteral("LabelFechaEntrega"), QStringLiteral("Fecha Entrega"), 530, 44);
    EditFechaEntrega = edicion(QStringLiteral("EditFechaEntrega"), QStringLiteral("FechaEntrega"), 646, 40, 100);
    LabelFechaFinalizacion =
        etiqueta(QStringLiteral("LabelFechaFinalizacion"), QStringLiteral("Fecha Finalización"), 530, 74);
    EditFechaFinalizacion =
        edicion(QStringLiteral("EditFechaFinalizacion"), QStringLiteral("FechaFinalizacion"), 646, 70, 100);
    DBMemo1 = plat::place(make<plat::DBMemo>(QStringLiteral("DBMemo1"), p), 8, 136, 860, 240);
    enlazar(DBMemo1, DataSource1, QStringLiteral("DescripcionAmpliada"));
}

void TfPROYPROY::construirRejillaCapitulos()
{
    auto *caja = new QVBoxLayout(PagCapitulos);
    caja->setContentsMargins(0, 0, 0, 0);
    DBGrid1 = make<plat::DBGrid>(QStringLiteral("DBGrid1"), PagCapitulos);
    caja->addWidget(DBGrid1);
    DBGrid1->setDataSource(DataSource2);
    DBGrid1->setDefaultDrawing(false);
    const struct
    {
        const char *campo;
        const char *titulo;
        int ancho;
    } columnas[] = {{"Capitulo", "Capítulo", 86},      {"Descripcion", "", 312},        {"DescripcionAmpliada", "...", 16},
                    {"DescripcionAbreviada", "Abreviatura", 74}, {"FechaInicio", "F.Inicio", 68}, {"FechaFinal", "F.Final", 68},
                    {"TiempoPrevisto", "Tiempo", 41},  {"GradoAvance", "G.Avance", 71}, {"Responsable", "", 75},
                    {"Importe", "", 83}};
    for (const auto &c : columnas) {
        plat::GridColumn *columna = DBGrid1->addColumn(QString::fromLatin1(c.campo));
        columna->TitleCaption = QString::fromUtf8(c.titulo);
        columna->Width = c.ancho;
    }
    DBGrid1->column(2)->ButtonStyle = plat::cbsEllipsis;
    DBGrid1->column(7)->PickList = {QStringLiteral("10"), QStringLiteral("25"), QStringLiteral("50"), QStringLiteral("75"),
                                    QStringLiteral("90"), QStringLiteral("Terminado"), QString()};
    DBGrid1->updateColumns();
}

void TfPROYPROY::construirRejillaGrafico()
{
    auto *caja = new QVBoxLayout(PagGrafico);
    caja->setContentsMargins(0, 0, 0, 0);
    DBGrid2 = make<plat::DBGrid>(QStringLiteral("DBGrid2"), PagGrafico);
    caja->addWidget(DBGrid2);
    DBGrid2->setDataSource(DataSource2);
    DBGrid2->setReadOnly(true);
    DBGrid2->setRowSelect(true);
    DBGrid2->setDefaultDrawing(false);
    const struct
    {
        const char *campo;
        const char *titulo;
        int ancho;
    } columnas[] = {{"Capitulo", "Capítulo", 86}, {"Descripcion", "Descripción", 312}, {"Grafico", " ", 511}};
    for (const auto &c : columnas) {
        plat::GridColumn *columna = DBGrid2->addColumn(QString::fromLatin1(c.campo));
        columna->TitleCaption = QString::fromUtf8(c.titulo);
        columna->Width = c.ancho;
    }
    DBGrid2->updateColumns();
    ganttGrafico_ = new RejillaGantt(*DBGrid2);
}

void TfPROYPROY::construirMenuLineas()
{
    PopupMenu1 = make<plat::PopupMenu>(QStringLiteral("PopupMenu1"), this);
    const auto opcion = [&](const QString &nombre, const QString &texto, int tecla,
                            void (TfPROYPROY::*clic)(QObject *)) {
        auto *item = make<plat::MenuItem>(nombre, texto, PopupMenu1);
        if (tecla)
            item->setShortCut(plat::ShortCut(tecla, plat::ssCtrl));
        if (clic)
            item->OnClick = plat::handler(this, clic);
        PopupMenu1->Items()->Add(item);
        return item;
    };
    CortarLinea1 = opcion(QStringLiteral("CortarLinea1"), QStringLiteral("Cor&tar Línea"), 'X', &TfPROYPROY::CortarLinea1Click);
    CopiarLnea1 = opcion(QStringLiteral("CopiarLnea1"), QStringLiteral("&Copiar Línea"), 'C', &TfPROYPROY::CopiarLnea1Click);
    PegarLinea1 = opcion(QStringLiteral("PegarLinea1"), QStringLiteral("&Pegar Línea"), 'V', &TfPROYPROY::PegarLinea1Click);
    PegarLinea1->setEnabled(false);
    opcion(QStringLiteral("N10"), QStringLiteral("-"), 0, nullptr);
    ReordenarporFechadeInicio1 = opcion(QStringLiteral("ReordenarporFechadeInicio1"),
                                        QStringLiteral("&Reordenar por Fecha de Inicio"), 0,
                                        &TfPROYPROY::ReordenarporFechadeInicio1Click);
    RenumerarCapitulos = opcion(QStringLiteral("RenumerarCapitulos"), QStringLiteral("Renumerar &Capítulos"), 0,
                                &TfPROYPROY::RenumerarCapitulosClick);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        const QPoint global = DBGrid1->viewport()->mapToGlobal(p);
        PopupMenu1->Popup(global.x(), global.y());
    });
}
