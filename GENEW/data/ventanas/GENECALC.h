#pragma once
#include "platform/ui/Form.h"

#include <QStringList>

namespace plat {
class Label;
class Panel;
} // namespace plat

// The calculator: opened on a number, it gives back the value on its display when it
// closes, and converts between euros and pesetas. Created once at start-up and shown
// again on every call; closing hides it.
class TfGENECALC : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENECALC(QWidget *parent = nullptr);
    ~TfGENECALC() override;

    plat::Panel *PanelDisplay;
    plat::Label *Display;
    plat::Panel *Panel2;

    // The pending operation ("", "Sumar", "Restar", "Multiplicar", "Dividir", "Igual",
    // "Euro" or "Pesetas"), the first operand as text, and the display's value at closing.
    QString Operacion;
    QString Operando;
    double Resultado = 0;

    // How long a key is shown pressed.
    int DuracionPulsacion = 75;

    static constexpr double kPesetasPorEuro = 166.386;

    // Shows the calculator modally on the text (a number with the decimal comma) and
    // answers the value it ends with.
    double Calcular(const QString &texto);
    // The key panel named "fn" + the key word.
    plat::Panel *Tecla(const QString &palabra) const;

public slots:
    // A click on a key panel: shows it pressed, then works the key out.
    void TeclaClick(QObject *Sender);
    void FormClose(QObject *Sender);

private:
    void crearTeclas();
    void aplicarTecla(QString palabra);
    void teclaPulsada(QChar &Key);
    void teclaAbajo(int &Key);
    void borrarUltimo();
    void mostrar(double valor);

    QStringList pendientes_;   // keys typed while another was being shown pressed
    bool pulsando_ = false;
};

extern TfGENECALC *fGENECALC;
