#include "tests/app/SesionFixture.h"
#include "tests/support/ImprimirQString.h"

#include "app/FormulariosComunes.h"
#include "app/PreparacionDiferida.h"
#include "GENEW/data/modulo/FormulariosMDI.h"
#include "GENEW/data/ventanas/GENEBUSA.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENECALC.h"
#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/ventanas/GENECPRO.h"
#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/data/ventanas/GENEFILT.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/data/servicios/ListaConsultas.h"
#include "GENEW/reporting/GENEUSQL.h"
#include "GENEW/runtime/AperturaDataSet.h"
#include "GENEW/runtime/ImagenesPrograma.h"
#include "projects/operarios/Primmodu.h"
#include "projects/proyectos/Proymodu.h"
#include "GENEW/runtime/ProgramasExternos.h"
#include "GENEW/runtime/ServiciosExternos.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"
#include "projects/comun/GENEMTEX.h"
#include "projects/proyectos/PROYPROY.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMdiArea>
#include <QTest>
#include <QWindow>
#include <utility>

namespace {

using Registro = QList<QPair<QString, QString>>;

// Lets the shown window paint, until the work its start leaves for then is done.
bool esperarPrimerPintado(const TfPROYMENU &ventana)
{
    QElapsedTimer reloj;
    reloj.start();
    while (ventana.PreparacionPendiente() && reloj.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return !ventana.PreparacionPendiente();
}

QStringList titulos(const plat::MenuItem *menu)
{
    QStringList t;
    for (const plat::MenuItem *item : menu->items())
        t << item->caption();
    return t;
}

// The program entries: item name, menu path, form name.
const struct
{
    const char *item, *ruta, *formulario;
} kProgramas[] = {
    {"ConsultasSQL1", "Consultas SQL", "fGENECSQL"},
    {"Globales1", "Parámetros Globales", "fGENEPARA"},
    {"MaestrodeTextos1", "Maestro de Textos", "fGENEMTEX"},
    {"MaestrodeOperarios1", "Maestro de Operarios", "fPRESOPER"},
    {"MaestrodeProyectos1", "Maestro de Proyectos", "fPROYPROY"},
    {"MaestrodeGamasdeControl1", "Maestro de Gamas de Control", "fCALIGAMA"},
    {"IntroduccindeNotasTcnicas1", "Introducción de Notas Técnicas", "fPROYNTEC"},
    {"NotificacionesdeCambiosdeVersin1", "Notificaciones de Cambios de Versión", "fPROYVERS"},
    {"ConsultadeProyectos1", "Consulta de Proyectos", "fPROYCPRO"},
    {"IntercambiodeCdigosdeOperarios1", "Intercambio de Códigos de Operarios", "fPRESIOPE"},
};

plat::MenuItem *item(TfPROYMENU &v, const char *nombre)
{
    return v.findComponent<plat::MenuItem>(QString::fromUtf8(nombre));
}

// A program window with the currency method: it notes what the main window shows.
class VentanaConMoneda : public plat::Form
{
    Q_OBJECT
public:
    VentanaConMoneda()
    {
        setObjectName(QStringLiteral("fPRUEBAMONEDA"));
        setFormStyle(plat::fsMDIChild);
    }
    QStringList vistos;

public slots:
    void VerDatosEnMonedaNacionalOEuroClick(QObject *)
    {
        vistos << (fPROYMENU->PanelMoneda->isVisibleTo(fPROYMENU) ? fPROYMENU->PanelMoneda->caption() : QString());
    }
};

} // namespace

class VentanaPrincipalTest : public SesionFixture
{
protected:
    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        delete fGENEBUSQ;
        SesionFixture::TearDown();
    }

    // The record search as the start-up creates it.
    static void crearBusqueda()
    {
        if (!fGENEBUSQ)
            fGENEBUSQ = plat::createForm<TfGENEBUSQ>();
    }

    // On the search's rows the user accepts the company with that code.
    static void elegir(TfGENEBUSQ &busqueda, int codigo)
    {
        ASSERT_TRUE(busqueda.ClientDataSet1->dataSet().locate(QStringLiteral("Codigo"), codigo));
        QTest::keyClick(busqueda.DBGrid1, Qt::Key_Return);
    }

    // The next company change chooses that code; ofrecidas: how many companies it offered.
    void elegirEmpresa(int codigo, int *ofrecidas = nullptr)
    {
        crearBusqueda();
        plat::application().OnModalShown = [codigo, ofrecidas](plat::Form &dialogo) {
            auto &busqueda = static_cast<TfGENEBUSQ &>(dialogo);
            if (ofrecidas)
                *ofrecidas = busqueda.ClientDataSet1->dataSet().recordCount();
            elegir(busqueda, codigo);
        };
    }
};

// ---- the session starts -------------------------------------------------------------------

TEST_F(VentanaPrincipalTest, AdminLogsInWithCompanyOneOpenAndTheStartIsLogged)
{
    TfPROYMENU &v = mostrar();
    EXPECT_EQ(fGENEINIC->UsuarioActual, QStringLiteral("ADMIN"));
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 1);
    EXPECT_TRUE(v.caption().startsWith(QStringLiteral("Gestión de Proyectos: "))) << v.caption().toStdString();
    EXPECT_EQ(v.NombrePrograma(), QStringLiteral("Gestión de Proyectos"));
    EXPECT_NE(ModuloDatos, nullptr);
    // Only the log-in prompt, answered with the "U=" user.
    ASSERT_EQ(mensajes_.mensajes().size(), 1) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_EQ(mensajes_.mensajes()[0].tipo, QStringLiteral("P"));
    // "Start" restarts the log and is not written itself.
    EXPECT_EQ(registro(), (Registro{{QStringLiteral("Show"), QStringLiteral("fPROYMENU")}}));
    EXPECT_FALSE(v.IrAPaginaWeb->isVisibleTo(&v));   // no web address set
}

