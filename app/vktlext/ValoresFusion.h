#pragma once
#include "platform/office/DocxMerge.h"

#include <QString>

// The values text of a Word merge (.VAL): "Name=Value" lines, and "Linea=" lines that hold one
// detail row each as "name=value|name=value|". A "·" inside a value is a line break.
plat::office::MergeValues LeerValoresFusion(const QString &texto);
