#include "shell/shell_data.h"

ShellData shell;
