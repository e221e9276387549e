// Sample forms of the form layer: data-aware controls over a small database, and an MDI
// frame with two children. They show what the layer draws, with the program's fonts.
#include "tools/formshot/FormCatalog.h"

#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QVBoxLayout>

using namespace plat;

namespace {

// The sample tables, made in a temporary folder unless a database folder is given that
// already holds them.
struct SampleDatabase
{
    QTemporaryDir dir;
    Session session;
    std::unique_ptr<TableDataSet> articulos;
    std::unique_ptr<TableDataSet> familias;

    explicit SampleDatabase(const QString &folder)
    {
        Connection &db = session.connection(QStringLiteral("Database"));
        db.setDatabaseName(folder.isEmpty() ? dir.path() : folder);
        if (!db.tableExists(QStringLiteral("ARTICULOS")))
            create(db);
        articulos = open(QStringLiteral("ARTICULOS"));
        familias = open(QStringLiteral("FAMILIAS"));
    }

    std::unique_ptr<TableDataSet> open(const QString &name)
    {
        auto t = std::make_unique<TableDataSet>(name);
        t->setConnection(&session.connection(QStringLiteral("Database")));
        t->setTableName(name);
        t->open();
        return t;
    }

    static void create(Connection &db)
    {
        IndexDef primary;
        primary.name = QStringLiteral("Clave1");
        primary.fields = {QStringLiteral("Codigo")};
        primary.primary = primary.unique = true;
        TableDef a;
        a.name = QStringLiteral("ARTICULOS");
        a.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true),
                    fieldDef(QStringLiteral("Descripcion"), ftString, 40), fieldDef(QStringLiteral("Familia"), ftInteger),
                    fieldDef(QStringLiteral("Precio"), ftFloat), fieldDef(QStringLiteral("Activo"), ftString, 2),
                    fieldDef(QStringLiteral("Observaciones"), ftMemo)};
        a.indexes = {primary};
        db.createTable(a);
        TableDef f;
        f.name = QStringLiteral("FAMILIAS");
        f.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true),
                    fieldDef(QStringLiteral("Descripcion"), ftString, 30)};
        f.indexes = {primary};
        db.createTable(f);
        db.exec(QStringLiteral("INSERT INTO FAMILIAS (Codigo, Descripcion) VALUES "
                               "(1, 'Tornillería'), (2, 'Pintura y barnices'), (3, 'Señalización')"),
                {}, SqlOrigin::AsWritten);
        db.exec(QStringLiteral(
                    "INSERT INTO ARTICULOS (Codigo, Descripcion, Familia, Precio, Activo, Observaciones) VALUES "
                    "(1001, 'Tornillo DIN 933 M8×40', 1, 0.35, 'SI', 'Acero galvanizado; caja de 100 unidades.'), "
                    "(1002, 'Tuerca autoblocante M8', 1, 0.12, 'SI', ''), "
                    "(1003, 'Arandela ancha Ø 8 mm', 1, 0.05, 'NO', 'Descatalogada en el año 2025.'), "
                    "(2001, 'Esmalte sintético azul señal', 2, 18.9, 'SI', 'Bote de 750 ml.'), "
                    "(2002, 'Barniz marino brillante', 2, 24.5, 'SI', ''), "
                    "(3001, 'Señal «Prohibido el paso»', 3, 12.75, 'SI', 'Aluminio, 297×210 mm.'), "
                    "(3002, 'Cinta de balizamiento rojiblanca', 3, 6.4, 'SI', 'Rollo de 200 m.')"),
                {}, SqlOrigin::AsWritten);
    }
};

// A form that keeps its sample database alive as long as it lives.
class SampleForm : public Form
{
public:
    explicit SampleForm(const QString &database) : data(std::make_shared<SampleDatabase>(database)) {}
    std::shared_ptr<SampleDatabase> data;
};

