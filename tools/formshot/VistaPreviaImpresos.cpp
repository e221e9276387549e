// The print engine's preview of a three-page quote at whole-page zoom with the millimetre
// ruler, on a 1024 x 768 screen. The preview lives only while its request runs, so its
// picture is taken while it is shown and the tool saves a window holding that picture.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/reporting/impresos/GENELIMP.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

const char *const kPresupuesto =
    "[SISTEMA]\r\nAlturaLinea=8\r\nInicioLineas=70\r\nFinLineas=250\r\n"
    "[CABECERA]\r\nRect=15;15;195;50;2;Azul Marino;;Azul Celeste;Solido;4;4\r\n"
    "Font=Arial;20;Azul Marino;Negrita\r\nText=20;20;0;Presupuesto de obra\r\nFont=Arial;10;;\r\n"
    "Text=20;40;0;Documento\r\nCamp=45;40;0;CodigoTemporal\r\nLine=15;65;195;65;1;Negro\r\n"
    "Font=Arial;11;;Negrita\r\nText=20;60;0;Concepto\r\nText=150;60;40;Importe;D\r\n"
    "[LINEAS]\r\nFont=Arial;10;;\r\nText=20;0;0;Partida de obra\r\nText=150;0;40;1.250,00;D\r\n"
    "[PIEPAGINA]\r\nLine=15;270;195;270;1;Negro\r\nText=150;273;45;Gestión de Proyectos;D\r\n";

plat::IndexDef Indice(const QStringList &campos)
{
    plat::IndexDef i;
    i.name = QStringLiteral("Clave1");
    i.fields = campos;
    i.primary = i.unique = true;
    return i;
}

plat::Form *vistaPreviaImpresos(const QString &)
{
    static QTemporaryDir carpeta;
    plat::Session sesion;
    plat::Connection &db = sesion.connection(QStringLiteral("Database"));
    db.setDatabaseName(carpeta.path());
    plat::TableDef impreso;
    impreso.name = QStringLiteral("IMPRESO");
    impreso.fields = {plat::fieldDef("Codigo", ftString, 20, true), plat::fieldDef("Descripcion", ftString, 40),
                      plat::fieldDef("TipoDocumento", ftString, 20), plat::fieldDef("Modo", ftString, 10),
                      plat::fieldDef("Instrucciones", ftMemo), plat::fieldDef("Formato", ftString, 30),
                      plat::fieldDef("ImpresoraPorDefecto", ftString, 100)};
    impreso.indexes = {Indice({QStringLiteral("Codigo")})};
    db.createTable(impreso);
    db.exec(QStringLiteral("INSERT INTO IMPRESO VALUES ('P', 'Presupuestos', 'Otro', 'Grafico', :i, 'A4', 'Predeterminada')"),
            {{QStringLiteral("i"), QString::fromUtf8(kPresupuesto)}});
    plat::TableDef docs;
    docs.name = QStringLiteral("TMPDOC");
    docs.fields = {plat::fieldDef("CodigoTemporal", ftInteger, 0, true)};
    docs.indexes = {Indice({QStringLiteral("CodigoTemporal")})};
    db.createTable(docs);
    plat::TableDef lineas;
    lineas.name = QStringLiteral("TMPLIN");
    lineas.fields = {plat::fieldDef("CodigoTemporal", ftInteger, 0, true), plat::fieldDef("Linea", ftSmallint, 0, true),
                     plat::fieldDef("LineaMemo", ftSmallint, 0, true)};
    lineas.indexes = {Indice({QStringLiteral("CodigoTemporal"), QStringLiteral("Linea"), QStringLiteral("LineaMemo")})};
    db.createTable(lineas);
    db.exec(QStringLiteral("INSERT INTO TMPDOC VALUES (1)"));
    for (int l = 1; l <= 12; ++l)
        db.exec(QStringLiteral("INSERT INTO TMPLIN VALUES (1, :l, 0)"), {{QStringLiteral("l"), l}});

    CodigoImpresoPeticion = QStringLiteral("P");
    VistaPreviaImpreso = true;
    TfGENELIMP motor;
    motor.PonerTamanoPantalla(QSize(1024, 768));
    motor.Impreso->table().setConnection(&db);
    motor.Impreso->table().open();
    motor.afterConstruction();
    plat::TableDataSet &t = motor.Temporal->table();
    t.setConnection(&db);
    t.setTableName(QStringLiteral("TMPDOC"));
    t.open();
    plat::TableDataSet &l = motor.LTemporal->table();
    l.setConnection(&db);
    l.setTableName(QStringLiteral("TMPLIN"));
    l.setIndexFieldNames(QStringLiteral("CodigoTemporal;Linea;LineaMemo"));
    l.open();
    l.setMasterSource(&t, QStringLiteral("CodigoTemporal"));

    QPixmap foto;
    auto anterior = plat::application().OnModalShown;
    plat::application().OnModalShown = [&foto](plat::Form &mostrado) {
        // The window of a 1024 x 768 screen, whatever screen the tool runs on.
        mostrado.setFormState(plat::wsNormal);
        mostrado.resize(1024, 768);
        if (auto *vista = qobject_cast<TfGENELIMP *>(&mostrado))
            vista->pbZoomToFit->click();
        QCoreApplication::processEvents();
        foto = mostrado.grab();
        mostrado.Close();
    };
    motor.Imprimir();
    plat::application().OnModalShown = anterior;
    l.setMasterSource(nullptr, QString());

    auto *ventana = new plat::Form();
    auto *imagen = new plat::Image(ventana);
    imagen->setPicture(foto);
    imagen->setGeometry(QRect(QPoint(0, 0), foto.size()));
    ventana->resize(foto.size());
    return ventana;
}

const bool registrado = formshot::registerForm(
    {QStringLiteral("vista-previa-impresos"),
     QStringLiteral("previsualización de impresos: un presupuesto a página completa con la regla"), vistaPreviaImpresos});

} // namespace
