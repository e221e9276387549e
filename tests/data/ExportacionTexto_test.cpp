#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "tests/data/ModuloFixture.h"

#include <QFile>

namespace {

QByteArray contenido(const QString &fichero)
{
    QFile f(fichero);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Projects and their chapters, the chapters following their project.
class ExportacionTexto : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        sql("INSERT INTO PROYECT (Codigo, Descripcion, CodigoCliente, Director) VALUES ('P1', 'Obra nueva', 7, 3)");
        sql("INSERT INTO PROYECT (Codigo, Descripcion, CodigoCliente, Director) VALUES ('P2', 'Reforma', 8, 4)");
        for (int i = 1; i <= 2; ++i)
            sql(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Descripcion, Importe, TiempoPrevisto, "
                               "Responsable) VALUES ('P1', %1, 'Capítulo %1', %2, 2.5, 5)")
                    .arg(i)
                    .arg(i * 1234.5, 0, 'f', 1));
        proyectos = tabla("PROYECT");
        proyectos->first();
        proyectos->edit();
        proyectos->fieldByName("DescripcionAmpliada").setValue(QStringLiteral("primera\r\nsegunda"));
        proyectos->fieldByName("FechaAceptacion").setValue(FechaHora(QDate(2024, 3, 5)));
        proyectos->post();
        capitulos = tabla("LPROYECT");
        capitulos->setMasterSource(proyectos.get(), "Codigo");
        mensajes_.limpiar();
    }

    void TearDown() override
    {
        plat::setDialogScript(nullptr);
        plat::application().OnModalShown = nullptr;
        capitulos.reset();
        proyectos.reset();
        ModuloMotorTest::TearDown();
    }

    std::unique_ptr<plat::TableDataSet> tabla(const QString &nombre)
    {
        auto t = std::make_unique<plat::TableDataSet>(nombre);
        t->setDatabaseName(form_->Database().databaseName());
        t->setConnection(&form_->Database());
        t->setTableName(nombre);
        EXPECT_TRUE(modulo_->AbrirTabla(*t));
        return t;
    }

    QString todo()
    {
        return sql("SELECT Codigo, Descripcion, CodigoCliente, DescripcionAmpliada, FechaAceptacion FROM PROYECT "
                   "ORDER BY Codigo")
            + u'#'
            + sql("SELECT CodigoProyecto, Linea, Descripcion, Importe, TiempoPrevisto FROM LPROYECT ORDER BY "
                  "CodigoProyecto, Linea");
    }

    void vaciar()
    {
        sql("DELETE FROM LPROYECT");
        sql("DELETE FROM PROYECT");
        proyectos->refresh();
        capitulos->refresh();
    }

    std::unique_ptr<plat::TableDataSet> proyectos, capitulos;
};

TEST_P(ExportacionTexto, HeaderLinesOfAMasterWithOneKeyFieldAndItsLines)
{
    const QString fichero = dir_.file("SQL.TXT");
    modulo_->ExportarTexto(proyectos.get(), capitulos.get(), fichero, "SinDialogo,ConFormatoCampos");
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(contenido(fichero), contenido(QStringLiteral(GP_TESTS_DATA_DIR "/golden/proyectos_con_cabecera.txt")));
}

TEST_P(ExportacionTexto, ImportBringsEveryValueBackWithAndWithoutHeaderLines)
{
    const QString antes = todo();
    for (const char *opciones : {"SinDialogo,ConFormatoCampos", "SinDialogo"}) {
        const QString fichero = dir_.file("ida.txt");
        modulo_->ExportarTexto(proyectos.get(), capitulos.get(), fichero, opciones);
        vaciar();
        QString leido;
        modulo_->ImportarTexto(proyectos.get(), capitulos.get(), fichero, opciones, leido);
        EXPECT_EQ(leido, fichero);
        EXPECT_EQ(todo(), antes) << opciones;
        EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    }
}

