// The project query over a few open projects whose chapters fall around today, on its two
// pages (the Gantt page with the day ticks on).
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "platform/base/FechaHora.h"
#include "projects/proyectos/PROYCPRO.h"
#include "projects/proyectos/Proymodu.h"


namespace {

QString Dia(int n)
{
    return QStringLiteral("'") + Ahora().date().addDays(n).toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00'");
}

QStringList SentenciasConsulta()
{
    QStringList s = {
        "INSERT INTO OPERARIO (Codigo, Nombre) VALUES (3, 'Ana Ruiz')",
        "INSERT INTO OPERARIO (Codigo, Nombre) VALUES (5, 'Luis Peña')",
    };
    const struct
    {
        const char *codigo, *cliente;
        int desde, entrega;
    } proyectos[] = {{"P-101", "Construcciones Ebro", -50, 60},  {"P-102", "Talleres Moncayo", -20, 120},
                     {"P-103", "Hotel Pilar", 10, 200},          {"P-104", "Bodegas Cariñena", -80, -5},
                     {"P-105", "Ayuntamiento de Cuarte", 30, 300}};
    for (const auto &p : proyectos) {
        const QString codigo = QString::fromLatin1(p.codigo);
        s << QStringLiteral("INSERT INTO PROYECT (Codigo, Descripcion, NombreCliente, Director, FechaAceptacion, "
                            "FechaEntrega, Situacion) VALUES ('%1', 'Obra %1', '%2', 3, %3, %4, 'Abierto')")
                 .arg(codigo, QString::fromUtf8(p.cliente), Dia(p.desde), Dia(p.entrega));
        s << QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion) VALUES "
                            "('%1', 1, '01', 'Proyecto y licencias')")
                 .arg(codigo);
        const struct
        {
            int linea;
            const char *capitulo, *descripcion;
            int inicio, fin, horas;
            const char *grado;
        } capitulos[] = {{2, "01.01", "Proyecto básico", 0, 20, 80, "Terminado"},
                         {3, "01.02", "Licencia de obra", 21, 45, 20, "50"},
                         {4, "02", "Cimentación", 46, 80, 160, "25"},
                         {5, "03", "Estructura y cubierta", 70, 140, 400, ""}};
        for (const auto &c : capitulos)
            s << QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, FechaInicio, "
                                "FechaFinal, TiempoPrevisto, GradoAvance) VALUES ('%1', %2, '%3', '%4', %5, %6, %7, '%8')")
                     .arg(codigo)
                     .arg(c.linea)
                     .arg(QString::fromLatin1(c.capitulo), QString::fromUtf8(c.descripcion), Dia(p.desde + c.inicio),
                          Dia(p.desde + c.fin))
                     .arg(c.horas)
                     .arg(QString::fromLatin1(c.grado));
    }
    return s;
}

bool prepararConsulta()
{
    CrearMDProyectos();
    for (const QString &sentencia : SentenciasConsulta())
        ModuloDatos->EjecutarSQL(sentencia);
    return true;
}

plat::Form *consultaProyectos(bool grafico)
{
    if (!formshot::empresaMuestra(prepararConsulta, [] { LiberarMDProyectos(); }))
        return nullptr;
    plat::Form *marco = formshot::marcoMDI(1000, 620);
    auto *ventana = plat::createForm<TfPROYCPRO>();
    ventana->setBounds(0, 0, 980, 580);
    ventana->pbEstadisticas->setDownState(true);
    ventana->FormActivate(ventana);
    ventana->Proyecto->dataSet().locate(QStringLiteral("Codigo"), QStringLiteral("P-102"));
    if (grafico) {
        ventana->VerDias->setDownState(true);
        ventana->PageControl1->setActivePage(ventana->PagGrafico);
        ventana->PageControl1Change(ventana->PageControl1);
    }
    return marco;
}

const bool registrado =
    formshot::registerForm({QStringLiteral("consulta-proyectos"), QStringLiteral("la consulta de proyectos, página General"),
                            [](const QString &) { return consultaProyectos(false); }})
    && formshot::registerForm({QStringLiteral("consulta-proyectos-grafico"),
                               QStringLiteral("la consulta de proyectos, página del gráfico Gantt"),
                               [](const QString &) { return consultaProyectos(true); }});

} // namespace
