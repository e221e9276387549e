#include "GENEW/runtime/Geneinic.h"
#include "platform/base/FechaHora.h"
#include "platform/ui/Application.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Dialogs.h"
#include "projects/calendario/RRHHCAOP.h"
#include "tests/data/ModuloFixture.h"

#include <QPointer>
#include <QScrollBar>

using calendario::Familia;

namespace {

// The calendar window of operator 7 (company calendar 3) on March 2026, over a few days of
// both calendars. Cases for a family program run only in the test program's copy named after
// it, and are skipped elsewhere.
class VentanaCalendario : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const char *s : {"INSERT INTO PERSONAL (CodigoOperario, Nombre) VALUES (7, 'Ana Ruiz')",
                              "INSERT INTO HORARIO (Numero, Descripcion) VALUES (2, 'Mañana')",
                              "INSERT INTO CALENDAR (Codigo, Fecha, EsDiaTrabajado, EsDiaFestivo, EsDiaVacaciones, "
                              "EsDiaPuente, NumeroHorario) VALUES (3, '2026-03-02 00:00:00', 'SI', 'NO', 'NO', 'NO', 5)",
                              "INSERT INTO CALENDAR (Codigo, Fecha, EsDiaTrabajado, EsDiaFestivo, EsDiaVacaciones, "
                              "EsDiaPuente, NumeroHorario) VALUES (3, '2026-03-03 00:00:00', 'SI', 'NO', 'NO', 'NO', 5)"})
            ASSERT_EQ(sql(QString::fromUtf8(s)), QString());
        dia(3, QStringLiteral("'SI'"), QStringLiteral("'Maternidad'"));
        dia(4, QStringLiteral("''"), QStringLiteral("''"));
        dia(10, QStringLiteral("'NO'"), QStringLiteral("''"), 2027);
        incidencia(3, 2026);
        incidencia(4, 2027);
        marco_ = plat::createForm<plat::Form>();
        marco_->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco_);
        ventana_ = AbrirCalendarioOperario(7, 2026, 3, 3);
        mensajes_.limpiar();
    }

    void TearDown() override
    {
        delete ventana_.data();
        plat::application().setMainForm(nullptr);
        delete marco_;
        ModuloMotorTest::TearDown();
    }

    void dia(int d, const QString &festivo, const QString &situacion, int anyo = 2026)
    {
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO CALENOPE (CodigoOperario, Fecha, EsDiaTrabajado, EsDiaFestivo, "
                                     "EsDiaVacaciones, EsDiaPermiso, EsDiaPuente, NumeroHorario, Situacion) VALUES "
                                     "(7, '%1-03-%2 00:00:00', 'NO', %3, 'NO', 'NO', 'NO', 0, %4)")
                          .arg(anyo)
                          .arg(d, 2, 10, QLatin1Char('0'))
                          .arg(festivo, situacion)),
                  QString());
    }

    void incidencia(int d, int anyo)
    {
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO INCCALOP (CodigoOperario, Fecha, Linea, Descripcion) VALUES "
                                     "(7, '%1-03-%2 00:00:00', 1, 'Cita')")
                          .arg(anyo)
                          .arg(d, 2, 10, QLatin1Char('0'))),
                  QString());
    }

    int cuenta(const QString &tabla)
    {
        return sql(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE CodigoOperario = 7").arg(tabla)).toInt();
    }

    bool enFamilia(Familia familia) const { return ventana_->familia() == familia; }

    // The colour of a cell's lower right corner, where no text is painted.
    QColor fondo(int columna, int fila)
    {
        ventana_->resize(900, 700);
        const QImage imagen = ventana_->SGrid->viewport()->grab().toImage();
        const QRect celda = ventana_->SGrid->visualRect(ventana_->SGrid->model()->index(fila, columna));
        return imagen.pixelColor(celda.right() - 4, celda.bottom() - 3);
    }

    void seleccionar(int dia)
    {
        const auto [columna, fila] = calendario::CeldaDelDia(2026, 3, dia);
        bool puede = true;
        ventana_->SGridSelectCell(ventana_->SGrid, columna, fila, puede);
    }

    QString personal(int d, const QString &campos)
    {
        return sql(QStringLiteral("SELECT %1 FROM CALENOPE WHERE CodigoOperario = 7 AND Fecha = '2026-03-%2 00:00:00'")
                       .arg(campos)
                       .arg(d, 2, 10, QLatin1Char('0')));
    }

    plat::Form *marco_ = nullptr;
    QPointer<TfRRHHCAOP> ventana_;
};

