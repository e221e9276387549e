#pragma once
#include <QString>

// A predefined text of type "Plantilla" asks the user for one value per line of its text
// (label, ":" and an example value) before it is used. Qt Core only: the reading of a
// template and of the dialog's answers is fuzzed on its own.

// The options text of the data-entry dialog for a template: its title, one text field of
// 100 characters per template line (named by the text before the line's first ":", or by
// the whole line), the field names kept as written.
QString OpcionesPlantillaTexto(const QString &descripcion, const QString &texto);

// The dialog's Name=Value answers as the filled-in text: each line label + ": " + answer,
// a bare "=" line an empty line, every line ended by CR LF; empty when there is no answer.
QString TextoRespuestasPlantilla(const QString &respuestas);
