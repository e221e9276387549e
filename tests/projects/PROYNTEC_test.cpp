// The technical notes and the version-change notices, grid windows of the record pattern,
// on SQLite and PostgreSQL.
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/FechaHora.h"
#include "platform/data/TableDataSet.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENEVLIS.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "platform/ui/Grids.h"
#include "platform/ui/data/DataControls.h"
#include "projects/proyectos/FiltroNotasTecnicas.h"
#include "projects/proyectos/PROYNTEC.h"
#include "projects/proyectos/PROYVERS.h"
#include "tests/data/MaestroFixture.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>

namespace {

using filtroNotas::Opciones;

TEST(FiltroNotasTecnicas, EachBoxCombinationGivesItsConditions)
{
    struct Caso
    {
        Opciones o;
        const char *texto;
    };
    const auto op = [](bool s, bool e, bool sol, bool pen, bool max, bool urg, bool nor) {
        return Opciones{s, e, sol, pen, max, urg, nor};
    };
    const QList<Caso> casos = {
        {Opciones{}, "(NivelUrgencia='Error' OR NivelUrgencia='Sugerencia') and (Situacion='Pendiente') and "
                     "(NivelPrioridad='Maxima' OR NivelPrioridad='Urgente')"},
        {op(true, false, true, false, false, false, true),
         "(NivelUrgencia='Sugerencia') and (Situacion='Solucionado' OR Situacion='Desestimado') and (NivelPrioridad='Normal')"},
        {op(false, true, true, true, false, true, false),
         "(NivelUrgencia='Error') and (Situacion='Solucionado' OR Situacion='Desestimado' OR Situacion='Pendiente') and "
         "(NivelPrioridad='Urgente')"},
        {op(true, true, false, true, false, true, true),
         "(NivelUrgencia='Error' OR NivelUrgencia='Sugerencia') and (Situacion='Pendiente') and "
         "(NivelPrioridad='Urgente' OR NivelPrioridad='Normal')"},
        {op(true, true, false, true, true, false, false),
         "(NivelUrgencia='Error' OR NivelUrgencia='Sugerencia') and (Situacion='Pendiente') and (NivelPrioridad='Maxima')"},
        {op(true, true, false, true, true, false, true),
         "(NivelUrgencia='Error' OR NivelUrgencia='Sugerencia') and (Situacion='Pendiente') and "
         "(NivelPrioridad='Maxima' OR NivelPrioridad='Normal')"},
        {op(true, true, false, true, true, true, true),
         "(NivelUrgencia='Error' OR NivelUrgencia='Sugerencia') and (Situacion='Pendiente') and "
         "(NivelPrioridad='Maxima' OR NivelPrioridad='Urgente' OR NivelPrioridad='Normal')"},
        {op(false, false, false, false, false, false, false), ""},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(filtroNotas::TextoFiltro(c.o, QString()), QString::fromUtf8(c.texto));
    EXPECT_EQ(filtroNotas::TextoFiltro(op(false, true, false, false, false, false, false), "(A = '1') AND (B = 'x')"),
              "(NivelUrgencia='Error') and (A = '1') AND (B = 'x')");
    EXPECT_EQ(filtroNotas::CondicionPorValor("DetectadoPor", "=", "O'Brien"), "(DetectadoPor = 'O''Brien')");
}

// Whether some pixel of the painted cell (row, column of the field) comes close to the
// colour: text is smoothed, so its strokes do not always reach it.
bool hayColorEnCelda(plat::DBGrid &rejilla, const QImage &pintada, int fila, const QString &campo, QColor color)
{
    int columna = -1;
    for (int i = 0; i < rejilla.columnCount(); ++i)
        if (rejilla.column(i)->FieldName == campo)
            columna = i;
    const QRect celda = rejilla.visualRect(rejilla.model()->index(fila, columna));
    EXPECT_TRUE(pintada.rect().contains(celda)) << campo.toStdString();
    const QRect dentro = celda.intersected(pintada.rect());
    for (int y = dentro.top(); y <= dentro.bottom(); ++y)
        for (int x = dentro.left(); x <= dentro.right(); ++x) {
            const QColor p = pintada.pixelColor(x, y);
            if (qAbs(p.red() - color.red()) <= 40 && qAbs(p.green() - color.green()) <= 40
                && qAbs(p.blue() - color.blue()) <= 40)
                return true;
        }
    return false;
}

class NotasTecnicasTest : public MaestroFixture
{
protected:
    void SetUp() override
    {
        MaestroFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // A first opening makes the tables.
        abrirVentana<TfPROYNTEC>();
        delete ventana_.data();
        mensajes_.limpiar();
    }

    // A note: number, type, situation, priority, detected by, detection date (ISO).
    void nota(int numero, const char *tipo, const char *situacion, const char *prioridad, const QString &detectado = {},
              const QString &fecha = QStringLiteral("2024-03-10"))
    {
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO NTECNICA (NotaTecnica, Descripcion, NivelUrgencia, Situacion, "
                                     "NivelPrioridad, DetectadoPor, FechaDeteccion) VALUES (%1, 'Nota %1', '%2', '%3', "
                                     "'%4', %5, '%6')")
                          .arg(numero)
                          .arg(QString::fromLatin1(tipo), QString::fromLatin1(situacion), QString::fromLatin1(prioridad),
                               Entrecomillar(detectado), fecha)),
                  QString());
    }

