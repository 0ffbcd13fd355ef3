#pragma once
#include "CWnd.h"

// An edit control.
class CEdit : public CWnd {
};
