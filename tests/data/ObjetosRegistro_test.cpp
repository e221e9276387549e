// The objects a record holds in BLOBTAB: pictures, documents, their replacement and
// extraction, on both engines.
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Controls.h"
#include "tests/data/ModuloFixture.h"

#include <QDir>
#include <QImage>
#include <QRandomGenerator>

namespace {

class ObjetosRegistroTest : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        tmpPrevio_ = qgetenv("TMPDIR");
        QDir(dir_.path()).mkdir(QStringLiteral("temporal"));
        qputenv("TMPDIR", dir_.file(QStringLiteral("temporal")).toUtf8());
        ModuloMotorTest::SetUp();
    }
    void TearDown() override
    {
        ModuloMotorTest::TearDown();
        qputenv("TMPDIR", tmpPrevio_);
    }

    QString imagen(const char *nombre, const char *formato, QColor color)
    {
        QImage i(6, 4, QImage::Format_RGB32);
        i.fill(color);
        const QString ruta = dir_.file(QString::fromLatin1(nombre));
        EXPECT_TRUE(i.save(ruta, formato));
        return ruta;
    }
    QString archivo(const char *nombre, const QByteArray &datos)
    {
        const QString ruta = dir_.file(QString::fromLatin1(nombre));
        QFile f(ruta);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size());
        return ruta;
    }
    static QByteArray leer(const QString &ruta)
    {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList restosTemporales() const { return QDir(dir_.file(QStringLiteral("temporal"))).entryList(QDir::Files); }
    QString filas(const QString &id)
    {
        return sql(QStringLiteral("SELECT COUNT(*) FROM BLOBTAB WHERE NombreTabla = 'PROYECT' AND IdObjeto = '%1'").arg(id));
    }
    QColor colorCargado(const QString &clave)
    {
        plat::Image control;
        modulo_->CargarImagenRegistro(QStringLiteral("PROYECT"), clave, QStringLiteral("Foto"), &control);
        return control.picture().isNull() ? QColor() : control.picture().toImage().pixelColor(1, 1);
    }

    QByteArray tmpPrevio_;
};

TEST_P(ObjetosRegistroTest, APictureIsReplacedKeptOnAMissingFileAndLoadedWithoutLeavingFiles)
{
    plat::Image control;
    const QString clave = QStringLiteral("O'B;1;");
    modulo_->GuardarImagenRegistro(QStringLiteral("PROYECT"), clave, &control, imagen("roja.bmp", "BMP", Qt::red));
    modulo_->GuardarImagenRegistro(QStringLiteral("PROYECT"), clave, &control, imagen("azul.jpg", "JPG", Qt::blue));
    EXPECT_FALSE(control.picture().isNull());
    EXPECT_EQ(filas(QStringLiteral("Foto")), "1");
    EXPECT_EQ(modulo_->TipoObjetoRegistro(QStringLiteral("PROYECT"), clave, QStringLiteral("Foto")), "Imagen");
    // The JPEG comes back through the picture loader and no extracted file stays.
    EXPECT_GT(colorCargado(clave).blue(), 200);
    EXPECT_TRUE(restosTemporales().isEmpty()) << restosTemporales().join(u' ').toStdString();

    // A replacement from a missing file raises and keeps the stored picture.
    EXPECT_THROW(modulo_->GuardarImagenRegistro(QStringLiteral("PROYECT"), clave, &control, dir_.file("no.bmp")),
                 gp::Error);
    EXPECT_GT(colorCargado(clave).blue(), 200);

    modulo_->GuardarImagenRegistro(QStringLiteral("PROYECT"), clave, &control, imagen("roja.bmp", "BMP", Qt::red));
    EXPECT_GT(colorCargado(clave).red(), 200);
    // Bytes that are no picture leave the image empty.
    modulo_->GuardarImagenRegistro(QStringLiteral("PROYECT"), clave, &control, archivo("falsa.jpg", "no es imagen"));
    EXPECT_TRUE(control.picture().isNull());
    EXPECT_FALSE(colorCargado(clave).isValid());

    modulo_->GuardarImagenRegistro(QStringLiteral("PROYECT"), clave, &control, QString());
    EXPECT_EQ(filas(QStringLiteral("Foto")), "0");
    EXPECT_FALSE(colorCargado(clave).isValid());
    EXPECT_TRUE(restosTemporales().isEmpty());
}