    TfPROYNTEC &abrir()
    {
        TfPROYNTEC &f = abrirVentana<TfPROYNTEC>();
        f.Table1->table().first();
        mensajes_.limpiar();
        return f;
    }

    TfPROYNTEC &ventana() { return *qobject_cast<TfPROYNTEC *>(ventana_.data()); }
    plat::TableDataSet &tabla() { return ventana().Table1->table(); }

    // The numbers of the notes the window shows, in order.
    QList<int> numeros()
    {
        QList<int> n;
        plat::TableDataSet &t = tabla();
        for (t.first(); !t.eof(); t.next())
            n << t.fieldByName("NotaTecnica").asInteger();
        return n;
    }

    void seleccionar(const QString &campo)
    {
        for (int i = 0; i < ventana().DBGrid1->columnCount(); ++i)
            if (ventana().DBGrid1->column(i)->FieldName == campo)
                ventana().DBGrid1->setSelectedIndex(i);
    }

    // Notes of every type, situation and priority.
    void notasVariadas()
    {
        nota(1, "Error", "Pendiente", "Maxima", "Ana");
        nota(2, "Sugerencia", "Pendiente", "Urgente", "O'Brien", "2024-03-31");
        nota(3, "Error", "Solucionado", "Maxima");
        nota(4, "Error", "Pendiente", "Normal", "Ana", "2024-04-01");
        nota(5, "Sugerencia", "Desestimado", "Urgente");
        nota(6, "Error", "Pendiente", "Urgente", "Luis", "2024-02-29");
    }
};