TEST_F(VentanaPrincipalTest, EveryRowOfTheMenuTable)
{
    TfPROYMENU &v = mostrar();
    const struct
    {
        const char *nombre, *titulo;
        bool visible, activo;
    } filas[] = {
        {"BaseDatos1", "&Base Datos", true, true},
        {"CambioEmpresa1", "&Cambio Empresa", true, true},
        {"ConsultasSQL1", "Consultas S&QL", true, true},
        {"Salir1", "&Salir", true, true},
        {"Tablas1", "&Tablas", true, true},
        {"Parametros1", "&Parámetros", true, true},
        {"Globales1", "&Globales", true, true},
        {"MaestrodeTextos1", "Maestro de Textos", true, true},
        {"MaestrodeOperarios1", "Maestro de &Operarios", true, true},
        {"MaestrodeProyectos1", "Maestro de &Proyectos", true, true},
        {"MaestrodeGamasdeControl1", "Maestro de &Gamas de Control", true, true},
        {"Procesos1", "&Procesos", true, true},
        {"IntroduccindeNotasTcnicas1", "Introducción de &Notas Técnicas", true, true},
        {"NotificacionesdeCambiosdeVersin1", "Notificaciones de Cambios de &Versión", true, true},
        {"Informes1", "&Informes", true, true},
        {"ConsultadeProyectos1", "Consulta de &Proyectos", true, true},
        {"Utilidades1", "&Utilidades", true, true},
        {"IntercambiodeCdigosdeOperarios1", "Intercambio de Códigos de Operarios", true, true},
        {"Adicional1", "A&dicional", true, true},
        {"AplicacionesEspeciales1", "&Aplicaciones Especiales", true, true},
        {"VerDatosenMonedaNacionalOEuro", "&Ver Datos en Moneda Nacional/Euro", false, true},
        {"Ventana1", "&Ventana", true, true},
        {"OrganizarIconos1", "&Organizar Iconos", true, true},
        {"Ayuda1", "&Ayuda", true, true},
        {"IndicedeAyuda", "&Indice de Ayuda", true, true},
        {"AyudadeMenu", "&Ayuda de Menu", true, true},
        {"Ayudade", "&Ayuda de ...", true, true},
        {"LoNuevoDeMenu", "Lo Nuevo de ...", true, true},
        {"AcercadeMenu", "A&cerca de ...", true, true},
    };
    for (const auto &f : filas) {
        SCOPED_TRACE(f.nombre);
        plat::MenuItem *m = item(v, f.nombre);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->caption(), QString::fromUtf8(f.titulo));
        EXPECT_EQ(m->visible(), f.visible);
        EXPECT_EQ(m->enabled(), f.activo);
    }
    EXPECT_EQ(item(v, "VerDatosenMonedaNacionalOEuro")->shortCut(), plat::ShortCut('E', plat::ssCtrl));
    EXPECT_EQ(item(v, "AyudadeMenu")->shortCut(), plat::ShortCut(plat::VK_F1, {}));
    // The reports' entries come with the first paint; then Informes1 always ends with the
    // designer entry.
    EXPECT_EQ(titulos(v.Informes1), QStringList{"Consulta de &Proyectos"});
    ASSERT_TRUE(esperarPrimerPintado(v));
    EXPECT_EQ(titulos(v.MainMenu1->Items()),
              (QStringList{"&Base Datos", "&Tablas", "&Procesos", "&Informes", "&Utilidades", "A&dicional", "&Ventana",
                           "&Ayuda"}));
    EXPECT_EQ(titulos(v.Informes1), (QStringList{"Consulta de &Proyectos", "-", "Configuración de Informes Personalizados"}));
    // Without stored statements, no separator under Adicional1.
    EXPECT_EQ(titulos(v.Adicional1), (QStringList{"&Aplicaciones Especiales", "&Ver Datos en Moneda Nacional/Euro"}));
    for (const auto &p : kProgramas)
        EXPECT_EQ(ModuloDatos->RutaMenu(item(v, p.item)).remove(u'&'), QString::fromUtf8(p.ruta));
}

TEST_F(VentanaPrincipalTest, RefusalsEndTheSessionWithTheirWarning)
{
    const QString tres =
        QStringLiteral("No ha sido posible iniciar la aplicación (3). Póngase en contacto con su distribuidor.");
    mensajes_.programarRespuestas({QString()});   // the log-in prompt left empty
    mostrar();
    EXPECT_EQ(avisos(), QStringList{tres});
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 0);
    EXPECT_TRUE(plat::application().terminated());
}

TEST_F(VentanaPrincipalTest, NoAccessToTheProgramEndsTheSession)
{
    usuario(QStringLiteral("ProgramasNoAccesibles"), QStringLiteral("Gestión de Proyectos"));
    mostrar();
    EXPECT_EQ(avisos(), QStringList{QStringLiteral(
                            "No ha sido posible iniciar la aplicación (4). Póngase en contacto con su distribuidor.")});
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 0);
}

TEST_F(VentanaPrincipalTest, NoCompanyForTheUserEndsTheSession)
{
    for (const char *valor : {"", "x"}) {
        SCOPED_TRACE(valor);
        usuario(QStringLiteral("Empresas"), QString::fromUtf8(valor));
        mensajes_.limpiar();
        mostrar();
        EXPECT_EQ(avisos(), QStringList{QStringLiteral("¡Ud. no tiene acceso a ninguna empresa!")});
        EXPECT_EQ(MDProyectos, nullptr);
        ventana_->Free();
    }
}

TEST_F(VentanaPrincipalTest, ACompanyTableThatCannotBeMadeEndsTheSession)
{
    // Definitions without EMPRESA: the table can be neither opened nor made.
    QFile f(dir_.file(QStringLiteral("DATABASE.TXT")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QStringList lineas = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    f.close();
    lineas.removeIf([](const QString &l) { return l.startsWith(QLatin1String("EMPRESA/")); });
    escribir(QStringLiteral("DATABASE.TXT"), lineas.join(QStringLiteral("\r\n")));
    mostrar();
    EXPECT_TRUE(avisos().contains(QStringLiteral("No ha sido posible crear la empresa."))) << avisos().join(u'\n').toStdString();
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 0);
}

TEST_F(VentanaPrincipalTest, ACompanyTableMadeByAnotherProgramSinceTheFailedOpeningOpens)
{
    // Two first starts at once: the other program makes EMPRESA, with its company 1, after this
    // one found no table and before its creation looks; the creation then answers false.
    bool primera = true;
    TfPROYMENU &v = mostrar([&primera](TfPROYMENU &ventana) {
        ventana.Empresa->table().BeforeOpen = [&primera](plat::DataSet &) {
            if (!std::exchange(primera, false))
                return;
            plat::TableDataSet otra;
            otra.setTableName(QStringLiteral("EMPRESA"));
            otra.setDatabaseName(fGENEINIC->DatabaseGeneral().databaseName());
            otra.setConnection(&fGENEINIC->DatabaseGeneral());
            DataSetAbribleDe<plat::TableDataSet> abrible(otra, QStringLiteral("fOTROPROGRAMA"));
            EXPECT_TRUE(fGENEINIC->CrearTablaDataSet(abrible));
            throw gp::DatabaseError(QStringLiteral("Table does not exist.\nEMPRESA"), gp::DatabaseErrorKind::MissingTable);
        };
    });
    EXPECT_FALSE(primera);
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 1);
    EXPECT_TRUE(v.Empresa->table().active());
    EXPECT_EQ(mensajes_.mensajes().size(), 1) << mensajes_.textos().join(u'\n').toStdString();
}