TEST_P(ObjetosRegistroTest, ADocumentKeepsItsDescriptionSurvivesAFailedReplacementAndExtractsWhole)
{
    const QString clave = QStringLiteral("P1;");
    EXPECT_TRUE(modulo_->GuardarDocumentoRegistro(QStringLiteral("PROYECT"), clave, QStringLiteral("Plano"),
                                                  QStringLiteral("PDF"), archivo("plano.pdf", "%PDF-1.4 uno"),
                                                  QStringLiteral("bueno"), QStringLiteral("Planta baja, cota 0")));
    EXPECT_EQ(sql("SELECT Nombre, Descripcion, TipoObjeto FROM BLOBTAB WHERE IdObjeto = 'Plano'"),
              "bueno|Planta baja, cota 0|PDF");
    EXPECT_EQ(modulo_->TipoObjetoRegistro(QStringLiteral("PROYECT"), clave, QStringLiteral("Plano")), "PDF");
    EXPECT_EQ(modulo_->TipoObjetoRegistro(QStringLiteral("PROYECT"), clave, QStringLiteral("Otro")), "");
    EXPECT_EQ(modulo_->ExtraerObjetoRegistro(QStringLiteral("PROYECT"), clave, QStringLiteral("Otro")), "");

    // The engine refuses the new row: the old document stays as it was.
    plat::Connection &db = form_->Database();
    if (GetParam()) {
        db.exec(QStringLiteral("CREATE FUNCTION rechazar() RETURNS trigger AS $$ BEGIN IF NEW.nombre = 'falla' THEN "
                               "RAISE EXCEPTION 'rechazado'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql"));
        db.exec(QStringLiteral("CREATE TRIGGER rechazar BEFORE INSERT ON blobtab FOR EACH ROW EXECUTE FUNCTION rechazar()"));
    } else {
        db.exec(QStringLiteral("CREATE TRIGGER rechazar BEFORE INSERT ON BLOBTAB WHEN NEW.Nombre = 'falla' BEGIN "
                               "SELECT RAISE(ABORT, 'rechazado'); END"));
    }
    EXPECT_THROW(modulo_->GuardarDocumentoRegistro(QStringLiteral("PROYECT"), clave, QStringLiteral("Plano"),
                                                   QStringLiteral("PDF"), archivo("otro.pdf", "%PDF-1.4 dos"),
                                                   QStringLiteral("falla"), QString()),
                 gp::Error);
    const QString extraido = modulo_->ExtraerObjetoRegistro(QStringLiteral("PROYECT"), clave, QStringLiteral("Plano"));
    EXPECT_TRUE(extraido.endsWith(QLatin1String(".pdf"))) << extraido.toStdString();
    EXPECT_EQ(leer(extraido), "%PDF-1.4 uno");
    EXPECT_FALSE(db.inTransaction());

    // Twenty megabytes come back byte for byte; an object without a type has no extension.
    QByteArray grande(20 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator generador(22);
    generador.fillRange(reinterpret_cast<quint32 *>(grande.data()), grande.size() / 4);
    EXPECT_TRUE(modulo_->GuardarDocumentoRegistro(QStringLiteral("PROYECT"), clave, QStringLiteral("Grande"), QString(),
                                                  archivo("grande", grande), QString(), QString()));
    const QString sinTipo = modulo_->ExtraerObjetoRegistro(QStringLiteral("PROYECT"), clave, QStringLiteral("Grande"));
    EXPECT_EQ(sinTipo, DirectorioTemporal() + modulo_->NombreTablaTemporal(modulo_, 1));
    EXPECT_TRUE(leer(sinTipo) == grande);
}

INSTANTIATE_TEST_SUITE_P(Motores, ObjetosRegistroTest, ::testing::Bool(), NombreMotor);

} // namespace
