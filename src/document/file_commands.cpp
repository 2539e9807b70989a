#include "document/file_commands.h"
