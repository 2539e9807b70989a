#include "editor/props_rules.h"