TEST_P(NotasTecnicasTest, TheBoxesFilterTheNotesAndTheirGuardsKeepThePreviousFilter)
{
    notasVariadas();
    TfPROYNTEC &f = abrir();
    const QString inicial = "(NivelUrgencia='Error' OR NivelUrgencia='Sugerencia') and (Situacion='Pendiente') and "
                            "(NivelPrioridad='Maxima' OR NivelPrioridad='Urgente')";
    EXPECT_EQ(tabla().filter(), inicial);
    EXPECT_TRUE(tabla().filtered());
    EXPECT_EQ(numeros(), (QList<int>{1, 2, 6}));
    const auto barra = [&f] {
        return f.StatusBar1->simplePanel() ? f.StatusBar1->simpleText() : f.StatusBar1->panels().value(0).Text;
    };
    EXPECT_EQ(barra(), "Número de Notas: 3");

    f.VerSolucionado->setChecked(true);
    EXPECT_EQ(numeros(), (QList<int>{1, 2, 3, 5, 6}));
    EXPECT_EQ(barra(), "Número de Notas: 5");
    f.VerPendiente->setChecked(false);
    EXPECT_EQ(numeros(), (QList<int>{3, 5}));
    const QString soloResueltas = tabla().filter();
    f.CheckBox4->setChecked(true);
    EXPECT_EQ(tabla().filter(), soloResueltas);

    // Each guard leaves the filter in force.
    mensajes_.limpiar();
    f.VerErrores->setChecked(false);
    EXPECT_EQ(numeros(), (QList<int>{5}));
    f.VerSugerencias->setChecked(false);
    f.VerSugerencias->setChecked(true);
    f.VerSolucionado->setChecked(false);
    f.VerSolucionado->setChecked(true);
    f.VerPrioritario->setChecked(false);
    f.VerUrgente->setChecked(false);
    EXPECT_EQ(mensajes_.textos(), (QStringList{"¡Debe escoger alguna opción para el Tipo de Nota!",
                                               "¡Debe escoger alguna opción para la Situación!",
                                               "¡Debe escoger alguna opción para el Nivel de Prioridad!"}));
    EXPECT_FALSE(f.VerUrgente->isChecked());
    EXPECT_EQ(numeros(), (QList<int>{5}));

    mensajes_.limpiar();
    f.VerUrgente->setChecked(true);
    f.DBGrid1->setSelectedIndex(3);
    tabla().edit();
    f.VerNormal->setChecked(true);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡Debe finalizar la edición antes de filtrar las opciones!"});
    EXPECT_FALSE(tabla().filter().contains("Normal"));
}

TEST_P(NotasTecnicasTest, FiltersByValueAccumulateAndABadOneKeepsThePrevious)
{
    notasVariadas();
    TfPROYNTEC &f = abrir();
    f.VerNormal->setChecked(true);
    const QString cajas = tabla().filter();

    seleccionar("FechaDeteccion");
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"01/03/2024", "31/03/2024"});
    f.FiltrarRegistrosporValorDesde->Click();
    f.FiltrarRegistrosporValorHasta->Click();
    ASSERT_EQ(mensajes_.mensajes().size(), 2) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(f.DBGrid1->selectedField()->fieldName(), "FechaDeteccion");
    EXPECT_EQ(mensajes_.mensajes()[0].tipo, "P");
    EXPECT_EQ(mensajes_.mensajes()[0].texto, "Introduzca el valor Desde F.Deteccion");
    EXPECT_EQ(tabla().filter(),
              cajas + " and (FechaDeteccion >= '01/03/2024') AND (FechaDeteccion <= '31/03/2024')");
    EXPECT_EQ(numeros(), (QList<int>{1, 2}));

    // A date column given a text the data layer cannot read: its message, and the filter
    // and rows as they were.
    mensajes_.limpiar();
    const QString anterior = tabla().filter();
    mensajes_.programarRespuestas({"abc"});
    f.FiltrarRegistrosporValorIgualA->Click();
    EXPECT_EQ(mensajes_.textos().size(), 2);
    EXPECT_EQ(f.FiltroPorValor, "(FechaDeteccion >= '01/03/2024') AND (FechaDeteccion <= '31/03/2024')");
    EXPECT_EQ(tabla().filter(), anterior);
    EXPECT_EQ(numeros(), (QList<int>{1, 2}));

    // An empty answer does nothing; a quote in the answer is compared as typed.
    f.CancelarFiltros1->Click();
    EXPECT_EQ(tabla().filter(), cajas);
    seleccionar("DetectadoPor");
    mensajes_.limpiar();
    mensajes_.programarRespuestas({""});
    f.FiltrarRegistrosporValorIgualA->Click();
    EXPECT_EQ(tabla().filter(), cajas);
    mensajes_.programarRespuestas({"O'Brien"});
    f.FiltrarRegistrosporValorIgualA->Click();
    EXPECT_EQ(numeros(), QList<int>{2});
    f.VerNormal->setChecked(false);   // later box clicks still work
    EXPECT_EQ(numeros(), QList<int>{2});
}

