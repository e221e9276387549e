// PDF and Excel exports over yesterday's file, run by a child program on a full disk (its files
// may not grow past a limit) or killed half-way: what the user is told, the old file's bytes,
// and nothing else left in the folder.
#include "platform/office/ArchivoZip.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <csignal>

namespace {

const QByteArray kAyer = "el archivo de ayer, que ha de seguir entero";
const QString kAvisoPdf = QStringLiteral("A|Se ha producido un error al generar el archivo PDF. Motivo: ");
const QString kAvisoExcel = QStringLiteral("A|¡No ha sido posible grabar el archivo!. Motivo: ");
const QString kGuardado = QStringLiteral("I|El archivo ha sido guardado en ");

constexpr int kPaginas = 3000;
constexpr int kFilas = 30000;
// Past the finished workbook's size and short of its sheet before compression: only the
// library's own temporary file of the sheet fails.
constexpr qint64 kLimiteEntreLibroYHoja = 3 << 20;

struct Caso
{
    const char *nombre;
    const char *modo;        // GP_EXPORTACION of the child
    const char *fichero;
    qint64 limite;           // 0: no limit
    bool matar;              // killed once its file is being written
    const QString *aviso;    // the one message expected, followed by "<file>: "; null: none
    bool reemplaza;          // the new file takes the name
    const char *cabecera;    // how the new file begins
};

const Caso kCasos[] = {
    {"PdfWritten", "pdf", "listado.pdf", 0, false, nullptr, true, "%PDF"},
    {"PdfOnAFullDisk", "pdf", "listado.pdf", 64 << 10, false, &kAvisoPdf, false, ""},
    {"PdfKilled", "pdf", "listado.pdf", 0, true, nullptr, false, ""},
    {"ExcelWritten", "excel", "libro.xlsx", 0, false, &kGuardado, true, "PK"},
    {"ExcelOnAFullDisk", "excel", "libro.xlsx", 64 << 10, false, &kAvisoExcel, false, ""},
    {"ExcelWithItsSheetCutShort", "excel", "libro.xlsx", kLimiteEntreLibroYHoja, false, &kAvisoExcel, false, ""},
    {"ExcelKilled", "excel", "libro.xlsx", 0, true, nullptr, false, ""},
    {"SilentExcelWritten", "excel-sindialogo", "libro.xlsx", 0, false, nullptr, true, "PK"},
    {"SilentExcelOnAFullDisk", "excel-sindialogo", "libro.xlsx", 64 << 10, false, nullptr, false, ""},
    {"SilentExcelWithItsSheetCutShort", "excel-sindialogo", "libro.xlsx", kLimiteEntreLibroYHoja, false, nullptr,
     false, ""},
    {"SilentExcelKilled", "excel-sindialogo", "libro.xlsx", 0, true, nullptr, false, ""},
};

QByteArray leer(const QString &fichero)
{
    QFile f(fichero);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no se puede leer)");
}

// Waits until the child holds a file of the folder with some bytes in it (the export's own,
// still without a name), then kills it; false when the child ended first.
bool matarEscribiendo(QProcess &hijo, const QString &carpeta)
{
    const QString descriptores = QStringLiteral("/proc/%1/fd").arg(hijo.processId());
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < 120000) {
        if (hijo.state() == QProcess::NotRunning || hijo.waitForFinished(1))
            return false;
        for (const QFileInfo &fd : QDir(descriptores).entryInfoList(QDir::Files | QDir::System)) {
            if (fd.symLinkTarget().startsWith(carpeta + u'/') && fd.size() > 0) {
                ::kill(pid_t(hijo.processId()), SIGKILL);
                hijo.waitForFinished(30000);
                return true;
            }
        }
    }
    return false;
}

class ExportacionCompleta : public ::testing::TestWithParam<Caso>
{
};

TEST_P(ExportacionCompleta, TheOldFileStaysWholeUntilTheNewOneIsAndTheUserIsToldAsTheExportSays)
{
    const Caso &c = GetParam();
    gptest::TempDir carpeta;
    const QString destino = carpeta.file(QString::fromLatin1(c.fichero));
    {
        QFile ayer(destino);
        ASSERT_TRUE(ayer.open(QIODevice::WriteOnly));
        ayer.write(kAyer);
    }
    QProcess hijo;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("GP_EXPORTACION"), QString::fromLatin1(c.modo));
    entorno.insert(QStringLiteral("GP_DESTINO"), destino);
    entorno.insert(QStringLiteral("GP_CANTIDAD"), QString::number(QLatin1String(c.modo) == "pdf" ? kPaginas : kFilas));
    if (c.limite > 0)
        entorno.insert(QStringLiteral("GP_LIMITE"), QString::number(c.limite));
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    hijo.setProcessEnvironment(entorno);
    hijo.start(QStringLiteral(GP_EXPORTACION_HIJA), {});
    ASSERT_TRUE(hijo.waitForStarted());
    if (c.matar) {
        ASSERT_TRUE(matarEscribiendo(hijo, carpeta.path())) << "the export ended before it could be killed";
        EXPECT_EQ(hijo.exitStatus(), QProcess::CrashExit);
    } else {
        ASSERT_TRUE(hijo.waitForFinished(300000));
        const QString salida = QString::fromUtf8(hijo.readAllStandardOutput());
        ASSERT_EQ(hijo.exitCode(), 0) << salida.toStdString() << hijo.readAllStandardError().toStdString();
        // What the user is told; the question on header rows is not part of it.
        QStringList mensajes;
        for (const QString &linea : salida.split(u'\n'))
            if (linea.startsWith(QLatin1String("MENSAJE|")) && !linea.startsWith(QLatin1String("MENSAJE|C|")))
                mensajes << linea.mid(8);
        if (c.aviso) {
            ASSERT_EQ(mensajes.size(), 1) << mensajes.join(u'\n').toStdString();
            const QString esperado = *c.aviso + destino + (c.aviso == &kGuardado ? QString() : QStringLiteral(": "));
            EXPECT_TRUE(mensajes[0].startsWith(esperado)) << mensajes[0].toStdString();
        } else {
            EXPECT_EQ(mensajes, QStringList()) << mensajes.join(u'\n').toStdString();
        }
    }
    if (c.reemplaza) {
        EXPECT_TRUE(leer(destino).startsWith(c.cabecera));
        if (QLatin1String(c.cabecera) == "PK") {
            // The sheet-cut cases stand between these two sizes.
            QString error;
            const auto partes = plat::office::readZip(destino, error);
            ASSERT_TRUE(partes) << error.toStdString();
            qsizetype hoja = 0;
            for (const auto &[nombre, bytes] : *partes)
                if (nombre.startsWith(QLatin1String("xl/worksheets/")))
                    hoja = bytes.size();
            EXPECT_LT(QFileInfo(destino).size(), kLimiteEntreLibroYHoja);
            EXPECT_GT(hoja, kLimiteEntreLibroYHoja);
        }
    } else {
        EXPECT_EQ(leer(destino), kAyer);
    }
    EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
              QStringList{QString::fromLatin1(c.fichero)});
}

INSTANTIATE_TEST_SUITE_P(DiscoLlenoYMuerte, ExportacionCompleta, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<Caso> &info) { return std::string(info.param.nombre); });

} // namespace