// Values the plain form cannot carry (the delimiter, a lone LF or CR, a literal "·", blanks at
// the ends, quotes around the whole, backslashes) come back exactly, with and without header
// lines, in standard delimiters and in the settings' own. A NULL number or date stays NULL; a
// NULL text comes back as '', as every write of a data set stores it.
TEST_P(ExportacionTexto, HostileValuesComeBackExactly)
{
    vaciar();
    const QString filas[][3] = {{"H1", "Uno|dos", "línea\nsuelta y \rretorno"}, {"H2", "punto · medio", ""},
                                {"H3", "  blancos  ", "a\r\nb·c\\d \\n \\"},   {"H4", "\"entre comillas\"", "\t"},
                                {"H5", "\\d y \"a medias", "fin\r\n"},        {"H6", "a;b~c", "x~y\r\nz;"}};
    const char *campos[] = {"Codigo", "Descripcion", "DescripcionAmpliada"};
    for (const auto &f : filas) {
        proyectos->append();
        for (int i = 0; i < 3; ++i)
            proyectos->fieldByName(campos[i]).setValue(f[i]);
        proyectos->fieldByName("CodigoCliente").setValue(7);
        proyectos->fieldByName("FechaAceptacion").setValue(FechaHora(QDate(2024, 12, 31), QTime(23, 59, 59)));
        proyectos->post();
    }
    ASSERT_EQ(sql("INSERT INTO PROYECT (Codigo, Descripcion, DescripcionAmpliada) VALUES ('H9', NULL, NULL)"), QString());
    ASSERT_EQ(sql("INSERT INTO PARAGENE (IdRegistro, CaracterSeparadorASCII, CaracterSeparadorCRLF) VALUES (0, ';', '~')"),
              QString());
    modulo_->ParamGenerales->table().refresh();
    // The SQL service's answer shows a NULL text as an empty one, a NULL number or date as nothing.
    const auto valores = [this] { return sql("SELECT * FROM PROYECT ORDER BY Codigo"); };
    const QString antes = valores();
    for (const char *opciones : {"SinDialogo,ConFormatoCampos", "SinDialogo", "ConFormatoCampos"}) {
        const QString fichero = dir_.file("hostil.txt");
        plat::setDialogScript([&](QObject *d) {
            static_cast<plat::OpenDialog *>(d)->FileName = fichero;
            return true;
        });
        mensajes_.programarRespuestas({"SI"});
        modulo_->ExportarTexto(proyectos.get(), nullptr, fichero, opciones);
        vaciar();
        QString leido;
        modulo_->ImportarTexto(proyectos.get(), nullptr, fichero, opciones, leido);
        EXPECT_EQ(valores(), antes) << opciones << '\n' << contenido(fichero).toStdString();
        EXPECT_TRUE(textosDeTipo("A").isEmpty()) << mensajes_.textos().join('\n').toStdString();
    }
}

TEST_P(ExportacionTexto, IncidencesAreAskedAboutAndShownInTheViewer)
{
    const QString fichero = dir_.file("mal.txt");
    // A stray delimiter in P3's description, and P1 exists already.
    escribir("mal.txt", "CamposCabecera=Codigo|0|Descripcion|\r\nCamposLinea=CodigoProyecto|Linea|Descripcion|\r\n"
                        "P3|0|Uno|dos|\r\nP1|0|Repetido|\r\nP4|0|Bien|\r\nP4|1|Su línea|\r\n");
    QStringList visor;
    plat::application().OnModalShown = [&](plat::Form &f) {
        visor << f.name() << f.caption() << static_cast<TfGENEDETA &>(f).MemoDetalle->text();
        f.setModalResult(plat::mrOk);
    };
    QString leido;
    plat::setDialogScript([&](QObject *d) {
        static_cast<plat::OpenDialog *>(d)->FileName = fichero;
        return true;
    });
    mensajes_.programarRespuestas({"SI", "SI", "SI"});
    modulo_->ImportarTexto(proyectos.get(), capitulos.get(), "SQL.TXT", "ConDelimitadorStd", leido);
    EXPECT_EQ(leido, fichero);
    const QStringList preguntas = textosDeTipo("C");
    ASSERT_EQ(preguntas.size(), 3);
    EXPECT_EQ(preguntas[0], "¿Realmente desea importar registros desde un fichero de texto (ASCII)?");
    EXPECT_TRUE(preguntas[1].startsWith("¡Imposible grabar el registro P3!. ¿Desea continuar?.\r\n(Motivo: "));
    EXPECT_EQ(preguntas[2], "Se han producido incidencias en el proceso. ¿Desea ver los detalles?");
    ASSERT_EQ(visor.size(), 3);
    EXPECT_EQ(visor[0], "fGENEDETA");
    EXPECT_EQ(visor[1], "Incidencias producidas en la importación");
    EXPECT_TRUE(visor[2].startsWith("1 - Error grabando el registro P3. Motivo: La línea tiene 4 valores y la cabecera 3 "
                                     "campos\r\n2 - Error grabando el registro P1. Motivo: "))
        << visor[2].toStdString();
    EXPECT_EQ(sql("SELECT Codigo, Descripcion FROM PROYECT ORDER BY Codigo"), "P1|Obra nueva\r\nP2|Reforma\r\nP4|Bien");
    EXPECT_EQ(sql("SELECT Descripcion FROM LPROYECT WHERE CodigoProyecto = 'P4'"), "Su línea");
}