TEST_P(NotasTecnicasTest, ANewNoteIsNumberedAndDefaulted)
{
    TfPROYNTEC &f = abrir();
    f.AgregarClick(&f);
    EXPECT_EQ(tabla().fieldByName("NotaTecnica").asInteger(), 1);
    EXPECT_EQ(tabla().fieldByName("NivelUrgencia").asString(), "Error");
    EXPECT_EQ(tabla().fieldByName("NivelPrioridad").asString(), "Urgente");
    EXPECT_EQ(tabla().fieldByName("Situacion").asString(), "Pendiente");
    EXPECT_EQ(tabla().fieldByName("FechaDeteccion").asDateTime(), FechaHora(Ahora().date()));
    f.pbCancelarClick(&f);

    notasVariadas();
    f.pbRefrescarClick(&f);
    tabla().first();   // note 1, detected by Ana
    f.Agregar->setCaption("&Agregar con Duplicación");
    f.AgregarClick(&f);
    EXPECT_EQ(tabla().fieldByName("NotaTecnica").asInteger(), 7);
    EXPECT_EQ(tabla().fieldByName("DetectadoPor").asString(), "Ana");
    EXPECT_EQ(tabla().fieldByName("NivelPrioridad").asString(), "Maxima");
}

TEST_P(NotasTecnicasTest, ColumnChecksFillDatesAndNamesAndRefuseWrongValues)
{
    ASSERT_EQ(sql("INSERT INTO OPERARIO (Codigo, Nombre) VALUES (3, 'Eva')"), QString());
    nota(1, "Error", "Pendiente", "Maxima");
    TfPROYNTEC &f = abrir();
    const auto dejar = [&f](const QString &campo, const QVariant &valor) {
        for (int i = 0; i < f.DBGrid1->columnCount(); ++i)
            if (f.DBGrid1->column(i)->FieldName == campo)
                f.DBGrid1->setSelectedIndex(i);
        f.Table1->dataSet().edit();
        f.Table1->dataSet().fieldByName(campo).setValue(valor);
        return f.ValidarNotaTecnica();
    };
    EXPECT_TRUE(dejar("Situacion", "Desestimado"));
    EXPECT_EQ(tabla().fieldByName("FechaSolucion").asDateTime(), FechaHora(Ahora().date()));
    tabla().fieldByName("FechaSolucion").setValue(FechaHora(QDate(2024, 1, 2)));
    EXPECT_TRUE(dejar("Situacion", "Solucionado"));
    EXPECT_EQ(tabla().fieldByName("FechaSolucion").asDateTime(), FechaHora(QDate(2024, 1, 2)));

    EXPECT_TRUE(dejar("DetectadoPor", "Ana"));
    EXPECT_EQ(tabla().fieldByName("NotificarA").asString(), "Ana");
    EXPECT_TRUE(dejar("DetectadoPor", "Luis"));
    EXPECT_EQ(tabla().fieldByName("NotificarA").asString(), "Ana");

    EXPECT_TRUE(mensajes_.textos().isEmpty());
    EXPECT_TRUE(dejar("Responsable", 3));
    EXPECT_FALSE(dejar("Responsable", 4));
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡No existe el operario!"});

    for (const char *valor : {"maxima", "", "Alta"}) {
        mensajes_.limpiar();
        EXPECT_FALSE(dejar("NivelPrioridad", QString::fromUtf8(valor))) << valor;
        EXPECT_EQ(mensajes_.textos(), QStringList{QStringLiteral("¡ El valor \"%1\" de la columna \"Prioridad\" no es correcto !")
                                                      .arg(QString::fromUtf8(valor))});
    }
    mensajes_.limpiar();
    EXPECT_TRUE(dejar("NivelPrioridad", "Normal"));
    f.pbConformeClick(&f);
    EXPECT_EQ(sql("SELECT NivelPrioridad FROM NTECNICA WHERE NotaTecnica = 1"), "Normal");
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
}

