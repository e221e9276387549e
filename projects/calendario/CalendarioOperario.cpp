#include "projects/calendario/CalendarioOperario.h"

namespace calendario {

namespace {

constexpr int kMaximo = 9999;
const QString kSi = QStringLiteral("SI");
const QString kNo = QStringLiteral("NO");

// $BBGGRR colours of the day codes.
constexpr int kAzul = 0xFF0000;
constexpr int kRojo = 0x0000FF;
constexpr int kVerde = 0x008000;
constexpr int kGranate = 0x000080;
constexpr int kNaranja = 0x0080FF;
constexpr int kFucsia = 0xFF00FF;
constexpr int kAzulCielo = 0xF0CAA6;
constexpr int kLineaCodigos = 20;

struct Situacion
{
    const char *nombre;
    const char *abreviatura;
};

constexpr Situacion kSituaciones[] = {
    {"Alta", "Alta"},
    {"No Retribuido Cotizable", "N.R.C."},
    {"No Retribuido No Cotizable", "N.R.N.C."},
    {"Enfermedad", "Enf."},
    {"Accidente Trabajo", "A.T."},
    {"Maternidad", "Mat."},
    {"Maternidad Parcial", "M.P."},
    {"Regulacion Empleo", "R.E."},
};

// Position 1..42 of the month's first day, counted row by row: the weekday from Monday = 1,
// a Sunday-first month at 7.
int PosicionPrimerDia(int anyo, int mes)
{
    return QDate(anyo, mes, 1).dayOfWeek();
}

bool EsSi(const QString &flag)
{
    return flag == kSi;
}

} // namespace

void MesOperario::avanzarMes()
{
    if (mes < 12)
        ++mes;
    else if (anyo < kMaximo) {
        mes = 1;
        ++anyo;
    }
}

void MesOperario::retrocederMes()
{
    if (mes > 1)
        --mes;
    else if (anyo > 1) {
        mes = 12;
        --anyo;
    }
}

void MesOperario::avanzarAnyo()
{
    anyo = qMin(anyo + 1, kMaximo);
}

void MesOperario::retrocederAnyo()
{
    anyo = qMax(anyo - 1, 1);
}

void MesOperario::avanzarOperario()
{
    operario = qMin(operario + 1, kMaximo);
}

void MesOperario::retrocederOperario()
{
    operario = qMax(operario - 1, 1);
}

QStringList NombresDiasSemana()
{
    return {QStringLiteral("Lunes"),   QStringLiteral("Martes"), QStringLiteral("Miércoles"),
            QStringLiteral("Jueves"),  QStringLiteral("Viernes"), QStringLiteral("Sábado"),
            QStringLiteral("Domingo")};
}

int DiaDeCelda(int anyo, int mes, int columna, int fila)
{
    if (fila < 1 || fila >= kFilas || columna < 0 || columna >= kColumnas)
        return 0;
    const int posicion = (fila - 1) * kColumnas + columna + 1;
    const int dia = posicion - PosicionPrimerDia(anyo, mes) + 1;
    return dia >= 1 && dia <= QDate(anyo, mes, 1).daysInMonth() ? dia : 0;
}

std::pair<int, int> CeldaDelDia(int anyo, int mes, int dia)
{
    const int indice = PosicionPrimerDia(anyo, mes) + dia - 2;
    return {indice % kColumnas, indice / kColumnas + 1};
}

QString AbreviaturaSituacion(const QString &situacion)
{
    for (const Situacion &s : kSituaciones)
        if (situacion == QLatin1String(s.nombre))
            return QString::fromLatin1(s.abreviatura);
    return {};
}

QStringList Situaciones()
{
    QStringList items;
    for (const Situacion &s : kSituaciones)
        items << QString::fromLatin1(s.nombre);
    items << QString();
    return items;
}

QList<Marca> MarcasDelDia(const DiaCalendario &dia, bool personal, Familia familia)
{
    QList<Marca> marcas;
    if (familia == Familia::Questal || familia == Familia::Dunfelk) {
        if (EsSi(dia.trabajado))
            marcas << Marca{QStringLiteral("Tr"), 26, kLineaCodigos, kAzul};
        if (EsSi(dia.festivo))
            marcas << Marca{QStringLiteral("Fe"), 38, kLineaCodigos, kRojo};
        else if (dia.festivo == kNo)
            marcas << Marca{QStringLiteral("La"), 38, kLineaCodigos, kVerde};
        if (EsSi(dia.vacaciones))
            marcas << Marca{QStringLiteral("Va"), 50, kLineaCodigos, kGranate};
        if (EsSi(dia.puente))
            marcas << Marca{QStringLiteral("Pu"), 62, kLineaCodigos, kNaranja};
        if (personal && EsSi(dia.permiso))
            marcas << Marca{QStringLiteral("Pe"), 74, kLineaCodigos, kFucsia};
        if (personal && !dia.situacion.isEmpty()) {
            const QString abreviatura = AbreviaturaSituacion(dia.situacion);
            if (!abreviatura.isEmpty())
                marcas << Marca{abreviatura, 0, 12, kAzulCielo, true};
        }
    }
    if ((familia == Familia::Vimbaro || familia == Familia::Dunfelk) && dia.numeroHorario != 0)
        marcas << Marca{QString::number(dia.numeroHorario), 0, 3, kAzulCielo, true};
    return marcas;
}

void AplicarMarcadores(DiaCalendario &dia, const Marcadores &m)
{
    dia.trabajado = m.trabajados ? kSi : kNo;
    dia.festivo = m.laborables ? kNo : (m.festivos ? kSi : QString());
    dia.vacaciones = m.vacaciones ? kSi : kNo;
    dia.puente = m.puente ? kSi : kNo;
    dia.permiso = m.permiso ? kSi : kNo;
}

bool AdmiteHorario(const DiaCalendario &dia)
{
    return !EsSi(dia.vacaciones) && !EsSi(dia.puente) && !EsSi(dia.festivo);
}

DiaCalendario DiaGenerado(const QDate &fecha, const std::optional<DiaCalendario> &diaEmpresa,
                          const QString &situacion)
{
    DiaCalendario dia{kNo, kNo, kNo, kNo, kNo, 0, situacion};
    const int diaSemana = fecha.dayOfWeek();
    if (diaSemana == Qt::Sunday)
        dia.festivo = kSi;
    else if (diaSemana <= Qt::Friday)
        dia.trabajado = kSi;
    if (fecha.month() == 8) {
        dia.vacaciones = kSi;
        dia.trabajado = kNo;
    }
    if (diaEmpresa) {
        dia.trabajado = diaEmpresa->trabajado;
        dia.festivo = diaEmpresa->festivo;
        dia.vacaciones = diaEmpresa->vacaciones;
        dia.puente = diaEmpresa->puente;
    }
    return dia;
}

QString SituacionDeBajas(const QStringList &tiposBaja)
{
    return tiposBaja.join(QStringLiteral("\r\n")).left(40);
}

QString SentenciaContrato(int operario, const LiteralesFecha &f)
{
    return QStringLiteral("SELECT TOP 1 NumeroContrato FROM HCONTRAT WHERE CodigoOperario = ") + QString::number(operario)
        + QStringLiteral(" AND FechaInicioContrato <= ") + f.dia + QStringLiteral(" AND (FechaFinalContrato >= ") + f.dia
        + QStringLiteral(" OR FechaFinalContrato = ") + f.cero
        + QStringLiteral(" OR FechaFinalContrato is Null OR FechaFinalContrato = ") + f.ceroDesnudo
        + QStringLiteral(") ORDER BY NumeroContrato DESC");
}

QString SentenciaBajas(int operario, const LiteralesFecha &f)
{
    return QStringLiteral("SELECT DISTINCT T.TipoBaja FROM TSUBSDIO T JOIN BAJA B ON B.CodigoBaja = T.Codigo WHERE "
                          "B.CodigoOperario = ")
        + QString::number(operario) + QStringLiteral(" AND B.FechaInicio <= ") + f.dia
        + QStringLiteral(" AND (B.FechaFinal >= ") + f.dia + QStringLiteral(" OR B.FechaFinal = ") + f.cero
        + QStringLiteral(" OR B.FechaFinal is Null OR B.FechaFinal = ") + f.ceroDesnudo + QStringLiteral(")");
}

QString SentenciaBorrar(const QString &tabla, int operario, int anyo, int mes, int dia)
{
    QString sql = QStringLiteral("DELETE FROM %1   WHERE CodigoOperario = %2").arg(tabla).arg(operario);
    if (dia != 0)
        sql += QStringLiteral("    AND DAY(Fecha) = %1").arg(dia);
    if (mes != 0)
        sql += QStringLiteral("    AND MONTH(Fecha) = %1").arg(mes);
    return sql + QStringLiteral("    AND YEAR(Fecha) = %1").arg(anyo);
}

} // namespace calendario
