// Every path by which a window writes, walked by a user whose level for the windows' programs
// is "Solo Lectura" and by one at "Total", on each engine: read-only, the refusal is the one
// message (nothing is asked first) and the general and both companies' databases read row
// for row as before; at "Total" each path writes.
#include "tests/app/SesionFixture.h"

#include "app/FormulariosComunes.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENECALC.h"
#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/ventanas/GENECPRO.h"
#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/data/ventanas/GENEDOCE.h"
#include "GENEW/data/ventanas/GENEFILT.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/data/ventanas/GENEVLIS.h"
#include "GENEW/reporting/GENECINF.h"
#include "GENEW/reporting/GENECSQL.h"
#include "GENEW/runtime/AperturaDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Lists.h"
#include "projects/calendario/RRHHCAOP.h"
#include "projects/comun/GENEMTEX.h"
#include "projects/operarios/PRESIOPE.h"

namespace {

const QString kRechazo = QStringLiteral("¡Ud. no tiene autorización para realizar modificaciones!");

class CaminosEscritura : public SesionFixture, public ::testing::WithParamInterface<std::tuple<bool, bool>>
{
protected:
    void SetUp() override
    {
        SesionFixture::SetUp();
        if (std::get<0>(GetParam()) && !configurarPostgreSQL())
            GTEST_SKIP() << "no PostgreSQL test server";
        escribir(QStringLiteral("KORVEL.INI"), QStringLiteral("[Configuración]\r\nResponsabilidadDocumentalActivada=SI\r\n"));
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        for (plat::Form *f : comunes_)
            if (f != fGENEBUSQ)
                delete f;
        fGENECOPI = nullptr;
        fGENEFILT = nullptr;
        fGENEVMEM = nullptr;
        fGENECALC = nullptr;
        fGENECPRO = nullptr;
        fGENEDETA = nullptr;
        SesionFixture::TearDown();
    }

    bool soloLectura() const { return std::get<1>(GetParam()); }

    plat::Connection &empresa(int codigo)
    {
        tablaEmpresa_.close();
        DataSetAbribleDe<plat::TableDataSet> abrible(tablaEmpresa_);
        fGENEINIC->AsignarBaseDatos(abrible, codigo);
        return *tablaEmpresa_.connection();
    }

    // Every row of every table of the general database and of both companies, sorted.
    std::string contenido()
    {
        QStringList filas;
        for (int codigo : {0, 1, 2}) {
            plat::Connection &c = codigo ? empresa(codigo) : fGENEINIC->DatabaseGeneral();
            for (const QString &tabla : c.tableNames())
                for (const QVariantList &fila : c.query(QStringLiteral("SELECT * FROM ") + tabla).rows) {
                    QStringList valores{QString::number(codigo), tabla};
                    for (const QVariant &v : fila)
                        valores << v.toString();
                    filas << valores.join(u'|');
                }
        }
        filas.sort();
        return filas.join(u'\n').toStdString();
    }

    void sql(const QString &sentencia)
    {
        EXPECT_FALSE(ModuloDatos->EjecutarSQL(sentencia).startsWith(QLatin1String("Error"))) << sentencia.toStdString();
    }

    plat::TableDataSet tablaEmpresa_;
    QList<plat::Form *> comunes_;
};

TEST_P(CaminosEscritura, EachPathWritesOnlyForAUserWhoMay)
{
    const QString programas = QStringList{"Maestro de Textos", "Consultas SQL", "Maestro de Calendarios de Operario",
                                          "Intercambio de Códigos de Operarios", "Configuración de Informes Personalizados"}
                                  .join(QStringLiteral("\r\n"));
    general({QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre, Abreviatura) VALUES (2, 'Segunda', 'SEG')"),
             QStringLiteral("UPDATE USUARIO SET Empresas = '1\r\n2', ProgramasSoloLectura = '%1' "
                            "WHERE Codigo = 'ADMIN'").arg(soloLectura() ? programas : QString()),
             QStringLiteral("INSERT INTO CAMPOUSR (NombreTabla, OrdenCampo, NombreCampo, TipoCampo, LongitudCampo) "
                            "VALUES ('TEXTO', 1, 'Zona', 'Texto', '20')")});
    ASSERT_TRUE(fGENEINIC->CrearBaseDatosEmpresa(2));
    TfPROYMENU &v = mostrar();
    CrearFormulariosComunes(comunes_);
    v.MaestrodeTextos1->Click();
    ASSERT_NE(fGENEMTEX, nullptr);
    TfGENEMTEX &t = *fGENEMTEX;
    // The tables the paths write are made first: making one writes nothing of a user's.
    for (const char *s :
         {"INSERT INTO TEXTO (Codigo, Descripcion, Texto) VALUES ('SALUDO', 'DESPEDIDA', 'Hola')",
          "INSERT INTO TEXTO (Codigo, Descripcion, Texto) VALUES ('DESPEDIDA', 'Adiós', 'Adiós')",
          "INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre, Ubicacion) VALUES ('TEXTO', 'SALUDO', 'Plano', '/tmp')",
          "INSERT INTO CONFRESP (NombreTabla, CamposSolicitados) VALUES ('TEXTO', 'FechaRegistro')",
          "INSERT INTO OPERARIO (Codigo, Nombre) VALUES (1, 'Uno')",
          "INSERT INTO CALENOPE (CodigoOperario, Fecha, EsDiaTrabajado) VALUES (1, '2024-03-05 00:00:00', 'SI')",
          "SELECT COUNT(*) FROM RESPDOC", "SELECT COUNT(*) FROM FORMLIST", "SELECT COUNT(*) FROM FILTRO"})
        sql(QString::fromUtf8(s));
    t.Table1->table().refresh();
    const auto enSaludo = [&] { t.Table1->table().locate(QStringLiteral("Codigo"), QStringLiteral("SALUDO")); };
    const auto tecla = [&](int codigo) {
        fGENEINIC->ProcesarTeclaFormulario(&t, codigo, plat::ShiftState(plat::ssCtrl));
    };
    v.ConsultasSQL1->Click();
    v.IntercambiodeCdigosdeOperarios1->Click();
    TfRRHHCAOP *calendario = AbrirCalendarioOperario(1, 2024, 3, 1);
    ModuloDatos->AbrirFormularioMDI(fGENECINF, QStringLiteral("fGENECINF"));
    enSaludo();
    t.DocumentacionElectronica1Click(nullptr);
    ASSERT_TRUE(fGENECSQL && fPRESIOPE && calendario && fGENECINF && fGENEDOCE);
    fPRESIOPE->Temporal->table().connection()->exec(
        QStringLiteral("INSERT INTO %1 (DatoOrigen, DatoDestino, Situacion) VALUES ('1', '7', 'Pendiente')")
            .arg(fPRESIOPE->Temporal->tableName()));
    fPRESIOPE->Temporal->dataSet().refresh();
    // The modal window a path opens: filled in by `paso`, then closed with `fin`.
    const auto modal = [](std::function<void(plat::Form &)> paso, plat::ModalResult fin) {
        plat::application().OnModalShown = [paso, fin](plat::Form &f) {
            paso(f);
            f.setModalResult(fin);
        };
    };

