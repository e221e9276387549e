#include "GENEW/reporting/GENECSQL.h"
