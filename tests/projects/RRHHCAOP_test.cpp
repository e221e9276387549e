#include "GENEW/runtime/Geneinic.h"
#include "platform/base/FechaHora.h"
#include "platform/ui/Application.h"
#include "platform/ui/Colors.h"
#include "projects/RRHHCAOP.h"
#include "tests/data/ModuloFixture.h"

#include <QPointer>

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
}

TEST_P(VentanaCalendario, IncidencesAreNumberedByDateAndTimed)
{
    plat::DataSet &inc = ventana_->IncidenciasCalendario->dataSet();
    const auto nueva = [&](int d, QTime inicio, QTime final_) {
        inc.append();
        inc.fieldByName(QStringLiteral("Fecha")).setValue(FechaHora(QDate(2026, 3, d)));
        inc.fieldByName(QStringLiteral("HoraInicio")).setValue(FechaHora(QDate(1899, 12, 30), inicio));
        if (final_.isValid())
            inc.fieldByName(QStringLiteral("HoraFinal")).setValue(FechaHora(QDate(1899, 12, 30), final_));
        inc.fieldByName(QStringLiteral("Tiempo")).setValue(9.0);
        ventana_->DBGrid1ColExit(ventana_->DBGrid1);
        if (inc.state() != plat::DataSetState::Browse)
            inc.post();
    };
    nueva(3, QTime(8, 0), QTime(12, 30));   // a second line on a day that has one
    nueva(5, QTime(9, 0), QTime());
    EXPECT_EQ(sql(QStringLiteral("SELECT Linea FROM INCCALOP WHERE Fecha = '2026-03-03 00:00:00' AND Linea = 2")),
              QStringLiteral("2"));
    EXPECT_EQ(sql(QStringLiteral("SELECT Tiempo FROM INCCALOP WHERE Fecha = '2026-03-03 00:00:00' AND Linea = 2")),
              QStringLiteral("4,5"));
    EXPECT_EQ(sql(QStringLiteral("SELECT Linea FROM INCCALOP WHERE Fecha = '2026-03-05 00:00:00'")), QStringLiteral("1"));
    EXPECT_EQ(sql(QStringLiteral("SELECT Tiempo FROM INCCALOP WHERE Fecha = '2026-03-05 00:00:00'")), QStringLiteral("9"));
}

INSTANTIATE_TEST_SUITE_P(Motores, VentanaCalendario, ::testing::Bool(), NombreMotor);

} // namespace
