#include "GENEW/reporting/impresos/EscritorPDFImpreso.h"

#include "GENEW/reporting/impresos/RegistroImpreso.h"
#include "platform/base/WholeFile.h"

#include <QDir>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryFile>

QPageLayout DisposicionDeFormato(const QString &formato)
{
    const PapelImpreso papel = PapelDeFormato(formato);
    QSizeF vertical(papel.anchoMm, papel.altoMm);
    if (vertical.width() > vertical.height())
        vertical.transpose();
    QPageSize tamano(vertical, QPageSize::Millimeter);
    if (formato.startsWith(QLatin1String("A4")))
        tamano = QPageSize(QPageSize::A4);
    else if (formato.startsWith(QLatin1String("A5")))
        tamano = QPageSize(QPageSize::A5);
    const bool apaisado = papel.anchoMm > papel.altoMm;
    return QPageLayout(tamano, apaisado ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

EscritorPDFImpreso::EscritorPDFImpreso(const QString &carpeta, int resolucion) : resolucion_(resolucion)
{
    // A unique name that stays the writer's until the file is finished.
    QTemporaryFile nombre(QDir(carpeta).filePath(QStringLiteral("paginas-XXXXXX.pdf")));
    if (!nombre.open()) {
        error_ = nombre.fileName() + QStringLiteral(": ") + nombre.errorString();
        return;
    }
    nombre.setAutoRemove(false);
    fichero_.setFileName(nombre.fileName());
    nombre.close();
    // Unbuffered: the checked device gathers the writer's output in blocks itself.
    if (!fichero_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        error_ = fallo();
    else
        salida_ = std::make_unique<plat::CheckedDevice>(fichero_);
}

EscritorPDFImpreso::~EscritorPDFImpreso()
{
    if (pintor_.isActive())
        pintor_.end();
    escritor_.reset();
    if (!terminado_ && !fichero_.fileName().isEmpty()) {
        fichero_.close();
        fichero_.remove();
    }
}

QString EscritorPDFImpreso::fallo() const
{
    const QString motivo = salida_ && !salida_->failure().isEmpty() ? salida_->failure() : fichero_.errorString();
    return fichero_.fileName() + QStringLiteral(": ") + motivo;
}

bool EscritorPDFImpreso::fallido() const
{
    return fichero_.error() != QFileDevice::NoError || (salida_ && !salida_->failure().isEmpty());
}

QPainter &EscritorPDFImpreso::nuevaPagina(const QString &formato)
{
    ++paginas_;
    if (error_.isEmpty() && fallido())
        error_ = fallo();
    if (!error_.isEmpty()) {
        if (pintor_.isActive())
            pintor_.end();
        pintor_.begin(&descarte_);   // each page starts the throwaway drawing again
        return pintor_;
    }
    if (!escritor_) {
        escritor_ = std::make_unique<QPdfWriter>(salida_.get());
        escritor_->setCreator(QStringLiteral("Gestión de Proyectos"));
        escritor_->setResolution(resolucion_);
        escritor_->setPageLayout(DisposicionDeFormato(formato));
        if (!pintor_.begin(escritor_.get())) {
            error_ = QStringLiteral("no se puede escribir el PDF.");
            pintor_.begin(&descarte_);
        }
        return pintor_;
    }
    escritor_->setPageLayout(DisposicionDeFormato(formato));
    escritor_->newPage();
    // A page starts from a new painter's state, as it would on a painter of its own.
    pintor_.resetTransform();
    pintor_.setClipping(false);
    pintor_.setPen(QPen());
    pintor_.setBrush(Qt::NoBrush);
    pintor_.setFont(QFont());
    return pintor_;
}

QString EscritorPDFImpreso::terminar(const QString &fichero)
{
    const bool escrito = pintor_.isActive() && pintor_.device() == escritor_.get() && pintor_.end();
    escritor_.reset();
    if (error_.isEmpty() && (!salida_->drain() || fallido()))
        error_ = fallo();
    if (error_.isEmpty() && !escrito)
        error_ = QStringLiteral("no se puede terminar el PDF.");
    fichero_.close();
    if (!error_.isEmpty())
        return error_;
    QFile::remove(fichero);
    if (!fichero_.rename(fichero))
        return fallo();
    terminado_ = true;
    return {};
}