TEST_P(VentanaCalendario, ShowsTheMonthAndMovesWithinBounds)
{
    TfRRHHCAOP &v = *ventana_;
    EXPECT_EQ(v.SGrid->cell(0, 0), QStringLiteral("Lunes"));
    EXPECT_EQ(v.SGrid->cell(6, 1), QStringLiteral("1"));
    EXPECT_EQ(v.SGrid->cell(5, 1), QString());
    EXPECT_EQ(v.EditMes->text(), QStringLiteral("Marzo"));
    EXPECT_EQ(v.EditNombreOperario->text(), QStringLiteral("Ana Ruiz"));
    EXPECT_EQ(v.IncidenciasCalendario->dataSet().recordCount(), 1);

    for (int i = 0; i < 9; ++i)
        v.SpinMesDownClick(v.SpinMes);
    EXPECT_EQ(v.EditMes->text(), QStringLiteral("Diciembre"));
    v.SpinMesDownClick(v.SpinMes);
    EXPECT_EQ(std::make_pair(v.EditMes->text(), v.EditEjercicio->text()),
              std::make_pair(QStringLiteral("Enero"), QStringLiteral("2027")));
    EXPECT_EQ(v.IncidenciasCalendario->dataSet().recordCount(), 0);
    v.SpinOperarioDownClick(v.SpinOperario);
    EXPECT_EQ(v.EditOperario->text(), QStringLiteral("8"));
    EXPECT_EQ(v.EditNombreOperario->text(), QString());
    EXPECT_EQ(v.codigoCalendario(), 3);

    v.setBounds(0, 0, 800, 700);
    const int alto = v.height();
    v.pbZoom->setDownState(false);
    v.pbZoomClick(v.pbZoom);
    EXPECT_FALSE(v.PanelIncidencias->isVisibleTo(&v));
    EXPECT_LT(v.height(), alto);
    v.pbZoom->setDownState(true);
    v.pbZoomClick(v.pbZoom);
    EXPECT_TRUE(v.PanelIncidencias->isVisibleTo(&v));
    EXPECT_EQ(v.height(), alto);
}

TEST_P(VentanaCalendario, DeletesAMonthAYearAndADay)
{
    TfRRHHCAOP &v = *ventana_;
    const auto [columna, fila] = calendario::CeldaDelDia(2026, 3, 3);
    v.SGrid->setCurrentCell(columna, fila);
    mensajes_.programarRespuestas({QStringLiteral("SI")});
    v.EliminardiaClick(v.Eliminardia);
    EXPECT_EQ(personal(3, QStringLiteral("COUNT(*)")), QStringLiteral("0"));
    EXPECT_EQ(cuenta(QStringLiteral("CALENOPE")), 2);

    mensajes_.programarRespuestas({QStringLiteral("SI"), QStringLiteral("NO")});
    v.pbEliminarClick(v.pbEliminar);
    EXPECT_EQ(cuenta(QStringLiteral("CALENOPE")), 1);   // 2027 stays
    EXPECT_EQ(cuenta(QStringLiteral("INCCALOP")), 2);   // incidences kept on "NO"

    mensajes_.programarRespuestas({QStringLiteral("SI"), QStringLiteral("SI")});
    v.SpinEjercicioDownClick(v.SpinEjercicio);
    v.pbEliminarEjercicioClick(v.pbEliminarEjercicio);
    EXPECT_EQ(cuenta(QStringLiteral("CALENOPE")), 0);
    EXPECT_EQ(cuenta(QStringLiteral("INCCALOP")), 1);
}

