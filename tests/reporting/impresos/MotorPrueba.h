#pragma once
#include "GENEW/reporting/impresos/GENELIMP.h"
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "platform/base/SalidaMensajes.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "platform/ui/data/DataSetComponents.h"
#include "tests/platform/engine/EngineFixture.h"
#include "tests/support/TempDir.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>

namespace gptest {

// Printers of a test: two named ones, a scripted print dialog, drawn jobs written as PDF
// files and raw jobs appended to one file per printer (the file channel).
class ImpresorasPrueba : public ServicioImpresoras
{
public:
    explicit ImpresorasPrueba(QString carpeta) : carpeta_(std::move(carpeta)) {}

    QString predeterminada() override { return QStringLiteral("Oficina"); }
    QStringList impresoras() override { return {QStringLiteral("Oficina"), QStringLiteral("Matricial")}; }
    std::optional<EleccionImpresora> dialogo(const QString &propuesta) override
    {
        ++dialogos;
        if (cancelarDialogo)
            return std::nullopt;
        EleccionImpresora e = eleccionDialogo;
        if (e.nombre.isEmpty())
            e.nombre = propuesta;
        return e;
    }
    std::unique_ptr<QPrinter> abrir(const EleccionImpresora &eleccion, bool apaisado) override
    {
        auto impresora = std::make_unique<QPrinter>(QPrinter::HighResolution);
        impresora->setOutputFormat(QPrinter::PdfFormat);
        impresora->setResolution(300);
        impresora->setPageSize(QPageSize(QPageSize::A4));
        impresora->setPageOrientation(apaisado ? QPageLayout::Landscape : QPageLayout::Portrait);
        const QString fichero = carpeta_ + QStringLiteral("/trabajo%1.pdf").arg(trabajos.size());
        impresora->setOutputFileName(fichero);
        trabajos.append({eleccion, apaisado, fichero});
        return impresora;
    }
    QString enviarTrabajo(const EleccionImpresora &, QPrinter &impresora) override
    {
        enviados << impresora.outputFileName();
        titulos << impresora.docName();
        return {};
    }
    void descartarTrabajo(QPrinter &impresora) override { QFile::remove(impresora.outputFileName()); }
    QString enviarBruto(const EleccionImpresora &eleccion, const QByteArray &datos, const QString &titulo) override
    {
        if (!errorBruto.isEmpty())
            return errorBruto;
        brutos.append({eleccion.nombre, datos});
        titulos << titulo;
        return {};
    }
    QString imprimirDocumento(const QString &fichero, const QString &impresora, const QString &tipo,
                              const QString &titulo) override
    {
        if (!errorDocumento.isEmpty())
            return errorDocumento;
        QFile f(fichero);
        documentos.append({fichero, impresora, tipo, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray()});
        titulos << titulo;
        return {};
    }

