#include "shell/demo_state.h"

DemoState g_demoState;
