// Start-up and shutdown of the framework's user interface, over a running
// platform backend: the drawing defaults, the window classes, the main frame
// and the control kinds.
#pragma once

// False when the platform refuses the main frame.
bool JFrameworkStartup();
void JFrameworkShutdown();