// A double click on a project or operator column searches its table and writes the chosen
// key; a cancelled search changes nothing.
TEST_P(NotasTecnicasTest, LookUpsWriteTheChosenKey)
{
    ASSERT_EQ(sql("INSERT INTO PROYECT (Codigo, Descripcion) VALUES ('P-7', 'Séptimo')"), QString());
    nota(1, "Error", "Pendiente", "Maxima");
    std::unique_ptr<TfGENEBUSQ> busqueda(plat::createForm<TfGENEBUSQ>());
    fGENEBUSQ = busqueda.get();
    TfPROYNTEC &f = abrir();
    bool aceptar = true;
    plat::application().OnModalShown = [&aceptar](plat::Form &ventana) {
        auto &b = static_cast<TfGENEBUSQ &>(ventana);
        QTest::keyClicks(b.DatoABuscar, "P-7");
        QTest::keyClick(b.DatoABuscar, Qt::Key_Return);
        QTest::keyClick(aceptar ? static_cast<QWidget *>(b.DBGrid1) : b.DatoABuscar, aceptar ? Qt::Key_Return : Qt::Key_Escape);
    };
    seleccionar("CodigoProyecto");
    f.DBGrid1DblClick(f.DBGrid1);
    EXPECT_EQ(tabla().fieldByName("CodigoProyecto").asString(), "P-7");
    f.pbCancelarClick(&f);
    aceptar = false;
    f.DBGrid1DblClick(f.DBGrid1);
    plat::application().OnModalShown = nullptr;
    fGENEBUSQ = nullptr;
    EXPECT_EQ(tabla().state(), plat::DataSetState::Browse);
    EXPECT_TRUE(tabla().fieldByName("CodigoProyecto").asString().isEmpty());
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
}

TEST_P(NotasTecnicasTest, ARefusedNewNoteIsToldAndTheNextIsAppended)
{
    rechazar("NTECNICA", "INSERT");
    TfPROYNTEC &f = abrir();
    f.AgregarClick(&f);
    f.pbConformeClick(&f);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡ El registro no ha sido grabado !"});
    EXPECT_EQ(tabla().state(), plat::DataSetState::Insert);
    EXPECT_EQ(tabla().fieldByName("NotaTecnica").asInteger(), 1);
    EXPECT_EQ(f.DBGrid1->selectedIndex(), 0);
}

// The painted grid: colours by value, the extended-description markers and the document
// picture.
TEST_P(NotasTecnicasTest, TheGridPaintsValuesInTheirColours)
{
    notasVariadas();
    ASSERT_EQ(sql("UPDATE NTECNICA SET DescripcionAmpliada = 'Detalle' WHERE NotaTecnica = 1"), QString());
    ASSERT_EQ(sql("UPDATE NTECNICA SET DescripcionAmpliada = '' WHERE NotaTecnica = 2"), QString());
    ASSERT_EQ(sql("INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre) VALUES ('NTECNICA', '1', 'plano.pdf')"),
              QString());
    QImage doceon(16, 16, QImage::Format_RGB32);
    doceon.fill(QColor(10, 20, 250));
    fGENEINIC->Imagenes.insert("DOCEON", QPixmap::fromImage(doceon));
    TfPROYNTEC &f = abrir();
    f.VerSolucionado->setChecked(true);
    f.setBounds(0, 0, 1400, 500);
    for (int i = 0; i < f.DBGrid1->columnCount(); ++i)
        f.DBGrid1->column(i)->Width = 70;
    f.DBGrid1->updateColumns();
    QApplication::processEvents();
    f.DBGrid1->setCurrentIndex({});
    const QImage pintada = f.DBGrid1->viewport()->grab().toImage();
    const auto hay = [&](int fila, const QString &campo, QColor color) {
        return hayColorEnCelda(*f.DBGrid1, pintada, fila, campo, color);
    };
    const QColor verde(0, 128, 0), rojo(255, 0, 0), granate(128, 0, 0), verdeAzulado(0, 128, 128);
    // Rows: 1 Error Maxima (memo, document), 2 Sugerencia Urgente, 3 solved, 5 dismissed, 6.
    EXPECT_TRUE(hay(1, "NivelUrgencia", verde));
    EXPECT_FALSE(hay(0, "NivelUrgencia", verde));
    EXPECT_TRUE(hay(0, "NivelPrioridad", rojo));
    EXPECT_TRUE(hay(1, "NivelPrioridad", granate));
    EXPECT_TRUE(hay(2, "Descripcion", verdeAzulado));
    EXPECT_TRUE(hay(3, "Situacion", verdeAzulado));
    EXPECT_FALSE(hay(0, "Descripcion", verdeAzulado));
    EXPECT_TRUE(hay(0, "DescripcionAmpliada", rojo));
    EXPECT_FALSE(hay(1, "DescripcionAmpliada", rojo));
    EXPECT_TRUE(hay(0, "DocumentacionElectronica", QColor(10, 20, 250)));
    EXPECT_FALSE(hay(1, "DocumentacionElectronica", QColor(10, 20, 250)));

    // A double click on the mark opens the note's documents.
    QStringList abiertos;
    Gancho<std::function<void(const QString &, const QString &)>>::Instalacion documentos(
        form_->VentanaDocumentacionElectronica,
        [&abiertos](const QString &tabla, const QString &clave) { abiertos << tabla + u' ' + clave; });
    tabla().first();
    seleccionar("DocumentacionElectronica");
    f.DBGrid1DblClick(f.DBGrid1);
    EXPECT_EQ(abiertos, QStringList{"NTECNICA 1"});
}

