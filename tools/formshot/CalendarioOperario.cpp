// The operator calendar on March 2026 with personal days of every kind over a company week;
// what it shows depends on the name the tool runs under (a copy named "questal_formshot"
// paints the day codes, "vimbaro_formshot" the timetables).
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "projects/calendario/RRHHCAOP.h"


namespace {

bool prepararCalendario()
{
    ModuloDatos->EjecutarSQL(QStringLiteral("INSERT INTO PERSONAL (CodigoOperario, Nombre) VALUES (7, 'Andrés Núñez')"));
    ModuloDatos->EjecutarSQL(QStringLiteral("INSERT INTO HORARIO (Numero, Descripcion) VALUES (2, 'Mañana')"));
    for (int dia = 2; dia <= 8; ++dia)
        ModuloDatos->EjecutarSQL(
            QStringLiteral("INSERT INTO CALENDAR (Codigo, Fecha, EsDiaTrabajado, EsDiaFestivo, EsDiaVacaciones, "
                           "EsDiaPuente, NumeroHorario) VALUES (3, '2026-03-%1 00:00:00', '%2', '%3', 'NO', 'NO', 1)")
                .arg(dia, 2, 10, QLatin1Char('0'))
                .arg(dia == 8 ? QStringLiteral("NO") : QStringLiteral("SI"), dia == 8 ? QStringLiteral("SI") : QStringLiteral("NO")));
    const struct
    {
        int dia;
        const char *banderas;   // trabajado, festivo, vacaciones, permiso, puente
        int horario;
        const char *situacion;
    } dias[] = {{10, "'SI','NO','NO','NO','NO'", 2, "Alta"},
                {11, "'NO','SI','NO','NO','NO'", 0, "Enfermedad"},
                {12, "'NO','NO','SI','NO','NO'", 0, "Maternidad"},
                {13, "'NO','NO','NO','NO','SI'", 0, "Regulacion Empleo"},
                {16, "'SI','NO','NO','SI','NO'", 2, "No Retribuido No Cotizable"},
                {17, "'SI','NO','SI','SI','SI'", 2, "Accidente Trabajo"}};
    for (const auto &d : dias)
        ModuloDatos->EjecutarSQL(
            QStringLiteral("INSERT INTO CALENOPE (CodigoOperario, Fecha, EsDiaTrabajado, EsDiaFestivo, EsDiaVacaciones, "
                           "EsDiaPermiso, EsDiaPuente, NumeroHorario, Situacion) VALUES (7, '2026-03-%1 00:00:00', %2, "
                           "%3, '%4')")
                .arg(d.dia)
                .arg(QString::fromLatin1(d.banderas))
                .arg(d.horario)
                .arg(QString::fromLatin1(d.situacion)));
    return true;
}

plat::Form *calendarioOperario()
{
    if (!formshot::empresaMuestra(prepararCalendario))
        return nullptr;
    plat::Form *marco = formshot::marcoMDI(760, 620);
    auto *ventana = AbrirCalendarioOperario(7, 2026, 3, 3);
    ventana->setBounds(0, 0, 740, 580);
    return marco;
}

const bool registrado = formshot::registerForm(
    {QStringLiteral("calendario-operario"), QStringLiteral("el calendario de un operario, marzo de 2026"),
     [](const QString &) { return calendarioOperario(); }});

} // namespace