TEST_P(VentanaCalendario, QuestalPaintsAndMarksDays)
{
    if (!enFamilia(Familia::Questal))
        GTEST_SKIP() << "runs as questal";
    TfRRHHCAOP &v = *ventana_;
    EXPECT_EQ(v.LabelHorario->caption(), QStringLiteral("Situación:"));
    EXPECT_FALSE(v.EditNumeroHorario->isVisibleTo(&v));
    EXPECT_FALSE(v.DBGrid1->column(8)->Visible);   // "Color"
    const auto [c3, f3] = calendario::CeldaDelDia(2026, 3, 3);
    const auto [c2, f2] = calendario::CeldaDelDia(2026, 3, 2);
    EXPECT_EQ(fondo(c3, f3), plat::toQColor(0xD2FFFF));
    EXPECT_EQ(fondo(c2, f2), plat::toQColor(0xFFFFFF));

    v.pbPuente->setDownState(true);
    v.pbMarcasClick(v.pbPuente);
    EXPECT_TRUE(v.pbLaborables->isChecked());
    EXPECT_FALSE(v.pbFestivos->isChecked());
    v.pbVacaciones->setDownState(true);
    v.pbMarcasClick(v.pbVacaciones);
    EXPECT_FALSE(v.pbPuente->isChecked());

    seleccionar(2);   // pbModificar up: nothing written
    EXPECT_EQ(personal(2, QStringLiteral("COUNT(*)")), QStringLiteral("0"));
    v.pbModificar->setDownState(true);
    v.EditSituacion->setText(QStringLiteral("Enfermedad"));
    seleccionar(2);
    EXPECT_EQ(personal(2, QStringLiteral("EsDiaTrabajado || EsDiaFestivo || EsDiaVacaciones || NumeroHorario || Situacion")),
              QStringLiteral("SINOSI5Enfermedad"));
    EXPECT_EQ(fondo(c2, f2), plat::toQColor(0xD2FFFF));
}

TEST_P(VentanaCalendario, VimbaroRefusesATimetableOnAFestiveDay)
{
    if (!enFamilia(Familia::Vimbaro))
        GTEST_SKIP() << "runs as vimbaro";
    TfRRHHCAOP &v = *ventana_;
    EXPECT_EQ(v.LabelHorario->caption(), QStringLiteral("Horario:"));
    EXPECT_FALSE(v.pbTrabajados->isEnabled());
    EXPECT_TRUE(v.DBGrid1->column(8)->Visible);
    v.pbModificar->setDownState(true);
    seleccionar(3);
    EXPECT_EQ(personal(3, QStringLiteral("NumeroHorario")), QStringLiteral("0"));
    EXPECT_EQ(mensajes_.textos(),
              QStringList{QStringLiteral("¡ No se puede asignar horario por ser dia festivo, puente o vacaciones !")});
    seleccionar(4);
    EXPECT_EQ(personal(4, QStringLiteral("NumeroHorario")), QStringLiteral("2"));

    // A colour chosen for an incidence is stored and painted as the cell's background.
    plat::setDialogScript([](QObject *dialogo) {
        if (auto *color = qobject_cast<plat::ColorDialog *>(dialogo))
            color->Color = 0x00C000;
        return true;
    });
    v.resize(900, 700);
    plat::DataSet &inc = v.IncidenciasCalendario->dataSet();
    inc.first();
    v.DBGrid1->setSelectedIndex(8);
    v.BuscarDatosDBEdit(v.DBGrid1);
    inc.post();
    plat::setDialogScript(nullptr);
    EXPECT_EQ(sql(QStringLiteral("SELECT Color FROM INCCALOP WHERE Fecha = '2026-03-03 00:00:00'")),
              QString::number(0x00C000));
    // The colour column lies past the grid's width in the font in use: the window laid out at
    // its size, the grid is scrolled to it.
    v.show();
    QCoreApplication::processEvents();
    v.DBGrid1->horizontalScrollBar()->setValue(v.DBGrid1->horizontalScrollBar()->maximum());
    const QImage imagen = v.DBGrid1->grab().toImage();
    int pintados = 0;
    for (int y = 0; y < imagen.height(); ++y)
        for (int x = 0; x < imagen.width(); ++x)
            pintados += imagen.pixelColor(x, y) == plat::toQColor(0x00C000);
    EXPECT_GT(pintados, 100);
}

