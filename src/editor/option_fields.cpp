#include "editor/option_fields.h"
