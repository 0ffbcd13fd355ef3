#include "AfxAppInit.h"

void AfxEnableControlContainer()
{
}

void Enable3dControlsStatic()
{
}