// ---- program windows -------------------------------------------------------------------------

TEST_F(VentanaPrincipalTest, EveryProgramEntryOpensItsWindowAndLogsCreateShowRestoreFree)
{
    TfPROYMENU &v = mostrar();
    for (const auto &p : kProgramas) {
        SCOPED_TRACE(p.item);
        const QString nombre = QString::fromUtf8(p.formulario);
        plat::MenuItem *m = item(v, p.item);
        m->Click();
        plat::Form *ventana = BuscarFormularioMDI(nombre);
        ASSERT_NE(ventana, nullptr);
        EXPECT_EQ(ventana->objectName(), nombre);
        m->Click();
        EXPECT_EQ(BuscarFormularioMDI(nombre), ventana);
        ventana->setFormState(plat::wsMinimized);
        m->Click();
        EXPECT_EQ(ventana->formState(), plat::wsNormal);
        ventana->Close();
        plat::application().processMessages();
        EXPECT_EQ(BuscarFormularioMDI(nombre), nullptr);
        const Registro r = registro().mid(registro().size() - 4);
        EXPECT_EQ(r, (Registro{{"Create", nombre}, {"Show", nombre}, {"Restore", nombre}, {"Free", nombre}}));
    }
}

TEST_F(VentanaPrincipalTest, AnEntryWithoutAccessSaysSoAndOpensNothing)
{
    usuario(QStringLiteral("ProgramasNoAccesibles"), QStringLiteral("Maestro de Proyectos"));
    TfPROYMENU &v = mostrar();
    mensajes_.limpiar();
    v.MaestrodeProyectos1->Click();
    EXPECT_EQ(BuscarFormularioMDI(QStringLiteral("fPROYPROY")), nullptr);
    EXPECT_EQ(textosDeTipo(QStringLiteral("I")),
              QStringList{QStringLiteral("Vd. no tiene acceso al programa Maestro de Proyectos")});
    v.MaestrodeOperarios1->Click();   // the others open
    EXPECT_NE(BuscarFormularioMDI(QStringLiteral("fPRESOPER")), nullptr);
}

TEST_F(VentanaPrincipalTest, ASecondInstanceIsFoundByItsNameBeforeTheUnderscore)
{
    TfPROYMENU &v = mostrar();
    // An instance named "fPROYPROY_1", minimised: it is restored.
    auto *segunda = plat::openForm<TfPROYPROY>(QStringLiteral("fPROYPROY_1"));
    segunda->setFormState(plat::wsMinimized);
    EXPECT_FALSE(ExisteFormularioMDI(QStringLiteral("fPROYPROY")));
    EXPECT_TRUE(ExisteFormularioMDI(QStringLiteral("fPROYPROY_1")));
    TfPROYPROY *abierta = nullptr;
    ModuloDatos->AbrirFormularioMDI(abierta, QStringLiteral("fPROYPROY"));
    EXPECT_EQ(abierta, segunda);
    EXPECT_EQ(segunda->formState(), plat::wsNormal);
    EXPECT_EQ(registro().last(), (QPair<QString, QString>{"Restore", "fPROYPROY_1"}));

    // With "Create" the open one is closed and a new one made.
    ModuloDatos->AbrirFormularioMDI(abierta, QStringLiteral("fPROYPROY"), QStringLiteral("Create"));
    plat::application().processMessages();
    ASSERT_NE(abierta, nullptr);
    EXPECT_NE(abierta, segunda);
    EXPECT_EQ(abierta->objectName(), QStringLiteral("fPROYPROY"));
    EXPECT_EQ(fPROYPROY, abierta);
    EXPECT_EQ(v.mdiChildCount(), 1);
    const Registro r = registro();
    EXPECT_TRUE(r.contains({"Create", "fPROYPROY"}));
    EXPECT_TRUE(r.contains({"Free", "fPROYPROY_1"}));
}

TEST_F(VentanaPrincipalTest, TheUsersActiveProgramsOpenOnTheFirstActivation)
{
    usuario(QStringLiteral("ProgramasActivos"), QStringLiteral("Maestro de Proyectos\r\nMaestro de Textos"));
    TfPROYMENU &v = mostrar();
    // What the programs need that the start made later is asked for once, before the first.
    int preparaciones = 0;
    int abiertosAlPreparar = -1;
    v.AntesDeAbrirProgramas = [&] {
        ++preparaciones;
        abiertosAlPreparar = v.mdiChildCount();
    };
    v.FormActivate(&v);
    EXPECT_NE(BuscarFormularioMDI(QStringLiteral("fPROYPROY")), nullptr);
    EXPECT_NE(BuscarFormularioMDI(QStringLiteral("fGENEMTEX")), nullptr);
    EXPECT_EQ(v.mdiChildCount(), 2);
    EXPECT_EQ(preparaciones, 1);
    EXPECT_EQ(abiertosAlPreparar, 0);
    v.FormActivate(&v);   // only the first activation
    EXPECT_EQ(v.mdiChildCount(), 2);
    EXPECT_EQ(preparaciones, 1);
}

// The reports' entries wait for the first paint, but not past the first activation: they may
// be programs the user opens at the start.
TEST_F(VentanaPrincipalTest, TheReportsEntriesAreThereByTheFirstActivation)
{
    TfPROYMENU &v = mostrar();
    EXPECT_EQ(titulos(v.Informes1), QStringList{"Consulta de &Proyectos"});
    EXPECT_TRUE(v.PreparacionPendiente());
    v.FormActivate(&v);
    EXPECT_FALSE(v.PreparacionPendiente());
    EXPECT_EQ(titulos(v.Informes1), (QStringList{"Consulta de &Proyectos", "-", "Configuración de Informes Personalizados"}));
    EXPECT_NE(MDProyectos, nullptr);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(titulos(v.Informes1), (QStringList{"Consulta de &Proyectos", "-", "Configuración de Informes Personalizados"}));
}

// A window translated at the start is translated with its reports' entries: they are not left
// for later.
TEST_F(VentanaPrincipalTest, ATranslatedSessionAddsTheReportsEntriesAtOnce)
{
    TfPROYMENU &v = mostrar([](TfPROYMENU &) { fGENEINIC->CodigoIdioma = QStringLiteral("ENG"); });
    EXPECT_EQ(titulos(v.Informes1).mid(1), (QStringList{"-", "Configuración de Informes Personalizados"}));
    fGENEINIC->CodigoIdioma.clear();
}