    const struct
    {
        const char *camino;
        QStringList respuestas;
        std::function<void()> recorrer;
    } caminos[] = {
        {"copia a otras empresas", {"SI", "SI"}, [&] {
             modal([](plat::Form &f) { static_cast<TfGENECOPI &>(f).ListaEmpresas->setSelected(0, true); }, plat::mrOk);
             t.CopiarRegistrosaOtrasEmpresas1Click(nullptr);
         }},
        {"documento web", {"www.ejemplo.es", "Ejemplo"}, [&] { fGENEDOCE->pbAgregarWebClick(nullptr); }},
        {"documento eliminado", {}, [&] {
             fGENEDOCE->ListView1->setCurrentItem(fGENEDOCE->ListView1->topLevelItem(0));
             fGENEDOCE->pbEliminarClick(nullptr);
         }},
        {"responsabilidad (Ctrl+R)", {}, [&] { enSaludo(); tecla('R'); }},
        {"texto predefinido (Ctrl+T)", {}, [&] {
             enSaludo();
             t.EditDescripcion->setFocus();
             t.setActiveControl(t.EditDescripcion);
             tecla('T');
             t.pbConformeClick(nullptr);
         }},
        {"campos de usuario", {}, [&] {
             modal([](plat::Form &f) { static_cast<TfGENEVLIS &>(f).StringGrid->setCell(1, 1, QStringLiteral("Nuevo")); },
                   plat::mrOk);
             tecla(plat::VK_ADD);
         }},
        {"formato de listado", {"Corto"}, [&] {
             modal([](plat::Form &f) { static_cast<TfGENECPRO &>(f).pbGuardarComoClick(nullptr); }, plat::mrCancel);
             t.ListadoProgramable1Click(nullptr);
         }},
        {"sentencia guardada", {"Nueva"}, [&] { fGENECSQL->pbGuardarFiltroComoClick(nullptr); }},
        {"informe nuevo", {"Ventas"}, [&] { fGENECINF->pbNuevoClick(nullptr); }},
        {"mes del calendario", {"SI", "NO"}, [&] { calendario->pbEliminarClick(nullptr); }},
        {"intercambio de códigos", {"SI"}, [&] { fPRESIOPE->pbConformeClick(nullptr); }},
        {"registro eliminado", {"SI"}, [&] { enSaludo(); t.Eliminar1Click(nullptr); }},
    };
    for (const auto &c : caminos) {
        SCOPED_TRACE(c.camino);
        const std::string antes = contenido();
        mensajes_.limpiar();
        mensajes_.programarRespuestas(soloLectura() ? QStringList() : c.respuestas);
        c.recorrer();
        plat::application().OnModalShown = nullptr;
        if (soloLectura()) {
            EXPECT_EQ(mensajes_.textos(), QStringList{kRechazo});
            EXPECT_EQ(contenido(), antes);
        } else {
            EXPECT_FALSE(mensajes_.textos().contains(kRechazo)) << mensajes_.textos().join(u'\n').toStdString();
            EXPECT_NE(contenido(), antes);
        }
    }
    // What only writes is offered only to a user who may write.
    for (QWidget *b : std::initializer_list<QWidget *>{t.pbEliminar, t.pbAgregar, fGENEDOCE->pbAgregar,
                                                      fGENECSQL->pbGuardarFiltroComo, fGENECINF->pbNuevo,
                                                      calendario->pbEliminar, fPRESIOPE->pbConforme})
        EXPECT_EQ(b->isEnabled(), !soloLectura()) << b->objectName().toStdString();
}

std::string nombreCaso(const ::testing::TestParamInfo<std::tuple<bool, bool>> &info)
{
    return std::string(std::get<0>(info.param) ? "PostgreSQL" : "SQLite")
        + (std::get<1>(info.param) ? "SoloLectura" : "Total");
}

INSTANTIATE_TEST_SUITE_P(Motores, CaminosEscritura, ::testing::Combine(::testing::Bool(), ::testing::Bool()),
                         nombreCaso);

} // namespace
