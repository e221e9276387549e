#pragma once
#include "platform/ui/Drawing.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <memory>

class QPdfWriter;
namespace plat {
class CheckedDevice;
}

// The sheet of a layout's `Formato` ("A4", "A5-Apaisado"...), without margins.
QPageLayout DisposicionDeFormato(const QString &formato);

// The PDF of a run, its pages drawn straight into the writer as the engine makes them: no
// page is recorded and played again, so each text is laid out once. The file is written in
// the run's folder under a name of its own until `terminar` gives it the name asked for; an
// unfinished file goes with the writer.
class EscritorPDFImpreso
{
public:
    EscritorPDFImpreso(const QString &carpeta, int resolucion);
    ~EscritorPDFImpreso();
    EscritorPDFImpreso(const EscritorPDFImpreso &) = delete;
    EscritorPDFImpreso &operator=(const EscritorPDFImpreso &) = delete;

    // The painter of a new page on the sheet of `formato`, its origin at the sheet's corner,
    // in pixels of the resolution given. When the file cannot be written the page is drawn
    // nowhere and `terminar` says why.
    QPainter &nuevaPagina(const QString &formato);
    int paginas() const { return paginas_; }
    // Ends the file and names it `fichero`; the reason it could not be written, empty when it
    // was.
    QString terminar(const QString &fichero);

private:
    QString fallo() const;
    bool fallido() const;

    QFile fichero_;
    std::unique_ptr<plat::CheckedDevice> salida_;   // the file as the writer sees it
    std::unique_ptr<QPdfWriter> escritor_;
    QPainter pintor_;
    int resolucion_;
    int paginas_ = 0;
    QString error_;
    plat::Drawing descarte_;   // where pages go when the file cannot be written
    bool terminado_ = false;
};