TEST_F(VentanaPrincipalTest, WithoutActiveProgramsTheFirstActivationLeavesTheLaterWorkForLater)
{
    TfPROYMENU &v = mostrar();
    int preparaciones = 0;
    v.AntesDeAbrirProgramas = [&] { ++preparaciones; };
    v.FormActivate(&v);
    EXPECT_EQ(v.mdiChildCount(), 0);
    EXPECT_EQ(preparaciones, 0);
    EXPECT_TRUE(static_cast<bool>(v.AntesDeAbrirProgramas));
}

// ---- company change ----------------------------------------------------------------------------

TEST_F(VentanaPrincipalTest, ACompanyChangeFreesTheProgramWindowsAndModulesAndKeepsTheFrameworkForms)
{
    general({QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre, Abreviatura) VALUES (2, 'Segunda Empresa', 'SEG')"),
             QStringLiteral("UPDATE USUARIO SET Empresas = '1' || char(13) || char(10) || '2' WHERE Codigo = 'ADMIN'")});
    ASSERT_TRUE(fGENEINIC->CrearBaseDatosEmpresa(2));
    TfPROYMENU &v = mostrar();
    v.MaestrodeProyectos1->Click();
    v.MaestrodeTextos1->Click();
    const QPointer<TModuloDatos> moduloAnterior = ModuloDatos;
    const QPointer<TMDProyectos> proyectosAnterior = MDProyectos;

    // The search lists both companies; the second is chosen.
    int ofrecidas = 0;
    elegirEmpresa(2, &ofrecidas);
    v.CambioEmpresa1->Click();
    plat::application().OnModalShown = nullptr;

    EXPECT_EQ(ofrecidas, 2);
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 2);
    EXPECT_EQ(v.caption(), QStringLiteral("Gestión de Proyectos: SEG"));
    EXPECT_EQ(v.NombreEmpresa(), QStringLiteral("Segunda Empresa"));
    EXPECT_EQ(BuscarFormularioMDI(QStringLiteral("fPROYPROY")), nullptr);
    EXPECT_EQ(BuscarFormularioMDI(QStringLiteral("fGENEMTEX")), nullptr);
    EXPECT_EQ(plat::application().findForm(QStringLiteral("fGENEBUSQ")), fGENEBUSQ);
    EXPECT_NE(fGENEBUSQ, nullptr);
    EXPECT_EQ(plat::application().findForm(QStringLiteral("fGENEINIC")), fGENEINIC);
    EXPECT_TRUE(moduloAnterior.isNull());
    EXPECT_TRUE(proyectosAnterior.isNull());
    EXPECT_NE(ModuloDatos, nullptr);
    EXPECT_NE(MDProyectos, nullptr);
    EXPECT_TRUE(avisos().isEmpty()) << avisos().join(u'\n').toStdString();
}

// A window holding a typed, unsaved record is asked before a company change frees it, as Salir
// asks it: while it refuses (the masters' own check) the company stays, the window and what
// was typed with it; once the user has cancelled the record, the change goes on.
TEST_F(VentanaPrincipalTest, ACompanyChangeAsksTheWindowsFirstAndARefusalKeepsTheCompany)
{
    general({QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre, Abreviatura) VALUES (2, 'Segunda Empresa', 'SEG')"),
             QStringLiteral("UPDATE USUARIO SET Empresas = '1' || char(13) || char(10) || '2' WHERE Codigo = 'ADMIN'")});
    ASSERT_TRUE(fGENEINIC->CrearBaseDatosEmpresa(2));
    TfPROYMENU &v = mostrar();
    v.MaestrodeTextos1->Click();
    const QPointer<plat::Form> textos = BuscarFormularioMDI(QStringLiteral("fGENEMTEX"));
    ASSERT_NE(textos, nullptr);
    plat::TableDataSet &tabla = textos->findComponent<plat::TableComponent>(QStringLiteral("Table1"))->table();
    tabla.insert();
    tabla.fieldByName(QStringLiteral("Codigo")).setAsString(QStringLiteral("A"));
    tabla.fieldByName(QStringLiteral("Descripcion")).setAsString(QStringLiteral("Sin grabar"));

    const QString titulo = v.caption();
    elegirEmpresa(2);
    v.CambioEmpresa1->Click();
    EXPECT_TRUE(avisos().contains(QStringLiteral("¡ Debe grabar o cancelar la edición antes de cerrar la ventana !")))
        << avisos().join(u'\n').toStdString();
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 1);
    EXPECT_EQ(v.caption(), titulo);
    ASSERT_NE(textos, nullptr);
    EXPECT_EQ(tabla.state(), plat::DataSetState::Insert);
    EXPECT_EQ(tabla.fieldByName(QStringLiteral("Descripcion")).asString(), QStringLiteral("Sin grabar"));

    tabla.cancel();
    elegirEmpresa(2);
    v.CambioEmpresa1->Click();
    plat::application().OnModalShown = nullptr;
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 2);
    EXPECT_EQ(textos, nullptr);
}

