#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The runner of stored SQL statements, a program window of the main window.
class TfGENEUSQL : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfGENEUSQL(QWidget *parent = nullptr);
    // The stored statement of that description (a menu caption without "&"): its name
    // becomes the window's caption.
    Q_INVOKABLE void CargaConsulta(const QString &descripcion);
    QString Consulta;   // the description loaded

private:
    InstanciaGlobal<TfGENEUSQL> instancia_;
};

extern TfGENEUSQL *fGENEUSQL;
