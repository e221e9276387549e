#pragma once
// The SQL date-literal hook lives in the platform's base, where the engine dialects install it.
#include "platform/base/LiteralFechaSQL.h"