// Esc while a drop-down list is open closes the list alone: the record being typed stays in
// insert; the next Esc cancels it, as the user asks then.
TEST_F(VentanaPrincipalTest, EscClosesAnOpenListAloneAndTheNextOneCancelsTheRecord)
{
    TfPROYMENU &v = mostrar();
    v.MaestrodeTextos1->Click();
    auto *textos = qobject_cast<TfGENEMTEX *>(BuscarFormularioMDI(QStringLiteral("fGENEMTEX")));
    ASSERT_NE(textos, nullptr);
    plat::TableDataSet &tabla = textos->Table1->table();
    QApplication::setActiveWindow(&v);
    QWindow *ventana = v.windowHandle();
    QTest::keyClick(ventana, Qt::Key_F5);
    ASSERT_EQ(tabla.state(), plat::DataSetState::Insert);
    QTest::keyClick(ventana, 'X');
    QTest::keyClick(ventana, Qt::Key_Tab);
    QTest::keyClick(ventana, 'd');
    textos->EditTipo->setFocus();
    QTest::keyClick(ventana, Qt::Key_Down, Qt::AltModifier);
    QWidget *lista = QApplication::activePopupWidget();
    ASSERT_NE(lista, nullptr);
    QTest::keyClick(lista->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(tabla.state(), plat::DataSetState::Insert);
    EXPECT_EQ(textos->EditCodigo->text(), QStringLiteral("X"));
    EXPECT_EQ(textos->EditDescripcion->text(), QStringLiteral("d"));
    QTest::keyClick(ventana, Qt::Key_Escape);
    EXPECT_EQ(tabla.state(), plat::DataSetState::Browse);
}

// As the program starts: the shared forms wait for the main window's first paint, then are
// there, each once, and the first company change finds its record search.
TEST_F(VentanaPrincipalTest, TheSharedFormsMadeAfterTheFirstPaintServeTheFirstCompanyChange)
{
    general({QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre, Abreviatura) VALUES (2, 'Segunda Empresa', 'SEG')"),
             QStringLiteral("UPDATE USUARIO SET Empresas = '1' || char(13) || char(10) || '2' WHERE Codigo = 'ADMIN'")});
    ASSERT_TRUE(fGENEINIC->CrearBaseDatosEmpresa(2));
    QList<plat::Form *> creados;
    std::optional<PreparacionDiferida> comunes;
    TfPROYMENU &v = mostrar([&](TfPROYMENU &ventana) {
        comunes.emplace(ventana, 60000);
        comunes->anadir([&creados] { CrearFormulariosComunes(creados); });
    });
    EXPECT_EQ(fGENEBUSQ, nullptr);
    EXPECT_EQ(fGENECALC, nullptr);
    QElapsedTimer reloj;
    reloj.start();
    while (comunes->pendiente() && reloj.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_FALSE(comunes->pendiente());
    EXPECT_EQ(creados.size(), 7);
    EXPECT_EQ(fGENEBUSA, nullptr);
    const QList<plat::Form *> globales{fGENEBUSQ, fGENECOPI, fGENEFILT, fGENEVMEM, fGENECALC, fGENECPRO, fGENEDETA};
    for (plat::Form *f : globales) {
        EXPECT_NE(f, nullptr);
        EXPECT_TRUE(creados.contains(f));
    }
    CrearFormulariosComunes(creados);   // made already: nothing more
    EXPECT_EQ(creados.size(), 7);

    int ofrecidas = 0;
    elegirEmpresa(2, &ofrecidas);
    v.CambioEmpresa1->Click();
    plat::application().OnModalShown = nullptr;
    EXPECT_EQ(ofrecidas, 2);
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 2);

    for (plat::Form *f : creados)
        if (f != fGENEBUSQ)
            delete f;
    fGENECOPI = nullptr;
    fGENEFILT = nullptr;
    fGENEVMEM = nullptr;
    fGENECALC = nullptr;
    fGENECPRO = nullptr;
    fGENEDETA = nullptr;
}

// The projects' and bonuses' modules are made after the window's first paint, once; a program
// opened before (by code, not input) has them made first.
TEST_F(VentanaPrincipalTest, TheProjectModulesAreMadeAfterTheFirstPaintOnce)
{
    TfPROYMENU &v = mostrar();
    EXPECT_EQ(MDProyectos, nullptr);
    EXPECT_EQ(MDPrimas, nullptr);
    ASSERT_TRUE(esperarPrimerPintado(v));
    ASSERT_NE(MDProyectos, nullptr);
    ASSERT_NE(MDPrimas, nullptr);
    const QPointer<TMDProyectos> proyectos = MDProyectos;
    const QPointer<TMDPrimas> primas = MDPrimas;
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    v.MaestrodeProyectos1->Click();
    EXPECT_EQ(MDProyectos, proyectos.data());
    EXPECT_EQ(MDPrimas, primas.data());
    EXPECT_TRUE(avisos().isEmpty()) << avisos().join(u'\n').toStdString();
}

TEST_F(VentanaPrincipalTest, AProgramOpenedBeforeTheFirstPaintHasTheProjectModules)
{
    TfPROYMENU &v = mostrar();
    ASSERT_EQ(MDProyectos, nullptr);
    v.MaestrodeProyectos1->Click();
    EXPECT_NE(MDProyectos, nullptr);
    EXPECT_NE(MDPrimas, nullptr);
    EXPECT_FALSE(ModuloDatos->tablasAuxiliaresPendientes());
    EXPECT_NE(BuscarFormularioMDI(QStringLiteral("fPROYPROY")), nullptr);
    EXPECT_TRUE(avisos().isEmpty()) << avisos().join(u'\n').toStdString();
}

// The company's responsibility, analysis-group and access tables wait for the window's first
// paint; whatever reads them before opens them itself.
TEST_F(VentanaPrincipalTest, TheTablesNothingReadsAtTheStartOpenAfterTheFirstPaint)
{
    mostrar();
    ASSERT_NE(ModuloDatos, nullptr);
    const QList<plat::TableComponent *> auxiliares{ModuloDatos->Responsabilidad, ModuloDatos->GATablas,
                                                   ModuloDatos->GAnalisis, ModuloDatos->RegistroAccesos};
    EXPECT_TRUE(ModuloDatos->tablasAuxiliaresPendientes());
    for (plat::TableComponent *t : auxiliares)
        EXPECT_FALSE(t->table().active()) << t->objectName().toStdString();
    EXPECT_TRUE(ModuloDatos->Moneda->table().active());   // the currency switch reads it
    EXPECT_TRUE(ModuloDatos->ParamGenerales->table().active());

    ASSERT_TRUE(esperarPrimerPintado(*fPROYMENU));
    EXPECT_FALSE(ModuloDatos->tablasAuxiliaresPendientes());
    for (plat::TableComponent *t : auxiliares)
        EXPECT_TRUE(t->table().active()) << t->objectName().toStdString();
    for (const char *tabla : {"RESPDOC", "GRANTAB", "GRANALIS", "REGACCES"})
        EXPECT_EQ(ModuloDatos->EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(tabla)),
                                           QStringLiteral("Database")),
                  QStringLiteral("0"))
            << tabla;
    EXPECT_TRUE(avisos().isEmpty()) << avisos().join(u'\n').toStdString();
}

TEST_F(VentanaPrincipalTest, AResponsibilityReadBeforeTheFirstPaintOpensItsTable)
{
    mostrar();
    ASSERT_TRUE(ModuloDatos->tablasAuxiliaresPendientes());
    const auto leer = [] {
        return ModuloDatos->CompletarNombresOperarios(QStringLiteral("PROYECTO"), QStringLiteral("P1"),
                                                      QStringLiteral("RealizadoPor;ClaveTabla"));
    };
    EXPECT_TRUE(leer().isNull());   // none yet; the table is opened on the way
    EXPECT_FALSE(ModuloDatos->tablasAuxiliaresPendientes());
    ASSERT_EQ(ModuloDatos->EjecutarSQL(QStringLiteral("INSERT INTO RESPDOC (NombreTabla, ClaveTabla, RealizadoPor) "
                                                      "VALUES ('PROYECTO', 'P1', 3)"),
                                       QStringLiteral("Database")),
              QString());
    EXPECT_EQ(leer().toStringList(), (QStringList{QStringLiteral("3"), QStringLiteral("P1")}));
}

