// ALL_Variables: the one instance of the shared record and its reset.
#include "glowsaver/host/ALL_Variables.h"

All_Variables All;

void Reset_All_Variables() { All = All_Variables{}; }
