// The application object that the dialog's code expects in every process.
#include "CWinApp.h"

CWinApp theTestApp;
