#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// The date rules of an operator's day calendar, without widgets: where a month's days sit in
// the 7 × 7 grid (header row, then weeks Monday to Sunday), how the shown month, year and
// operator move, which codes a day paints, and how the day-type toggles and the generation
// set a day's flags. Flags are the stored strings "SI", "NO" or empty.
namespace calendario {

// The sibling programs that share the calendar window; what it shows and allows depends on it.
enum class Familia { Otra, Questal, Dunfelk, Vimbaro };

// The shown month of one operator, moved by the window's spins within 1..9999 years and
// operators.
struct MesOperario
{
    int anyo = 1;
    int mes = 1;
    int operario = 1;

    void avanzarMes();
    void retrocederMes();
    void avanzarAnyo();
    void retrocederAnyo();
    void avanzarOperario();
    void retrocederOperario();
    QDate primerDia() const { return QDate(anyo, mes, 1); }
    QDate ultimoDia() const { return QDate(anyo, mes, primerDia().daysInMonth()); }
};

inline constexpr int kColumnas = 7;
inline constexpr int kFilas = 7;   // the header row and six weeks

// "Lunes" .. "Domingo", the header row.
QStringList NombresDiasSemana();
// The day in a grid cell of the month (row 0 is the header), 0 when the cell is empty.
int DiaDeCelda(int anyo, int mes, int columna, int fila);
// The cell (column, row) of a day of the month.
std::pair<int, int> CeldaDelDia(int anyo, int mes, int dia);

// One day of the personal calendar (CALENOPE) or of the company calendar (CALENDAR, which
// has neither permission flag nor situation).
struct DiaCalendario
{
    QString trabajado;
    QString festivo;
    QString vacaciones;
    QString permiso;
    QString puente;
    int numeroHorario = 0;
    QString situacion;
};

// The abbreviation a situation paints ("Maternidad" → "Mat."); empty for any other value.
QString AbreviaturaSituacion(const QString &situacion);
// The items of the situation combo, in order, the empty one last.
QStringList Situaciones();

// One text painted in a day cell: at (left + x, top + y), or right-aligned (right − width − 3)
// when alineadaDerecha; colour in $BBGGRR.
struct Marca
{
    QString texto;
    int x = 0;
    int y = 0;
    int color = 0;
    bool alineadaDerecha = false;

    bool operator==(const Marca &) const = default;
};

// The marks of a personal day (personal = true) or of a company day under a program.
QList<Marca> MarcasDelDia(const DiaCalendario &dia, bool personal, Familia familia);

// The day-type toggles of the window.
struct Marcadores
{
    bool trabajados = false;
    bool laborables = false;
    bool festivos = false;
    bool vacaciones = false;
    bool puente = false;
    bool permiso = false;
};

// The flags a day takes from the toggles: all "NO", then the ones pressed; festive "NO" when
// laborables is down, "SI" when festivos is, else empty.
void AplicarMarcadores(DiaCalendario &dia, const Marcadores &marcadores);
// A timetable may be given only to a day that is neither holiday, bridge nor festive.
bool AdmiteHorario(const DiaCalendario &dia);

// A generated personal day: Sunday festive, Monday to Friday worked, August holiday; the
// company day's flags (not its timetable) override those; the situation given.
DiaCalendario DiaGenerado(const QDate &fecha, const std::optional<DiaCalendario> &diaEmpresa,
                          const QString &situacion);
// The situation of several leave types on one day: their lines joined, cut to the 40
// characters the column holds.
QString SituacionDeBajas(const QStringList &tiposBaja);

// The date literals of the generation's statements, each as the statement writes it (quotes
// included): the day, the zero date, and the bare zero the end dates are also compared with.
struct LiteralesFecha
{
    QString dia;
    QString cero;
    QString ceroDesnudo;
};
// The newest contract of the operator in force on the day (open ends included).
QString SentenciaContrato(int operario, const LiteralesFecha &f);
// The leave types of the operator's leaves in force on the day.
QString SentenciaBajas(int operario, const LiteralesFecha &f);

// The delete of an operator's rows of a table in a year, a month of it (mes not 0) or a day
// of that month (dia not 0 too).
QString SentenciaBorrar(const QString &tabla, int operario, int anyo, int mes = 0, int dia = 0);

} // namespace calendario