// Ctrl+T in the cell editor of "Descripción Abreviada", keys sent to whatever has the focus as a
// keyboard sends them: the text lands in the note and stays once the editor has closed, and the
// windows it may open (the search, a template's questions) leave the keys working.
class TextosEnNotasTest : public NotasTecnicasTest
{
protected:
    void SetUp() override
    {
        NotasTecnicasTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_EQ(sql("INSERT INTO TEXTO (Codigo, Descripcion, Texto, Tipo) VALUES ('SALUDO', 'Saludo', "
                      "'Reciba un cordial saludo', 'Normal')"),
                  QString());
        ASSERT_EQ(sql("INSERT INTO TEXTO (Codigo, Descripcion, Texto, Tipo) VALUES ('VISITA', 'Visita', 'Cliente', "
                      "'Plantilla')"),
                  QString());
        busqueda_.reset(plat::createForm<TfGENEBUSQ>());
        fGENEBUSQ = busqueda_.get();
        // A window no case expects is noted and closed, so that the test goes on.
        plat::application().OnModalShown = [this](plat::Form &ventana) {
            inesperadas_ << ventana.objectName();
            ventana.setModalResult(plat::mrCancel);
        };
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        fGENEBUSQ = nullptr;
        busqueda_.reset();
        NotasTecnicasTest::TearDown();
    }

    // A new note with its description cell's editor open, as a click on the cell leaves it.
    TfPROYNTEC &editarDescripcion()
    {
        TfPROYNTEC &f = abrir();
        f.AgregarClick(&f);
        seleccionar("Descripcion");
        f.DBGrid1->setFocus();
        f.DBGrid1->edit(f.DBGrid1->currentIndex());
        return f;
    }

    static void teclear(const QString &texto, Qt::KeyboardModifiers mods)
    {
        for (QChar c : texto) {
            const auto tecla = Qt::Key(Qt::Key_A + (c.toUpper().unicode() - u'A'));
            QTest::sendKeyEvent(QTest::Press, QApplication::focusWidget(), tecla, QString(c), mods);
            QTest::sendKeyEvent(QTest::Release, QApplication::focusWidget(), tecla, QString(c), mods);
        }
    }

    static void ctrlT() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::ControlModifier); }

    // The cell editor open on the grid, if any.
    QLineEdit *editorAbierto() { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }

    QString descripcion() { return tabla().fieldByName("Descripcion").asString(); }

    std::unique_ptr<TfGENEBUSQ> busqueda_;
    QStringList inesperadas_;
};