TEST_P(VentanaCalendario, IncidencesAreNumberedByDateAndTimed)
{
    plat::DataSet &inc = ventana_->IncidenciasCalendario->dataSet();
    // Before its date a new line counts among all of the operator's lines.
    const auto nueva = [&](int d, QTime inicio, QTime final_, int lineaSinFecha) {
        inc.append();
        EXPECT_EQ(inc.fieldByName(QStringLiteral("Linea")).asInteger(), lineaSinFecha);
        inc.fieldByName(QStringLiteral("Fecha")).setValue(FechaHora(QDate(2026, 3, d)));
        inc.fieldByName(QStringLiteral("HoraInicio")).setValue(FechaHora(QDate(1899, 12, 30), inicio));
        if (final_.isValid())
            inc.fieldByName(QStringLiteral("HoraFinal")).setValue(FechaHora(QDate(1899, 12, 30), final_));
        inc.fieldByName(QStringLiteral("Tiempo")).setValue(9.0);
        ventana_->DBGrid1ColExit(ventana_->DBGrid1);
        if (inc.state() != plat::DataSetState::Browse)
            inc.post();
    };
    nueva(3, QTime(8, 0), QTime(12, 30), 2);   // a second line on a day that has one
    nueva(5, QTime(9, 0), QTime(), 3);
    EXPECT_EQ(sql(QStringLiteral("SELECT Linea FROM INCCALOP WHERE Fecha = '2026-03-03 00:00:00' AND Linea = 2")),
              QStringLiteral("2"));
    EXPECT_EQ(sql(QStringLiteral("SELECT Tiempo FROM INCCALOP WHERE Fecha = '2026-03-03 00:00:00' AND Linea = 2")),
              QStringLiteral("4,5"));
    EXPECT_EQ(sql(QStringLiteral("SELECT Linea FROM INCCALOP WHERE Fecha = '2026-03-05 00:00:00'")), QStringLiteral("1"));
    EXPECT_EQ(sql(QStringLiteral("SELECT Tiempo FROM INCCALOP WHERE Fecha = '2026-03-05 00:00:00'")), QStringLiteral("9"));
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
}

