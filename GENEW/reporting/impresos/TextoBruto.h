#pragma once
#include "GENEW/reporting/impresos/DestinoDibujo.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Raw output for impact printers: text in the printer's code page (CP850) and printer codes,
// sent as they are.

constexpr int kBloqueImpresora = 256;   // bytes of one block sent to the printer

// The text in code page 850; a character outside it becomes "?".
QByteArray TextoAOEM(const QString &texto);

// The text in code page Windows-1252, the code page raw streams are stored in: control
// characters stay as they are; a character the page lacks becomes "?".
QByteArray TextoAWindows1252(const QString &texto);

// The data cut into consecutive blocks of at most 256 bytes.
QList<QByteArray> BloquesImpresora(const QByteArray &datos);
// Sends the data to the target's raw stream, block after block.
void EnviarImpresora(DestinoDibujo &destino, const QByteArray &datos);

// The target of a layout in text mode on a printer: nothing is drawn, every command's bytes
// join one stream. Texts are measured in the target's font as a monospaced printer would.
class DestinoTextoBruto : public DestinoDibujo
{
public:
    DestinoTextoBruto();
    plat::CanvasFont &fuente() override { return fuente_; }
    int anchoTexto(const QString &texto) override;
    int altoTexto(const QString &texto) override;
    void texto(int, int, const QString &) override {}
    void textoRecortado(const QRect &, int, int, const QString &) override {}
    void rectangulo(const QRect &, const plat::Pen &, const plat::Brush &, QSize) override {}
    void linea(QPoint, QPoint, const plat::Pen &) override {}
    void imagen(const QRect &, const QImage &) override {}
    void bytes(const QByteArray &datos) override { flujo_.append(datos); }
    int resolucion() const override { return 96; }

    const QByteArray &flujo() const { return flujo_; }
    void vaciar() { flujo_.clear(); }

private:
    plat::CanvasFont fuente_;
    QByteArray flujo_;
};
