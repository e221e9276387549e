#include "tests/support/ImprimirQString.h"
#include "GENEW/data/servicios/ServicioUsuarios.h"

#include <QMap>
#include <utility>
#include <gtest/gtest.h>

namespace {

using Fila = QMap<QString, QString>;

// USUARIO in memory: what is stored, and the row buffer a table component holds (read when
// the row is located, read again when the edit starts).
class TablaEnMemoria : public TablaUsuarios
{
public:
    QMap<QString, Fila> guardadas;
    std::function<void()> antesDeEditar;   // another run writing between the read and the edit

    bool abierta() const override { return true; }
    int localizados = 0;
    bool localizar(const QString &codigo) override
    {
        ++localizados;
        if (!guardadas.contains(codigo))
            return false;
        actual_ = codigo;
        buffer_ = guardadas.value(codigo);
        return true;
    }
    bool tieneCampo(const QString &campo) const override { return campo != "Inexistente"; }
    QString valor(const QString &campo) const override { return buffer_.value(campo); }
    bool editar() override
    {
        if (antesDeEditar)
            antesDeEditar();
        buffer_ = guardadas.value(actual_);
        return true;
    }
    void asignar(const QString &campo, const QString &valor) override { buffer_[campo] = valor; }
    bool escribirSiSigue(const QString &codigo, const QString &campo, const QString &anterior,
                         const QString &valor) override
    {
        if (!guardadas.contains(codigo) || guardadas[codigo].value(campo) != anterior)
            return false;
        guardadas[codigo][campo] = valor;
        return true;
    }
    bool grabar() override
    {
        guardadas[actual_] = buffer_;
        return true;
    }
    bool insertar() override { return false; }
    QString marcaCambios() const override { return QString::number(marca); }
    int marca = 0;

private:
    QString actual_;
    Fila buffer_;
};

TEST(ServicioUsuarios, ASettingIsWrittenFromTheRowAsTheEditReadIt)
{
    TablaEnMemoria tabla;
    tabla.guardadas["ANA"] = Fila{{"Codigo", "ANA"}, {"Configuracion", "DatosBusqueda=X\r\n"}};
    ServicioUsuarios servicio(tabla, [](const QString &) { return QString("Normal"); });
    tabla.antesDeEditar = [&] { tabla.guardadas["ANA"]["Configuracion"] = "DatosBusqueda=X\r\nContadorAccesos=2\r\n"; };
    servicio.GrabarConfiguracionUsuario("ANA", "IndicesBusqueda", "PROYECT:2");
    EXPECT_EQ(tabla.guardadas["ANA"]["Configuracion"], "DatosBusqueda=X\r\nContadorAccesos=2\r\nIndicesBusqueda=PROYECT:2\r\n");

    // An empty value removes the line; a column key writes the column.
    tabla.antesDeEditar = nullptr;
    servicio.GrabarConfiguracionUsuario("ANA", "DatosBusqueda", "");
    servicio.GrabarConfiguracionUsuario("ANA", "Empresas", "1\r\n2\r\n");
    EXPECT_EQ(tabla.guardadas["ANA"]["Configuracion"], "ContadorAccesos=2\r\nIndicesBusqueda=PROYECT:2\r\n");
    EXPECT_EQ(tabla.guardadas["ANA"]["Empresas"], "1\r\n2\r\n");
}

// A session reads each user's category and settings row once, whatever it asks of them; a
// setting it writes is read back as written without reading the row; a change of USUARIO
// it did not make (the count moved) has them read again.
TEST(ServicioUsuarios, SettingsAreReadOncePerSessionAndWrittenThroughTheSameOwner)
{
    TablaEnMemoria tabla;
    // The profile's settings are inherited; the search indexes and the count are ANA's own.
    tabla.guardadas["PERFIL"] = Fila{{"Codigo", "PERFIL"}, {"Categoria", "Administrador"},
                                     {"Configuracion", "ColorFondo=Azul\r\n"}, {"Empresas", "1\r\n2\r\n"}};
    tabla.guardadas["ANA"] = Fila{{"Codigo", "ANA"}, {"Categoria", "PERFIL"},
                                  {"Configuracion", "ContadorAccesos=1\r\nIndicesBusqueda=PROYECT:2\r\n"}};
    int preguntas = 0;
    ServicioUsuarios servicio(tabla, [&](const QString &sql) {
        ++preguntas;
        return tabla.guardadas.value(sql.section('\'', 1, 1)).value("Categoria");
    });
    for (int vez = 0; vez < 3; ++vez) {
        EXPECT_EQ(servicio.LeerConfiguracionUsuario("ANA", "IndicesBusqueda", "x"), "PROYECT:2");
        EXPECT_EQ(servicio.LeerConfiguracionUsuario("ANA", "ContadorAccesos", "0"), "1");
        EXPECT_EQ(servicio.LeerConfiguracionUsuario("ANA", "Empresas", "x"), "1\r\n2\r\n");
        EXPECT_EQ(servicio.LeerConfiguracionUsuario("ANA", "ColorFondo", "x"), "Azul");
        EXPECT_TRUE(servicio.UsuarioAccedeEmpresa("ANA", 2));
        EXPECT_TRUE(servicio.EsAdministrador("ANA", "Silencio"));
        EXPECT_EQ(servicio.LeerConfiguracionUsuario("NADIE", "Empresas", "x"), "x");
    }
    EXPECT_EQ(preguntas, 0);          // the categories come with the rows
    EXPECT_EQ(tabla.localizados, 3);  // PERFIL's row, ANA's own and NADIE's absence

    const int antesDeGrabar = tabla.localizados;
    servicio.GrabarConfiguracionUsuario("ANA", "IndicesBusqueda", "PROYECT:3");
    servicio.GrabarConfiguracionUsuario("ANA", "ContadorAccesos", "2");
    const int trasGrabar = tabla.localizados;
    EXPECT_EQ(trasGrabar, antesDeGrabar);   // written over the row kept, not read again
    EXPECT_EQ(servicio.LeerConfiguracionUsuario("ANA", "IndicesBusqueda", "x"), "PROYECT:3");
    EXPECT_EQ(servicio.LeerConfiguracionUsuario("ANA", "ContadorAccesos", "0"), "2");
    EXPECT_EQ(tabla.localizados, trasGrabar);
    EXPECT_EQ(preguntas, 0);

    tabla.guardadas["ANA"]["Configuracion"] = "ContadorAccesos=3\r\n";
    ++tabla.marca;
    EXPECT_EQ(servicio.LeerConfiguracionUsuario("ANA", "ContadorAccesos", "0"), "3");
    EXPECT_EQ(preguntas, 0);

    // Another program writes the row unseen (the count does not move): a write over the row
    // kept finds it changed, and the setting goes into the row as stored now, the other's kept.
    // ANA's own key goes into her row; the companies into her profile's.
    for (const auto &[clave, fila] : {std::pair<QString, QString>{"DatosBusqueda", "ANA"}, {"Empresas", "PERFIL"}}) {
        SCOPED_TRACE(clave.toStdString());
        EXPECT_FALSE(servicio.LeerConfiguracionUsuario("ANA", clave, "x").isEmpty());   // the row kept
        tabla.guardadas[fila]["Configuracion"] += "Otro=1\r\n";
        tabla.guardadas[fila]["Empresas"] += "9\r\n";
        servicio.GrabarConfiguracionUsuario("ANA", clave, "PROYECT;1");
        EXPECT_TRUE(tabla.guardadas[fila]["Configuracion"].contains("Otro=1"));
        EXPECT_EQ(servicio.LeerConfiguracionUsuario("ANA", clave, "x"), "PROYECT;1");
    }
    EXPECT_TRUE(tabla.guardadas["ANA"]["Configuracion"].contains("DatosBusqueda=PROYECT;1"));
    EXPECT_EQ(tabla.guardadas["PERFIL"]["Empresas"], "PROYECT;1");
}

} // namespace
