#pragma once
// The field types live in the platform's base, which the data layer shares with the program.
#include "platform/base/TipoCampo.h"
