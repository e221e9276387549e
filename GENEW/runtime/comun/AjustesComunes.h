#pragma once
// The regional settings live in the platform's base: the data layer reads them too.
#include "platform/base/AjustesComunes.h"
