#pragma once
#include "platform/base/BibliotecaBajoDemanda.h"

// qpdf, opened the first time PDF files are joined (QpdfBajoDemanda.cpp defines the functions
// of its C interface the program calls).
plat::BibliotecaBajoDemanda &BibliotecaQpdf();