TEST_P(ExportacionTexto, AValueTheFieldCannotKeepWholeFailsItsRecordNamingFieldAndValue)
{
    const QString largo(5 << 20, u'x');
    const QString digitos(300, u'9');
    const struct
    {
        QString linea;      // Codigo|NombreCliente|Telefono|CodigoCliente|FechaAceptacion
        QString motivo;     // empty: the record is written as the line holds it
    } casos[] = {
        {"P10|" + largo + "||||", "El valor \"" + QString(40, u'x') + "…\" no cabe en el campo NombreCliente: tiene "
                                    "5242880 caracteres y el campo admite 40"},
        {"P11||" + digitos + "|||", "El valor \"" + QString(40, u'9') + "…\" no cabe en el campo Telefono: tiene 300 "
                                     "caracteres y el campo admite 30"},
        {"P12|||12x||", "El valor \"12x\" del campo CodigoCliente no es un número válido"},
        {"P13||||31/02/2024|", "El valor \"31/02/2024\" del campo FechaAceptacion no es una fecha válida"},
        {"P14||||00/00/0000|", "El valor \"00/00/0000\" del campo FechaAceptacion no es una fecha válida"},
        {"P15||||01/01/10000|", "El valor \"01/01/10000\" del campo FechaAceptacion no es una fecha válida"},
        {"P16|" + QString(40, u'n') + "|" + QString(30, u'7') + "|12|29/02/2024|", ""},
    };
    QString texto = "CamposCabecera=Codigo|NombreCliente|Telefono|CodigoCliente|FechaAceptacion|\r\n";
    for (const auto &c : casos)
        texto += c.linea + "\r\n";
    const QString fichero = dir_.file("valores.txt");
    escribir("valores.txt", texto);
    QString visor;
    plat::application().OnModalShown = [&](plat::Form &f) {
        visor = static_cast<TfGENEDETA &>(f).MemoDetalle->text();
        f.setModalResult(plat::mrOk);
    };
    plat::setDialogScript([&](QObject *d) {
        static_cast<plat::OpenDialog *>(d)->FileName = fichero;
        return true;
    });
    mensajes_.programarRespuestas({"SI", "SI", "SI"});
    QString leido;
    modulo_->ImportarTexto(proyectos.get(), nullptr, "SQL.TXT", "ConDelimitadorStd", leido);

    QStringList incidencias, escritos;
    for (const auto &c : casos) {
        const QString clave = c.linea.section(u'|', 0, 0);
        if (c.motivo.isEmpty())
            escritos << clave;
        else
            incidencias << QString::number(incidencias.size() + 1) + " - Error grabando el registro " + clave
                    + ". Motivo: " + c.motivo;
    }
    EXPECT_EQ(visor, incidencias.join("\r\n"));
    EXPECT_EQ(sql("SELECT Codigo FROM PROYECT WHERE Codigo LIKE 'P1_' ORDER BY Codigo"), escritos.join("\r\n"));
    EXPECT_EQ(sql("SELECT NombreCliente, Telefono, CodigoCliente FROM PROYECT WHERE Codigo = 'P16'"),
              QString(40, u'n') + u'|' + QString(30, u'7') + "|12");
    EXPECT_EQ(sql("SELECT FechaAceptacion FROM PROYECT WHERE Codigo = 'P16'").left(10), "29/02/2024");
}

