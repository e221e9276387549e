// The SQL console inside the main window, on a started program (its own temporary folder,
// SQLite): a statement run, its result in the grid and the insertion panel shown.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/GENECSQL.h"
#include "GENEW/runtime/Geneinic.h"
#include "app/PROYMENU.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

plat::Form *consolaSQL(bool inserciones)
{
    static QTemporaryDir carpeta;
    QDir::setCurrent(carpeta.path());
    QFile::copy(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT"), carpeta.filePath(QStringLiteral("DATABASE.TXT")));
    TfGENEINIC::ArgumentosArranque = {QStringLiteral("U=ADMIN")};
    auto *inicio = new TfGENEINIC;
    inicio->afterConstruction();
    if (inicio->ArranqueFallido || !inicio->CrearBaseDatosEmpresa(1))
        return nullptr;
    inicio->ConectarBaseDatosEmpresa(1);
    inicio->Conexiones().EmpresaActual = 1;
    auto *modulo = plat::createDataModule<TModuloDatos>();
    plat::Connection &empresa = inicio->Database();
    empresa.exec(QStringLiteral("CREATE TABLE VENTAS (Codigo INTEGER PRIMARY KEY, Cliente VARCHAR(40), Ciudad VARCHAR(30), "
                                "Importe FLOAT, HoraInicio TIMESTAMP, Notas TEXT)"),
                 {}, plat::SqlOrigin::AsWritten);
    empresa.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40) "
                                "INSERT INTO VENTAS SELECT i, 'Cliente número ' || i, 'Ciudad ' || (i % 7), i * 125.5, "
                                "'1899-12-30 0' || (i % 10) || ':30:00', 'Entrega parcial' FROM n"),
                 {}, plat::SqlOrigin::AsWritten);

    auto *ventana = plat::createForm<TfPROYMENU>();
    ventana->OnShow = nullptr;
    ventana->setCaption(QStringLiteral("Gestión de Proyectos: EMP1"));
    plat::application().setMainForm(ventana);
    ventana->Show();
    auto *consola = plat::createForm<TfGENECSQL>();
    consola->resize(900, 560);
    consola->SentenciaSQL->setText(QStringLiteral("SELECT Codigo, Cliente, Ciudad, Importe, HoraInicio, Notas\r\n"
                                                  "FROM VENTAS\r\nWHERE Importe >= 1000\r\nORDER BY Codigo"));
    consola->pbEjecutar->click();
    if (inserciones) {
        consola->InsertarClick(consola->InsertarComandoSQL1);
        consola->LBTablas->setCurrentRow(consola->LBTablas->items().indexOf(QStringLiteral("VENTAS")));
    }
    QObject::connect(ventana, &QObject::destroyed, [inicio, modulo] {
        modulo->Free();
        delete inicio;
        plat::Session::defaultSession().closeAll();
    });
    return ventana;
}

const bool registrado =
    formshot::registerForm({QStringLiteral("consola-sql"), QStringLiteral("la consola SQL con el resultado de una sentencia"),
                            [](const QString &) { return consolaSQL(false); }})
    && formshot::registerForm({QStringLiteral("consola-sql-inserciones"),
                               QStringLiteral("la consola SQL con el panel de inserciones"),
                               [](const QString &) { return consolaSQL(true); }});

} // namespace
