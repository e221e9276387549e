#include "ModuloFixture.h"
#include "tests/support/ImprimirQString.h"

#include "GENEW/data/servicios/DerechosUsuario.h"
#include "GENEW/runtime/Plataforma.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/Menus.h"

namespace {

const QString kPideCodigo = "Introduzca el Código de Usuario:";
const QString kPideClave = "Introduzca la Clave de Acceso:";
const QString kClaveIncorrecta = "¡La Clave de Acceso es incorrecta!";
const QString kRevocado = "¡Su derecho de acceso ha sido revocado!. Contacte con el administrador del sistema.";
const QString kNoDefinido = "¡El usuario no está definido!";
const QString kSoloAdministrador =
    "¡Es necesario ser un usuario con categoría de Administrador para realizar este proceso!";

// Users of USUARIO written by the test: PEPE with a password, PERFIL a profile that
// INVITADO inherits, ANA a plain user.
class UsuariosTest : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        usuario("PEPE", "Normal", "secreto", "Configuracion", "ContadorAccesos=0\r\nCamposNoVisibles=Precio\r\n");
        usuario("PERFIL", "Normal", "", "ProgramasNoAccesibles", "Tablas Privadas\r\nParámetros Globales\r\n");
        sql("UPDATE USUARIO SET ProgramasSoloLectura = 'Listados', Configuracion = 'IndicesBusqueda=PROYECT:1\r\n"
            "ProcesosNoAutorizados=Borrar,Copiar\r\nServidorSMTP=smtp.perfil\r\n' WHERE Codigo = 'PERFIL'",
            "DatabaseGeneral");
        usuario("INVITADO", "PERFIL", "", "Configuracion", "IndicesBusqueda=PROYECT:2,LPROYECT:x\r\n");
        usuario("ANA", "Normal", "", "Empresas", "1\r\n3\r\n");
        mensajes_.limpiar();
    }

    void usuario(const QString &codigo, const QString &categoria, const QString &clave, const QString &columna,
                 const QString &valor)
    {
        ASSERT_EQ(sql(QString("INSERT INTO USUARIO (Codigo, Nombre, Categoria, ClaveAcceso, %1) VALUES (%2, %2, %3, %4, "
                              "%5)")
                          .arg(columna, Entrecomillar(codigo), Entrecomillar(categoria), Entrecomillar(clave),
                               Entrecomillar(valor)),
                      "DatabaseGeneral"),
                  QString());
    }

    QString columna(const QString &codigo, const QString &nombre)
    {
        return sql(QString("SELECT %1 FROM USUARIO WHERE Codigo = '%2'").arg(nombre, codigo), "DatabaseGeneral");
    }

    // Logs in with the answers typed in order; the messages shown, kind then text.
    QStringList entrar(const QStringList &respuestas, bool *identificado = nullptr, QString *codigo = nullptr)
    {
        mensajes_.limpiar();
        mensajes_.programarRespuestas(respuestas);
        QString c;
        const bool ok = modulo_->IdentificarUsuario(c);
        if (identificado)
            *identificado = ok;
        if (codigo)
            *codigo = c;
        QStringList vistos;
        for (const auto &m : mensajes_.mensajes())
            vistos << m.tipo + ": " + m.texto;
        return vistos;
    }
};

// ---- log-in -------------------------------------------------------------------------------

TEST_P(UsuariosTest, TheCodeIsAskedWithTheRunsUserAndAnEmptyAnswerFails)
{
    bool ok = true;
    EXPECT_EQ(entrar({""}, &ok), QStringList{"P: " + kPideCodigo});
    EXPECT_FALSE(ok);
    EXPECT_EQ(mensajes_.mensajes().first().respuestaPropuesta, "ADMIN");
    // ADMIN has no password: no question for it.
    QString codigo;
    EXPECT_EQ(entrar({"ADMIN"}, &ok, &codigo), QStringList{"P: " + kPideCodigo});
    EXPECT_TRUE(ok);
    EXPECT_EQ(codigo, "ADMIN");
    EXPECT_EQ(form_->UsuarioActual, "ADMIN");
    EXPECT_EQ(form_->Conexiones().UsuarioActual, "ADMIN");
}