TEST_P(VentanaCalendario, QuestalGeneratesDaysUnderAContractAndMarksThemTheSecondTime)
{
    if (!enFamilia(Familia::Questal))
        GTEST_SKIP() << "runs as questal";
    for (const char *s :
         {"INSERT INTO PERSONAL (CodigoOperario, Nombre) VALUES (8, 'B')",
          "INSERT INTO PERSONAL (CodigoOperario, Nombre) VALUES (9, 'C')",
          // 7: open by the zero date from the 10th; 8: open by NULL; 9: ended on the 5th.
          "INSERT INTO HCONTRAT VALUES (7, 1, '2024-09-10 00:00:00', '1899-12-30 00:00:00')",
          "INSERT INTO HCONTRAT VALUES (8, 1, '2024-01-01 00:00:00', NULL)",
          "INSERT INTO HCONTRAT VALUES (9, 1, '2024-01-01 00:00:00', '2024-09-05 00:00:00')",
          "INSERT INTO TSUBSDIO VALUES (1, 'Enfermedad')",
          "INSERT INTO TSUBSDIO VALUES (2, 'Accidente Trabajo')",
          "INSERT INTO BAJA VALUES (8, '2024-09-02 00:00:00', 1, '2024-09-03 00:00:00')",
          "INSERT INTO BAJA VALUES (8, '2024-09-03 00:00:00', 2, NULL)",
          "INSERT INTO CALENDAR VALUES (3, '2024-09-11 00:00:00', 'NO', 'SI', 'NO', 'SI', 5)"})
        ASSERT_EQ(sql(QString::fromUtf8(s)), QString());
    const auto marcar = [&] {
        mensajes_.programarRespuestas({"1", "9", "01/09/2024", "30/09/2024"});
        ventana_->pbMarcarDiasRegulacionEmpleoClick(ventana_->pbMarcarDiasRegulacionEmpleo);
    };
    const auto dia = [&](int operario, int d, const char *campos) {
        return sql(QStringLiteral("SELECT %1 FROM CALENOPE WHERE CodigoOperario = %2 AND Fecha = '2024-09-%3 00:00:00'")
                       .arg(QString::fromLatin1(campos))
                       .arg(operario)
                       .arg(d, 2, 10, QLatin1Char('0')));
    };
    const QString septiembre = QStringLiteral(" AND Fecha >= '2024-09-01 00:00:00' AND Fecha <= '2024-09-30 00:00:00'");
    const auto dias = [&](int operario) {
        return sql(QStringLiteral("SELECT COUNT(*) FROM CALENOPE WHERE CodigoOperario = %1").arg(operario) + septiembre);
    };
    marcar();
    EXPECT_EQ(QStringList({dias(7), dias(8), dias(9)}), QStringList({"21", "30", "5"}));
    EXPECT_EQ(dia(8, 1, "EsDiaTrabajado || EsDiaFestivo || Situacion"), QStringLiteral("NOSIAlta"));
    EXPECT_EQ(dia(8, 2, "EsDiaTrabajado || EsDiaFestivo || Situacion"), QStringLiteral("SINOEnfermedad"));
    EXPECT_EQ(dia(8, 3, "Situacion").split(QStringLiteral("\r\n")).size(), 2);
    // The company day overrides the flags, not the timetable.
    EXPECT_EQ(dia(7, 11, "EsDiaTrabajado || EsDiaFestivo || EsDiaPuente"), QStringLiteral("NOSISI"));
    EXPECT_EQ(dia(7, 11, "COALESCE(NumeroHorario, 0)"), QStringLiteral("0"));

    marcar();
    EXPECT_EQ(QStringList({dias(7), dias(8), dias(9)}), QStringList({"21", "30", "5"}));
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM CALENOPE WHERE Situacion <> 'Regulacion Empleo'") + septiembre),
              QStringLiteral("0"));

    mensajes_.limpiar();
    mensajes_.programarRespuestas({"x"});
    ventana_->pbMarcarDiasRegulacionEmpleoClick(ventana_->pbMarcarDiasRegulacionEmpleo);
    EXPECT_TRUE(mensajes_.textos().contains(QStringLiteral("¡El valor de Desde Operario es incorrecto! Repita por favor")))
        << mensajes_.textos().join(u'|').toStdString();
    const QString antes = sql(QStringLiteral("SELECT COUNT(*) FROM CALENOPE"));
    for (const char *rango : {"0/9", "abc"}) {
        mensajes_.programarRespuestas({"SI", rango});
        ventana_->pbGenerarCalendarioClick(ventana_->pbGenerarCalendario);
    }
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM CALENOPE")), antes);
    mensajes_.programarRespuestas({"SI", "7/7"});
    ventana_->pbGenerarCalendarioClick(ventana_->pbGenerarCalendario);   // March 2026, the shown month
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM CALENOPE")).toInt(), antes.toInt() + 29);
}

TEST_P(VentanaCalendario, DunfelkTakesTheCompanyTimetableAndGeneratesNothing)
{
    if (!enFamilia(Familia::Dunfelk))
        GTEST_SKIP() << "runs as dunfelk";
    TfRRHHCAOP &v = *ventana_;
    EXPECT_EQ(v.LabelHorario->caption(), QStringLiteral("Horario:"));
    EXPECT_FALSE(v.pbGenerarCalendario->isVisibleTo(&v));
    EXPECT_TRUE(v.pbTrabajados->isEnabled());
    v.pbModificar->setDownState(true);
    seleccionar(2);
    EXPECT_EQ(personal(2, QStringLiteral("NumeroHorario")), QStringLiteral("5"));
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO HCONTRAT VALUES (7, 1, '2024-01-01 00:00:00', NULL)")), QString());
    v.GeneraCalendarioOperario(7, QString(), QString());
    EXPECT_EQ(cuenta(QStringLiteral("CALENOPE")), 4);
}

