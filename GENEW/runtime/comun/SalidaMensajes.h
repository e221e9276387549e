#pragma once
// The message sink lives in the platform's base, so that the form layer reports through it too.
#include "platform/base/SalidaMensajes.h"
