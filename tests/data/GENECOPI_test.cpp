#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/runtime/AperturaDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"
#include "platform/ui/data/DataSetComponents.h"
#include "tests/data/ModuloFixture.h"

#include <QTest>

#include <functional>

namespace {

plat::TableDef tabla(const QString &nombre, const QStringList &clave, bool nombreObligatorio = false)
{
    plat::TableDef t;
    t.name = nombre;
    for (const QString &campo : clave)
        t.fields << plat::FieldDef{campo, ftInteger, 0, 0, 0, true, {}};
    t.fields << plat::FieldDef{QStringLiteral("Nombre"), ftString, 30, 0, 0, nombreObligatorio, {}};
    plat::IndexDef pk;
    pk.name = QStringLiteral("Clave1");
    pk.fields = clave;
    pk.primary = pk.unique = true;
    t.indexes = {pk};
    return t;
}

// Company 1 holds a master COPIAM (1, 2, 3) and its detail COPIAD (two lines for each);
// companies 2 and 3 have databases of their own, company 4 shares company 2's name.
class CopiaEmpresas : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        for (int codigo : {2, 3, 4}) {
            sql(QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre) VALUES (%1, '%2')")
                    .arg(codigo)
                    .arg(codigo == 3 ? QStringLiteral("Tercera") : QStringLiteral("Filial")),
                QStringLiteral("DatabaseGeneral"));
            ASSERT_TRUE(form_->CrearBaseDatosEmpresa(codigo));
        }
        plat::Connection &db = form_->Database();
        db.createTable(tabla(QStringLiteral("COPIAM"), {QStringLiteral("Codigo")}));
        db.createTable(tabla(QStringLiteral("COPIAD"), {QStringLiteral("Codigo"), QStringLiteral("Linea")}));
        for (int c = 1; c <= 3; ++c) {
            db.exec(QStringLiteral("INSERT INTO COPIAM (Codigo, Nombre) VALUES (%1, 'M%1')").arg(c));
            for (int l = 1; l <= 2; ++l)
                db.exec(QStringLiteral("INSERT INTO COPIAD (Codigo, Linea, Nombre) VALUES (%1, %2, 'D%1.%2')").arg(c).arg(l));
        }
        abrir(maestro_, QStringLiteral("COPIAM"));
        abrir(detalle_, QStringLiteral("COPIAD"));
        detalle_.setMasterSource(&maestro_, QStringLiteral("Codigo"));
        copia_ = std::make_unique<TfGENECOPI>();
        copia_->afterConstruction();
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        copia_.reset();
        maestro_.close();
        detalle_.close();
        ModuloMotorTest::TearDown();
    }

    void abrir(plat::TableDataSet &t, const QString &nombre)
    {
        t.setConnection(&form_->Database());
        t.setTableName(nombre);
        t.open();
    }

    plat::Connection &empresa(int codigo)
    {
        plat::TableDataSet t;
        DataSetAbribleDe<plat::TableDataSet> abrible(t);
        form_->AsignarBaseDatos(abrible, codigo);
        return *t.connection();
    }

    // The rows of a company's table as "key:Nombre" texts in key order; "-" when it is missing.
    QString filas(int codigo, const QString &nombre)
    {
        plat::Connection &c = empresa(codigo);
        if (!c.tableExists(nombre))
            return QStringLiteral("-");
        const bool detalle = nombre == QLatin1String("COPIAD");
        const plat::QueryResult r = c.query(detalle ? QStringLiteral("SELECT Codigo, Linea, Nombre FROM COPIAD ORDER BY Codigo, Linea")
                                                    : QStringLiteral("SELECT Codigo, Nombre FROM COPIAM ORDER BY Codigo"));
        QStringList out;
        for (const auto &row : r.rows)
            out << (detalle ? row[0].toString() + u'.' + row[1].toString() + u':' + row[2].toString()
                            : row[0].toString() + u':' + row[1].toString());
        return out.join(u' ');
    }

    // Answers both questions "SI" and, in the list, chooses the given rows and the method.
    int copiar(const QList<int> &filasElegidas, const std::function<void()> &llamada,
               plat::RadioButton *TfGENECOPI::*metodo = &TfGENECOPI::AgregarYSustituir)
    {
        mensajes_.programarRespuestas({QStringLiteral("SI"), QStringLiteral("SI")});
        int mostrados = 0;
        plat::application().OnModalShown = [&](plat::Form &f) {
            ++mostrados;
            auto &c = static_cast<TfGENECOPI &>(f);
            lista_ = c.ListaEmpresas->items();
            origen_ = c.EditEmpresaOrigen->text();
            for (int fila : filasElegidas)
                c.ListaEmpresas->setSelected(fila, true);
            (c.*metodo)->setChecked(true);
            c.setModalResult(plat::mrOk);
        };
        llamada();
        return mostrados;
    }

    // The copy's own warnings (a table without a definition is reported by its creation).
    QStringList avisosCopia() const
    {
        return textosDeTipo(QStringLiteral("A")).filter(QStringLiteral("No se han podido copiar"));
    }

    plat::TableDataSet maestro_, detalle_;
    std::unique_ptr<TfGENECOPI> copia_;
    QStringList lista_;
    QString origen_;
};

