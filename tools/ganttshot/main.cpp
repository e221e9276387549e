// ganttshot <folder>
// Paints the five Gantt painters over a built-in sample project, as the project master,
// the project query and the Gantt listing show them, and saves one PNG each.
#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "projects/proyectos/PintoresGantt.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <vector>

namespace {

double Dia(int anyo, int mes, int dia) { return NumeroDia(FechaHora(QDate(anyo, mes, dia))); }

struct LineaMuestra
{
    QString Capitulo;
    QString Descripcion;
    LineaPlan Plan;
};

struct ProyectoMuestra
{
    QString Codigo;
    QString Cliente;
    double Aceptacion, Entrega;
    std::vector<LineaMuestra> Lineas;
};

const int kAlto = 18;
const double kHoy = Dia(2025, 3, 12) + 0.5;

// The sample: chapters with sub-chapters, heading lines, every progress text, a chapter
// with an end only and one without dates.
ProyectoMuestra Muestra()
{
    const auto L = [](const char *cap, const char *desc, double ini, double fin, double horas, const char *grado) {
        return LineaMuestra{QString::fromUtf8(cap), QString::fromUtf8(desc),
                            LineaPlan{ini, fin, horas, QString::fromUtf8(grado)}};
    };
    return ProyectoMuestra{
        QStringLiteral("2025-014"),
        QStringLiteral("Construcciones Ebro"),
        Dia(2025, 1, 8),
        Dia(2025, 4, 30),
        {
            L("1", "Cimentación", 0, 0, 0, ""),
            L("1.1", "Excavación", Dia(2025, 1, 13), Dia(2025, 1, 24), 40, "Terminado"),
            L("1.2", "Zapatas", Dia(2025, 1, 27), Dia(2025, 2, 7), 30, "90"),
            L("2", "Estructura", 0, 0, 0, ""),
            L("2.1", "Pilares", Dia(2025, 2, 10), Dia(2025, 3, 7), 60, "75"),
            L("2.2", "Forjados", Dia(2025, 3, 3), Dia(2025, 3, 21), 40, "50"),
            L("2.3", "Cubierta", Dia(2025, 3, 17), Dia(2025, 3, 28), 20, "25"),
            L("3", "Instalaciones", Dia(2025, 3, 24), Dia(2025, 4, 18), 50, "10"),
            L("4", "Acabados", 0, Dia(2025, 4, 25), 16, ""),
            L("5", "Documentación final", 0, 0, 6, ""),
        }};
}

// The plan of a project or chapter over the sample's lines, by the data module's rules.
PlanProyecto Plan(const ProyectoMuestra &p, const QString &capitulo)
{
    CalculoPlan calculo = capitulo.isEmpty() ? CalculoPlan::deProyecto(p.Aceptacion, p.Entrega, 0)
                                             : CalculoPlan::deCapitulo();
    const QString fin = capitulo + QString(20, u'z');
    for (const LineaMuestra &l : p.Lineas)
        if (capitulo.isEmpty() || (l.Capitulo >= capitulo && l.Capitulo <= fin))
            calculo.anadir(l.Plan);
    return calculo.resultado();
}

void Texto(plat::Canvas &canvas, const QRect &celda, const QString &texto)
{
    canvas.brush().Color = plat::clWhite;
    canvas.brush().Style = plat::bsSolid;
    canvas.font().Color = plat::clBlack;
    canvas.TextRect(celda, celda.left() + 2, celda.top() + 2, texto);
}

void Titulo(plat::Canvas &canvas, const QRect &celda, const QString &texto)
{
    canvas.brush().Color = plat::clSilver;
    canvas.FillRect(celda);
    canvas.font().Color = plat::clBlack;
    canvas.TextRect(celda, celda.left() + 2, celda.top() + 2, texto);
    canvas.brush().Color = plat::clWhite;
}

bool Guardar(plat::Bitmap &bitmap, const QString &carpeta, const QString &nombre)
{
    const bool ok = bitmap.SaveToFile(QDir(carpeta).filePath(nombre));
    QTextStream(stdout) << QDir(carpeta).filePath(nombre) << (ok ? "" : "  (no se pudo guardar)") << "\n";
    return ok;
}

// The project master's Gantt page: chapter, description and Gantt columns.
bool Maestro(const ProyectoMuestra &p, const QString &carpeta)
{
    const int anchos[] = {86, 312, 511};
    const int ancho = anchos[0] + anchos[1] + anchos[2];
    plat::Bitmap bitmap(ancho, kAlto * int(p.Lineas.size() + 1));
    plat::Canvas &canvas = bitmap.canvas();
    const PlanProyecto proyecto = Plan(p, QString());
    const QRect gantt(anchos[0] + anchos[1], 0, anchos[2], kAlto);
    Titulo(canvas, QRect(0, 0, anchos[0], kAlto), QStringLiteral("Capítulo"));
    Titulo(canvas, QRect(anchos[0], 0, anchos[1], kAlto), QStringLiteral("Descripción"));
    Titulo(canvas, gantt, QString());
    PintarTituloMaestro(canvas, gantt, proyecto);
    int t = kAlto;
    for (const LineaMuestra &l : p.Lineas) {
        PrepararFuenteLinea(canvas, l.Plan);
        Texto(canvas, QRect(0, t, anchos[0], kAlto), l.Capitulo);
        Texto(canvas, QRect(anchos[0], t, anchos[1], kAlto), l.Descripcion);
        PintarCapituloMaestro(canvas, gantt.translated(0, t), proyecto, CapituloGantt{l.Plan, Plan(p, l.Capitulo)}, true,
                              kHoy);
        t += kAlto;
    }
    return Guardar(bitmap, carpeta, QStringLiteral("maestro-capitulos.png"));
}

// The project query's chapter grid: identification and Gantt columns.
bool ConsultaCapitulos(const ProyectoMuestra &p, const QString &carpeta)
{
    const int anchos[] = {250, 600};
    plat::Bitmap bitmap(anchos[0] + anchos[1], kAlto * int(p.Lineas.size() + 1));
    plat::Canvas &canvas = bitmap.canvas();
    const PlanProyecto proyecto = Plan(p, QString());
    const QRect gantt(anchos[0], 0, anchos[1], kAlto);
    Titulo(canvas, QRect(0, 0, anchos[0], kAlto), QStringLiteral("Identificación"));
    Titulo(canvas, gantt, QString());
    DibujarEscalaTiempo(canvas, gantt, NumeroDia(proyecto.FechaInicio), NumeroDia(proyecto.FechaFinal),
                        QStringLiteral("Cabecera Meses"), kHoy);
    int t = kAlto;
    for (const LineaMuestra &l : p.Lineas) {
        PrepararFuenteLinea(canvas, l.Plan);
        Texto(canvas, QRect(0, t, anchos[0], kAlto), l.Descripcion);
        PintarCapituloConsulta(canvas, gantt.translated(0, t), proyecto, CapituloGantt{l.Plan, Plan(p, l.Capitulo)},
                               true, kHoy);
        t += kAlto;
    }
    return Guardar(bitmap, carpeta, QStringLiteral("consulta-capitulos.png"));
}

struct FilaProyecto
{
    QString Codigo;
    PlanProyecto Plan;
    double Entrega;
};

std::vector<FilaProyecto> Proyectos(const ProyectoMuestra &p)
{
    const auto plan = [](double a, double b, double previsto, double realizado) {
        return PlanProyecto{FechaDeNumeroDia(a), FechaDeNumeroDia(b), previsto, realizado};
    };
    const PlanProyecto muestra = Plan(p, QString());
    return {
        {p.Codigo, muestra, p.Entrega},
        {QStringLiteral("2024-102"), plan(Dia(2024, 10, 1), Dia(2025, 2, 14), 120, 120), Dia(2025, 1, 31)},
        {QStringLiteral("2025-020"), plan(Dia(2025, 2, 17), Dia(2025, 9, 30), 300, 40), Dia(2025, 9, 15)},
        {QStringLiteral("2024-087"), plan(Dia(2024, 6, 3), Dia(2024, 11, 29), 80, 80), Dia(2024, 11, 15)},
        {QStringLiteral("2025-031"), plan(Dia(2025, 4, 7), Dia(2025, 5, 23), 0, 0), 0},
        {QStringLiteral("2025-009"), plan(Dia(2025, 1, 20), Dia(2025, 6, 6), 90, 50), Dia(2025, 5, 30)},
    };
}

const double kDesde = Dia(2025, 1, 1), kHasta = Dia(2025, 6, 30);

// The project query's project grid over its horizon.
bool ConsultaProyectos(const ProyectoMuestra &p, const QString &carpeta)
{
    const std::vector<FilaProyecto> filas = Proyectos(p);
    const int anchos[] = {120, 700};
    plat::Bitmap bitmap(anchos[0] + anchos[1], kAlto * int(filas.size() + 1));
    plat::Canvas &canvas = bitmap.canvas();
    const QRect gantt(anchos[0], 0, anchos[1], kAlto);
    Titulo(canvas, QRect(0, 0, anchos[0], kAlto), QStringLiteral("Código"));
    Titulo(canvas, gantt, QString());
    DibujarEscalaTiempo(canvas, gantt, kDesde, kHasta, QStringLiteral("Cabecera Meses"), kHoy);
    int t = kAlto;
    for (const FilaProyecto &f : filas) {
        canvas.brush().Color = plat::clWhite;   // the grid's cell colour
        PintarTextoConsulta(canvas, QRect(0, t, anchos[0], kAlto), f.Codigo);
        PintarProyectoConsulta(canvas, gantt.translated(0, t), kDesde, kHasta, ProyectoGantt{f.Plan, f.Entrega}, false,
                               kHoy);
        t += kAlto;
    }
    return Guardar(bitmap, carpeta, QStringLiteral("consulta-proyectos.png"));
}

// A listing page: the header image, then one band per row, each label beside its picture.
class PaginaInforme
{
public:
    PaginaInforme(int filas) : pagina_(kEtiqueta + kImagen, 20 + 20 * filas) {}

