#pragma once
// The program's exceptions live in the platform's base, below every layer that raises them.
#include "platform/base/Errores.h"
