#pragma once
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Form.h"
#include "tests/data/ModuloFixture.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QProcess>

// A started program (on each engine) inside an MDI main window, with users ADMIN
// (administrator), JUAN and AN and a table T of three rows keyed by Codigo: where the SQL
// console and the statement runner run.
class ProgramaConsultas : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        // The program's windows live in the main window's MDI area.
        marco_ = new plat::Form();
        marco_->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco_);
        marco_->Show();
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        fGENEVMEM = plat::createForm<TfGENEVMEM>();
        for (const auto &[codigo, categoria] : {std::pair{"ADMIN", "Administrador"}, {"JUAN", "Normal"}, {"AN", "Normal"}})
            sql(QStringLiteral("INSERT INTO USUARIO (Codigo, Nombre, Categoria) VALUES ('%1', 'Nombre %1', '%2')")
                    .arg(codigo, categoria),
                QStringLiteral("DatabaseGeneral"));
        plat::TableDef t;
        t.name = QStringLiteral("T");
        t.fields = {plat::fieldDef("Codigo", ftString, 10, true), plat::fieldDef("Nombre", ftString, 40),
                    plat::fieldDef("Importe", ftFloat), plat::fieldDef("HoraInicio", ftDateTime),
                    plat::fieldDef("Notas", ftMemo)};
        plat::IndexDef clave;
        clave.name = QStringLiteral("Clave");
        clave.fields = {QStringLiteral("Codigo")};
        clave.primary = clave.unique = true;
        t.indexes = {clave};
        db().createTable(t);
        fila("1", "Madrid", 10.5, "08:30:00", "Primera\r\nnota");
        fila("2", "Bilbao", 3, "09:00:00", "");
        fila("3", "Vigo", 7, "10:15:00", "");
        mensajes_.limpiar();
    }

    void TearDown() override
    {
        liberarVentana();
        delete fGENEVMEM;
        fGENEVMEM = nullptr;
        plat::application().OnModalShown = nullptr;
        plat::setDialogScript(nullptr);
        ModuloMotorTest::TearDown();
        plat::application().setMainForm(nullptr);
        delete marco_;
    }

    // The window under test, freed before the program stops.
    virtual void liberarVentana() {}

    plat::Connection &db() { return fGENEINIC->Database(); }

    void fila(const QString &codigo, const QString &nombre, double importe, const QString &hora, const QString &notas)
    {
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO T (Codigo, Nombre, Importe, HoraInicio, Notas) VALUES ('%1', '%2', %3, "
                                     "'1899-12-30 %4', '%5')")
                          .arg(codigo, nombre, QString::number(importe), hora, notas)),
                  QString());
    }

    QString valor(const QString &consulta) { return db().scalar(consulta, {}, plat::SqlOrigin::AsWritten).toString(); }

    // What an export of the grid writes: the button pressed with the save dialog pointed at
    // a file of its own and the format question answered yes; the text file as it reads, the
    // workbook as its sheet's XML.
    QString exportado(plat::SpeedButton &boton, const QString &nombre)
    {
        const QString fichero = exportados_.file(nombre);
        QFile::remove(fichero);
        plat::setDialogScript([&](QObject *dialogo) {
            if (auto *guardar = qobject_cast<plat::SaveDialog *>(dialogo))
                guardar->FileName = fichero;
            return true;
        });
        mensajes_.programarRespuestas({QStringLiteral("SI")});
        boton.click();
        plat::setDialogScript(nullptr);
        if (!nombre.endsWith(QLatin1String(".xlsx"))) {
            QFile f(fichero);
            return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
        }
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), fichero, QStringLiteral("xl/worksheets/*.xml")});
        unzip.waitForFinished(30000);
        return QString::fromUtf8(unzip.readAllStandardOutput());
    }

    gptest::TempDir exportados_;

    plat::Form *marco_ = nullptr;
};
