#include "editor/list_editing.h"