TEST_F(VentanaPrincipalTest, ACodeMissingFromTheCompaniesFreesNothingAndOpensNothing)
{
    usuario(QStringLiteral("Empresas"), QStringLiteral("1\r\n7"));
    TfPROYMENU &v = mostrar();
    v.MaestrodeProyectos1->Click();
    const QPointer<TModuloDatos> modulo = ModuloDatos;
    const QString titulo = v.caption();
    fGENEINIC->Conexiones().EmpresaActual = 7;
    v.AbrirEmpresa();
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 0);
    EXPECT_NE(BuscarFormularioMDI(QStringLiteral("fPROYPROY")), nullptr);
    EXPECT_EQ(ModuloDatos, modulo.data());
    EXPECT_EQ(v.caption(), titulo);
}

TEST_F(VentanaPrincipalTest, ACompanyGoneBeforeItOpensLeavesTheOpenOneInPlace)
{
    general({QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre, Abreviatura) VALUES (2, 'Segunda Empresa', 'SEG')"),
             QStringLiteral("UPDATE USUARIO SET Empresas = '1' || char(13) || char(10) || '2' WHERE Codigo = 'ADMIN'")});
    TfPROYMENU &v = mostrar();
    v.MaestrodeProyectos1->Click();
    const QString titulo = v.caption();
    crearBusqueda();
    // Another user deletes the chosen company while the search is on screen.
    plat::application().OnModalShown = [&](plat::Form &dialogo) {
        EXPECT_EQ(ModuloDatos->EjecutarSQL(QStringLiteral("DELETE FROM EMPRESA WHERE Codigo = 2"),
                                           QStringLiteral("DatabaseGeneral")),
                  QString());
        elegir(static_cast<TfGENEBUSQ &>(dialogo), 2);
    };
    v.CambioEmpresa1->Click();
    plat::application().OnModalShown = nullptr;
    EXPECT_EQ(avisos(), QStringList{QStringLiteral("¡Ud. no tiene acceso a esta empresa!")});
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 1);
    EXPECT_EQ(v.caption(), titulo);
    EXPECT_NE(BuscarFormularioMDI(QStringLiteral("fPROYPROY")), nullptr);
}

TEST_F(VentanaPrincipalTest, TwoCompaniesOfTheUserOpenTheFirstAtStart)
{
    general({QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre, Abreviatura) VALUES (2, 'Segunda Empresa', 'SEG')"),
             QStringLiteral("UPDATE USUARIO SET Empresas = '2' || char(13) || char(10) || '1' WHERE Codigo = 'ADMIN'")});
    ASSERT_TRUE(fGENEINIC->CrearBaseDatosEmpresa(2));
    TfPROYMENU &v = mostrar();
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 2);
    EXPECT_EQ(v.caption(), QStringLiteral("Gestión de Proyectos: SEG"));
}

// A company added after the first run has no folder yet: opening it makes one; one that
// cannot be made (a file in its place) is a company the user cannot open.
TEST_F(VentanaPrincipalTest, ACompanyWithoutItsFolderGetsOneAndOneThatCannotBeMadeKeepsTheOpenCompany)
{
    general({QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre, Abreviatura) VALUES (2, 'Segunda Empresa', 'SEG'), "
                            "(3, 'Tercera Empresa', 'TER')"),
             QStringLiteral("UPDATE USUARIO SET Empresas = '1' || char(13) || char(10) || '2' || char(13) || char(10) "
                            "|| '3' WHERE Codigo = 'ADMIN'")});
    TfPROYMENU &v = mostrar();
    ASSERT_FALSE(QFileInfo::exists(dir_.file(QStringLiteral("datos/2"))));
    elegirEmpresa(2);
    v.CambioEmpresa1->Click();
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 2);
    EXPECT_EQ(v.caption(), QStringLiteral("Gestión de Proyectos: SEG"));
    EXPECT_TRUE(QFileInfo(dir_.file(QStringLiteral("datos/2/datos.sqlite"))).isFile());
    ASSERT_NE(ModuloDatos, nullptr);
    EXPECT_TRUE(ModuloDatos->ParamGenerales->table().active());
    EXPECT_TRUE(avisos().isEmpty()) << avisos().join(u'\n').toStdString();

    QFile enSuLugar(dir_.file(QStringLiteral("datos/3")));
    ASSERT_TRUE(enSuLugar.open(QIODevice::WriteOnly));
    enSuLugar.close();
    v.MaestrodeProyectos1->Click();
    elegirEmpresa(3);
    v.CambioEmpresa1->Click();
    EXPECT_EQ(avisos(), QStringList{QStringLiteral("¡Ud. no tiene acceso a esta empresa!")});
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 2);
    EXPECT_EQ(v.caption(), QStringLiteral("Gestión de Proyectos: SEG"));
    EXPECT_NE(BuscarFormularioMDI(QStringLiteral("fPROYPROY")), nullptr);
    EXPECT_TRUE(textosDeTipo(QStringLiteral("E")).isEmpty()) << textosDeTipo(QStringLiteral("E")).join(u'\n').toStdString();
}

TEST_F(VentanaPrincipalTest, AUserWhoseFirstCompanyHasNoFolderYetStartsOnIt)
{
    general({QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre, Abreviatura) VALUES (2, 'Segunda Empresa', 'SEG')"),
             QStringLiteral("UPDATE USUARIO SET Empresas = '2' WHERE Codigo = 'ADMIN'")});
    TfPROYMENU &v = mostrar();
    EXPECT_EQ(fGENEINIC->Conexiones().EmpresaActual, 2);
    EXPECT_EQ(v.caption(), QStringLiteral("Gestión de Proyectos: SEG"));
    EXPECT_TRUE(QFileInfo(dir_.file(QStringLiteral("datos/2/datos.sqlite"))).isFile());
    ASSERT_NE(ModuloDatos, nullptr);
    EXPECT_TRUE(ModuloDatos->ParamGenerales->table().active());
    // Only the log-in prompt.
    EXPECT_EQ(mensajes_.mensajes().size(), 1) << mensajes_.textos().join(u'\n').toStdString();
}

// ---- stored statements and custom reports -------------------------------------------------------

