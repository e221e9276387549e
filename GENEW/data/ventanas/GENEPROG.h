#pragma once
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/ui/Form.h"

#include <functional>

namespace plat {
class Label;
class Panel;
class StatusBar;
class Timer;
} // namespace plat

// The progress window: a small window on top of the others, near the bottom of the screen,
// that shows what a long task is doing. Esc asks whether the listing goes on.
class TfGENEPROG : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEPROG(QWidget *parent = nullptr);
    ~TfGENEPROG() override;

    plat::Panel *Panel1;
    plat::Panel *PanelProgreso;
    plat::Label *EditProgreso;
    plat::StatusBar *StatusBar1;
    plat::Timer *Timer;

    // Sets the progress text and fits the window to it.
    void PonerTexto(const QString &texto);

public slots:
    // Fits the window to the label: width at least 330, placed 150 pixels above the bottom
    // of the screen and centred across it.
    void EditProgresoChange();
    void FormShow(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void TimerTimer(QObject *Sender);
};

extern TfGENEPROG *fGENEPROG;

// The progress text with its leading phrase translated: the part before the first "..."
// is translated and the part after it (up to a second "...") is kept as it is; a text
// without "..." is translated whole.
QString TextoProgresoTraducido(const QString &texto, const std::function<QString(const QString &)> &traducir);

// The progress window of the data module: title and text translated, then shown as the
// untranslated form does. Modes: "ON" opens a window, "OFF" frees it, an empty mode updates
// its text; any other mode, and "OFF" or an empty mode without a window, does nothing.
void MostrarProgreso(const QString &modo, const QString &titulo, const QString &texto);
// The same without translation.
void MostrarProgresoSinTraducir(const QString &modo, const QString &titulo, const QString &texto);

// The progress sink: progress reports (IndicarProgreso, TfGENEINIC.MostrarProgreso) open,
// update and close the progress window; messages go on to the sink installed before it.
// Installed for its lifetime.
class ProgresoEnVentana : public SalidaMensajes
{
public:
    ProgresoEnVentana();
    ~ProgresoEnVentana() override;
    ProgresoEnVentana(const ProgresoEnVentana &) = delete;
    ProgresoEnVentana &operator=(const ProgresoEnVentana &) = delete;

    QString mostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta) override;
    void mostrarProgreso(const QString &modo, const QString &titulo, const QString &texto,
                         const QString &) override;

private:
    SalidaMensajes *anterior_;   // where messages go (the default sink included)
    SalidaMensajesInstalada instalacion_;
};
