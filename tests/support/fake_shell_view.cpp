#include "fake_shell_view.h"