TEST_F(VentanaPrincipalTest, StoredItemsFillTheirMenusOnceEvenAfterTheCaptionsAreTranslated)
{
    TfPROYMENU &v = mostrar();
    const QString app = QStringLiteral("AplicacionesContenedoras=Gestión de Proyectos");
    const auto fila = [&](const char *tipo, const char *nombre, const QString &instrucciones) {
        return ModuloDatos->EjecutarSQL(QStringLiteral("INSERT INTO FILTRO (NombreTabla, Descripcion, Instrucciones) "
                                                       "VALUES ('%1', '%2', '%3')")
                                            .arg(QString::fromUtf8(tipo), QString::fromUtf8(nombre), instrucciones));
    };
    EXPECT_EQ(fila("SQL", "Ventas del mes", app), QString());
    EXPECT_EQ(fila("SQL", "Compras", app + QStringLiteral("\r\nUsuariosAutorizados=PEPE, ADMIN")), QString());
    EXPECT_EQ(fila("SQL", "Ajena", app + QStringLiteral("\r\nUsuariosAutorizados=ADMINISTRADOR2")), QString());
    EXPECT_EQ(fila("SQL", "Otra aplicación", QStringLiteral("AplicacionesContenedoras=Contabilidad")), QString());
    EXPECT_EQ(fila("GeneradorInformes", "Horas por operario", app), QString());

    // As a translation would leave them: the menus are found by name, not by caption.
    v.Adicional1->setCaption(QStringLiteral("E&xtra"));
    v.Informes1->setCaption(QStringLiteral("&Reports"));
    for (int vez = 0; vez < 2; ++vez)
        fGENEINIC->AnadirInformesPersonalizados(QStringLiteral("ADMIN"), v.NombrePrograma(), v.MainMenu1);
    EXPECT_EQ(titulos(v.Adicional1), (QStringList{"&Aplicaciones Especiales", "&Ver Datos en Moneda Nacional/Euro", "-",
                                                  "Compras", "Ventas del mes"}));
    EXPECT_EQ(titulos(v.Informes1), (QStringList{"Consulta de &Proyectos", "-", "Configuración de Informes Personalizados",
                                                 "-", "Horas por operario"}));
    EXPECT_EQ(v.Adicional1->item(3)->tag(), 100);

    // A stored statement opens its runner on itself.
    v.Adicional1->item(4)->Click();
    ASSERT_NE(fGENEUSQL, nullptr);
    EXPECT_EQ(fGENEUSQL->Consulta, QStringLiteral("Ventas del mes"));
    EXPECT_EQ(registro().last(), (QPair<QString, QString>{"Create", "fGENEUSQL"}));
    // Every statement of the kind, by name, without user and application.
    EXPECT_EQ(ModuloDatos->ListaConsultasSQL(QString(), QString(), QStringLiteral("ConsultasSQL")),
              QStringLiteral("Ajena\r\nCompras\r\nOtra aplicación\r\nVentas del mes\r\n"));
}

TEST(ListaConsultas, TheUserMustBeAnItemOfTheAuthorisedList)
{
    const QString app = QStringLiteral("AplicacionesContenedoras=Gestión, Otra\r\n");
    const QList<ElementoAlmacenado> elementos{
        {QStringLiteral("Libre"), app},
        {QStringLiteral("Dentro"), app + QStringLiteral("UsuariosAutorizados=ANA, ADMIN")},
        {QStringLiteral("Contiene"), app + QStringLiteral("UsuariosAutorizados=ADMIN2,XADMIN")},
        {QStringLiteral("SinAplicacion"), QStringLiteral("UsuariosAutorizados=ADMIN")},
    };
    EXPECT_EQ(ListaElementosAutorizados(elementos, QStringLiteral("ADMIN"), QStringLiteral("ADMIN"), QStringLiteral("Otra")),
              QStringLiteral("Libre\r\nDentro\r\n"));
    EXPECT_EQ(ListaElementosAutorizados(elementos, QString(), QString(), QString()),
              QStringLiteral("Libre\r\nDentro\r\nContiene\r\nSinAplicacion\r\n"));
    EXPECT_EQ(NombreTablaDeTipoConsulta(QStringLiteral("ConsultasSQL")), QStringLiteral("SQL"));
    EXPECT_EQ(NombreTablaDeTipoConsulta(QStringLiteral("GeneradorInformes")), QStringLiteral("GeneradorInformes"));
}

// ---- other entries ------------------------------------------------------------------------------

TEST_F(VentanaPrincipalTest, SpecialApplicationsRunTheSiblingProgramWithTheRestartOptions)
{
    TfPROYMENU &v = mostrar();
    // The sibling program does not exist here: the not-found text of EjecutarPrograma.
    QStringList cuadros;
    CuadroMensajeInstalado cuadro([&](const QString &texto) { cuadros << texto; });
    v.AplicacionesEspeciales1->Click();
    ASSERT_EQ(cuadros.size(), 1);
    EXPECT_TRUE(cuadros[0].startsWith(QStringLiteral("El archivo GALVERIN.EXE ") + fGENEINIC->LineaComandos()))
        << cuadros[0].toStdString();
    EXPECT_TRUE(cuadros[0].endsWith(QStringLiteral(" no ha sido encontrado."))) << cuadros[0].toStdString();
    EXPECT_TRUE(fGENEINIC->LineaComandos().contains(QStringLiteral("U=ADMIN")));

    // What the entry asks of the routine: the command line and a normal window.
    QStringList ejecutados;
    {
        const Gancho<EjecutarProgramaFn>::Instalacion grabadora(
            ganchoEjecutarPrograma(), [&](const QString &linea, const QString &opciones) { ejecutados << linea << opciones; });
        v.AplicacionesEspeciales1->Click();
    }
    EXPECT_EQ(ejecutados, (QStringList{QStringLiteral("GALVERIN.EXE ") + fGENEINIC->LineaComandos(), "Normal"}));
}

TEST_F(VentanaPrincipalTest, WhatIsNewIsNotAvailableYet)
{
    TfPROYMENU &v = mostrar();
    mensajes_.limpiar();
    v.LoNuevoDeMenu->Click();
    EXPECT_EQ(textosDeTipo(QStringLiteral("I")),
              QStringList{QStringLiteral("Está opción estará disponible en próximas versiones.")});
}