TEST_P(TextosEnNotasTest, ACodeTypedWithShiftGivesItsTextWhichStaysWhenTheEditorCloses)
{
    editarDescripcion();
    teclear("SALUDO", Qt::ShiftModifier);
    ctrlT();
    EXPECT_TRUE(inesperadas_.isEmpty()) << inesperadas_.join(u' ').toStdString();
    EXPECT_EQ(descripcion(), "Reciba un cordial saludo");
    // The editor does not write the typed code back when the user moves on.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(descripcion(), "Reciba un cordial saludo");
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
}

TEST_P(TextosEnNotasTest, AnEmptyCodeOpensTheSearchAndEscLeavesTheCellAndTheNextKeyArrives)
{
    editarDescripcion();
    int busquedas = 0;
    plat::application().OnModalShown = [&busquedas](plat::Form &ventana) {
        ++busquedas;
        QTest::keyClick(static_cast<TfGENEBUSQ &>(ventana).DatoABuscar, Qt::Key_Escape);
    };
    ctrlT();
    EXPECT_EQ(busquedas, 1);
    EXPECT_EQ(descripcion(), "");
    // The search closed the editor that had the key; back in the window (the window manager
    // activates it again) the next keys open a new one.
    QApplication::setActiveWindow(marco_);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    teclear("ab", Qt::NoModifier);
    QLineEdit *editor = editorAbierto();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "ab");
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(descripcion(), "ab");
}

// A code belongs to the cell it was typed in: Ctrl+T in the next note's empty cell searches
// rather than writing the last text again.
TEST_P(TextosEnNotasTest, CtrlTInTheNextNotesEmptyCellSearchesRatherThanRepeatingTheLastText)
{
    TfPROYNTEC &f = editarDescripcion();
    teclear("SALUDO", Qt::ShiftModifier);
    ctrlT();
    f.pbConformeClick(&f);
    int busquedas = 0;
    plat::application().OnModalShown = [&busquedas](plat::Form &ventana) {
        ++busquedas;
        QTest::keyClick(static_cast<TfGENEBUSQ &>(ventana).DatoABuscar, Qt::Key_Escape);
    };
    seleccionar("Descripcion");
    ctrlT();
    EXPECT_EQ(busquedas, 1);
    EXPECT_EQ(descripcion(), "");
}

TEST_P(TextosEnNotasTest, ATemplateTypedWithCapsLockGivesItsLabelAndTheAnswer)
{
    TfPROYNTEC &f = editarDescripcion();
    plat::application().OnModalShown = [](plat::Form &ventana) {
        auto &preguntas = static_cast<TfGENEVLIS &>(ventana);
        preguntas.StringGrid->setCell(1, 1, QStringLiteral("Pérez"));
        preguntas.pbGrabarClick();
    };
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_CapsLock);
    teclear("VISITA", Qt::NoModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_CapsLock);
    ctrlT();
    EXPECT_TRUE(descripcion().startsWith("Cliente: Pérez")) << descripcion().toStdString();
    f.pbConformeClick(&f);
    EXPECT_TRUE(sql("SELECT Descripcion FROM NTECNICA WHERE NotaTecnica = 1").startsWith("Cliente: Pérez"));
}

// ---- version-change notices ------------------------------------------------------------------

class NotificacionesVersionTest : public NotasTecnicasTest
{
protected:
    TfPROYVERS &abrirAvisos()
    {
        TfPROYVERS &f = abrirVentana<TfPROYVERS>();
        mensajes_.limpiar();
        return f;
    }
};

