// The data module reaches its windows only through VentanasModulo: with a stand-in installed,
// the entry points, the predefined texts and the listings must ask it, with their arguments
// in the order the windows take them, and show nothing of their own.
#include "GENEW/data/modulo/VentanasModulo.h"
#include "GENEW/data/ventanas/GENEBUSA.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENECALC.h"
#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/ventanas/GENECPRO.h"
#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/data/ventanas/GENEFILT.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/TableDataSet.h"
#include "tests/data/ModuloFixture.h"

namespace {

class VentanasSimuladas final : public VentanasModulo
{
public:
    QString SeleccionarDeLista(const QString &opciones, const QString &lista) override
    {
        llamadas << QStringLiteral("SeleccionarDeLista(%1|%2)").arg(opciones, lista);
        return respuesta;
    }
    QString MostrarListaDatos(const QString &opciones, const QString &datos) override
    {
        llamadas << QStringLiteral("MostrarListaDatos(%1|%2)").arg(opciones, datos);
        return respuesta;
    }
    QString MostrarVisorDatos(const QString &opciones, const QString &datos) override
    {
        llamadas << QStringLiteral("MostrarVisorDatos(%1|%2)").arg(opciones, datos);
        return respuesta;
    }
    void MostrarCamposRegistro(plat::DataSet &dataSet) override
    {
        llamadas << QStringLiteral("MostrarCamposRegistro(%1)").arg(dataSet.name());
    }
    void MostrarCamposUsuario(plat::DataSet &dataSet) override
    {
        llamadas << QStringLiteral("MostrarCamposUsuario(%1)").arg(dataSet.name());
    }
    void MostrarProgreso(const QString &modo, const QString &titulo, const QString &texto) override
    {
        llamadas << QStringLiteral("MostrarProgreso(%1|%2|%3)").arg(modo, titulo, texto);
    }
    void MostrarDetalle(const QString &texto, const QString &titulo, const QString &opciones) override
    {
        llamadas << QStringLiteral("MostrarDetalle(%1|%2|%3)").arg(texto, titulo, opciones);
    }
    QVariant BuscarRegistroConFiltroYDato(const QString &tabla, int indice, const QString &filtro,
                                          const QString &dato) override
    {
        llamadas << QStringLiteral("Buscar(%1|%2|%3|%4)").arg(tabla).arg(indice).arg(filtro, dato);
        return clave;
    }
    bool HayListado() const override { return hayListado; }
    void AbrirListado(plat::DataSet &dataSet, const QString &prefijoFormato, const QString &titulo,
                      const QString &opciones) override
    {
        llamadas << QStringLiteral("AbrirListado(%1|%2|%3|%4)").arg(dataSet.name(), prefijoFormato, titulo, opciones);
    }
    plat::SpeedButton *BotonTablaLogicaListado() override { return nullptr; }

    QStringList llamadas;
    QString respuesta;
    QVariant clave;
    bool hayListado = false;
};

class VentanasDelModulo : public ModuloFixture
{
protected:
    void SetUp() override
    {
        ModuloFixture::SetUp();
        prepararMotor(false);
        instalacion_.emplace(ganchoVentanasModulo(), &ventanas_);
    }
    void TearDown() override
    {
        instalacion_.reset();
        ModuloFixture::TearDown();
    }

    VentanasSimuladas ventanas_;
    std::optional<Gancho<VentanasModulo *>::Instalacion> instalacion_;
};

TEST_F(VentanasDelModulo, TheFrameworksEntryPointsAskTheInstalledWindowsWithTheirArgumentsInOrder)
{
    ventanas_.respuesta = QStringLiteral("Dos");
    PuntosEntradaFormulario &puntos = form_->PuntosEntrada;
    // The framework passes the list first, the window takes the options first.
    EXPECT_EQ(puntos.SeleccionarDeLista(QStringLiteral("Uno\r\nDos"), QStringLiteral("Titulo=Elegir")), "Dos");
    plat::ClientDataSet datos(QStringLiteral("Datos"));
    puntos.MostrarCamposRegistro(datos);
    puntos.MostrarCamposUsuario(datos);
    EXPECT_EQ(ventanas_.llamadas, (QStringList{"SeleccionarDeLista(Titulo=Elegir|Uno\r\nDos)",
                                               "MostrarCamposRegistro(Datos)", "MostrarCamposUsuario(Datos)"}));

    // Without a stand-in the program's windows answer again.
    instalacion_.reset();
    EXPECT_EQ(&ventanasModulo(), &ventanasDelPrograma());
}

TEST_F(VentanasDelModulo, AnUnknownPredefinedTextIsSearchedForAndTheChosenRecordsTextAnswered)
{
    sql("INSERT INTO TEXTO (Codigo, Descripcion, Texto, Tipo) VALUES ('SALUDO', 'Saludo', 'Hola', 'Normal')");
    EXPECT_EQ(modulo_->ObtenerTextoPredefinido(QStringLiteral("SALUDO")), "Hola");
    EXPECT_TRUE(ventanas_.llamadas.isEmpty());

    ventanas_.clave = QVariantList{QStringLiteral("SALUDO")};
    EXPECT_EQ(modulo_->ObtenerTextoPredefinido(QStringLiteral("SAL")), "Hola");
    EXPECT_EQ(ventanas_.llamadas, QStringList{"Buscar(TEXTO|0||SAL)"});

    ventanas_.clave = QVariant();   // the search cancelled
    EXPECT_EQ(modulo_->ObtenerTextoPredefinido(QStringLiteral("SAL")), QString());
}

TEST_F(VentanasDelModulo, ATableIsListedOnlyWhenTheProgramHasItsListingWindow)
{
    plat::TableDataSet tabla(QStringLiteral("Clientes"));
    modulo_->ListarDataSet(tabla);
    EXPECT_TRUE(ventanas_.llamadas.isEmpty());

    ventanas_.hayListado = true;
    modulo_->ListarDataSet(tabla);
    // A dataset that is neither a table nor a query has nothing the listing could read.
    plat::ClientDataSet memoria(QStringLiteral("Memoria"));
    modulo_->ListarDataSet(memoria);
    EXPECT_EQ(ventanas_.llamadas, QStringList{"AbrirListado(Clientes|||)"});
}

} // namespace

// A freed shared window leaves no global naming it: the next start of the program (or the
// next opening) makes a new one instead of using the freed one.
template <class Forma>
void liberadaSinGlobal(Forma *&global)
{
    global = new Forma;
    delete global;
    EXPECT_EQ(global, nullptr) << Forma::staticMetaObject.className();
}

TEST(VentanasGlobales, AFreedFormLeavesNoGlobalBehind)
{
    liberadaSinGlobal(fGENEBUSQ);
    liberadaSinGlobal(fGENEBUSA);
    liberadaSinGlobal(fGENECOPI);
    liberadaSinGlobal(fGENEFILT);
    liberadaSinGlobal(fGENEVMEM);
    liberadaSinGlobal(fGENECALC);
    liberadaSinGlobal(fGENECPRO);
    liberadaSinGlobal(fGENEDETA);
}