TEST_F(VentanaPrincipalTest, CtrlEOnTheHiddenToggleSwitchesTheCurrencyOfEveryWindow)
{
    TfPROYMENU &v = mostrar();
    auto *hija = plat::createForm<VentanaConMoneda>();
    // With a company open the start left the toggle unchecked: national currency, no panel.
    EXPECT_FALSE(v.VerDatosenMonedaNacionalOEuro->checked());
    EXPECT_EQ(v.PanelMoneda->caption(), QStringLiteral("Pts"));
    QApplication::setActiveWindow(&v);
    QTest::keyClick(&v, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(v.VerDatosenMonedaNacionalOEuro->checked());
    EXPECT_TRUE(ModuloDatos->VistaMonedaActual.valor()().menuOtraMoneda);   // amounts follow the menu
    QTest::keyClick(&v, Qt::Key_E, Qt::ControlModifier);
    EXPECT_FALSE(v.VerDatosenMonedaNacionalOEuro->checked());
    EXPECT_EQ(hija->vistos, (QStringList{QStringLiteral("€"), QString()}));
    EXPECT_EQ(v.PanelMoneda->caption(), QStringLiteral("Pts"));
    EXPECT_EQ(v.PanelMoneda->font().pointSize(), 18);
    // The entry's picture shows the switch the next press makes.
    const auto picture = [&v] { return v.VerDatosenMonedaNacionalOEuro->action()->icon().pixmap(32).toImage(); };
    EXPECT_EQ(picture(), ImagenPrograma(QStringLiteral("EUROPTS")).toImage());
    QTest::keyClick(&v, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(picture(), ImagenPrograma(QStringLiteral("PTSEURO")).toImage());
}

TEST_F(VentanaPrincipalTest, HelpFollowsTheActiveWindowAndTheLogoShrinks)
{
    TfPROYMENU &v = mostrar();
    QStringList paginas;
    AperturaURLInstalada apertura([&](const QUrl &url) {
        paginas << QFileInfo(url.toLocalFile()).fileName();
        return true;
    });
    v.Ayuda1->Click();
    EXPECT_FALSE(v.Ayudade->visible());
    EXPECT_EQ(v.AyudadeMenu->caption(), QStringLiteral("&Ayuda de Gestión de Proyectos"));   // the item shown
    EXPECT_EQ(v.AyudadeMenu->shortCut(), plat::ShortCut(plat::VK_F1, {}));
    EXPECT_EQ(v.AcercadeMenu->caption(), QStringLiteral("A&cerca de Gestión de Proyectos"));
    v.AyudadeMenu->Click();
    v.IndicedeAyuda->Click();
    v.MaestrodeProyectos1->Click();
    v.Ayuda1->Click();
    EXPECT_TRUE(v.Ayudade->visible());
    EXPECT_EQ(v.AyudadeMenu->shortCut(), 0);
    EXPECT_EQ(v.Ayudade->shortCut(), plat::ShortCut(plat::VK_F1, {}));
    EXPECT_EQ(v.Ayudade->caption(), QStringLiteral("A&yuda de Maestro de Proyectos"));
    v.Ayudade->Click();
    // The contexts of the name map: 15 for the program, 0 the index, 42 for the window.
    EXPECT_EQ(paginas, (QStringList{"15.html", "index.html", "42.html"}));

    v.PanelLogotipo->resize(100, 75);
    QList<int> anchos;
    for (int i = 0; i < 5; ++i) {
        v.ImagenLogotipoClick(v.ImagenLogotipo);
        anchos << v.PanelLogotipo->width();
        EXPECT_EQ(v.PanelLogotipo->height(), v.PanelLogotipo->width() * 3 / 4);
    }
    EXPECT_EQ(anchos, (QList<int>{80, 60, 40, 20, 160}));
}

TEST_F(VentanaPrincipalTest, TheAboutBoxNamesTheProgram)
{
    TfPROYMENU &v = mostrar();
    QString titulo, producto;
    plat::application().OnModalShown = [&](plat::Form &acerca) {
        titulo = acerca.caption();
        if (auto *etiqueta = acerca.findComponent<plat::Label>(QStringLiteral("NombreProducto")))
            producto = etiqueta->caption();
        acerca.setModalResult(plat::mrOk);
    };
    v.AcercadeMenu->Click();
    plat::application().OnModalShown = nullptr;
    EXPECT_EQ(titulo, QStringLiteral("Acerca de Gestión de Proyectos"));
    EXPECT_EQ(producto, QStringLiteral("Gestión de Proyectos"));
    EXPECT_EQ(plat::application().findForm(QStringLiteral("fGENEACER")), nullptr);
}

TEST_F(VentanaPrincipalTest, TheCompanyLogoShowsWhenItLoadsAndHidesWhenItCannot)
{
    escribir(QStringLiteral("KORVEL.INI"), QStringLiteral("[Configuración]\r\nVisualizarLogoEmpresaEnMenu=SI\r\n"));
    general({QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre, Abreviatura, Logotipo) VALUES (2, 'Con Logo', 'LOG', "
                            "'logo2.png')"),
             QStringLiteral("UPDATE USUARIO SET Empresas = '1' || char(13) || char(10) || '2' WHERE Codigo = 'ADMIN'")});
    ASSERT_TRUE(fGENEINIC->CrearBaseDatosEmpresa(2));
    QImage logo(40, 30, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    ASSERT_TRUE(logo.save(dir_.file(QStringLiteral("logo2.png"))));
    TfPROYMENU &v = mostrar();
    EXPECT_FALSE(v.PanelLogotipo->isVisibleTo(&v));   // company 1: LOGO.BMP does not exist
    fGENEINIC->Conexiones().EmpresaActual = 2;
    v.AbrirEmpresa();
    EXPECT_TRUE(v.PanelLogotipo->isVisibleTo(&v));
    EXPECT_EQ(v.ImagenLogotipo->picture().size(), QSize(40, 30));
    EXPECT_EQ(fGENEINIC->NombreArchivoLogo, QStringLiteral("logo2.png"));
}

#include "PROYMENU_test.moc"

// The background is the program's picture at the size of the area, made when the area is
// painted and made again when it is painted at another size.
TEST_F(VentanaPrincipalTest, TheBackgroundFillsTheAreaAtEverySizeItIsPaintedAt)
{
    TfPROYMENU &v = mostrar();
    QWidget *area = v.mdiArea()->viewport();
    const auto fondo = [&] { return v.mdiArea()->background().texture().toImage(); };
    for (const QSize tamano : {QSize(800, 600), QSize(1000, 700)}) {
        v.setWindowState(Qt::WindowNoState);
        v.resize(tamano);
        v.grab();
        ASSERT_EQ(fondo().size(), area->size()) << tamano.width();
        // The picture's gradient runs from a light top to a darker bottom.
        const QColor arriba = fondo().pixelColor(2, 2);
        const QColor abajo = fondo().pixelColor(2, area->height() - 3);
        EXPECT_NEAR(arriba.red(), 232, 3);
        EXPECT_LT(abajo.red(), arriba.red() - 40);
    }
}