class ArticulosForm : public SampleForm
{
public:
    explicit ArticulosForm(const QString &database) : SampleForm(database)
    {
        setObjectName(QStringLiteral("fMUESTRA"));
        setCaption(QStringLiteral("Maestro de Artículos — Gestión de Proyectos"));
        setColor(0xFFEAEA);
        resize(760, 520);
        auto *source = make<DataSource>(QStringLiteral("DataSource1"), this);
        source->setDataSet(data->articulos.get());
        auto *familias = make<DataSource>(QStringLiteral("DataSource2"), this);
        familias->setDataSet(data->familias.get());

        auto *box = new QVBoxLayout(this);
        auto *nav = make<DBNavigator>(QStringLiteral("DBNavigator1"), this);
        nav->setDataSource(source);
        nav->setFixedHeight(28);
        box->addWidget(nav);

        auto *pages = make<PageControl>(QStringLiteral("PageControl1"), this);
        auto *general = make<TabSheet>(QStringLiteral("TabGeneral"), this);
        general->setCaption(QStringLiteral("&General"));
        auto *lineas = make<TabSheet>(QStringLiteral("TabLineas"), this);
        lineas->setCaption(QStringLiteral("Artículos"));
        pages->addPage(general);
        pages->addPage(lineas);
        box->addWidget(pages, 1);

        auto *fields = new QGridLayout(general);
        auto addLabel = [&](const QString &name, const QString &caption, int row, int col) {
            auto *l = make<Label>(name, general);
            l->setCaption(caption);
            fields->addWidget(l, row, col);
        };
        addLabel(QStringLiteral("Label1"), QStringLiteral("Código:"), 0, 0);
        auto *codigo = make<DBEdit>(QStringLiteral("DBEditCodigo"), general);
        codigo->setDataSource(source);
        codigo->setDataField(QStringLiteral("Codigo"));
        fields->addWidget(codigo, 0, 1);
        auto *activo = make<DBCheckBox>(QStringLiteral("DBCheckActivo"), general);
        activo->setCaption(QStringLiteral("Activo (sí / no)"));
        activo->setValueChecked(QStringLiteral("SI"));
        activo->setValueUnchecked(QStringLiteral("NO"));
        activo->setDataSource(source);
        activo->setDataField(QStringLiteral("Activo"));
        fields->addWidget(activo, 0, 2);
        addLabel(QStringLiteral("Label2"), QStringLiteral("Descripción:"), 1, 0);
        auto *descripcion = make<DBEdit>(QStringLiteral("DBEditDescripcion"), general);
        descripcion->setDataSource(source);
        descripcion->setDataField(QStringLiteral("Descripcion"));
        fields->addWidget(descripcion, 1, 1, 1, 2);
        addLabel(QStringLiteral("Label3"), QStringLiteral("Familia:"), 2, 0);
        auto *familia = make<DBLookupComboBox>(QStringLiteral("DBLookupFamilia"), general);
        familia->setDataSource(source);
        familia->setDataField(QStringLiteral("Familia"));
        familia->setKeyField(QStringLiteral("Codigo"));
        familia->setListField(QStringLiteral("Descripcion"));
        familia->setListSource(familias);
        fields->addWidget(familia, 2, 1, 1, 2);
        addLabel(QStringLiteral("Label4"), QStringLiteral("Precio (€):"), 3, 0);
        auto *precio = make<DBEdit>(QStringLiteral("DBEditPrecio"), general);
        precio->setDataSource(source);
        precio->setDataField(QStringLiteral("Precio"));
        precio->setAlignment(Qt::AlignRight);
        fields->addWidget(precio, 3, 1);
        addLabel(QStringLiteral("Label5"), QStringLiteral("Observaciones:"), 4, 0);
        auto *memo = make<DBMemo>(QStringLiteral("DBMemoObservaciones"), general);
        memo->setDataSource(source);
        memo->setDataField(QStringLiteral("Observaciones"));
        memo->setMaximumHeight(64);
        fields->addWidget(memo, 4, 1, 1, 2);
        auto *grid = make<DBGrid>(QStringLiteral("DBGrid1"), general);
        grid->setDataSource(source);
        grid->setTitleFontColor(clNavy);
        QFont bold = grid->font();
        bold.setBold(true);
        grid->setTitleFont(bold);
        fields->addWidget(grid, 5, 0, 1, 3);
        fields->setRowStretch(5, 1);

        auto *bar = make<StatusBar>(QStringLiteral("StatusBar1"), this);
        bar->setPanels({{QStringLiteral("Usuario: ADMIN"), 140, false},
                        {QStringLiteral("Empresa 1 — Demostración, S.L."), 240, false},
                        {QStringLiteral("Modo: consulta"), 120, false}});
        box->addWidget(bar);
        data->articulos->first();
        data->articulos->next();
    }
};

