#pragma once
#include "platform/ui/Event.h"

#include <QPointer>
#include <QScrollArea>

class ImpresoraInforme;
class HojaVistaPrevia;

// The preview control: shows one page of a printer object at any zoom while the pages are
// still being generated, and tells when a page becomes available and how far the run is.
class VistaPreviaInforme : public QScrollArea
{
    Q_OBJECT
    Q_PROPERTY(int PageNumber READ pageNumber WRITE setPageNumber)
    Q_PROPERTY(int Zoom READ zoom WRITE setZoom)

public:
    explicit VistaPreviaInforme(QWidget *parent = nullptr);
    ~VistaPreviaInforme() override;

    ImpresoraInforme *qrPrinter() const { return impresora_; }
    void setQRPrinter(ImpresoraInforme *impresora);

    int pageNumber() const { return pagina_; }
    void setPageNumber(int numero);
    int zoom() const { return zoom_; }
    void setZoom(int porcentaje);
    Q_INVOKABLE void ZoomToFit();
    Q_INVOKABLE void ZoomToWidth();

    plat::Event<void(QObject *Sender, int PageNum)> OnPageAvailable;
    plat::Event<void(QObject *Sender, int Progress)> OnProgressUpdate;

signals:
    // The zoom changed by itself: a fit to the page or its width follows the control's size.
    void zoomAjustado(int porcentaje);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class HojaVistaPrevia;
    void paginaDisponible(int numero);
    void ajustarHoja();
    double escala() const;

    QPointer<ImpresoraInforme> impresora_;
    HojaVistaPrevia *hoja_;
    int pagina_ = 1;
    int zoom_ = 100;
    enum class Ajuste { Ninguno, Pagina, Ancho } ajuste_ = Ajuste::Ninguno;
};
