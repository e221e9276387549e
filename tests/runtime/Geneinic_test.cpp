#include "ArranqueFixture.h"
#include "GENEW/runtime/Plataforma.h"

#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"

#include <QFileInfo>
#include <QTimer>

namespace {

class GeneinicTest : public ArranqueFixture
{
};

TEST_F(GeneinicTest, SettingsOfTheRunAreHeldAndApplied)
{
    escribir(QStringLiteral("KORVEL.INI"), QStringLiteral("[Configuración]\r\nTiempoForzarTerminacionAplicacion=30\r\n"
                                                          "AspectoAplicacion=clasico\r\n"));
    escribir(QStringLiteral("KORVEL.MAP"), QStringLiteral("1 Maestro_de_Proyectos 300\r\n2 Notas 400\r\n"));
    escribir(QStringLiteral("_QS123.TMP"), QStringLiteral("x"));
    TfGENEINIC &f = arrancar({QStringLiteral("u=pepe"), QStringLiteral("T=2")});
    ASSERT_FALSE(f.ArranqueFallido);
    EXPECT_EQ(f.UsuarioActual, "pepe");
    EXPECT_EQ(f.CodigoIdioma, "2");
    EXPECT_EQ(f.LineaComandos(), " U=pepe I= T=2");
    EXPECT_FALSE(QFileInfo::exists(dir_.file(QStringLiteral("_QS123.TMP"))));
    EXPECT_TRUE(f.TimerAplicacion->isActive());
    EXPECT_EQ(f.TimerAplicacion->interval(), 15000);
    EXPECT_EQ(f.FuenteAspecto.family(), "MS Sans Serif");
    EXPECT_EQ(f.NombreDeCodigoEnLista(300), "Maestro de Proyectos");
    EXPECT_EQ(f.NombreDeCodigoEnLista(999), QString());
    for (const char *nombre : {"MANOD", "EUROPTS", "PTSEURO", "DOCEON", "DOCEOFF"})
        EXPECT_FALSE(f.Imagenes.value(QString::fromLatin1(nombre)).isNull()) << nombre;
    EXPECT_FALSE(f.Conexiones().EnTransaccion);
    // The start-up form serves the platform description to the layers below.
    ASSERT_TRUE(ganchoObtenerPlataforma().valor());
    EXPECT_TRUE(ganchoObtenerPlataforma().valor()().startsWith("PlataformaBase=Linux"));
}

TEST_F(GeneinicTest, TheProgramDefersTheOldWorkFilesToItsCall)
{
    escribir(QStringLiteral("_QS123.TMP"), QStringLiteral("x"));
    TfGENEINIC::DiferirBorradoTemporales = true;
    TfGENEINIC &f = arrancar({QStringLiteral("U=pepe")});
    TfGENEINIC::DiferirBorradoTemporales = false;
    ASSERT_FALSE(f.ArranqueFallido);
    EXPECT_TRUE(QFileInfo::exists(dir_.file(QStringLiteral("_QS123.TMP"))));
    f.BorrarTemporalesPendientes();
    EXPECT_FALSE(QFileInfo::exists(dir_.file(QStringLiteral("_QS123.TMP"))));
    // Once: a work file of this run made afterwards stays.
    escribir(QStringLiteral("_QS456.TMP"), QStringLiteral("x"));
    f.BorrarTemporalesPendientes();
    EXPECT_TRUE(QFileInfo::exists(dir_.file(QStringLiteral("_QS456.TMP"))));
    // The pictures are painted when asked for; one put in replaces its painting.
    const QPixmap pintada = f.Imagenes.value(QStringLiteral("DOCEON"));
    EXPECT_FALSE(pintada.isNull());
    EXPECT_TRUE(f.Imagenes.value(QStringLiteral("NINGUNA")).isNull());
    QPixmap propia(3, 3);
    f.Imagenes.insert(QStringLiteral("DOCEON"), propia);
    EXPECT_EQ(f.Imagenes.value(QStringLiteral("DOCEON")).size(), QSize(3, 3));
}

TEST_F(GeneinicTest, WithoutAnInactivityTimeTheTimerStaysOff)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    EXPECT_FALSE(f.TimerAplicacion->isActive());
    EXPECT_EQ(f.FuenteAspecto.family(), "Segoe UI");
}