class ChildGridForm : public Form
{
public:
    ChildGridForm(const std::shared_ptr<SampleDatabase> &data) : data_(data)
    {
        setObjectName(QStringLiteral("fARTICULOS"));
        setFormStyle(fsMDIChild);
        setCaption(QStringLiteral("Consulta de Artículos"));
        resize(520, 260);
        auto *box = new QVBoxLayout(this);
        box->setContentsMargins(2, 2, 2, 2);
        auto *source = make<DataSource>(QStringLiteral("DataSource1"), this);
        source->setDataSet(data->articulos.get());
        auto *grid = make<DBGrid>(QStringLiteral("DBGrid1"), this);
        grid->setRowSelect(true);
        grid->setDataSource(source);
        box->addWidget(grid);
        auto *menu = make<MainMenu>(QStringLiteral("MainMenu1"), this);
        auto *registro = make<MenuItem>(QStringLiteral("Registro1"), this);
        registro->setCaption(QStringLiteral("&Registro"));
        registro->setGroupIndex(5);
        menu->Items()->Add(registro);
        setMenu(menu);
    }

private:
    std::shared_ptr<SampleDatabase> data_;
};

class ChildParamsForm : public Form
{
public:
    ChildParamsForm()
    {
        setObjectName(QStringLiteral("fPARAMETROS"));
        setFormStyle(fsMDIChild);
        setCaption(QStringLiteral("Parámetros Globales"));
        resize(420, 250);
        auto *box = new QVBoxLayout(this);
        auto *list = make<ValueListEditor>(QStringLiteral("ValueListEditor1"), this);
        list->setTitleCaptions(QStringLiteral("Parámetro"), QStringLiteral("Valor"));
        list->setStrings({QStringLiteral("Moneda base=EUR"), QStringLiteral("Decimales de importe=2"),
                          QStringLiteral("Año del ejercicio=2026"), QStringLiteral("Idioma=Español"),
                          QStringLiteral("Número de copias=1")});
        list->setColWidth(0, 170);
        box->addWidget(list);
        auto *row = new QHBoxLayout;
        row->addStretch();
        auto *ok = make<Button>(QStringLiteral("pbAceptar"), this);
        ok->setCaption(QStringLiteral("&Aceptar"));
        auto *cancel = make<Button>(QStringLiteral("pbCancelar"), this);
        cancel->setCaption(QStringLiteral("&Cancelar"));
        row->addWidget(ok);
        row->addWidget(cancel);
        box->addLayout(row);
    }
};

class FrameForm : public SampleForm
{
public:
    explicit FrameForm(const QString &database) : SampleForm(database)
    {
        setObjectName(QStringLiteral("fMARCO"));
        setCaption(QStringLiteral("Gestión de Proyectos"));
        setFormStyle(fsMDIForm);
        resize(1000, 640);
        auto *menu = make<MainMenu>(QStringLiteral("MainMenu1"), this);
        const QList<QPair<QString, int>> captions{{QStringLiteral("&Base Datos"), 0}, {QStringLiteral("&Tablas"), 1},
                                                   {QStringLiteral("&Procesos"), 2}, {QStringLiteral("&Informes"), 3},
                                                   {QStringLiteral("&Ventana"), 9}, {QStringLiteral("&Ayuda"), 10}};
        for (const auto &[caption, group] : captions) {
            auto *item = new MenuItem(caption, this);
            item->setGroupIndex(group);
            menu->Items()->Add(item);
        }
        setMenu(menu);
    }
};

const bool registered = formshot::registerForm(
                            {QStringLiteral("muestra-datos"),
                             QStringLiteral("controles enlazados a datos: edición, casilla, lista de búsqueda, memo, "
                                            "rejilla, navegador, barra de estado"),
                             [](const QString &database) -> Form * { return createForm<ArticulosForm>(database); }})
                        && formshot::registerForm(
                            {QStringLiteral("marco-mdi"), QStringLiteral("marco MDI con menú y dos ventanas hijas"),
                             [](const QString &database) -> Form * {
                                 auto *frame = createForm<FrameForm>(database);
                                 application().setMainForm(frame);
                                 frame->Show();
                                 auto *grid = createForm<ChildGridForm>(frame->data);
                                 auto *params = createForm<ChildParamsForm>();
                                 grid->setBounds(10, 10, 640, 300);
                                 params->setBounds(330, 250, 440, 280);
                                 grid->BringToFront();   // its menu merges into the frame's
                                 return frame;
                             }});

} // namespace
