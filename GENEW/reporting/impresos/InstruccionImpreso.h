#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// How one instruction line of a layout is split into its key and arguments, and the
// commands that the print engine draws with.

// The key of a line: the text before the first "="; the whole line when there is none.
QString ClaveDeLinea(const QString &linea);

// The lines of a layout text, split at CR LF or a bare LF (a final line break ends the last
// line and starts none).
QStringList DividirLineasImpreso(const QString &texto);

// The arguments of an instruction: "|"-separated pieces, argument n counted from 1.
class ArgumentosInstruccion
{
public:
    explicit ArgumentosInstruccion(const QString &texto);
    // Argument n (from 1); empty when missing.
    QString operator[](int n) const { return n >= 1 && n <= piezas_.size() ? piezas_.at(n - 1) : QString(); }
    const QString &texto() const { return texto_; }
    const QStringList &piezas() const { return piezas_; }

private:
    QString texto_;
    QStringList piezas_;
};

struct InstruccionDividida
{
    QString clave;
    ArgumentosInstruccion argumentos;
};

// Every "|" of the line becomes the separator substitute (dropped when the substitute is
// empty), then every ";" becomes "|"; the key is the text before the first "=", the
// arguments the text between the first and the second "=".
InstruccionDividida DividirInstruccion(const QString &linea, const QString &sustituto);

// The drawing and field commands of a layout, by their keys.
enum class OrdenImpreso { Text, Vari, Rect, Line, Font, Graf, CBar, Asci, Camp, Expr, Conc, Suma, ISum };

// The command of that exact key (case counts); none for any other.
std::optional<OrdenImpreso> OrdenDeClave(const QString &clave);
QString ClaveDeOrden(OrdenImpreso orden);

// What draws the commands: the print engine, or a recorder in tests and tools.
class EjecutorOrdenesImpreso
{
public:
    virtual ~EjecutorOrdenesImpreso() = default;
    virtual void ejecutarOrden(OrdenImpreso orden, const ArgumentosInstruccion &argumentos) = 0;
};

// Records the commands it receives, in order.
class OrdenesGrabadas : public EjecutorOrdenesImpreso
{
public:
    struct Orden
    {
        OrdenImpreso orden;
        QStringList argumentos;
    };
    void ejecutarOrden(OrdenImpreso orden, const ArgumentosInstruccion &argumentos) override
    {
        ordenes.append({orden, argumentos.piezas()});
    }
    QList<Orden> ordenes;
};