// Numbered private folders: one successful attempt is enough to go on, and the folder is the
// one of this copy's session number (other copies running beside it hold the lower ones).
TEST_F(GeneinicTest, APrivateFolderThatCanBeMadeDoesNotEndTheStartUp)
{
    escribir(QStringLiteral("KORVEL.INI"),
             QStringLiteral("[Configuración]\r\nBDEPrivateDir=auto\r\nArchivosTemporalesEnBD=NO\r\n"));
    escribir(QStringLiteral("BASESDATOS.TXT"), QStringLiteral("PathArchivosTemporales=temporales\r\n"));
    TfGENEINIC &f = arrancar();
    EXPECT_FALSE(f.ArranqueFallido) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());
    const QString propia = QStringLiteral("PRIVDIR/%1").arg(qMax(0, NumeroSesionRed()));
    EXPECT_TRUE(QFileInfo(dir_.file(propia)).isDir());
    EXPECT_TRUE(sesion_.privateDir().contains(propia)) << sesion_.privateDir().toStdString();
}

TEST_F(GeneinicTest, AnEngineThatDoesNotExistHereEndsTheStartUp)
{
    escribir(QStringLiteral("BASESDATOS.TXT"), QStringLiteral("TipoBaseDatos=Microsoft Access\r\n"));
    TfGENEINIC &f = arrancar();
    EXPECT_TRUE(f.ArranqueFallido);
    const QStringList errores = textosDeTipo(QStringLiteral("E"));
    ASSERT_EQ(errores.size(), 1);
    EXPECT_TRUE(errores[0].startsWith(QStringLiteral("¡Imposible iniciar la aplicación!. Motivo: ")));
    EXPECT_FALSE(QFileInfo::exists(dir_.file(QStringLiteral("datos"))));
}

TEST_F(GeneinicTest, TheExceptionHandlerIsInstalledOnceTheDatabasesAreOpen)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    mensajes_.limpiar();
    plat::application().handleException(&f, gp::DatabaseError(QStringLiteral("Key violation.\nUNIQUE failed")));
    ASSERT_EQ(mensajes_.mensajes().size(), 1);
    EXPECT_EQ(mensajes_.mensajes()[0].tipo, "A");
    EXPECT_EQ(mensajes_.mensajes()[0].texto, QStringLiteral("¡ Ya existe el registro !"));
}

TEST_F(GeneinicTest, ATableDatasetOpensOnItsDatabaseAndGetsItsTableCreated)
{
    TfGENEINIC &f = arrancar();
    ASSERT_FALSE(f.ArranqueFallido);
    ASSERT_TRUE(f.CrearBaseDatosEmpresa(1));
    f.ConectarBaseDatosEmpresa(1);

    // A general table goes to the general database whatever the component says.
    plat::TableDataSet usuarios(QStringLiteral("Table1"));
    usuarios.setTableName(QStringLiteral("EMPRESA"));
    usuarios.setDatabaseName(f.Database().databaseName());
    ASSERT_TRUE(f.AbrirDataSet(usuarios));
    EXPECT_EQ(usuarios.connection(), &f.DatabaseGeneral());
    EXPECT_EQ(usuarios.recordCount(), 1);

    // A company table of another company, named by "?" and its database.
    ASSERT_TRUE(f.CrearBaseDatosEmpresa(2));
    plat::TableDataSet otra(QStringLiteral("Table2"));
    otra.setTableName(QStringLiteral("CAMPOUSR"));
    DataSetAbribleDe<plat::TableDataSet> adaptada(otra, QStringLiteral("fPRUEBA"));
    f.AsignarBaseDatos(adaptada, 2);
    EXPECT_EQ(otra.databaseName(), u'?' + f.NombreBaseDatosEmpresa(2));
    EXPECT_EQ(f.BaseDatosDeTabla(QStringLiteral("PROYECT")), f.NombreBaseDatosEmpresa(1));
}

} // namespace
