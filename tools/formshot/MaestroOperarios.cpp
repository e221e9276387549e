// The operator master on an operator with a photo, two analysis groups and a mobile activity.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "projects/operarios/PRESOPER.h"
#include "projects/operarios/Primmodu.h"

#include <QDate>
#include <QDir>
#include <QImage>
#include <QPainter>

namespace {

// A plain portrait: a head and shoulders on a light background.
QString retrato(const QString &carpeta)
{
    QImage imagen(150, 180, QImage::Format_RGB32);
    imagen.fill(QColor(214, 226, 238));
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 84, 120));
    p.drawEllipse(QRect(20, 110, 110, 120));
    p.setBrush(QColor(232, 196, 160));
    p.drawEllipse(QRect(45, 30, 60, 74));
    p.end();
    const QString fichero = carpeta + QStringLiteral("/retrato.bmp");
    imagen.save(fichero);
    return fichero;
}

bool prepararOperarios()
{
    CrearMDPrimas();
    const QString hoy = QDate::currentDate().toString(Qt::ISODate);
    for (const QString &s : {
             QStringLiteral("INSERT INTO OPERARIO (Codigo, Nombre, CodigoCalendario, CodigoCategoria, TarifaHoraria, "
                            "CodigoUsuario, NumeroTarjeta) VALUES (12, 'María Pilar Lasheras', 2, 3, 24.75, 'MPLAS', "
                            "'0004412')"),
             QStringLiteral("INSERT INTO CATEGORI (Codigo, Descripcion) VALUES (3, 'Oficial de primera')"),
             QStringLiteral("INSERT INTO GRANALIS (Codigo, Descripcion, CategoriaGrupo) VALUES ('ZA', 'Zaragoza', 'Zona')"),
             QStringLiteral("INSERT INTO GRANALIS (Codigo, Descripcion, CategoriaGrupo) VALUES ('MON', 'Montaje e instalación', 'Sección')"),
             QStringLiteral("INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('OPERARIO', '12', 'ZA')"),
             QStringLiteral("INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('OPERARIO', '12', 'MON')"),
             QStringLiteral("INSERT INTO BONO (CodigoOperario, Fecha, Hora, ActividadMovil) VALUES (12, '%1 00:00:00', "
                            "'1899-12-30 09:00:00', 96.4)")
                 .arg(hoy),
         })
        ModuloDatos->EjecutarSQL(s);
    ModuloDatos->GuardarImagenRegistro(QStringLiteral("OPERARIO"), QStringLiteral("12"), nullptr,
                                       retrato(QDir::currentPath()));
    return true;
}

plat::Form *maestroOperarios()
{
    if (!formshot::empresaMuestra(prepararOperarios))
        return nullptr;
    plat::Form *marco = formshot::marcoMDI(680, 520);
    auto *ventana = plat::createForm<TfPRESOPER>();
    ventana->Table1->dataSet().first();
    if (QWidget *marcoVentana = ventana->mdiSubWindow())
        marcoVentana->move(0, 0);
    return marco;
}

const bool registrado = formshot::registerForm(
    {QStringLiteral("maestro-operarios"), QStringLiteral("el maestro de operarios con foto, grupos y actividad"),
     [](const QString &) { return maestroOperarios(); }});

} // namespace