TEST_P(CopiaEmpresas, EachMethodMatchesRecordsByKey)
{
    struct Caso
    {
        plat::RadioButton *TfGENECOPI::*metodo;
        const char *resultado;
    };
    const Caso casos[] = {
        {&TfGENECOPI::Agregar, "1:viejo 2:M2 3:M3 9:otro"},
        {&TfGENECOPI::Sustituir, "1:M1 9:otro"},
        {&TfGENECOPI::AgregarYSustituir, "1:M1 2:M2 3:M3 9:otro"},
    };
    for (const Caso &c : casos) {
        plat::Connection &destino = empresa(2);
        destino.dropTable(QStringLiteral("COPIAM"));
        destino.createTable(tabla(QStringLiteral("COPIAM"), {QStringLiteral("Codigo")}));
        destino.exec(QStringLiteral("INSERT INTO COPIAM (Codigo, Nombre) VALUES (1, 'viejo'), (9, 'otro')"));
        EXPECT_EQ(copiar({1}, [&] { copia_->CopiarTabla(maestro_); }, c.metodo), 1);
        EXPECT_EQ(filas(2, QStringLiteral("COPIAM")), QLatin1String(c.resultado));
        EXPECT_EQ(filas(3, QStringLiteral("COPIAM")), "-");
    }
    EXPECT_EQ(lista_, (QStringList{"Todas", "Filial", "Tercera", "Filial"}));
    EXPECT_EQ(copia_->caption(), QStringLiteral("Copiar datos desde la empresa ") + origen_);
    EXPECT_TRUE(avisosCopia().isEmpty()) << avisosCopia().join(u'\n').toStdString();
}

TEST_P(CopiaEmpresas, FilteredMasterWithItsDetailsToEveryCompany)
{
    maestro_.setFilter(QStringLiteral("Codigo <= 2"));
    maestro_.setFiltered(true);
    maestro_.last();
    copiar({0, 2}, [&] { copia_->CopiarTablaConDetalle(maestro_, detalle_); });
    for (int codigo : {2, 3, 4}) {
        EXPECT_EQ(filas(codigo, QStringLiteral("COPIAM")), "1:M1 2:M2") << codigo;
        // The detail table, missing in each company, is made from the source's structure.
        EXPECT_EQ(filas(codigo, QStringLiteral("COPIAD")), "1.1:D1.1 1.2:D1.2 2.1:D2.1 2.2:D2.2") << codigo;
    }
    EXPECT_EQ(maestro_.fieldByName(QStringLiteral("Codigo")).asInteger(), 2);   // back on its record
    EXPECT_TRUE(avisosCopia().isEmpty()) << avisosCopia().join(u'\n').toStdString();
}

TEST_P(CopiaEmpresas, ACompanyWithoutDatabaseIsWarnedAndTheOthersCopied)
{
    sql(QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre) VALUES (5, 'Sin base')"), QStringLiteral("DatabaseGeneral"));
    copiar({0}, [&] { copia_->CopiarTablaConDetalle(maestro_, detalle_); });
    EXPECT_EQ(filas(4, QStringLiteral("COPIAM")), "1:M1 2:M2 3:M3");
    // Once for the master and once for the detail; no error ends the program.
    EXPECT_EQ(avisosCopia(), QStringList(2, "No se han podido copiar los registros a la empresa 5"));
    EXPECT_TRUE(textosDeTipo(QStringLiteral("E")).isEmpty()) << textosDeTipo(QStringLiteral("E")).join(u'\n').toStdString();
}