    struct Trabajo
    {
        EleccionImpresora eleccion;
        bool apaisado = false;
        QString fichero;
    };
    struct Bruto
    {
        QString impresora;
        QByteArray datos;
    };
    struct Documento
    {
        QString fichero, impresora, tipo;
        QByteArray contenido;   // as it was when it was sent
    };
    bool cancelarDialogo = false;
    QString errorBruto;   // the raw channel fails with this text
    QString errorDocumento;   // documents fail to print with this text
    EleccionImpresora eleccionDialogo;
    int dialogos = 0;
    QList<Trabajo> trabajos;
    QStringList enviados;   // the drawn jobs' files, in the order they were sent
    QList<Bruto> brutos;
    QList<Documento> documentos;
    QStringList titulos;   // the titles of every job sent, drawn, raw or document

private:
    QString carpeta_;
};

// The text of a PDF file as pdftotext reads it (layout kept, or in reading order).
inline QString TextoPDF(const QString &fichero, bool conDisposicion = true)
{
    QProcess p;
    QStringList argumentos = {fichero, QStringLiteral("-")};
    if (conDisposicion)
        argumentos.prepend(QStringLiteral("-layout"));
    p.start(QStringLiteral("pdftotext"), argumentos);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QString InfoPDF(const QString &fichero)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {fichero});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int PaginasPDF(const QString &fichero)
{
    for (const QString &linea : InfoPDF(fichero).split(QLatin1Char('\n')))
        if (linea.startsWith(QLatin1String("Pages:")))
            return linea.mid(6).trimmed().toInt();
    return -1;
}

// Records what the field commands see of the run: the command, its arguments, the engine's
// flags, sums and currency at that moment. A hook may act at each command (cancel a run).
class OrdenesCampoPrueba : public EjecutorOrdenesImpreso
{
public:
    struct Vista
    {
        OrdenImpreso orden;
        QStringList argumentos;
        bool lineasActivas = false;
        bool pieActivo = false;
        qint64 posicionEtiqueta = 0;
        double cambio = 0;
        int moneda = 0;
        std::array<double, kMaximoCamposSuma> sumas{};
        int copia = 0;
        QString documento;
    };
    explicit OrdenesCampoPrueba(TfGENELIMP &motor) : motor_(motor) {}
    void ejecutarOrden(OrdenImpreso orden, const ArgumentosInstruccion &argumentos) override
    {
        Vista v;
        v.orden = orden;
        v.argumentos = argumentos.piezas();
        v.lineasActivas = motor_.ejecucion().lineasActivas;
        v.pieActivo = motor_.ejecucion().pieActivo;
        v.posicionEtiqueta = motor_.ejecucion().posicionEtiqueta;
        v.cambio = motor_.cambio();
        v.moneda = motor_.codigoMoneda();
        v.sumas = motor_.sumas();
        v.copia = motor_.contexto().numeroCopia;
        v.documento = motor_.Temporal->dataSet().fieldByName(QStringLiteral("CodigoTemporal")).asString();
        vistas.append(v);
        if (alEjecutar)
            alEjecutar(v);
    }
    QList<Vista> vistas;
    std::function<void(const Vista &)> alEjecutar;

private:
    TfGENELIMP &motor_;
};

// One print request (on SQLite unless a fixture names another back end): IMPRESO with the test's layouts, the documents table keyed by
// CodigoTemporal and the lines table keyed by CodigoTemporal, Linea and LineaMemo (detail of
// the documents), test printers and PDF files, every message recorded and the screen
// preview replaced by a recorder of the pages it is given.
class MotorPrueba : public ::testing::Test
{
protected:
    virtual Backend motorBaseDatos() const { return Backend::SQLite; }

    void SetUp() override
    {
        const QString omitir = baseDatos.open(motorBaseDatos(), sesion, dir.path());
        if (!omitir.isEmpty())
            GTEST_SKIP() << omitir.toStdString();
        plat::TableDef impreso;
        impreso.name = QStringLiteral("IMPRESO");
        impreso.fields = {plat::fieldDef("Codigo", ftString, 20, true), plat::fieldDef("Descripcion", ftString, 40),
                          plat::fieldDef("TipoDocumento", ftString, 20), plat::fieldDef("Modo", ftString, 10),
                          plat::fieldDef("Instrucciones", ftMemo), plat::fieldDef("Formato", ftString, 30),
                          plat::fieldDef("ImpresoraPorDefecto", ftString, 100)};
        impreso.indexes = {indice("Clave1", {"Codigo"})};
        db().createTable(impreso);
        plat::TableDef blob;
        blob.name = QStringLiteral("BLOBTAB");
        blob.fields = {plat::fieldDef("NombreTabla", ftString, 40, true), plat::fieldDef("ClaveTabla", ftString, 100, true),
                       plat::fieldDef("IdObjeto", ftString, 40, true), plat::fieldDef("TipoObjeto", ftString, 10),
                       plat::fieldDef("Objeto", ftBlob)};
        blob.indexes = {indice("Clave1", {"NombreTabla", "ClaveTabla", "IdObjeto"})};
        db().createTable(blob);
        VistaPreviaImpreso = true;
        CodigoImpresoPeticion.clear();
        SinDialogoImpresora = false;
        FormularioLlamanteImpreso.clear();
        ListadoCanceladoMotor() = false;
        plat::application().OnModalShown = [this](plat::Form &mostrado) {
            if (auto *m = qobject_cast<TfGENELIMP *>(&mostrado)) {
                ++vistasPrevias;
                clavesVistaPrevia = m->paginas().claves();
                if (alMostrar)
                    alMostrar(*m);
            }
            mostrado.Close();
        };
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        campos.reset();
        motor.reset();
        sesion.closeAll();
        baseDatos.drop();
    }

    static plat::IndexDef indice(const QString &nombre, const QStringList &campos)
    {
        plat::IndexDef i;
        i.name = nombre;
        i.fields = campos;
        i.primary = i.unique = true;
        return i;
    }

    plat::Connection &db() { return sesion.connection(QStringLiteral("Database")); }

