#include "tests/support/ImprimirQString.h"
#include "GENEW/data/servicios/ServicioUsuarios.h"

#include <QMap>
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
    bool localizar(const QString &codigo) override
    {
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
    bool grabar() override
    {
        guardadas[actual_] = buffer_;
        return true;
    }
    bool insertar() override { return false; }

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

} // namespace
