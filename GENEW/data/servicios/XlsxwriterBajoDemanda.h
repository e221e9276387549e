#pragma once
#include "platform/base/BibliotecaBajoDemanda.h"

// libxlsxwriter, opened the first time a workbook is written (XlsxwriterBajoDemanda.cpp
// defines the library's functions the export calls).
plat::BibliotecaBajoDemanda &BibliotecaXlsxwriter();