TEST_P(VentanaCalendario, QuestalReportsRefusedWrites)
{
    if (!enFamilia(Familia::Questal) || GetParam())
        GTEST_SKIP() << "runs as questal on SQLite";
    // A trigger refusing every write of operator 7 stands for a lock.
    for (const char *accion : {"INSERT", "UPDATE"})
        ASSERT_EQ(sql(QStringLiteral("CREATE TRIGGER bloqueo_%1 BEFORE %1 ON CALENOPE WHEN NEW.CodigoOperario = 7 "
                                     "BEGIN SELECT RAISE(ABORT, 'bloqueado'); END")
                          .arg(QString::fromLatin1(accion))),
                  QString());
    ventana_->pbModificar->setDownState(true);
    seleccionar(20);
    seleccionar(21);
    EXPECT_EQ(mensajes_.textos(), QStringList(2, QStringLiteral("¡ Calendario no actualizado !")));

    for (const char *s : {"INSERT INTO PERSONAL (CodigoOperario, Nombre) VALUES (8, 'B')",
                          "INSERT INTO HCONTRAT VALUES (7, 1, '2024-01-01 00:00:00', NULL)",
                          "INSERT INTO HCONTRAT VALUES (8, 1, '2024-01-01 00:00:00', NULL)"})
        ASSERT_EQ(sql(QString::fromUtf8(s)), QString());
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"7", "8", "01/09/2024", "03/09/2024"});
    ventana_->pbMarcarDiasRegulacionEmpleoClick(ventana_->pbMarcarDiasRegulacionEmpleo);
    // Operator 7 stops at its first day; operator 8 gets its three.
    EXPECT_EQ(mensajes_.textos().count(QStringLiteral("¡ Está intentando grabar un calendario que ya existe !")), 1);
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM CALENOPE WHERE CodigoOperario = 8")), QStringLiteral("3"));
}

TEST(SentenciasCalendario, SqlServerTexts)
{
    EXPECT_EQ(calendario::SentenciaBorrar(QStringLiteral("CALENOPE"), 7, 2026, 3),
              QStringLiteral("DELETE FROM CALENOPE   WHERE CodigoOperario = 7    AND MONTH(Fecha) = 3    AND YEAR(Fecha) = 2026"));
    EXPECT_EQ(calendario::SentenciaBorrar(QStringLiteral("INCCALOP"), 7, 2026),
              QStringLiteral("DELETE FROM INCCALOP   WHERE CodigoOperario = 7    AND YEAR(Fecha) = 2026"));
    EXPECT_EQ(calendario::SentenciaBorrar(QStringLiteral("CALENOPE"), 7, 2026, 3, 14),
              QStringLiteral("DELETE FROM CALENOPE   WHERE CodigoOperario = 7    AND DAY(Fecha) = 14    AND MONTH(Fecha) = 3 "
                             "   AND YEAR(Fecha) = 2026"));

    const calendario::LiteralesFecha f{"'02/09/2024'", "'30/12/1899'", "0"};
    EXPECT_EQ(calendario::SentenciaContrato(7, f),
              QStringLiteral("SELECT TOP 1 NumeroContrato FROM HCONTRAT WHERE CodigoOperario = 7 AND FechaInicioContrato <= "
                             "'02/09/2024' AND (FechaFinalContrato >= '02/09/2024' OR FechaFinalContrato = '30/12/1899' OR "
                             "FechaFinalContrato is Null OR FechaFinalContrato = 0) ORDER BY NumeroContrato DESC"));
    EXPECT_EQ(calendario::SentenciaBajas(7, f),
              QStringLiteral("SELECT DISTINCT T.TipoBaja FROM TSUBSDIO T JOIN BAJA B ON B.CodigoBaja = T.Codigo WHERE "
                             "B.CodigoOperario = 7 AND B.FechaInicio <= '02/09/2024' AND (B.FechaFinal >= '02/09/2024' OR "
                             "B.FechaFinal = '30/12/1899' OR B.FechaFinal is Null OR B.FechaFinal = 0)"));
}

INSTANTIATE_TEST_SUITE_P(Motores, VentanaCalendario, ::testing::Bool(), NombreMotor);

} // namespace