    void cabecera(double s0, double s1)
    {
        plat::Bitmap imagen(kImagen, 15);
        PintarCabeceraInforme(imagen.canvas(), QSize(kImagen, 15), s0, s1);
        plat::Canvas &c = pagina_.canvas();
        c.brush().Color = plat::clSilver;
        c.FillRect(QRect(0, 0, kEtiqueta - 3, 15));
        c.font().Color = plat::clBlack;
        c.TextOut(60, 1, QStringLiteral("Identificación"));
        c.Draw(kEtiqueta, 0, imagen.image());
        y_ = 20;
    }

    template<class Pintar>
    void banda(const BandaGantt &banda, Pintar pintar)
    {
        trabajo_.setSize(kImagen, banda.Alto);
        pintar(trabajo_.canvas(), QSize(kImagen, banda.Alto));
        plat::Canvas &c = pagina_.canvas();
        QFont fuente = c.font().Font;
        fuente.setPointSize(8);
        fuente.setBold(banda.Negrita);
        c.setFont(fuente);
        c.brush().Color = plat::clWhite;
        c.TextOut(2, y_ + banda.ArribaEtiqueta, banda.Etiqueta);
        c.Draw(kEtiqueta, y_, trabajo_.image());
        y_ += banda.Alto;
    }

    bool guardar(const QString &carpeta, const QString &nombre)
    {
        plat::Bitmap recorte(pagina_.width(), y_ + 2);
        recorte.canvas().Draw(0, 0, pagina_.image());
        return Guardar(recorte, carpeta, nombre);
    }

private:
    static constexpr int kEtiqueta = 172, kImagen = 578;
    plat::Bitmap pagina_;
    plat::Bitmap trabajo_;   // the form's work bitmap, shared by the bands
    int y_ = 0;
};

bool InformeCapitulos(const ProyectoMuestra &p, const QString &carpeta)
{
    PaginaInforme pagina(int(p.Lineas.size()));
    const PlanProyecto proyecto = Plan(p, QString());
    pagina.cabecera(NumeroDia(proyecto.FechaInicio), NumeroDia(proyecto.FechaFinal));
    for (const LineaMuestra &l : p.Lineas)
        pagina.banda(BandaGantt::deCapitulo(l.Capitulo + u' ' + l.Descripcion, l.Plan),
                     [&](plat::Canvas &c, const QSize &s) {
                         PintarBandaCapitulo(c, s, proyecto, CapituloGantt{l.Plan, Plan(p, l.Capitulo)}, kHoy);
                     });
    return pagina.guardar(carpeta, QStringLiteral("informe-capitulos.png"));
}

bool InformeProyectos(const ProyectoMuestra &p, const QString &carpeta)
{
    const std::vector<FilaProyecto> filas = Proyectos(p);
    PaginaInforme pagina(int(filas.size()));
    pagina.cabecera(kDesde, kHasta);
    for (const FilaProyecto &f : filas)
        pagina.banda(BandaGantt::deProyecto(f.Codigo, p.Cliente), [&](plat::Canvas &c, const QSize &s) {
            PintarBandaProyecto(c, s, kDesde, kHasta, ProyectoGantt{f.Plan, f.Entrega}, kHoy);
        });
    return pagina.guardar(carpeta, QStringLiteral("informe-proyectos.png"));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1) {
        QTextStream(stderr) << "uso: ganttshot <carpeta>\n";
        return 2;
    }
    const QString carpeta = args.first();
    if (!QDir().mkpath(carpeta)) {
        QTextStream(stderr) << "no se pudo crear la carpeta " << carpeta << "\n";
        return 1;
    }
    const ProyectoMuestra p = Muestra();
    const bool ok = Maestro(p, carpeta) & ConsultaCapitulos(p, carpeta) & ConsultaProyectos(p, carpeta)
                    & InformeCapitulos(p, carpeta) & InformeProyectos(p, carpeta);
    return ok ? 0 : 1;
}
