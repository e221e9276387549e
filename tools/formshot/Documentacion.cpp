// Document responsibility with its three panels, and the electronic documents of a record
// showing a picture and an HTML page, on a started program (its own temporary folder, SQLite).
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/ventanas/GENEDOCE.h"
#include "GENEW/data/ventanas/GENERESP.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Lists.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace {

QTemporaryDir &carpeta()
{
    static QTemporaryDir c;
    return c;
}

bool sql(const QString &sentencia) { return ModuloDatos->EjecutarSQL(sentencia, QStringLiteral("Database")).isEmpty(); }

bool programaIniciado()
{
    static TfGENEINIC *inicio = nullptr;
    if (inicio)
        return !inicio->ArranqueFallido;
    QDir::setCurrent(carpeta().path());
    QFile::copy(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT"), carpeta().filePath(QStringLiteral("DATABASE.TXT")));
    TfGENEINIC::ArgumentosArranque = {QStringLiteral("U=ADMIN")};
    inicio = new TfGENEINIC;
    inicio->afterConstruction();
    // Freed before the application object goes: its forms and connections need it.
    qAddPostRoutine([] {
        if (ModuloDatos)
            ModuloDatos->Free();
        delete inicio;
        plat::Session::defaultSession().closeAll();
    });
    if (inicio->ArranqueFallido || !inicio->CrearBaseDatosEmpresa(1))
        return false;
    inicio->ConectarBaseDatosEmpresa(1);
    inicio->Conexiones().EmpresaActual = 1;
    plat::createDataModule<TModuloDatos>();
    inicio->UsuarioActual = QStringLiteral("ADMIN");
    return sql(QStringLiteral("INSERT INTO OPERARIO (Codigo, Nombre, CodigoUsuario) VALUES (3, 'Begoña Núñez', 'ADMIN')"))
        && sql(QStringLiteral("INSERT INTO OPERARIO (Codigo, Nombre, CodigoUsuario) VALUES (7, 'Íñigo Martínez', 'JEFE')"));
}

plat::Form *responsabilidad()
{
    if (!programaIniciado()
        || !sql(QStringLiteral("INSERT INTO CONFRESP (NombreTabla, CamposSolicitados) VALUES ('PROYECT', 'RealizadoPor\r\n"
                               "FechaRealizacion\r\nAprobadoPor:7\r\nFechaAprobacion\r\nRegistradoPor\r\nFechaRegistro')")))
        return nullptr;
    TfGENERESP::NombreTablaResp = QStringLiteral("PROYECT");
    TfGENERESP::ClaveTablaResp = QStringLiteral("P-0012");
    auto *f = plat::createForm<TfGENERESP>();
    f->Table1->table().fieldByName(QStringLiteral("AprobadoPor")).setAsInteger(7);
    return f;
}

plat::Form *documentos(const QString &elegido)
{
    if (!programaIniciado())
        return nullptr;
    QImage foto(360, 240, QImage::Format_RGB32);
    QPainter pintor(&foto);
    QLinearGradient cielo(0, 0, 0, 240);
    cielo.setColorAt(0, QColor(120, 170, 230));
    cielo.setColorAt(1, QColor(230, 240, 250));
    pintor.fillRect(foto.rect(), cielo);
    pintor.fillRect(60, 90, 240, 150, QColor(190, 120, 80));
    for (int x = 80; x < 290; x += 50)
        pintor.fillRect(x, 120, 30, 40, QColor(60, 80, 110));
    pintor.setPen(Qt::white);
    pintor.drawText(QRect(0, 10, 360, 30), Qt::AlignCenter, QStringLiteral("Fachada norte · julio"));
    pintor.end();
    const QString rutaFoto = carpeta().filePath(QStringLiteral("fachada.jpg"));
    foto.save(rutaFoto, "JPEG");
    const QString acta = carpeta().filePath(QStringLiteral("acta.html"));
    QFile pagina(acta);
    if (pagina.open(QIODevice::WriteOnly))
        pagina.write(QStringLiteral("<h2>Acta de recepción de obra</h2><p>Obra: Reforma del almacén (P-0012)</p>"
                                    "<p>Fecha de recepción: 05/03/2024 · Conformidad del cliente: Sí</p>")
                         .toUtf8());
    pagina.close();
    static bool filas = false;
    if (!filas) {
        filas = true;
        const QString insertar = QStringLiteral("INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre, Ubicacion, "
                                                "Descripcion) VALUES ('PROYECT', 'P-0012', '%1', '%2', '%3')");
        sql(insertar.arg(QStringLiteral("Foto de la fachada"), rutaFoto,
                         QStringLiteral("Estado tras la limpieza.\r\nPendiente: carpintería exterior.")));
        sql(insertar.arg(QStringLiteral("Acta de recepción"), acta, QStringLiteral("Firmada por ambas partes.")));
        sql(insertar.arg(QStringLiteral("Portal de la obra"), QStringLiteral("www.ejemplo.es/obras/p-0012"), QString()));
    }
    auto *f = new TfGENEDOCE;
    f->setFormStyle(plat::fsNormal);
    f->afterConstruction();
    f->resize(820, 520);
    f->TablaDocumentos = QStringLiteral("PROYECT");
    f->ClaveDocumentos = QStringLiteral("P-0012");
    f->CargarDocumentos();
    const auto items = f->ListView1->findItems(elegido, Qt::MatchExactly, 0);
    if (!items.isEmpty())
        f->ListView1->setCurrentItem(items.first());
    return f;
}

const bool registrado =
    formshot::registerForm({QStringLiteral("responsabilidad"),
                            QStringLiteral("la responsabilidad documental de un proyecto con sus tres paneles"),
                            [](const QString &) { return responsabilidad(); }})
    && formshot::registerForm({QStringLiteral("documentacion-imagen"),
                               QStringLiteral("la documentación electrónica de un proyecto mostrando una foto"),
                               [](const QString &) { return documentos(QStringLiteral("Foto de la fachada")); }})
    && formshot::registerForm({QStringLiteral("documentacion-html"),
                               QStringLiteral("la documentación electrónica de un proyecto mostrando un acta en HTML"),
                               [](const QString &) { return documentos(QStringLiteral("Acta de recepción")); }});

} // namespace