TEST_P(CopiaEmpresas, OnlyTheChosenCompanyOfTwoWithOneName)
{
    // Reached by name with a form's table component, as the SQL console does.
    plat::TableComponent componente;
    componente.table().setConnection(&form_->Database());
    componente.setTableName(QStringLiteral("COPIAM"));
    componente.table().open();
    copiar({3}, [&] {
        EXPECT_TRUE(QMetaObject::invokeMethod(copia_.get(), "CopiarTabla", Q_ARG(QObject *, &componente)));
    });
    EXPECT_EQ(filas(2, QStringLiteral("COPIAM")), "-");
    EXPECT_EQ(filas(4, QStringLiteral("COPIAM")), "1:M1 2:M2 3:M3");
}

TEST_P(CopiaEmpresas, NoToEitherQuestionCopiesNothing)
{
    for (const QStringList &respuestas : {QStringList{"NO"}, QStringList{"SI", "NO"}}) {
        mensajes_.limpiar();
        mensajes_.programarRespuestas(respuestas);
        int mostrados = 0;
        plat::application().OnModalShown = [&](plat::Form &) { ++mostrados; };
        copia_->CopiarTabla(maestro_);
        EXPECT_EQ(mostrados, 0);
        EXPECT_EQ(textosDeTipo(QStringLiteral("C")).size(), respuestas.size());
    }
    // Esc in the list of companies leaves as "Cancelar" does.
    mensajes_.programarRespuestas({QStringLiteral("SI"), QStringLiteral("SI")});
    plat::application().OnModalShown = [&](plat::Form &f) {
        auto &c = static_cast<TfGENECOPI &>(f);
        c.ListaEmpresas->setSelected(1, true);
        QTest::keyClick(c.ListaEmpresas, Qt::Key_Escape);
        EXPECT_EQ(c.modalResult(), plat::mrCancel);
        if (c.modalResult() == plat::mrNone)   // fail, never wait
            c.pbCancelar->click();
    };
    copia_->CopiarTabla(maestro_);
    EXPECT_EQ(filas(2, QStringLiteral("COPIAM")), "-");
}

TEST_P(CopiaEmpresas, AFailingRecordKeepsTheEarlierOnesAndWarns)
{
    maestro_.close();
    form_->Database().exec(QStringLiteral("UPDATE COPIAM SET Nombre = NULL WHERE Codigo = 3"));
    maestro_.open();
    empresa(2).createTable(tabla(QStringLiteral("COPIAM"), {QStringLiteral("Codigo")}, true));
    copiar({1}, [&] { copia_->CopiarTablaConDetalle(maestro_, detalle_); });
    EXPECT_EQ(filas(2, QStringLiteral("COPIAM")), "1:M1 2:M2");
    // The details still go: the warning stops that table only.
    EXPECT_EQ(filas(2, QStringLiteral("COPIAD")), "1.1:D1.1 1.2:D1.2 2.1:D2.1 2.2:D2.2 3.1:D3.1 3.2:D3.2");
    EXPECT_EQ(avisosCopia(), QStringList{"No se han podido copiar los registros a la empresa 2"});
}

TEST_P(CopiaEmpresas, ARefusedLineIsWarnedOnceAndEveryRecordBeforeItKept)
{
    detalle_.close();
    form_->Database().exec(QStringLiteral("UPDATE COPIAD SET Nombre = NULL WHERE Codigo = 2 AND Linea = 2"));
    detalle_.open();
    empresa(2).createTable(tabla(QStringLiteral("COPIAD"), {QStringLiteral("Codigo"), QStringLiteral("Linea")}, true));
    // A record already there with a line the copy does not carry keeps it.
    empresa(2).createTable(tabla(QStringLiteral("COPIAM"), {QStringLiteral("Codigo")}));
    empresa(2).exec(QStringLiteral("INSERT INTO COPIAM (Codigo, Nombre) VALUES (1, 'viejo')"));
    empresa(2).exec(QStringLiteral("INSERT INTO COPIAD (Codigo, Linea, Nombre) VALUES (1, 9, 'solo aqui')"));
    copiar({1}, [&] { copia_->CopiarTablaConDetalle(maestro_, detalle_); });
    EXPECT_EQ(avisosCopia(), QStringList{"No se han podido copiar los registros a la empresa 2"});
    EXPECT_EQ(filas(2, QStringLiteral("COPIAM")), "1:M1 2:M2 3:M3");
    // The lines stop at the refused one: the table's copy ends there, the records stay.
    EXPECT_EQ(filas(2, QStringLiteral("COPIAD")), "1.1:D1.1 1.2:D1.2 1.9:solo aqui 2.1:D2.1");
}

INSTANTIATE_TEST_SUITE_P(Motores, CopiaEmpresas, ::testing::Bool(), NombreMotor);

} // namespace
