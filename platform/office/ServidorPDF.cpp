#include "platform/office/ServidorPDF.h"

#include "platform/base/WholeFile.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>

namespace {

QPageLayout composicionDe(const QString &papel)
{
    const QString hoja = papel.section(u'-', 0, 0).trimmed().toUpper();
    QPageSize::PageSizeId tamano = QPageSize::A4;
    if (hoja == QLatin1String("A3"))
        tamano = QPageSize::A3;
    else if (hoja == QLatin1String("A5"))
        tamano = QPageSize::A5;
    const auto orientacion = papel.contains(QLatin1String("Apaisado"), Qt::CaseInsensitive) ? QPageLayout::Landscape
                                                                                            : QPageLayout::Portrait;
    return QPageLayout(QPageSize(tamano), orientacion, QMarginsF());
}

} // namespace

bool CrearPDFDesdeImagenes(const QString &listaArchivos, const QString &papel, QString &error)
{
    error.clear();
    const qsizetype barra = listaArchivos.indexOf(u'|');
    const QString destino = listaArchivos.left(barra);
    const QString prefijo = barra < 0 ? QString() : listaArchivos.mid(barra + 1);
    if (destino.isEmpty() || prefijo.isEmpty()) {
        error = QStringLiteral("La lista de archivos no indica el PDF y las páginas: ") + listaArchivos;
        return false;
    }

    QList<QPicture> paginas;
    for (int n = 1;; ++n) {
        const QString fichero = prefijo + QString::number(n) + QStringLiteral(".pic");
        if (!QFileInfo::exists(fichero))
            break;
        QPicture pagina;
        if (!pagina.load(fichero)) {
            error = QStringLiteral("La página ") + fichero + QStringLiteral(" no se puede leer.");
            return false;
        }
        paginas << pagina;
    }
    if (paginas.isEmpty()) {
        error = QStringLiteral("No hay páginas con el prefijo ") + prefijo;
        return false;
    }

    return CrearPDF(destino, papel, int(paginas.size()),
                    // drawPicture scales the picture from its own resolution to the writer's.
                    [&paginas](int n, QPainter &pintor) { pintor.drawPicture(0, 0, paginas.at(n - 1)); }, error);
}

bool CrearPDF(const QString &destino, const QString &papel, int paginas,
              const std::function<void(int, QPainter &)> &dibujarPagina, QString &error)
{
    error = EscribirPDF(destino, {composicionDe(papel), 0, QString(), paginas, dibujarPagina});
    return error.isEmpty();
}

QString EscribirPDF(const QString &destino, const PaginasPDF &paginas)
{
    return plat::writeWholeFile(destino, [&paginas](plat::WholeFileTarget &archivo) -> QString {
        QPdfWriter pdf(&archivo.device);
        pdf.setCreator(QStringLiteral("Gestión de Proyectos"));
        if (!paginas.titulo.isEmpty())
            pdf.setTitle(paginas.titulo);
        if (paginas.resolucion > 0)
            pdf.setResolution(paginas.resolucion);
        pdf.setPageLayout(paginas.hoja);
        QPainter pintor;
        if (!pintor.begin(&pdf))
            return QStringLiteral("no se puede escribir el PDF.");
        for (int n = 1; n <= paginas.cuenta; ++n) {
            if (n > 1)
                pdf.newPage();
            pintor.save();
            paginas.dibujar(n, pintor);
            pintor.restore();
        }
        if (!pintor.end())
            return QStringLiteral("no se puede terminar el PDF.");
        return {};
    });
}
