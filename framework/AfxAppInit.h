#pragma once

// Start-up calls of a dialog application that the platform itself now covers.

// Lets dialogs host ActiveX controls. The framework's dialogs hold only the
// system's own window classes, so there is nothing to set up.
void AfxEnableControlContainer();

// Gives dialogs the three-dimensional control look. Windows draws it for
// every program since Windows 95, so there is nothing to switch on.
void Enable3dControlsStatic();
