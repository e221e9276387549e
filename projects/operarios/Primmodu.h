#pragma once
#include "platform/ui/DataModule.h"
#include "platform/ui/data/DataSetComponents.h"

#include "platform/data/engine/HeldUntilChanged.h"

#include <QDateTime>
#include <QString>
#include <map>
#include <utility>

// The bonus data module: the bonus parameters (PARAPRIM) and the bonus records (BONO). The
// main window creates it right after the project data module, once a company is open; like
// every data module it is freed when another company opens.
class TMDPrimas : public plat::DataModule
{
    Q_OBJECT
public:
    explicit TMDPrimas(QObject *parent = nullptr);
    ~TMDPrimas() override;

    plat::TableComponent *Parametros;
    plat::TableComponent *Bono;

    void ModuloDatosCreate(QObject *Sender);

    // The mobile activity of the operator's newest bonus record with a non-zero activity
    // dated within one year up to Fecha; 0 for code 0, for none, or when the query does
    // not open. Each answer is kept until the program changes BONO or reads it anew (a
    // refresh; see plat::TableChanges): a window's record is calculated more than once.
    double ActividadMovilOperario(int CodigoOperario, const QDateTime &Fecha);

private:
    // Each answer by operator and date (milliseconds since the epoch).
    plat::HeldUntilChanged<std::map<std::pair<int, qint64>, double>> actividades_;
};

extern TMDPrimas *MDPrimas;

// The statement ActividadMovilOperario runs.
QString SentenciaActividadMovil(int codigoOperario, const QDateTime &fecha);

// The module's life as the main window manages it: made (and created) into MDPrimas,
// replacing an earlier one, and freed.
TMDPrimas &CrearMDPrimas();
void LiberarMDPrimas();
