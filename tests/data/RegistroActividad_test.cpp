#include "ModuloFixture.h"
#include "tests/support/ImprimirQString.h"

#include "GENEW/data/servicios/RegistroActividad.h"
#include "GENEW/runtime/Plataforma.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/Form.h"

#include <QDir>
#include <QRegularExpression>
#include <stdexcept>

namespace {

AccesoFormulario acceso(const QString &accion, int segundo = 0)
{
    return AccesoFormulario{FechaHora(QDate(2024, 3, 5), QTime(9, 7, segundo)), accion, "fPROYMANT", "Proyectos",
                            "equipo/10.0.0.1"};
}

TEST(RegistroActividad, AccessLineHasEveryFieldFollowedByAComma)
{
    EXPECT_EQ(LineaRegistroAcceso(acceso("Show", 8)), "05/03/2024 09:07:08, Show, fPROYMANT, Proyectos, equipo/10.0.0.1, ");
}

TEST(RegistroActividad, TheLogKeepsTheNewest101LinesAndStartRestartsIt)
{
    gptest::TempDir dir;
    const QString fichero = dir.file("usuario.log");
    DiarioAccesos diario(fichero);
    for (int i = 0; i < 150; ++i)
        diario.registrar(acceso(QString("Accion%1").arg(i)));
    QStringList lineas = DividirLineas(LeerFicheroTexto(fichero));
    ASSERT_EQ(lineas.size(), 101);
    EXPECT_TRUE(lineas.first().contains(", Accion49, "));
    EXPECT_TRUE(lineas.last().contains(", Accion149, "));

    diario.registrar(acceso("Start,Show"));
    lineas = DividirLineas(LeerFicheroTexto(fichero));
    ASSERT_EQ(lineas.size(), 1);
    EXPECT_EQ(lineas.first(), LineaRegistroAcceso(acceso("Show")));
}

TEST(RegistroActividad, ALogThatCannotBeWrittenIsLostSilently)
{
    gptest::TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("usuario.log"));
    DiarioAccesos(dir.file("usuario.log")).registrar(acceso("Show"));
    EXPECT_TRUE(QFileInfo(dir.file("usuario.log")).isDir());
}

TEST(RegistroActividad, TraceLineIsOneLineWithMilliseconds)
{
    const QDateTime momento = FechaHora(QDate(2024, 3, 5), QTime(14, 5, 9, 42));
    EXPECT_EQ(LineaTraza("ANA", momento, "primera\r\nsegunda\nfin"), "ANA|2024/03/05|14:05:09:042|primera segunda fin");

    gptest::TempDir dir;
    QStringList traza;
    AnotarTraza(traza, dir.file("traza.txt"), "uno");
    AnotarTraza(traza, dir.file("traza.txt"), "dos");
    EXPECT_EQ(LeerFicheroTexto(dir.file("traza.txt")), "uno\r\ndos\r\n");
}

// ---- through the data module ------------------------------------------------------------

class ActividadModuloTest : public ModuloFixture
{
protected:
    void SetUp() override
    {
        ModuloFixture::SetUp();
        prepararMotor(false);
        form_->UsuarioActual = "ANA";
    }

    QString ficheroLog() const { return dir_.file(ObtenerUsuarioWindows() + ".log"); }
};

TEST_F(ActividadModuloTest, FormActivityIsLoggedOnlyWhenMonitored)
{
    plat::Form formulario;
    formulario.setObjectName("fPROYMANT");
    formulario.setCaption("Proyectos");
    modulo_->RegistrarAccesoFormulario(&formulario, "Show");
    EXPECT_FALSE(QFileInfo::exists(ficheroLog()));

    form_->Configuracion.parametros.MonitorizarActividadUsuario = true;
    modulo_->RegistrarAccesoFormulario(nullptr, "Show");
    EXPECT_FALSE(QFileInfo::exists(ficheroLog()));
    modulo_->RegistrarAccesoFormulario(&formulario, "Start,Show");
    modulo_->RegistrarAccesoFormulario(&formulario, "Close");
    const QStringList lineas = DividirLineas(LeerFicheroTexto(ficheroLog()));
    ASSERT_EQ(lineas.size(), 2);
    EXPECT_TRUE(lineas.at(0).contains(", Show, fPROYMANT, Proyectos, ")) << lineas.at(0).toStdString();
    EXPECT_TRUE(lineas.at(1).endsWith(", ")) << lineas.at(1).toStdString();
}

TEST_F(ActividadModuloTest, TraceIsWrittenOnlyWithAFileNameAndCatchesErrors)
{
    const QString fichero = dir_.file("TRAZA.TXT");
    modulo_->TrazaDepuracion("sin fichero");
    EXPECT_TRUE(form_->TrazaDepuracion.isEmpty());

    form_->PonerArchivoTraza(fichero);
    modulo_->TrazaDepuracion("paso 1\r\npaso 2");
    ASSERT_EQ(form_->TrazaDepuracion.size(), 1);
    const QStringList partes = form_->TrazaDepuracion.first().split(u'|');
    ASSERT_EQ(partes.size(), 4);
    EXPECT_EQ(partes.at(0), "ANA");
    EXPECT_TRUE(QRegularExpression("^\\d{4}/\\d{2}/\\d{2}$").match(partes.at(1)).hasMatch());
    EXPECT_TRUE(QRegularExpression("^\\d{2}:\\d{2}:\\d{2}:\\d{3}$").match(partes.at(2)).hasMatch());
    EXPECT_EQ(partes.at(3), "paso 1 paso 2");

    // An unhandled exception (every one at level "Maximo") and a failing statement reach it.
    form_->Manejador().nivelCapturaIncidencias = "Maximo";
    form_->Manejador().GestionExcepciones(nullptr, std::runtime_error("Fallo inesperado de prueba"));
    EXPECT_TRUE(form_->TrazaDepuracion.last().endsWith("|Fallo inesperado de prueba"))
        << form_->TrazaDepuracion.last().toStdString();
    sql("SELECT NoExiste FROM USUARIO", "DatabaseGeneral", "Silenciosa");
    EXPECT_TRUE(form_->TrazaDepuracion.last().endsWith("SELECT NoExiste FROM USUARIO"));
    EXPECT_EQ(DividirLineas(LeerFicheroTexto(fichero)), form_->TrazaDepuracion);

    // Once the module is gone the handler no longer traces.
    liberarModulo();
    const qsizetype antes = form_->TrazaDepuracion.size();
    form_->Manejador().GestionExcepciones(nullptr, std::runtime_error("Otro fallo"));
    EXPECT_EQ(form_->TrazaDepuracion.size(), antes);
}

} // namespace
