// Start-up of the graphics device, the screen targets, the clock and the
// shared services.
#pragma once

// False after a failure that has been reported in a message box.
bool InitGraphics();
