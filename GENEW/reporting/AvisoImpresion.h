#pragma once
#include <QString>

// The warning of a print that could not start or end, with its reason: "¡Error Imprimiendo!.
// Motivo: " and the reason, as every print path of the program says it.
QString TextoErrorImprimiendo(const QString &motivo);
void AvisoErrorImprimiendo(const QString &motivo);