TEST_P(ExportacionTexto, EmptySettingsDelimitersTakeTheStandardOnes)
{
    // No PARAGENE row: the settings' delimiters are empty.
    const QString fichero = dir_.file("lineas.txt");
    plat::setDialogScript([&](QObject *d) {
        static_cast<plat::OpenDialog *>(d)->FileName = fichero;
        return true;
    });
    modulo_->ExportarTexto(proyectos.get(), nullptr, "x.txt", "SinFormatoCampos");
    const QString texto = QString::fromUtf8(contenido(fichero));
    EXPECT_TRUE(texto.startsWith("P1|Obra nueva|7|") && texto.contains("|primera·segunda|")) << texto.toStdString();
    EXPECT_TRUE(textosDeTipo("C").isEmpty());
}

TEST_P(ExportacionTexto, AFailedExportLeavesThePreviousFile)
{
    const QString fichero = dir_.file("previo.txt");
    escribir("previo.txt", "lo que había");
    int leidos = 0;
    proyectos->fieldByName("Descripcion").OnGetText = [&](plat::Field &f, QString &t, bool) {
        if (++leidos == 2)
            throw gp::DatabaseError(QStringLiteral("Disk full"));
        t = f.asString();
    };
    modulo_->ExportarTexto(proyectos.get(), nullptr, fichero, "SinDialogo");
    EXPECT_EQ(textosDeTipo("A"), QStringList{"¡Imposible crear el fichero ASCII!. Motivo: Disk full"});
    EXPECT_EQ(contenido(fichero), "lo que había");
    proyectos->fieldByName("Descripcion").OnGetText = nullptr;

    mensajes_.limpiar();
    modulo_->ExportarTexto(proyectos.get(), nullptr, dir_.path(), "SinDialogo");   // a folder
    ASSERT_EQ(textosDeTipo("A").size(), 1);
    EXPECT_TRUE(textosDeTipo("A")[0].startsWith("¡Imposible crear el fichero ASCII!. Motivo: "));

    mensajes_.limpiar();
    proyectos->close();
    modulo_->ExportarTexto(proyectos.get(), nullptr, fichero, "SinDialogo");
    QString leido;
    modulo_->ImportarTexto(proyectos.get(), nullptr, fichero, "SinDialogo", leido);
    EXPECT_EQ(textosDeTipo("A"), QStringList(2, "¡La tabla o consulta debe estar activada previamente!"));
}

TEST_P(ExportacionTexto, ExcelThroughTheModule)
{
    const QString fichero = dir_.file("libro.xls");
    plat::setDialogScript([&](QObject *d) {
        static_cast<plat::OpenDialog *>(d)->FileName = fichero;
        return true;
    });
    mensajes_.programarRespuestas({"NO"});   // no header rows
    modulo_->ExportarExcel(proyectos.get(), nullptr, "x", "");
    EXPECT_TRUE(QFile::exists(fichero + u'x'));
    EXPECT_EQ(textosDeTipo("I"), QStringList{"El archivo ha sido guardado en " + fichero + u'x'});
    plat::setDialogScript([](QObject *) { return true; });
    mensajes_.limpiar();
    modulo_->ExportarExcel(proyectos.get(), nullptr, dir_.file("no/existe/libro"), "SinDialogo");
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());
    modulo_->ExportarExcel(proyectos.get(), nullptr, dir_.file("no/existe/libro"), "");
    ASSERT_EQ(textosDeTipo("A").size(), 1);
    EXPECT_TRUE(textosDeTipo("A")[0].startsWith("¡No ha sido posible grabar el archivo!. Motivo: "));
}

INSTANTIATE_TEST_SUITE_P(Motores, ExportacionTexto, ::testing::Bool(), NombreMotor);

} // namespace