TEST_P(UsuariosTest, ThePasswordIsAskedMaskedAndFailuresAreCounted)
{
    bool ok = false;
    EXPECT_EQ(entrar({"PEPE", "secreto"}, &ok), (QStringList{"P: " + kPideCodigo, "P: " + kPideClave}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(mensajes_.mensajes().at(1).respuestaPropuesta, "Password");
    EXPECT_EQ(form_->UsuarioActual, "PEPE");
    EXPECT_EQ(form_->ClaveAccesoActual, "secreto");
    EXPECT_EQ(form_->CamposNoVisibles, "Precio");
    EXPECT_TRUE(modulo_->EsCampoNoVisible("PrecioVenta"));
    EXPECT_FALSE(modulo_->EsCampoNoVisible("Codigo"));

    // One failure, then the right password puts the counter back to 0.
    EXPECT_EQ(entrar({"PEPE", "otra"}, &ok), (QStringList{"P: " + kPideCodigo, "P: " + kPideClave, "A: " + kClaveIncorrecta}));
    EXPECT_FALSE(ok);
    EXPECT_EQ(modulo_->LeerConfiguracionUsuario("PEPE", "ContadorAccesos"), "1");
    entrar({"PEPE", "secreto"}, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(modulo_->LeerConfiguracionUsuario("PEPE", "ContadorAccesos"), "0");

    // At 2 a wrong password makes 3, and the next log-in is refused before any password.
    modulo_->GrabarConfiguracionUsuario("PEPE", "ContadorAccesos", "2");
    entrar({"PEPE", "mal"}, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(modulo_->LeerConfiguracionUsuario("PEPE", "ContadorAccesos"), "3");
    EXPECT_EQ(entrar({"PEPE", "secreto"}, &ok), (QStringList{"P: " + kPideCodigo, "A: " + kRevocado}));
    EXPECT_FALSE(ok);
}

TEST_P(UsuariosTest, UnknownUsersAndWindowsAuthentication)
{
    bool ok = true;
    EXPECT_EQ(entrar({"NADIE"}, &ok), (QStringList{"P: " + kPideCodigo, "A: " + kNoDefinido}));
    EXPECT_FALSE(ok);

    // With Windows authentication the logon name is taken without questions and added.
    form_->Configuracion.parametros.AutenticacionWindows = true;
    const QString windows = ObtenerUsuarioWindows();
    QString codigo;
    EXPECT_EQ(entrar({}, &ok, &codigo), QStringList{});
    EXPECT_TRUE(ok);
    EXPECT_EQ(codigo, windows);
    EXPECT_EQ(sql("SELECT Nombre, Categoria FROM USUARIO WHERE Codigo = " + Entrecomillar(windows), "DatabaseGeneral"),
              windows + "|Normal");
    // A password on record becomes the current one without a question.
    sql("UPDATE USUARIO SET ClaveAcceso = 'w' WHERE Codigo = " + Entrecomillar(windows), "DatabaseGeneral");
    EXPECT_EQ(entrar({}, &ok), QStringList{});
    EXPECT_TRUE(ok);
    EXPECT_EQ(form_->ClaveAccesoActual, "w");
}

// ---- settings and profiles -------------------------------------------------------------------

TEST_P(UsuariosTest, ProfileUsersInheritAllButTheirOwnKeys)
{
    TModuloDatos &m = *modulo_;
    EXPECT_EQ(m.UsuarioConfiguracion("INVITADO"), "PERFIL");
    EXPECT_EQ(m.UsuarioConfiguracion("ANA"), "ANA");
    EXPECT_EQ(m.UsuarioConfiguracion("ADMIN"), "ADMIN");
    EXPECT_EQ(m.LeerConfiguracionUsuario("INVITADO", "ProgramasNoAccesibles"),
              "Tablas Privadas\r\nParámetros Globales\r\n");
    EXPECT_EQ(m.LeerConfiguracionUsuario("INVITADO", "IndicesBusqueda"), "PROYECT:2,LPROYECT:x");
    EXPECT_EQ(m.LeerConfiguracionUsuario("INVITADO", "ServidorSMTP"), "smtp.perfil");
    // Defaults: a missing value, a missing user; an empty column is empty, not the default.
    EXPECT_EQ(m.LeerConfiguracionUsuario("ANA", "ContadorAccesos", "0"), "0");
    EXPECT_EQ(m.LeerConfiguracionUsuario("NADIE", "Empresas", "x"), "x");
    EXPECT_EQ(m.LeerConfiguracionUsuario("ANA", "ProgramasActivos", "x"), "");
    // Writing to a profile user's inherited key writes the profile; an empty value removes it.
    m.GrabarConfiguracionUsuario("INVITADO", "ControlesNoVisibles", "pbBorrar");
    EXPECT_EQ(m.LeerConfiguracionUsuario("PERFIL", "ControlesNoVisibles"), "pbBorrar");
    m.GrabarConfiguracionUsuario("PERFIL", "ControlesNoVisibles", "");
    EXPECT_FALSE(columna("PERFIL", "Configuracion").contains("ControlesNoVisibles"));
    m.GrabarConfiguracionUsuario("NADIE", "Empresas", "1");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM USUARIO WHERE Codigo = 'NADIE'", "DatabaseGeneral"), "0");
}

TEST_P(UsuariosTest, TwoRunsWritingDifferentKeysKeepBoth)
{
    TModuloDatos &m = *modulo_;
    ASSERT_EQ(m.LeerConfiguracionUsuario("ANA", "DatosBusqueda", "nada"), "nada");   // the row is read here
    // Another run writes its key meanwhile.
    ASSERT_EQ(sql("UPDATE USUARIO SET Configuracion = 'ContadorAccesos=2\r\n' WHERE Codigo = 'ANA'", "DatabaseGeneral"),
              QString());
    m.GrabarConfiguracionUsuario("ANA", "DatosBusqueda", "PROYECT=Codigo(F)");
    const QString guardada = columna("ANA", "Configuracion");
    EXPECT_TRUE(guardada.contains("ContadorAccesos=2")) << guardada.toStdString();
    EXPECT_TRUE(guardada.contains("DatosBusqueda=PROYECT=Codigo(F)")) << guardada.toStdString();
}

// ---- rights ---------------------------------------------------------------------------------

TEST_P(UsuariosTest, ProgramAccessLevelsCompanyAndProcesses)
{
    TModuloDatos &m = *modulo_;
    EXPECT_EQ(m.NivelAccesoPrograma("INVITADO", "&Parámetros &Globales"), "Ninguno");
    ASSERT_EQ(mensajes_.mensajes().size(), 1);
    EXPECT_EQ(mensajes_.mensajes().first().tipo, "I");
    EXPECT_EQ(mensajes_.mensajes().first().texto, "Vd. no tiene acceso al programa Parámetros Globales");
    mensajes_.limpiar();
    EXPECT_EQ(m.NivelAccesoPrograma("INVITADO", "&Listados"), "Solo Lectura");
    EXPECT_EQ(m.NivelAccesoPrograma("ANA", "Parámetros Globales"), "Total");
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());

    sql("UPDATE USUARIO SET ProgramasActivos = 'Proyectos\r\n' WHERE Codigo = 'ANA'", "DatabaseGeneral");
    EXPECT_TRUE(m.EsProgramaActivo("ANA", "&Proyectos"));
    EXPECT_FALSE(m.EsProgramaActivo("ANA", "Proyecto"));

    EXPECT_TRUE(m.UsuarioAccedeEmpresa("ANA", 3));
    EXPECT_FALSE(m.UsuarioAccedeEmpresa("ANA", 2));
    EXPECT_FALSE(m.UsuarioAccedeEmpresa("PEPE", 1));   // empty list
    EXPECT_FALSE(m.UsuarioAccedeEmpresa("NADIE", 1));

    EXPECT_FALSE(m.ProcesoAutorizado("INVITADO", "Borrar"));
    EXPECT_TRUE(m.ProcesoAutorizado("INVITADO", "Imprimir"));
    EXPECT_TRUE(m.ProcesoAutorizado("ANA", "Borrar"));
}

TEST_P(UsuariosTest, AdministratorTestWarnsUnlessSilent)
{
    TModuloDatos &m = *modulo_;
    EXPECT_TRUE(m.EsAdministrador("ADMIN"));
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());
    EXPECT_FALSE(m.EsAdministrador("ANA", "Silencio"));
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());
    EXPECT_FALSE(m.EsAdministrador("ANA"));
    ASSERT_EQ(mensajes_.mensajes().size(), 1);
    EXPECT_EQ(mensajes_.mensajes().first().tipo, "A");
    EXPECT_EQ(mensajes_.mensajes().first().texto, kSoloAdministrador);
    // A profile user is what its profile is.
    sql("UPDATE USUARIO SET Categoria = 'Administrador' WHERE Codigo = 'PERFIL'", "DatabaseGeneral");
    sql("UPDATE USUARIO SET Categoria = 'PERFIL' WHERE Codigo = 'ANA'", "DatabaseGeneral");
    EXPECT_TRUE(m.EsAdministrador("ANA", "Silencio"));
}

TEST_P(UsuariosTest, StoredQueriesForTheUsersTheyName)
{
    TModuloDatos &m = *modulo_;
    ASSERT_EQ(sql("INSERT INTO FILTRO (NombreTabla, Descripcion, Instrucciones) VALUES ('SQL', 'Ventas', "
                  "'Otra=1\r\nUsuariosAutorizados=PEPE2, ANA,PERFIL\r\n')"),
              QString());
    ASSERT_EQ(sql("INSERT INTO FILTRO (NombreTabla, Descripcion, Instrucciones) VALUES ('SQL', 'Libre', 'Otra=1')"),
              QString());
    EXPECT_TRUE(m.ConsultaAutorizada("Ventas", "ANA"));
    EXPECT_FALSE(m.ConsultaAutorizada("Ventas", "PEPE"));      // inside "PEPE2" only
    EXPECT_TRUE(m.ConsultaAutorizada("Ventas", "INVITADO"));   // through its profile
    EXPECT_TRUE(m.ConsultaAutorizada("Ventas", "ADMIN"));
    EXPECT_TRUE(m.ConsultaAutorizada("Libre", "PEPE"));
    EXPECT_TRUE(m.ConsultaAutorizada("No guardada", "PEPE"));
}

TEST_P(UsuariosTest, SearchIndexOfTheCurrentUser)
{
    TModuloDatos &m = *modulo_;
    form_->UsuarioActual = "INVITADO";
    EXPECT_EQ(m.IndiceBusquedaUsuario("PROYECT"), 2);
    EXPECT_EQ(m.IndiceBusquedaUsuario("LPROYECT"), -1);   // not a number
    EXPECT_EQ(m.IndiceBusquedaUsuario("CLIENTE"), -1);
    form_->Configuracion.parametros.DesactivarIndicesPorUsuarioEnBusquedas = true;
    EXPECT_EQ(m.IndiceBusquedaUsuario("PROYECT"), -1);
}

TEST_P(UsuariosTest, MailSettingsFromTheUserOrTheGeneralParameters)
{
    ASSERT_EQ(sql("INSERT INTO PARAGENE (IdRegistro, CfgCorreoElectronico) VALUES (0, 'ClienteSMTP=Indy\r\n"
                  "ServidorSMTP=smtp.empresa\r\nPuertoSSL=465\r\nServidorSMTP(Masivo)=smtp.masivo\r\n')"),
              QString());
    TModuloDatos &m = crearModulo();
    form_->UsuarioActual = "ANA";
    EXPECT_EQ(m.ConfiguracionSMTP(), "ClienteSMTP=Indy\r\nServidorSMTP=smtp.empresa\r\nCodigoUsuarioSMTP=\r\n"
                                     "ClaveAccesoSMTP=\r\nPuertoSSL=465\r\nCuentaSMTPCopiasDocumentos=\r\nCuentaFromSMTP=");
    EXPECT_EQ(m.ConfiguracionSMTP("Masivo"),
              "ClienteSMTP(Masivo)=\r\nServidorSMTP(Masivo)=smtp.masivo\r\nCodigoUsuarioSMTP(Masivo)=\r\n"
              "ClaveAccesoSMTP(Masivo)=\r\nPuertoSSL(Masivo)=\r\nCuentaSMTPCopiasDocumentos(Masivo)=\r\n"
              "CuentaFromSMTP(Masivo)=");
    // One value of the user's own (here its profile's) replaces the whole set.
    form_->UsuarioActual = "INVITADO";
    EXPECT_EQ(m.ConfiguracionSMTP(), "ClienteSMTP=\r\nServidorSMTP=smtp.perfil\r\nCodigoUsuarioSMTP=\r\n"
                                     "ClaveAccesoSMTP=\r\nPuertoSSL=\r\nCuentaSMTPCopiasDocumentos=\r\nCuentaFromSMTP=");
}

TEST_P(UsuariosTest, MenuPathsLeaveOutTheMenuBarEntry)
{
    plat::MainMenu menu;
    auto *tablas = new plat::MenuItem("&Tablas");
    auto *parametros = new plat::MenuItem("&Parámetros");
    auto *globales = new plat::MenuItem("&Globales");
    menu.Items()->Add(tablas);
    tablas->Add(parametros);
    parametros->Add(globales);
    EXPECT_EQ(modulo_->RutaMenu(globales), "&Parámetros &Globales");
    EXPECT_EQ(modulo_->RutaMenu(parametros), "&Parámetros");
    EXPECT_EQ(modulo_->RutaMenu(tablas), "&Tablas");
    EXPECT_EQ(modulo_->RutaMenu(&menu), QString());
    EXPECT_EQ(modulo_->RutaMenu(nullptr), QString());
}

INSTANTIATE_TEST_SUITE_P(Motores, UsuariosTest, ::testing::Bool(), NombreMotor);

// ---- hidden fields --------------------------------------------------------------------------

struct CasoCampo
{
    QString lista, campo;
    bool oculto;
};

TEST(DerechosUsuario, HiddenFieldsByFragmentExceptThoseNamedWithAMinus)
{
    const CasoCampo casos[] = {
        {"", "Precio", false},
        {"Precio", "PrecioVenta", true},
        {"precio", "PRECIOCOSTE", true},
        {"Precio,-PrecioVenta", "PrecioVenta", false},
        {"Precio,-preciOventa", "PRECIOVENTA", false},
        {"Precio,-PrecioVenta", "PrecioCoste", true},
        {"Coste", "Precio", false},
        // Empty items (doubled or final commas) hide nothing.
        {"Coste,,", "Precio", false},
        {",Coste", "Codigo", false},
    };
    for (const CasoCampo &c : casos)
        EXPECT_EQ(EsCampoNoVisible(c.lista, c.campo), c.oculto) << c.lista.toStdString() << " / " << c.campo.toStdString();
}

TEST(DerechosUsuario, AuthorisedUsersAreWholeItems)
{
    EXPECT_TRUE(UsuarioEnListaAutorizados("", "ANA"));
    EXPECT_TRUE(UsuarioEnListaAutorizados("PEPE, ANA", "ANA"));
    EXPECT_FALSE(UsuarioEnListaAutorizados("ANABEL,PEPE", "ANA"));
    EXPECT_FALSE(UsuarioEnListaAutorizados("ANABEL,PEPE", ""));
}

} // namespace