    void anadirImpreso(const QString &codigo, const QStringList &lineas, const QString &formato = QStringLiteral("A4"),
                       const QString &modo = QStringLiteral("Grafico"),
                       const QString &impresora = QStringLiteral("Predeterminada"))
    {
        db().exec(QStringLiteral("INSERT INTO IMPRESO (Codigo, Descripcion, TipoDocumento, Modo, Instrucciones, Formato, "
                                 "ImpresoraPorDefecto) VALUES (:c, :c, 'Otro', :m, :i, :f, :p)"),
                  {{QStringLiteral("c"), codigo},
                   {QStringLiteral("m"), modo},
                   {QStringLiteral("i"), lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")},
                   {QStringLiteral("f"), formato},
                   {QStringLiteral("p"), impresora}});
    }

    // The caller protocol up to filling: request globals, the engine, its two tables.
    TfGENELIMP &crearMotor(const QString &codigo, const QList<plat::FieldDef> &columnasDocumento = {},
                           const QList<plat::FieldDef> &columnasLinea = {})
    {
        CodigoImpresoPeticion = codigo;
        motor = std::make_unique<TfGENELIMP>();
        motor->PonerTamanoPantalla(QSize(1024, 768));
        fGENELIMP = motor.get();
        motor->Impreso->table().setConnection(&db());
        motor->Impreso->table().open();
        motor->afterConstruction();

        plat::TableDef docs;
        docs.name = QStringLiteral("TMPDOC");
        docs.fields = {plat::fieldDef("CodigoTemporal", ftInteger, 0, true)};
        docs.fields += columnasDocumento;
        docs.indexes = {indice("Clave1", {"CodigoTemporal"})};
        db().createTable(docs);
        plat::TableDef lineas;
        lineas.name = QStringLiteral("TMPLIN");
        lineas.fields = {plat::fieldDef("CodigoTemporal", ftInteger, 0, true), plat::fieldDef("Linea", ftSmallint, 0, true),
                         plat::fieldDef("LineaMemo", ftSmallint, 0, true)};
        lineas.fields += columnasLinea;
        lineas.indexes = {indice("Clave1", {"CodigoTemporal", "Linea", "LineaMemo"})};
        db().createTable(lineas);

        plat::TableDataSet &t = motor->Temporal->table();
        t.setConnection(&db());
        t.setTableName(QStringLiteral("TMPDOC"));
        t.open();
        plat::TableDataSet &l = motor->LTemporal->table();
        l.setConnection(&db());
        l.setTableName(QStringLiteral("TMPLIN"));
        l.setIndexFieldNames(QStringLiteral("CodigoTemporal;Linea;LineaMemo"));
        l.open();
        l.setMasterSource(&t, QStringLiteral("CodigoTemporal"));
        campos = std::make_unique<OrdenesCampoPrueba>(*motor);
        motor->InstalarOrdenesCampo(campos.get());
        return *motor;
    }

    void documento(int codigo, const QVariantMap &valores = {})
    {
        plat::TableDataSet &t = motor->Temporal->table();
        t.append();
        t.fieldByName(QStringLiteral("CodigoTemporal")).setAsInteger(codigo);
        for (auto it = valores.begin(); it != valores.end(); ++it)
            t.fieldByName(it.key()).setValue(it.value());
        t.post();
    }

    void linea(int codigo, int numero, const QVariantMap &valores = {})
    {
        plat::TableDataSet &l = motor->LTemporal->table();
        l.append();
        l.fieldByName(QStringLiteral("CodigoTemporal")).setAsInteger(codigo);
        l.fieldByName(QStringLiteral("Linea")).setAsInteger(numero);
        l.fieldByName(QStringLiteral("LineaMemo")).setAsInteger(0);
        for (auto it = valores.begin(); it != valores.end(); ++it)
            l.fieldByName(it.key()).setValue(it.value());
        l.post();
    }

    // The commands of one key that the field executor saw.
    QList<OrdenesCampoPrueba::Vista> vistas(OrdenImpreso orden) const
    {
        QList<OrdenesCampoPrueba::Vista> r;
        for (const auto &v : campos->vistas)
            if (v.orden == orden)
                r << v;
        return r;
    }

    TempDir dir;
    plat::Session sesion;
    EngineDatabase baseDatos;
    SalidaMensajesGrabada mensajes;
    SalidaMensajesInstalada instalada{mensajes};
    ImpresorasPrueba impresoras{dir.path()};
    int vistasPrevias = 0;
    QStringList clavesVistaPrevia;
    std::function<void(TfGENELIMP &)> alMostrar;
    ServiciosImpresion servicios{&impresoras, nullptr, {}, nullptr};
    ServiciosImpresionInstalados serviciosInstalados{servicios};
    std::unique_ptr<TfGENELIMP> motor;
    std::unique_ptr<OrdenesCampoPrueba> campos;
};

} // namespace gptest