TEST_P(NotificacionesVersionTest, NoticesAreNumberedAfterTheHighestAndDuplicatesKeepTheirOwnNumber)
{
    TfPROYVERS &f = abrirAvisos();
    plat::TableDataSet &t = f.Table1->table();
    f.AgregarClick(&f);
    EXPECT_EQ(t.fieldByName("NumeroNotificacion").asInteger(), 1);
    EXPECT_TRUE(t.fieldByName("Fecha").isNull());
    f.pbCancelarClick(&f);
    ASSERT_EQ(sql("INSERT INTO NOTVERS (NumeroNotificacion, Fecha, CodigoArticulo, Version, Descripcion, "
                  "DescripcionAmpliada) VALUES (2, '2024-05-06', 'ART-1', '2.1', 'Nueva pantalla', 'Detalles')"),
              QString());
    ASSERT_EQ(sql("INSERT INTO NOTVERS (NumeroNotificacion, CodigoArticulo) VALUES (9, 'ART-9')"), QString());
    f.pbRefrescarClick(&f);
    t.first();
    f.Agregar->setCaption("&Agregar con Duplicación");
    f.AgregarClick(&f);
    EXPECT_EQ(t.fieldByName("NumeroNotificacion").asInteger(), 10);
    EXPECT_EQ(t.fieldByName("Fecha").asDateTime(), FechaHora(QDate(2024, 5, 6)));
    for (const char *campo : {"CodigoArticulo", "Version", "Descripcion", "DescripcionAmpliada"})
        EXPECT_FALSE(t.fieldByName(campo).asString().isEmpty()) << campo;
    f.pbConformeClick(&f);
    EXPECT_EQ(sql("SELECT CodigoArticulo || '/' || Version FROM NOTVERS WHERE NumeroNotificacion = 10"), "ART-1/2.1");

    // The extended description's marker: red " -->" when it holds text.
    f.pbCancelarClick(&f);
    f.DBGrid1->setCurrentIndex({});
    // The column is scrolled into view: the widths grow with the font in use.
    for (int i = 0; i < f.DBGrid1->columnCount(); ++i)
        if (f.DBGrid1->column(i)->FieldName == QLatin1String("DescripcionAmpliada"))
            f.DBGrid1->scrollTo(f.DBGrid1->model()->index(0, i));
    const QImage pintada = f.DBGrid1->viewport()->grab().toImage();
    EXPECT_TRUE(hayColorEnCelda(*f.DBGrid1, pintada, 0, "DescripcionAmpliada", QColor(255, 0, 0)));
    EXPECT_FALSE(hayColorEnCelda(*f.DBGrid1, pintada, 1, "DescripcionAmpliada", QColor(255, 0, 0)));

    // The ellipsis opens the memo window titled with the article and the date as shown,
    // and what is typed there is saved in the notice.
    f.pbCancelarClick(&f);
    std::unique_ptr<TfGENEVMEM> memo(plat::createForm<TfGENEVMEM>());
    fGENEVMEM = memo.get();
    QStringList titulos;
    plat::application().OnModalShown = [&titulos](plat::Form &ventana) {
        titulos << ventana.caption();
        static_cast<TfGENEVMEM &>(ventana).DBMemo->setPlainText("Cambio de tornillería");
        ventana.setModalResult(plat::mrOk);
    };
    t.first();
    f.DBGrid1->setSelectedIndex(5);
    f.DBGrid1->EditButtonClick();
    f.pbConformeClick(&f);
    t.next();   // notice 9, with no date
    EXPECT_EQ(f.TituloDescripcionAmpliada(), "Artículo ART-9 - Fecha  - Descripción Ampliada");
    plat::application().OnModalShown = nullptr;
    fGENEVMEM = nullptr;
    EXPECT_EQ(titulos, QStringList{"Artículo ART-1 - Fecha 06/05/2024 - Descripción Ampliada"});
    EXPECT_EQ(sql("SELECT DescripcionAmpliada FROM NOTVERS WHERE NumeroNotificacion = 2"), "Cambio de tornillería");
}

INSTANTIATE_TEST_SUITE_P(Motores, NotasTecnicasTest, ::testing::Values(false, true), NombreMotor);
INSTANTIATE_TEST_SUITE_P(Motores, TextosEnNotasTest, ::testing::Values(false, true), NombreMotor);
INSTANTIATE_TEST_SUITE_P(Motores, NotificacionesVersionTest, ::testing::Values(false, true), NombreMotor);

} // namespace
